// Frames: clearing, presenting, reading the back buffer, both back-buffer
// formats.
#include "DeviceTest.h"

#include "testing/DeviceTesting.h"

namespace devtest {
namespace {

class Frame : public DeviceTest {};

TEST_F(Frame, ClearFillsTheBackBufferWithTheColour) {
    const struct {
        const char* name;
        D3DCOLOR color;
    } rows[] = {
        {"red", 0xFFFF0000}, {"green", 0xFF00FF00}, {"blue", 0xFF0000FF},
        {"white", 0xFFFFFFFF}, {"grey, alpha ignored", 0x00646464},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        beginFrame(row.color);
        endFrame();
        Image image = readBack();
        ASSERT_EQ(image.width, 800u);
        ASSERT_EQ(image.height, 600u);
        EXPECT_TRUE(areaIs(image, 10, 10, 790, 590, row.color));
        // X8R8G8B8 reads back with X = 0xFF.
        EXPECT_EQ(image.at(400, 300) >> 24, 0xFFu);
    }
}

TEST_F(Frame, BackBufferDescribesItself) {
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(surface->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Width, 800u);
    EXPECT_EQ(desc.Height, 600u);
    EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(desc.Type, D3DRTYPE_SURFACE);
    // The frame can be read, not written.
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(surface->LockRect(&locked, nullptr, 0), D3DERR_INVALIDCALL);
    ASSERT_EQ(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(locked.Pitch, 800 * 4);
    EXPECT_EQ(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3DERR_INVALIDCALL) << "locked twice";
    EXPECT_EQ(surface->UnlockRect(), D3D_OK);
    EXPECT_EQ(surface->UnlockRect(), D3DERR_INVALIDCALL);
    IDirect3DSurface9* again = nullptr;
    EXPECT_EQ(m_device->GetBackBuffer(1, 0, D3DBACKBUFFER_TYPE_MONO, &again), D3DERR_INVALIDCALL);
    EXPECT_EQ(again, nullptr);
    surface->Release();
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
    // A locked sub-rectangle starts at its own top-left pixel.
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
    RECT rect = {100, 550, 200, 560};
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(surface->LockRect(&locked, &rect, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(*static_cast<const uint32_t*>(locked.pBits), 0xFF0000FFu);
    surface->UnlockRect();
    surface->Release();
}

TEST_F(Frame, TheLastPresentedFrameStaysUntilTheNextClear) {
    setPlainState();
    beginFrame(0xFF00FF00);
    drawScreenRect(300, 200, 500, 400, 0xFFFF00FF);
    endFrame();
    // Between frames (where the engine takes its screenshots) the back
    // buffer still holds that frame, however often it is read.
    for (int i = 0; i < 2; ++i) {
        Image image = readBack();
        EXPECT_TRUE(areaIs(image, 320, 220, 480, 380, 0xFFFF00FF));
        EXPECT_TRUE(areaIs(image, 20, 20, 200, 200, 0xFF00FF00));
    }
    ASSERT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_TRUE(areaIs(readBack(), 320, 220, 480, 380, 0xFFFF00FF));
}

TEST_F(Frame, ClearKeepsToTheViewportAndRectangles) {
    beginFrame(0xFF000000);
    D3DVIEWPORT9 viewport = {100, 50, 200, 100, 0.0f, 1.0f};
    ASSERT_EQ(m_device->SetViewport(&viewport), D3D_OK);
    ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
    D3DRECT rect = {150, 60, 250, 400};  // cut at the viewport's bottom (150)
    ASSERT_EQ(m_device->Clear(1, &rect, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0), D3D_OK);
    endFrame();
    Image image = readBack();
    EXPECT_TRUE(areaIs(image, 102, 52, 148, 148, 0xFFFF0000));
    EXPECT_TRUE(areaIs(image, 152, 62, 248, 148, 0xFF0000FF));
    EXPECT_TRUE(areaIs(image, 152, 152, 248, 300, 0xFF000000)) << "outside the viewport";
    EXPECT_TRUE(areaIs(image, 10, 10, 90, 500, 0xFF000000));
    EXPECT_EQ(m_device->Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3DERR_INVALIDCALL);
}

TEST_F(Frame, SixteenBitBackBufferHoldsR5G6B5) {
    createDevice(320, 240, D3DFMT_R5G6B5);
    setPlainState();
    const struct {
        const char* name;
        D3DCOLOR color;
        uint16_t raw;
    } rows[] = {
        {"red", 0xFFFF0000, 0xF800}, {"green", 0xFF00FF00, 0x07E0},
        {"blue", 0xFF0000FF, 0x001F}, {"white", 0xFFFFFFFF, 0xFFFF},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        beginFrame(0xFF000000);
        drawScreenRect(40, 40, 280, 200, row.color);
        endFrame();
        Image image = readBack();
        ASSERT_EQ(image.format, D3DFMT_R5G6B5);
        ASSERT_EQ(image.width, 320u);
        EXPECT_EQ(image.raw16[size_t(120) * 320 + 160], row.raw);
        EXPECT_EQ(image.raw16[size_t(20) * 320 + 160], 0u) << "outside the rectangle";
        EXPECT_TRUE(areaIs(image, 50, 50, 270, 190, row.color, 8));
    }
}

TEST_F(Frame, FullScreenPresentsTheSameFrame) {
    // The engine's full-screen device: 16 bits, one retrace per frame. The
    // frame is scaled onto the desktop; the back buffer keeps its own size.
    releaseDevice();
    m_params = windowedParams(800, 600, D3DFMT_R5G6B5, true);
    m_params.Windowed = FALSE;
    m_params.PresentationInterval = D3DPRESENT_INTERVAL_ONE;
    ASSERT_EQ(m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, testWindow(),
                                  D3DCREATE_HARDWARE_VERTEXPROCESSING, &m_params, &m_device),
              D3D_OK);
    setPlainState();
    beginFrame(0xFF0000FF);
    drawScreenRect(100, 100, 300, 200, 0xFFFFFF00);
    endFrame();
    Image image = readBack();
    ASSERT_EQ(image.width, 800u);
    EXPECT_TRUE(areaIs(image, 110, 110, 290, 190, 0xFFFFFF00, 8));
    EXPECT_TRUE(areaIs(image, 400, 300, 700, 500, 0xFF0000FF, 8));
    // Back to a window by Reset.
    D3DPRESENT_PARAMETERS windowed = windowedParams(800, 600, D3DFMT_X8R8G8B8, true);
    ASSERT_EQ(m_device->Reset(&windowed), D3D_OK);
    m_params = windowed;
    beginFrame(0xFF00FF00);
    endFrame();
    EXPECT_TRUE(areaIs(readBack(), 100, 100, 700, 500, 0xFF00FF00));
}

TEST_F(Frame, ScenesDoNotNestAndDrawsNeedOne) {
    setPlainState();
    ScreenVertex v[3] = {};
    m_device->SetFVF(kScreenFVF);
    EXPECT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, v, sizeof v[0]), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->EndScene(), D3DERR_INVALIDCALL);
    ASSERT_EQ(m_device->BeginScene(), D3D_OK);
    EXPECT_EQ(m_device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL)
        << "present inside a scene";
    EXPECT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, v, sizeof v[0]), D3D_OK);
    EXPECT_EQ(m_device->EndScene(), D3D_OK);
}

TEST_F(Frame, CapsReportHardwareTransformAndLighting) {
    D3DCAPS9 caps{};
    ASSERT_EQ(m_d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps), D3D_OK);
    EXPECT_NE(caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT, 0u);
    EXPECT_EQ(caps.DeviceType, D3DDEVTYPE_HAL);
    EXPECT_EQ(m_d3d->GetDeviceCaps(1, D3DDEVTYPE_HAL, &caps), D3DERR_INVALIDCALL);
    EXPECT_EQ(Direct3DCreate9(31), nullptr) << "another SDK version";
}

TEST_F(Frame, CreateDeviceRefusesWhatItCannotPresent) {
    const struct {
        const char* name;
        void (*change)(D3DPRESENT_PARAMETERS&);
        bool window;
    } rows[] = {
        {"A8R8G8B8 back buffer", [](D3DPRESENT_PARAMETERS& p) { p.BackBufferFormat = D3DFMT_A8R8G8B8; }, true},
        {"two back buffers", [](D3DPRESENT_PARAMETERS& p) { p.BackBufferCount = 2; }, true},
        {"depth format X8R8G8B8", [](D3DPRESENT_PARAMETERS& p) { p.AutoDepthStencilFormat = D3DFMT_X8R8G8B8; }, true},
        {"multisampling", [](D3DPRESENT_PARAMETERS& p) { p.MultiSampleType = D3DMULTISAMPLE_TYPE(4); }, true},
        {"no window", [](D3DPRESENT_PARAMETERS& p) { p.hDeviceWindow = nullptr; }, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        D3DPRESENT_PARAMETERS p = windowedParams(64, 64, D3DFMT_X8R8G8B8, true);
        row.change(p);
        IDirect3DDevice9* device = nullptr;
        HWND focus = row.window ? testWindow() : nullptr;
        EXPECT_EQ(m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, focus,
                                      D3DCREATE_HARDWARE_VERTEXPROCESSING, &p, &device),
                  D3DERR_INVALIDCALL);
        EXPECT_EQ(device, nullptr);
    }
}

}  // namespace
}  // namespace devtest
