// The alpha test and blending.
#include "DeviceTest.h"

namespace devtest {
namespace {

class Blend : public DeviceTest {};

TEST_F(Blend, AlphaTestDiscardsByTheEightBitAlpha) {
    const struct {
        const char* name;
        BOOL enable;
        DWORD func, ref;
        int alpha;
        bool drawn;
    } rows[] = {
        {"alpha 0, GREATER 0 (the engine's test)", TRUE, D3DCMP_GREATER, 0, 0, false},
        {"alpha 1, GREATER 0", TRUE, D3DCMP_GREATER, 0, 1, true},
        {"alpha 128, GREATER 128", TRUE, D3DCMP_GREATER, 128, 128, false},
        {"alpha 128, GREATEREQUAL 128", TRUE, D3DCMP_GREATEREQUAL, 128, 128, true},
        {"alpha 200, LESS 128", TRUE, D3DCMP_LESS, 128, 200, false},
        {"test off, alpha 0", FALSE, D3DCMP_GREATER, 0, 0, true},
    };
    setPlainState();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        m_device->SetRenderState(D3DRS_ALPHATESTENABLE, row.enable);
        m_device->SetRenderState(D3DRS_ALPHAFUNC, row.func);
        m_device->SetRenderState(D3DRS_ALPHAREF, row.ref);
        beginFrame(0xFF0000FF);
        drawScreenRect(200, 150, 600, 450, argb(255, 255, 0, row.alpha));
        endFrame();
        EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, row.drawn ? 0xFFFFFF00 : 0xFF0000FF));
    }
}

TEST_F(Blend, BlendFactorsAndOperations) {
    const struct {
        const char* name;
        BOOL enable;
        DWORD src, dst, op;
        uint32_t background, colour, expected;
    } rows[] = {
        {"SRCALPHA / INVSRCALPHA (sprites, text)", TRUE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA,
         D3DBLENDOP_ADD, 0xFF0000FF, 0x80FF0000, argb(128, 0, 127)},
        {"SRCALPHA / ONE (particles)", TRUE, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DBLENDOP_ADD, 0xFF0000FF,
         0x80FF0000, argb(128, 0, 255)},
        {"additive saturates", TRUE, D3DBLEND_ONE, D3DBLEND_ONE, D3DBLENDOP_ADD, 0xFF808080, 0xFFC0C0C0,
         0xFFFFFFFF},
        {"ZERO / SRCCOLOR modulates", TRUE, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, D3DBLENDOP_ADD, 0xFFFFFFFF,
         0xFF804020, argb(128, 64, 32)},
        {"REVSUBTRACT takes the colour away", TRUE, D3DBLEND_ONE, D3DBLEND_ONE, D3DBLENDOP_REVSUBTRACT,
         0xFFFFFFFF, 0xFFFF0000, 0xFF00FFFF},
        {"DESTALPHA of an X8 target is 1", TRUE, D3DBLEND_DESTALPHA, D3DBLEND_ZERO, D3DBLENDOP_ADD, 0xFF000000,
         0x00C08040, 0xFFC08040},
        {"blending off writes the colour as is", FALSE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA,
         D3DBLENDOP_ADD, 0xFF0000FF, 0x40FF0000, 0xFFFF0000},
    };
    setPlainState();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, row.enable);
        m_device->SetRenderState(D3DRS_SRCBLEND, row.src);
        m_device->SetRenderState(D3DRS_DESTBLEND, row.dst);
        m_device->SetRenderState(D3DRS_BLENDOP, row.op);
        beginFrame(row.background);
        drawScreenRect(200, 150, 600, 450, row.colour);
        endFrame();
        EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, row.expected));
    }
}

// A lit draw's alpha is often known before any pixel (a texture without
// alpha, the material's diffuse alpha): the alpha test and blending must
// still answer to every change of the material, the texture and the
// reference between draws.
TEST_F(Blend, KnownAlphaFollowsMaterialTextureAndReference) {
    setEngineState();
    m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    m_device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    m_device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    setMatrix(D3DTS_PROJECTION, orthoRH(800, 600, 0, 1));
    IDirect3DTexture9* opaque = makeTexture(1, 1, D3DFMT_X8R8G8B8, {0x00FFFFFF});
    IDirect3DTexture9* clear = makeTexture(1, 1, D3DFMT_A8R8G8B8, {0x00FFFFFF});
    const struct {
        const char* name;
        IDirect3DTexture9* texture;
        float alpha;  // material diffuse alpha; the emissive green is the colour
        DWORD ref;
        BOOL blend;
        uint32_t expected;
    } rows[] = {
        {"opaque texture, alpha 1, blended: written as is", opaque, 1.0f, 0, TRUE, 0xFF00FF00},
        {"opaque texture, alpha 0: GREATER 0 discards", opaque, 0.0f, 0, TRUE, 0xFF0000FF},
        {"opaque texture, alpha 0.25, blended", opaque, 0.25f, 0, TRUE, argb(0, 64, 191)},
        {"opaque texture, alpha 0.25, not blended", opaque, 0.25f, 0, FALSE, 0xFF00FF00},
        {"alpha 1 against reference 255: GREATER discards", opaque, 1.0f, 255, FALSE, 0xFF0000FF},
        {"texture alpha 0 discards whatever the material", clear, 1.0f, 0, FALSE, 0xFF0000FF},
    };
    // Each row's quad (right) follows one drawn with alpha 1, reference 0
    // and no blending (left): only the row's own changes tell the two apart.
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        beginFrame(0xFF0000FF);
        for (int pass = 0; pass < 2; ++pass) {
            D3DMATERIAL9 material{};
            material.Emissive = {0, 1, 0, 1};
            material.Diffuse.a = pass ? row.alpha : 1.0f;
            m_device->SetMaterial(&material);
            m_device->SetTexture(0, pass ? row.texture : opaque);
            m_device->SetRenderState(D3DRS_ALPHAREF, pass ? row.ref : 0);
            m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, pass ? row.blend : FALSE);
            const float x0 = pass ? 0.0f : -200.0f, x1 = x0 + 200.0f, z = -0.5f;
            LitVertex v[4] = {{x0, 150, z, 0, 0, 1, 0, 0, 0, 0}, {x0, -150, z, 0, 0, 1, 0, 1, 0, 1},
                              {x1, 150, z, 0, 0, 1, 1, 0, 1, 0}, {x1, -150, z, 0, 0, 1, 1, 1, 1, 1}};
            ASSERT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof v[0]), D3D_OK);
        }
        endFrame();
        Image image = readBack();
        EXPECT_TRUE(areaIs(image, 220, 170, 380, 430, 0xFF00FF00));
        EXPECT_TRUE(areaIs(image, 420, 170, 580, 430, row.expected, 3));
    }
    m_device->SetTexture(0, nullptr);
    opaque->Release();
    clear->Release();
}

}  // namespace
}  // namespace devtest
