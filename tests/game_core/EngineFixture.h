// A scratch game folder, an offscreen window and the engine parts the state
// machine and the scene manager need, driven frame by frame with a test clock.
#ifndef ZV_ENGINE_FIXTURE_H
#define ZV_ENGINE_FIXTURE_H

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "TestSupport.h"

class EngineFixture : public ::testing::Test {
public:
    // One frame of the engine half: clock, timer, input, scene objects.
    void frame(double seconds = 1.0 / 60.0);

protected:
    void SetUp() override;
    void TearDown() override;
    // The result log so far (closes it).
    std::string log();
    // Writes a scene whose one object is a plain object translated to x.
    void writeMarkedScene(const std::string& path, float x);
    // The x translation of the scene's first object, or -1 without objects.
    float sceneMarker();

    zvtestsupport::ScratchDir m_dir;
    HWND m_hWnd = nullptr;
};

#endif
