// Engine tests that draw: the 800 x 600 game window with the device wrapper
// started on it and the camera at its start, frames drawn as the game draws
// them (wrapper clear, scene, present) and read back. Message boxes are
// answered at once.
#ifndef ZV_TEST_DRAWING_TEST_BASE_H
#define ZV_TEST_DRAWING_TEST_BASE_H

#include <d3d9.h>

#include <cstdint>
#include <string>
#include <vector>

#include "EngineTestBase.h"
#include "Rgb.h"

class CQNBase;

class DrawingTestBase : public EngineTestBase {
protected:
    static const int kWidth = 800;
    static const int kHeight = 600;

    // Fatal failures when there is no window or device.
    void SetUp() override;

    IDirect3DDevice9* device() const;
    // Clears through the wrapper and begins the scene.
    void beginFrame(zvtestsupport::Rgb clear = {0, 0, 0});
    // Ends the scene, presents and reads the frame into m_frame.
    void endFrame();
    void drawFrame(const std::vector<CQNBase*>& objects, zvtestsupport::Rgb clear = {0, 0, 0});

    // The frame read last; {-1, -1, -1} outside it.
    zvtestsupport::Rgb rgb(int x, int y) const;
    bool near(int x, int y, zvtestsupport::Rgb c, int tolerance = 8) const;
    // Where a world point lands in the frame (pixel column and row).
    void project(float x, float y, float z, int* sx, int* sy) const;
    void setEye(float x, float y, float z);
    bool saveFramePng(const std::string& path) const;

    std::vector<uint32_t> m_frame;  // 0xAARRGGBB, top row first
};

#endif
