#include "TextFixture.h"

#include "DX_Text.h"
#include "testing/DeviceTesting.h"

bool litPixel(DWORD pixel) {
    return ((pixel >> 16) & 0xFF) > 0x20 || ((pixel >> 8) & 0xFF) > 0x20 || (pixel & 0xFF) > 0x20;
}

void TextOnDevice::SetUp() {
    ASSERT_NO_FATAL_FAILURE(DrawingTestBase::SetUp());
    m_device = device();
    ASSERT_EQ(QNRSLT_OK, CDX_Text::getInstance()->initialize(nullptr));
}

void TextOnDevice::TearDown() {
    EXPECT_EQ(0, zvtest::drainGLErrors());
    DrawingTestBase::TearDown();
}

std::vector<DWORD> TextOnDevice::frame(const std::function<void()>& draw) {
    beginFrame();
    draw();
    endFrame();
    return m_frame;  // DWORD is uint32_t
}

std::vector<DWORD> TextOnDevice::textFrame(const char* text, float x, float y, int r, int g, int b,
                                           int a) {
    const float position[2] = {x, y};
    return frame([&] { CDX_Text::getInstance()->drawText(text, position, r, g, b, a, 0); });
}

std::vector<DWORD> TextOnDevice::fontFrame(const char* text, RECT rect, DWORD format,
                                           D3DCOLOR color) {
    ID3DXFont* font = CDX_Text::getInstance()->m_pFont;
    return frame([&] {
        if (font) font->DrawTextA(nullptr, text, -1, &rect, format, color);
    });
}

LitBox TextOnDevice::litBox(const std::vector<DWORD>& pixels) {
    LitBox box;
    for (int y = 0; y < kFrameHeight && !pixels.empty(); ++y)
        for (int x = 0; x < kFrameWidth; ++x)
            if (litPixel(pixels[static_cast<size_t>(y) * kFrameWidth + x])) {
                ++box.count;
                if (x < box.left) box.left = x;
                if (y < box.top) box.top = y;
                if (x > box.right) box.right = x;
                if (y > box.bottom) box.bottom = y;
            }
    return box;
}
