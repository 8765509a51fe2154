// Particle tests: a scratch game folder with the result log and the game
// timer on the test clock, script writers for particle models, particle
// renderables and particle systems, and (for drawing) the drawing base with
// the engine's text.
#ifndef ZV_PARTICLE_FIXTURE_H
#define ZV_PARTICLE_FIXTURE_H

#include <string>

#include "engine/DrawingTestBase.h"

class CQNModelSpriteParticle;
class CQNBaseRend;

// Advances the clock and the game timer by one frame.
void tick(double seconds);
// tick, then the scene manager's update.
void frame(double seconds);
// Writes Assets\Scripts\Models\<name>.model; returns its path.
std::string writeModel(const std::string& name, const std::string& keys);
// A particle model and a renderable for it; returns the renderable's path.
std::string writeParticle(const std::string& name, const std::string& modelKeys, const std::string& objectKeys = "");
// A particle-system object script (class line included); returns its path.
std::string writeSystem(const std::string& name, const std::string& keys);
// The particle model of a renderable (null without one).
CQNModelSpriteParticle* model(CQNBaseRend& rend);

class ParticleFixture : public EngineTestBase {
protected:
    void SetUp() override;
};

class ParticleRenderFixture : public DrawingTestBase {
protected:
    void SetUp() override;
    // Clears to black, renders the scene manager's objects, presents and
    // reads the frame back.
    void drawScene();
    // Pixels in the rectangle whose red, green and blue all exceed `level`.
    int brightCount(int x0, int y0, int x1, int y1, int level) const;
};

#endif
