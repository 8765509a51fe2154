#include "DeviceTest.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <windows.h>

#include "TestDevice.h"
#include "TestWindow.h"
#include "testing/DeviceTesting.h"

namespace devtest {

std::string hex(uint32_t color) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", color);
    return text;
}

::testing::AssertionResult near(uint32_t actual, uint32_t expected, int tolerance, bool withAlpha) {
    for (int shift = 0; shift < (withAlpha ? 32 : 24); shift += 8) {
        int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
        if (std::abs(a - e) > tolerance)
            return ::testing::AssertionFailure() << hex(actual) << " is not " << hex(expected) << " (±"
                                                 << tolerance << ")";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult areaIs(const Image& image, int x0, int y0, int x1, int y1,
                                  uint32_t expected, int tolerance) {
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            ::testing::AssertionResult r = near(image.at(x, y), expected, tolerance);
            if (!r) return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << "): " << r.message();
        }
    }
    return ::testing::AssertionSuccess();
}

uint32_t argb(int r, int g, int b, int a) {
    return uint32_t(a & 0xFF) << 24 | uint32_t(r & 0xFF) << 16 | uint32_t(g & 0xFF) << 8 | uint32_t(b & 0xFF);
}

uint32_t argbf(float r, float g, float b, float a) {
    auto byte = [](float v) { return int(std::lround(std::fmin(1.0f, std::fmax(0.0f, v)) * 255.0f)); };
    return argb(byte(r), byte(g), byte(b), byte(a));
}

D3DMATRIX identity() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

D3DMATRIX orthoRH(float w, float h, float zn, float zf) {
    D3DMATRIX m = identity();
    m._11 = 2.0f / w;
    m._22 = 2.0f / h;
    m._33 = 1.0f / (zn - zf);
    m._43 = zn / (zn - zf);
    return m;
}

D3DMATRIX perspectiveFovRH(float fovy, float aspect, float zn, float zf) {
    D3DMATRIX m{};
    float yScale = 1.0f / std::tan(fovy / 2.0f);
    m._11 = yScale / aspect;
    m._22 = yScale;
    m._33 = zf / (zn - zf);
    m._34 = -1.0f;
    m._43 = zn * zf / (zn - zf);
    return m;
}

D3DMATRIX rotationY(float angle) {
    D3DMATRIX m = identity();
    float c = std::cos(angle), s = std::sin(angle);
    m._11 = c;
    m._13 = -s;
    m._31 = s;
    m._33 = c;
    return m;
}

D3DMATRIX translation(float x, float y, float z) {
    D3DMATRIX m = identity();
    m._41 = x;
    m._42 = y;
    m._43 = z;
    return m;
}

D3DMATRIX transpose(const D3DMATRIX& m) {
    D3DMATRIX r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r.m[i][j] = m.m[j][i];
    return r;
}

HWND testWindow() {
    static HWND window = zvtestsupport::createTestWindow(800, 600, 0, 0);
    return window;
}

D3DPRESENT_PARAMETERS DeviceTest::windowedParams(UINT width, UINT height, D3DFORMAT format, bool depth) {
    D3DPRESENT_PARAMETERS p = zvtestsupport::windowedParams(testWindow(), width, height, format, depth);
    p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return p;
}

void DeviceTest::SetUp() {
    ASSERT_NE(testWindow(), nullptr);
    m_d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(m_d3d, nullptr);
    createDevice(800, 600, D3DFMT_X8R8G8B8);
    zvtest::failPresent(0);
    zvtest::failReset(0);
}

void DeviceTest::TearDown() {
    if (m_device) {
        EXPECT_EQ(zvtest::drainGLErrors(), 0) << "GL errors during the test";
    }
    releaseDevice();
    if (m_d3d) {
        EXPECT_EQ(m_d3d->Release(), 0u);
    }
    m_d3d = nullptr;
}

void DeviceTest::createDevice(UINT width, UINT height, D3DFORMAT format, bool depth) {
    releaseDevice();
    m_params = windowedParams(width, height, format, depth);
    HRESULT hr = m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, testWindow(),
                                     D3DCREATE_HARDWARE_VERTEXPROCESSING, &m_params, &m_device);
    ASSERT_EQ(hr, D3D_OK);
    ASSERT_NE(m_device, nullptr);
}

void DeviceTest::releaseDevice() {
    if (m_device) {
        EXPECT_EQ(m_device->Release(), 0u) << "something still holds the device";
    }
    m_device = nullptr;
}

void DeviceTest::beginFrame(D3DCOLOR clear) {
    ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET | (m_params.EnableAutoDepthStencil ? D3DCLEAR_ZBUFFER : 0),
                              clear, 1.0f, 0),
              D3D_OK);
    ASSERT_EQ(m_device->BeginScene(), D3D_OK);
}

void DeviceTest::endFrame() {
    ASSERT_EQ(m_device->EndScene(), D3D_OK);
    ASSERT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

Image DeviceTest::readBack() {
    Image image;
    IDirect3DSurface9* surface = nullptr;
    EXPECT_EQ(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
    if (!surface) return image;
    D3DSURFACE_DESC desc{};
    surface->GetDesc(&desc);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    image.width = desc.Width;
    image.height = desc.Height;
    image.format = desc.Format;
    image.pixels.resize(size_t(desc.Width) * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(locked.pBits) + size_t(y) * locked.Pitch;
        for (UINT x = 0; x < desc.Width; ++x) {
            uint32_t value;
            if (desc.Format == D3DFMT_R5G6B5) {
                uint16_t v = uint16_t(row[2 * x] | row[2 * x + 1] << 8);
                image.raw16.push_back(v);
                int r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
                value = argb(r * 255 / 31, g * 255 / 63, b * 255 / 31);
            } else {
                value = uint32_t(row[4 * x]) | uint32_t(row[4 * x + 1]) << 8 |
                        uint32_t(row[4 * x + 2]) << 16 | uint32_t(row[4 * x + 3]) << 24;
            }
            image.pixels[size_t(y) * desc.Width + x] = value;
        }
    }
    EXPECT_EQ(surface->UnlockRect(), D3D_OK);
    surface->Release();
    return image;
}

void DeviceTest::setEngineState() {
    IDirect3DDevice9* d = m_device;
    d->SetFVF(kLitFVF);
    d->SetRenderState(D3DRS_LIGHTING, TRUE);
    d->SetRenderState(D3DRS_AMBIENT, 0xFF646464);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    d->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    d->SetRenderState(D3DRS_ALPHAREF, 0);
    d->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    d->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    d->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    d->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    for (DWORD s = 0; s < 2; ++s) {
        d->SetSamplerState(s, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
        d->SetSamplerState(s, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
    }
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_CURRENT);
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_BLENDCURRENTALPHA);
    d->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
    d->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(1, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    d->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR | 1);
    d->SetTextureStageState(2, D3DTSS_COLOROP, D3DTOP_DISABLE);
    d->SetTextureStageState(2, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    for (DWORD s = 0; s < 2; ++s) {
        d->SetSamplerState(s, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        d->SetSamplerState(s, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        d->SetSamplerState(s, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    }
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    light.Direction = {0.0f, 1.0f, -1.0f};
    d->SetLight(0, &light);
    d->LightEnable(0, TRUE);
}

void DeviceTest::setPlainState() {
    m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
    m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    m_device->SetTexture(0, nullptr);
}

void DeviceTest::drawScreenRect(float x0, float y0, float x1, float y1, DWORD color, float z) {
    ScreenVertex v[4] = {
        {x0, y0, z, 1.0f, color, 0.0f, 0.0f},
        {x1, y0, z, 1.0f, color, 1.0f, 0.0f},
        {x0, y1, z, 1.0f, color, 0.0f, 1.0f},
        {x1, y1, z, 1.0f, color, 1.0f, 1.0f},
    };
    m_device->SetFVF(kScreenFVF);
    EXPECT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof v[0]), D3D_OK);
}

void DeviceTest::drawColorQuad(float x0, float y0, float x1, float y1, float z, DWORD color) {
    ColorVertex v[4] = {
        {x0, y1, z, color},
        {x0, y0, z, color},
        {x1, y1, z, color},
        {x1, y0, z, color},
    };
    m_device->SetFVF(kColorFVF);
    EXPECT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof v[0]), D3D_OK);
}

IDirect3DTexture9* DeviceTest::makeTexture(UINT w, UINT h, D3DFORMAT format,
                                           const std::vector<uint32_t>& texels, UINT levels) {
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(m_device->CreateTexture(w, h, levels, 0, format, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    if (!texture) return nullptr;
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (UINT y = 0; y < h; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + size_t(y) * locked.Pitch);
        for (UINT x = 0; x < w; ++x) row[x] = texels[size_t(y) * w + x];
    }
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    return texture;
}

}  // namespace devtest
