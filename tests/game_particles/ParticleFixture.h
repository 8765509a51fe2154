// A scratch game folder with the result log and the game timer on the test
// clock, script writers for particle models, particle renderables and
// particle systems, and (for drawing) an offscreen 800 x 600 device with the
// engine's default state, camera and text.
#ifndef ZV_PARTICLE_FIXTURE_H
#define ZV_PARTICLE_FIXTURE_H

#include <d3d9.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/EngineTestBase.h"

class CQNModelSpriteParticle;
class CQNBaseRend;

class ParticleFixture : public EngineTestBase {
protected:
    void SetUp() override;

    // Advances the clock and the game timer by one frame.
    void tick(double seconds);
    // tick, then the scene manager's update.
    void frame(double seconds);

    // Writes Assets\Scripts\Models\<name>.model; returns its path.
    static std::string writeModel(const std::string& name, const std::string& keys);
    // A particle model and a renderable for it; returns the renderable's path.
    static std::string writeParticle(const std::string& name, const std::string& modelKeys,
                                     const std::string& objectKeys = "");
    // A particle-system object script (class line included); returns its path.
    static std::string writeSystem(const std::string& name, const std::string& keys);

    // The particle model of a renderable (null without one).
    static CQNModelSpriteParticle* model(CQNBaseRend& rend);
};

class ParticleRenderFixture : public ParticleFixture {
protected:
    static const int kWidth = 800;
    static const int kHeight = 600;

    void SetUp() override;

    IDirect3DDevice9* device() const;
    // A w x h PNG of one colour, fully opaque (backslash path).
    static void writeWhitePng(const std::string& path, int w, int h);
    // Clears to black, renders the scene manager's objects, presents and
    // reads the frame back.
    void drawScene();
    void readBack();

    // 0x00RRGGBB of the frame read last, top row first.
    uint32_t pixel(int x, int y) const;
    int red(int x, int y) const { return static_cast<int>((pixel(x, y) >> 16) & 0xFF); }
    // Pixels in the rectangle whose red, green and blue all exceed `level`.
    int brightCount(int x0, int y0, int x1, int y1, int level) const;
    bool saveFramePng(const std::string& path) const;

    std::vector<uint32_t> m_frame;
};

#endif
