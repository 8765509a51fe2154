// Sprite tests: the drawing base with helpers to write sprite scripts and
// to measure runs of a colour in the frame.
#ifndef ZV_RENDER_SPRITES_FIXTURE_H
#define ZV_RENDER_SPRITES_FIXTURE_H

#include <memory>
#include <string>

#include "PngFiles.h"
#include "engine/DrawingTestBase.h"

class CQNBaseRend;

using zvtestsupport::Rgb;
using zvtestsupport::writePng;
using zvtestsupport::writePngPixels;

// The pixels of a colour in one row or column: how many, first and last.
struct Span {
    int count = 0, first = -1, last = -1;
};

class RenderFixture : public DrawingTestBase {
protected:
    Span rowRun(int y, Rgb c, int tolerance = 8) const;
    Span columnRun(int x, Rgb c, int tolerance = 8) const;

    // Writes a sprite model script and a renderable script for it ("Base
    // Objects" holds a blank, as in the game), then creates and initialises
    // the renderable.
    std::unique_ptr<CQNBaseRend> makeSprite(const std::string& name, const std::string& modelKeys,
                                            const std::string& objectKeys = "");
    static std::string spriteObjectPath(const std::string& name);
};

#endif
