// A windowed Direct3D 9 device for tests that draw, and the frame read back
// through GetBackBuffer + LockRect. Header-only for the reason TestWindow.h
// gives: only programs that call these link the device layer.
#ifndef ZV_TEST_DEVICE_H
#define ZV_TEST_DEVICE_H

#include <gtest/gtest.h>
#include <windows.h>
#include <d3d9.h>

#include <cstdint>
#include <vector>

#include "TestWindow.h"

namespace zvtestsupport {

// Windowed presentation on `window`: a discarded back buffer of that size and
// format, with a 16-bit depth buffer when `depth`.
inline D3DPRESENT_PARAMETERS windowedParams(HWND window, UINT width, UINT height,
                                            D3DFORMAT format = D3DFMT_X8R8G8B8, bool depth = true) {
    D3DPRESENT_PARAMETERS p = {};
    p.BackBufferWidth = width;
    p.BackBufferHeight = height;
    p.BackBufferFormat = format;
    p.SwapEffect = D3DSWAPEFFECT_DISCARD;
    p.hDeviceWindow = window;
    p.Windowed = TRUE;
    p.EnableAutoDepthStencil = depth;
    p.AutoDepthStencilFormat = D3DFMT_D16;
    return p;
}

// A suite of tests sharing one size x size window and hardware device on
// it (windowedParams), made once by the suite's SetUpTestSuite calling
// openSuiteDevice and released after the suite. A test fails at SetUp when
// there is no device.
class SuiteDeviceTest : public ::testing::Test {
protected:
    static void openSuiteDevice(const char* windowClass, int size) {
        s_window = createTestWindow(size, size, 0, 0, windowClass);
        if (!s_window) return;
        s_d3d = Direct3DCreate9(D3D_SDK_VERSION);
        if (!s_d3d) return;
        D3DPRESENT_PARAMETERS pp = windowedParams(s_window, size, size);
        if (FAILED(s_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, s_window,
                                       D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &s_device)))
            s_device = nullptr;
    }
    static void TearDownTestSuite() {
        if (s_device) s_device->Release();
        if (s_d3d) s_d3d->Release();
        if (s_window) DestroyWindow(s_window);
        s_device = nullptr;
        s_d3d = nullptr;
        s_window = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(nullptr, s_device) << "no Direct3D device (OpenGL 3.3 context) could be created";
    }

    inline static IDirect3D9* s_d3d = nullptr;
    inline static IDirect3DDevice9* s_device = nullptr;
    inline static HWND s_window = nullptr;
};

// The back buffer of a device with a 32-bit format as `width` x `height`
// values as stored (0xAARRGGBB), top row first. `pixels` holds zeros where
// the buffer cannot be got or locked, which fails the test.
inline void readBackBuffer(IDirect3DDevice9* device, int width, int height, std::vector<uint32_t>& pixels) {
    pixels.assign(static_cast<size_t>(width) * height, 0);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
    D3DLOCKED_RECT locked;
    const HRESULT lock = surface->LockRect(&locked, nullptr, D3DLOCK_READONLY);
    if (lock == D3D_OK) {
        for (int y = 0; y < height; ++y) {
            const uint32_t* row = reinterpret_cast<const uint32_t*>(static_cast<const char*>(locked.pBits) +
                                                                    static_cast<size_t>(y) * locked.Pitch);
            for (int x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = row[x];
        }
        surface->UnlockRect();
    }
    surface->Release();
    ASSERT_EQ(lock, D3D_OK);
}

}  // namespace zvtestsupport

#endif
