// Frames: clearing, presenting, reading the back buffer, both back-buffer
// formats.
#include "DeviceTest.h"

namespace devtest {
namespace {

class Frame : public DeviceTest {};

TEST_F(Frame, ClearFillsTheBackBufferWithTheColour) {
    for (D3DCOLOR color : {0xFFFF0000u, 0x00646464u}) {  // the second's alpha is ignored
        SCOPED_TRACE(color);
        beginFrame(color);
        endFrame();
        Image image = readBack();
        ASSERT_EQ(image.width, 800u);
        ASSERT_EQ(image.height, 600u);
        EXPECT_TRUE(areaIs(image, 10, 10, 790, 590, color));
        EXPECT_EQ(image.at(400, 300) >> 24, 0xFFu) << "X8R8G8B8 reads back with X = 0xFF";
    }
}

TEST_F(Frame, ReadBackRowsRunTopToBottom) {
    setPlainState();
    beginFrame(0xFF000000);
    drawScreenRect(0, 0, 800, 100, 0xFFFF0000);    // top band red
    drawScreenRect(0, 500, 800, 600, 0xFF0000FF);  // bottom band blue
    endFrame();
    Image image = readBack();
    EXPECT_TRUE(areaIs(image, 100, 20, 700, 80, 0xFFFF0000));
    EXPECT_TRUE(areaIs(image, 100, 520, 700, 580, 0xFF0000FF));
    EXPECT_TRUE(areaIs(image, 100, 200, 700, 400, 0xFF000000));
    // A locked sub-rectangle starts at its own top-left pixel; the frame
    // can be read, not written.
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
    RECT rect = {100, 550, 200, 560};
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(surface->LockRect(&locked, &rect, 0), D3DERR_INVALIDCALL);
    ASSERT_EQ(surface->LockRect(&locked, &rect, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(*static_cast<const uint32_t*>(locked.pBits), 0xFF0000FFu);
    surface->UnlockRect();
    surface->Release();
}

TEST_F(Frame, TheLastPresentedFrameStaysUntilTheNextClear) {
    // Between frames (where the engine takes its screenshots) the back
    // buffer still holds that frame, however often it is read or presented.
    setPlainState();
    beginFrame(0xFF00FF00);
    drawScreenRect(300, 200, 500, 400, 0xFFFF00FF);
    endFrame();
    EXPECT_TRUE(areaIs(readBack(), 320, 220, 480, 380, 0xFFFF00FF));
    ASSERT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    Image image = readBack();
    EXPECT_TRUE(areaIs(image, 320, 220, 480, 380, 0xFFFF00FF));
    EXPECT_TRUE(areaIs(image, 20, 20, 200, 200, 0xFF00FF00));
}

TEST_F(Frame, FullScreenSixteenBitFrameAndResetToAWindow) {
    // The engine's full-screen device: R5G6B5, scaled onto the desktop; the
    // back buffer keeps its own size and format.
    createDevice(800, 600, D3DFMT_R5G6B5, false);
    setPlainState();
    const struct {
        D3DCOLOR color;
        uint16_t raw;
    } rows[] = {{0xFFFF0000, 0xF800}, {0xFF00FF00, 0x07E0}, {0xFF0000FF, 0x001F}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.raw);
        beginFrame(0xFF000000);
        drawScreenRect(100, 100, 300, 200, row.color);
        endFrame();
        Image image = readBack();
        ASSERT_EQ(image.raw16.size(), 800u * 600u);
        EXPECT_EQ(image.raw16[150 * 800 + 200], row.raw);
        EXPECT_EQ(image.raw16[400 * 800 + 500], 0u) << "outside the rectangle";
    }
    D3DPRESENT_PARAMETERS windowed = windowedParams(800, 600, D3DFMT_A8R8G8B8);
    EXPECT_EQ(m_device->Reset(&windowed), D3DERR_INVALIDCALL) << "a back buffer format it cannot present";
    windowed.BackBufferFormat = D3DFMT_X8R8G8B8;
    ASSERT_EQ(m_device->Reset(&windowed), D3D_OK);
    m_params = windowed;
    beginFrame(0xFF00FF00);
    endFrame();
    EXPECT_TRUE(areaIs(readBack(), 100, 100, 700, 500, 0xFF00FF00));
}

}  // namespace
}  // namespace devtest
