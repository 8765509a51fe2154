// A sprite that lives for a random time, flies with a random starting
// velocity under a constant acceleration along y, and runs through three
// colour stages while its opacity fades from stage 0 to stage 2.
#ifndef QN_MODEL_SPRITE_PARTICLE_H
#define QN_MODEL_SPRITE_PARTICLE_H

#include <d3d9.h>
#include <d3dx9.h>

#include <cstdint>

#include "QNModelSprite.h"
#include "QNStopwatch.h"

class CQNModelSpriteParticle : public CQNModelSprite {
public:
    CQNModelSpriteParticle();
    virtual ~CQNModelSpriteParticle();

    // Reads "[GRAVITY]", "[RANGE_DIRECTION]", "[COLOR_STAGES]" and
    // "[RANGE_LIFESPAN]" and draws the first velocity and life, then builds
    // the sprite from the same script, then starts the first life at colour
    // stage 0 (the stage replaces any "[MATERIAL]"). Returns the sprite's
    // result.
    virtual QNRESULT initialize(const char* path) override;
    // A new life: new random velocity and life, stage 0 colours, a fresh
    // timer. The position is left alone; the owner puts the particle back.
    // Always 0.
    virtual QNRESULT reset() override;
    // Moves the transform's translation by the velocity (after gravity) over
    // the frame time and advances the colour. QNRSLT_REMOVEOBJECT once the
    // life is over (and every frame after that), else 0. `transform` must
    // not be null.
    virtual QNRESULT update(float* transform) override;
    // The sprite's drawing, with the material set to the current colour.
    virtual QNRESULT render(float* transform) override;
    // Nothing of its own to free (the sprite's destructor frees the name).
    virtual QNRESULT release() override;

    // The four particle keys, then the start values. The reader's failure
    // (defaults kept) or 0.
    QNRESULT parseScript(const char* path);

    D3DXVECTOR3 m_velocity;
    D3DCOLORVALUE m_color;
    D3DCOLORVALUE m_colorRate;
    int32_t m_colorStage;
    float m_life;
    float m_maxLife;
    CQNStopwatch m_lifeTimer;
    float m_gravity;
    // min, max of the starting velocity for x, y and z.
    float m_directionRange[3][2];
    D3DCOLORVALUE m_colorStages[3];
    // min, max of the life length in seconds.
    float m_lifeRange[2];

protected:
    // Rates of red, green and blue from stage `from` to stage `to` over half
    // the longest life; the alpha rate always runs from stage 0 to stage 2
    // over this life. A zero duration gives a rate of 0.
    void _computeColorRates(int from, int to);
    void _updateColor();

private:
    void _drawStartValues();
    void _startLife();
    void _applyColor(const D3DCOLORVALUE& color);
};

#endif
