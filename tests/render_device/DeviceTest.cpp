#include "DeviceTest.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <windows.h>

#include "TestDevice.h"
#include "TestWindow.h"
#include "testing/DeviceTesting.h"

namespace devtest {

::testing::AssertionResult near(uint32_t actual, uint32_t expected, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(int((actual >> shift) & 0xFF) - int((expected >> shift) & 0xFF)) > tolerance) {
            char text[64];
            std::snprintf(text, sizeof text, "0x%08X is not 0x%08X (±%d)", actual, expected, tolerance);
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult areaIs(const Image& image, int x0, int y0, int x1, int y1,
                                  uint32_t expected, int tolerance) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            ::testing::AssertionResult r = near(image.at(x, y), expected, tolerance);
            if (!r) return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << "): " << r.message();
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
    m._11 = m._33 = std::cos(angle);
    m._31 = std::sin(angle);
    m._13 = -m._31;
    return m;
}

D3DMATRIX translation(float x, float y, float z) {
    D3DMATRIX m = identity();
    m._41 = x;
    m._42 = y;
    m._43 = z;
    return m;
}

HWND testWindow() {
    static HWND window = zvtestsupport::createTestWindow(800, 600, 0, 0);
    return window;
}

D3DPRESENT_PARAMETERS DeviceTest::windowedParams(UINT width, UINT height, D3DFORMAT format) {
    D3DPRESENT_PARAMETERS p = zvtestsupport::windowedParams(testWindow(), width, height, format);
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

void DeviceTest::createDevice(UINT width, UINT height, D3DFORMAT format, bool windowed) {
    releaseDevice();
    m_params = windowedParams(width, height, format);
    if (!windowed) {
        // The engine's full-screen device: one retrace per frame.
        m_params.Windowed = FALSE;
        m_params.PresentationInterval = D3DPRESENT_INTERVAL_ONE;
    }
    ASSERT_EQ(m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, testWindow(),
                                  D3DCREATE_HARDWARE_VERTEXPROCESSING, &m_params, &m_device),
              D3D_OK);
    ASSERT_NE(m_device, nullptr);
}

void DeviceTest::releaseDevice() {
    if (m_device) {
        EXPECT_EQ(m_device->Release(), 0u) << "something still holds the device";
    }
    m_device = nullptr;
}

void DeviceTest::beginFrame(D3DCOLOR clear) {
    ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clear, 1.0f, 0), D3D_OK);
    ASSERT_EQ(m_device->BeginScene(), D3D_OK);
}

void DeviceTest::endFrame() {
    ASSERT_EQ(m_device->EndScene(), D3D_OK);
    ASSERT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

Image DeviceTest::readBack() {
    Image image;
    image.width = m_params.BackBufferWidth;
    image.height = m_params.BackBufferHeight;
    if (m_params.BackBufferFormat != D3DFMT_R5G6B5) {
        zvtestsupport::readBackBuffer(m_device, image.width, image.height, image.pixels);
        return image;
    }
    IDirect3DSurface9* surface = nullptr;
    EXPECT_EQ(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
    D3DLOCKED_RECT locked{};
    if (surface && surface->LockRect(&locked, nullptr, D3DLOCK_READONLY) == D3D_OK) {
        for (UINT y = 0; y < image.height; ++y) {
            const uint16_t* row = reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(locked.pBits) +
                                                                    size_t(y) * locked.Pitch);
            image.raw16.insert(image.raw16.end(), row, row + image.width);
        }
        surface->UnlockRect();
    }
    if (surface) surface->Release();
    EXPECT_EQ(image.raw16.size(), size_t(image.width) * image.height);
    return image;
}

void DeviceTest::setEngineState() {
    IDirect3DDevice9* d = m_device;
    d->SetFVF(kLitFVF);
    const struct {
        D3DRENDERSTATETYPE state;
        DWORD value;
    } states[] = {
        {D3DRS_LIGHTING, TRUE},         {D3DRS_AMBIENT, 0xFF646464},       {D3DRS_CULLMODE, D3DCULL_CW},
        {D3DRS_ALPHATESTENABLE, TRUE},  {D3DRS_ALPHAREF, 0},               {D3DRS_ALPHAFUNC, D3DCMP_GREATER},
        {D3DRS_ZWRITEENABLE, TRUE},     {D3DRS_ZENABLE, D3DZB_TRUE},       {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
        {D3DRS_ALPHABLENDENABLE, FALSE}, {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
        {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA}, {D3DRS_BLENDOP, D3DBLENDOP_ADD},
    };
    for (const auto& s : states) d->SetRenderState(s.state, s.value);
    const struct {
        DWORD stage;
        D3DTEXTURESTAGESTATETYPE type;
        DWORD value;
    } stages[] = {
        {0, D3DTSS_COLOROP, D3DTOP_MODULATE},           {0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
        {0, D3DTSS_ALPHAOP, D3DTOP_MODULATE},           {0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
        {0, D3DTSS_ALPHAARG2, D3DTA_CURRENT},           {1, D3DTSS_COLOROP, D3DTOP_BLENDCURRENTALPHA},
        {1, D3DTSS_COLORARG1, D3DTA_TEXTURE},           {1, D3DTSS_COLORARG2, D3DTA_CURRENT},
        {1, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1},         {1, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE},
        {1, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR | 1},
        {2, D3DTSS_COLOROP, D3DTOP_DISABLE},            {2, D3DTSS_ALPHAOP, D3DTOP_DISABLE},
    };
    for (const auto& s : stages) d->SetTextureStageState(s.stage, s.type, s.value);
    for (DWORD s = 0; s < 2; ++s)
        for (D3DSAMPLERSTATETYPE type : {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER, D3DSAMP_MIPFILTER})
            d->SetSamplerState(s, type, D3DTEXF_LINEAR);
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
    ColorVertex v[4] = {{x0, y1, z, color}, {x0, y0, z, color}, {x1, y1, z, color}, {x1, y0, z, color}};
    m_device->SetFVF(kColorFVF);
    EXPECT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof v[0]), D3D_OK);
}

IDirect3DTexture9* DeviceTest::makeTexture(UINT w, UINT h, D3DFORMAT format, const std::vector<uint32_t>& texels) {
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(m_device->CreateTexture(w, h, 1, 0, format, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    if (!texture) return nullptr;
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (UINT y = 0; y < h; ++y)
        for (UINT x = 0; x < w; ++x)
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + size_t(y) * locked.Pitch)[x] =
                texels[size_t(y) * w + x];
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    return texture;
}

}  // namespace devtest
