// The base of every model a renderable owns (sprite, mesh, sprite particle):
// the interface renderables call, the model-script key every model shares,
// and the two ways a model turns its owner's transform into the world matrix.
#ifndef QN_MODEL_H
#define QN_MODEL_H

#include <d3d9.h>

#include <cstdint>

#include "QNResults.h"

// The transform a renderable hands to its model: nine consecutive floats,
// translation x y z, rotation x y z in degrees, scale x y z. Models read it;
// only the sprite particle writes (its translation).
#define QN_TRANSFORM_TRANSLATION 0
#define QN_TRANSFORM_ROTATION 3
#define QN_TRANSFORM_SCALE 6

class CQNModel {
public:
    CQNModel();
    virtual ~CQNModel();

    // Reads "[ZWRITEENABLE]" from the model script and returns 0 whatever the
    // read gave. Every derived initialize calls it in the course of its work.
    virtual QNRESULT initialize(const char* path);
    virtual QNRESULT reset();
    // Once a frame; a result above 0 is passed on by the renderable.
    virtual QNRESULT update(float* transform);
    // Once a frame, between BeginScene and EndScene.
    virtual QNRESULT render(float* transform);
    // How many materials the model draws with, and the drawing of one of
    // them alone (a model of one material draws whole as material 0).
    virtual uint32_t materialCount();
    virtual QNRESULT renderMaterial(float* transform, uint32_t material);
    // Frees what the model owns; each derived destructor calls its own.
    virtual QNRESULT release();
    virtual QNRESULT setAnimation(uint32_t index);

    // The script read of this level only; returns the reader's failure or 0.
    QNRESULT parseScript(const char* path);

    // Whether the model writes depth while drawing ("[ZWRITEENABLE]" FALSE).
    bool m_zWriteEnable;
    // The model's texture file name; owned, freed by the derived release.
    char* m_textureName;
    // What the sprite models draw with; set by the derived class.
    D3DMATERIAL9 m_material;

protected:
    // World = Rx * Ry * Rz * S * T: rotations about x, then y, then z, then a
    // scale along the world axes, then the move. `transform` must not be null.
    QNRESULT _applyTransforms(const float* transform);
    // World = S * B * T, B turning local x, y, z into the camera's right, up
    // and back axes: the local x-y plane faces the camera whatever the
    // rotation. A null transform is reported and returns QNRSLT_INVALIDPARAM.
    QNRESULT _applyTransformsBillboard(const float* transform);
};

#endif
