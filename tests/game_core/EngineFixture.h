// A scratch game folder, an offscreen window and the engine parts the state
// machine and the scene manager need, driven frame by frame with a test clock.
#ifndef ZV_ENGINE_FIXTURE_H
#define ZV_ENGINE_FIXTURE_H

#include <string>

#include "engine/EngineTestBase.h"

class EngineFixture : public EngineTestBase {
public:
    // One frame of the engine half: clock, timer, input, scene objects.
    void frame(double seconds = 1.0 / 60.0);

protected:
    void SetUp() override;
    // Writes a scene whose one object is a plain object translated to x.
    void writeMarkedScene(const std::string& path, float x);
    // The x translation of the scene's first object, or -1 without objects.
    float sceneMarker();
};

#endif
