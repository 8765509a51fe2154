// Shared by the device tests: a hidden game window, a device on it, frames
// read back through GetBackBuffer + LockRect, and small vertex and matrix
// helpers (hand-built, so these tests need nothing but the device).
#ifndef ZV_TESTS_RENDER_DEVICE_DEVICETEST_H
#define ZV_TESTS_RENDER_DEVICE_DEVICETEST_H

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <d3d9.h>

namespace devtest {

// Vertex layouts of the engine: sprites and meshes (XYZ|NORMAL|TEX2, 40
// bytes), text (XYZRHW|DIFFUSE|TEX1), and a plain coloured one.
struct LitVertex {
    float x, y, z, nx, ny, nz, u0, v0, u1, v1;
};
const DWORD kLitFVF = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2;
struct ScreenVertex {
    float x, y, z, rhw;
    DWORD color;
    float u, v;
};
const DWORD kScreenFVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
struct ColorVertex {
    float x, y, z;
    DWORD color;
};
const DWORD kColorFVF = D3DFVF_XYZ | D3DFVF_DIFFUSE;

// A frame read back: 0xAARRGGBB per pixel, or for R5G6B5 frames the
// surface's own values only.
struct Image {
    UINT width = 0, height = 0;
    std::vector<uint32_t> pixels;
    std::vector<uint16_t> raw16;
    uint32_t at(UINT x, UINT y) const { return pixels[size_t(y) * width + x]; }
};

// Colour channels within `tolerance` of each other (alpha ignored).
::testing::AssertionResult near(uint32_t actual, uint32_t expected, int tolerance = 2);
// Every pixel of the rectangle [x0, x1) x [y0, y1) near `expected`.
::testing::AssertionResult areaIs(const Image& image, int x0, int y0, int x1, int y1,
                                  uint32_t expected, int tolerance = 2);
uint32_t argb(int r, int g, int b, int a = 255);
uint32_t argbf(float r, float g, float b, float a = 1.0f);

D3DMATRIX identity();
D3DMATRIX orthoRH(float w, float h, float zn, float zf);
D3DMATRIX perspectiveFovRH(float fovy, float aspect, float zn, float zf);
D3DMATRIX rotationY(float angle);
D3DMATRIX translation(float x, float y, float z);

// The one window of the test program (class "Zarvel", hidden, 800x600).
HWND testWindow();

class DeviceTest : public ::testing::Test {
protected:
    // An 800x600 X8R8G8B8 device; TearDown fails the test on any GL error
    // and on a device something still holds.
    void SetUp() override;
    void TearDown() override;

    void createDevice(UINT width, UINT height, D3DFORMAT format, bool windowed = true);
    void releaseDevice();
    D3DPRESENT_PARAMETERS windowedParams(UINT width, UINT height, D3DFORMAT format);

    // Clear (target and depth) and BeginScene / EndScene and Present.
    void beginFrame(D3DCOLOR clear);
    void endFrame();
    Image readBack();

    // The engine's start-up settings, for tests that draw as the engine does.
    void setEngineState();
    // Lighting off, no texture, no culling, no depth: plain coloured drawing.
    void setPlainState();

    void setMatrix(D3DTRANSFORMSTATETYPE which, const D3DMATRIX& m) {
        ASSERT_EQ(m_device->SetTransform(which, &m), D3D_OK);
    }
    void drawScreenRect(float x0, float y0, float x1, float y1, DWORD color, float z = 0.5f);
    // The engine's sprite strip order, z given in view space.
    void drawColorQuad(float x0, float y0, float x1, float y1, float z, DWORD color);
    IDirect3DTexture9* makeTexture(UINT w, UINT h, D3DFORMAT format, const std::vector<uint32_t>& texels);

    IDirect3D9* m_d3d = nullptr;
    IDirect3DDevice9* m_device = nullptr;
    D3DPRESENT_PARAMETERS m_params{};
};

}  // namespace devtest

#endif
