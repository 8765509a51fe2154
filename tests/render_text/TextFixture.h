// The drawing base with the text drawer initialised with its default face,
// frames of text read back, and the box the lit pixels fill.
#ifndef ZV_TEST_RENDER_TEXT_FIXTURE_H
#define ZV_TEST_RENDER_TEXT_FIXTURE_H

#include <functional>
#include <string>
#include <vector>

#include <d3dx9.h>

#include "engine/DrawingTestBase.h"

constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 600;

// The smallest box holding every pixel that is not (nearly) black.
struct LitBox {
    int count = 0;
    int left = kFrameWidth, top = kFrameHeight, right = -1, bottom = -1;
};

class TextOnDevice : public DrawingTestBase {
protected:
    void SetUp() override;
    void TearDown() override;

    // Clears to black, runs `draw` inside a scene, presents and returns the
    // frame read back (top row first, X8R8G8B8).
    std::vector<DWORD> frame(const std::function<void()>& draw);
    // A frame with one CDX_Text::drawText call, format 0.
    std::vector<DWORD> textFrame(const char* text, float x, float y, int r = 255, int g = 255,
                                 int b = 255, int a = 255);
    // A frame with one DrawTextA call of the text drawer's font.
    std::vector<DWORD> fontFrame(const char* text, RECT rect, DWORD format = 0,
                                 D3DCOLOR color = 0xFFFFFFFFu);
    static LitBox litBox(const std::vector<DWORD>& pixels);

    IDirect3DDevice9* m_device = nullptr;
};

// True for a pixel that is not (nearly) black.
bool litPixel(DWORD pixel);

#endif
