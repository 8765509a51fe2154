// An offscreen 800 x 600 device with the engine's default state and camera,
// in a scratch game folder; helpers to write scripts and images, draw one
// frame, read the back buffer and read the result log back.
#ifndef ZV_RENDER_SPRITES_FIXTURE_H
#define ZV_RENDER_SPRITES_FIXTURE_H

#include <d3d9.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "PngFiles.h"
#include "engine/EngineTestBase.h"

class CQNBase;
class CQNBaseRend;

using zvtestsupport::Rgb;
// A w x h PNG of one colour with its alpha, or of pixels given as
// 0xAARRGGBB (backslash paths).
using zvtestsupport::writePng;
using zvtestsupport::writePngPixels;

// The pixels of a colour in one row or column: how many, first and last.
struct Span {
    int count = 0, first = -1, last = -1;
};

class RenderFixture : public EngineTestBase {
protected:
    static const int kWidth = 800;
    static const int kHeight = 600;

    void SetUp() override;

    // Clears to the colour and begins the scene.
    void beginFrame(Rgb clear = {0, 0, 0});
    // Ends the scene, presents and reads the frame back.
    void endFrame();
    void drawFrame(const std::vector<CQNBase*>& objects, Rgb clear = {0, 0, 0});

    // The frame read by endFrame, 0xFFRRGGBB, top row first.
    uint32_t pixel(int x, int y) const;
    Rgb rgb(int x, int y) const;
    bool near(int x, int y, Rgb c, int tolerance = 8) const;
    Span rowRun(int y, Rgb c, int tolerance = 8) const;
    Span columnRun(int x, Rgb c, int tolerance = 8) const;
    // Saves the frame read last as a PNG file (native path).
    bool saveFramePng(const std::string& path) const;

    // Writes a sprite model script and a renderable script for it ("Base
    // Objects" holds a blank, as in the game), then creates and initialises
    // the renderable.
    std::unique_ptr<CQNBaseRend> makeSprite(const std::string& name, const std::string& modelKeys,
                                            const std::string& objectKeys = "");
    static std::string spriteObjectPath(const std::string& name);

    void setEye(float x, float y, float z);
    IDirect3DDevice9* device() const;

    std::vector<uint32_t> m_frame;
};

#endif
