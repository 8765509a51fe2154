// Textures and the texture stages: operations, formats, addressing,
// filtering, and the environment cube map of stage 1.
#include <cmath>

#include "DeviceTest.h"

namespace devtest {
namespace {

class Textures : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        setPlainState();  // a fresh device samples with POINT filters
    }
    void TearDown() override {
        if (m_device) m_device->SetTexture(0, nullptr);
        if (m_texture) m_texture->Release();
        DeviceTest::TearDown();
    }
    // A screen rectangle with texture coordinates u0..u1, v 0..1, drawn in a frame.
    void texturedFrame(float x0, float y0, float x1, float y1, float u0, float u1) {
        ScreenVertex v[4] = {
            {x0, y0, 0.5f, 1, 0xFFFFFFFF, u0, 0}, {x1, y0, 0.5f, 1, 0xFFFFFFFF, u1, 0},
            {x0, y1, 0.5f, 1, 0xFFFFFFFF, u0, 1}, {x1, y1, 0.5f, 1, 0xFFFFFFFF, u1, 1},
        };
        beginFrame(0xFF000000);
        m_device->SetFVF(kScreenFVF);
        ASSERT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof v[0]), D3D_OK);
        endFrame();
    }
    void use(IDirect3DTexture9* texture) {
        if (m_texture) {
            m_device->SetTexture(0, nullptr);
            m_texture->Release();
        }
        m_texture = texture;
        m_device->SetTexture(0, texture);
    }

    IDirect3DTexture9* m_texture = nullptr;
};

TEST_F(Textures, StageZeroOperations) {
    const uint32_t T = 0xFFFF8040, D = 0xFF80FFFF;
    const struct {
        const char* name;
        DWORD op, arg1, arg2;
        bool bound;
        uint32_t diffuse, expected;
    } rows[] = {
        {"MODULATE texture by current", D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT, true, D, argb(128, 128, 64)},
        {"SELECTARG1 texture", D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT, true, D, T},
        {"SELECTARG2 current (the diffuse at stage 0)", D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_CURRENT, true, D, D},
        {"DISABLE", D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_CURRENT, true, D, D},
        {"no texture bound: the stage is off", D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT, false, D, D},
        {"BLENDCURRENTALPHA by the diffuse alpha", D3DTOP_BLENDCURRENTALPHA, D3DTA_TEXTURE, D3DTA_DIFFUSE, true,
         0x4080FFFF, argbf(0.25f + 0.75f * 128 / 255.0f, 0.25f * 128 / 255.0f + 0.75f, 0.25f * 64 / 255.0f + 0.75f)},
    };
    IDirect3DTexture9* texture = makeTexture(2, 2, D3DFMT_A8R8G8B8, {T, T, T, T});
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        m_device->SetTexture(0, row.bound ? texture : nullptr);
        m_device->SetTextureStageState(0, D3DTSS_COLOROP, row.op);
        m_device->SetTextureStageState(0, D3DTSS_COLORARG1, row.arg1);
        m_device->SetTextureStageState(0, D3DTSS_COLORARG2, row.arg2);
        beginFrame(0xFF000000);
        drawScreenRect(200, 150, 600, 450, row.diffuse);
        endFrame();
        EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, row.expected));
    }
    m_device->SetTexture(0, nullptr);
    texture->Release();
}

TEST_F(Textures, FormatsWithoutAlphaSampleAlphaAsOne) {
    // Texels whose alpha byte is 0: discarded by the alpha test from an
    // A8R8G8B8 texture, opaque from an X8R8G8B8 or R5G6B5 one.
    const struct {
        D3DFORMAT format;
        UINT wordsPerRow;  // of the 2 x 2 texture, filled with `texels`
        uint32_t texels, expected;
    } rows[] = {{D3DFMT_X8R8G8B8, 2, 0x00FF0000, 0xFFFF0000},
                {D3DFMT_A8R8G8B8, 2, 0x00FF0000, 0xFF0000FF},
                {D3DFMT_R5G6B5, 1, 0x07E007E0, 0xFF00FF00}};
    m_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    m_device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    m_device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.format);
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(m_device->CreateTexture(2, 2, 1, 0, row.format, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
        EXPECT_EQ(UINT(locked.Pitch), 4 * row.wordsPerRow);
        for (int y = 0; y < 2; ++y)
            for (UINT w = 0; w < row.wordsPerRow; ++w)
                reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch)[w] = row.texels;
        texture->UnlockRect(0);
        use(texture);
        beginFrame(0xFF0000FF);
        drawScreenRect(200, 150, 600, 450, 0xFFFFFFFF);
        endFrame();
        EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, row.expected));
    }
}

TEST_F(Textures, AddressModesAndFilters) {
    const uint32_t R = 0xFFFF0000, G = 0xFF00FF00;
    const struct {
        const char* name;
        DWORD address;
        uint32_t quarters[4];  // u = 0.25, 0.75, 1.25, 1.75
    } rows[] = {
        {"WRAP", D3DTADDRESS_WRAP, {R, G, R, G}},
        {"CLAMP", D3DTADDRESS_CLAMP, {R, G, G, G}},
        {"MIRROR", D3DTADDRESS_MIRROR, {R, G, G, R}},
    };
    use(makeTexture(2, 1, D3DFMT_A8R8G8B8, {R, G}));
    m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        m_device->SetSamplerState(0, D3DSAMP_ADDRESSU, row.address);
        texturedFrame(0, 100, 800, 500, 0.0f, 2.0f);
        Image image = readBack();
        for (int q = 0; q < 4; ++q)
            EXPECT_TRUE(areaIs(image, q * 200 + 60, 150, q * 200 + 140, 450, row.quarters[q])) << "quarter " << q;
    }
    // Magnified across the middle: point keeps the texels, linear blends them.
    m_device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    texturedFrame(0, 100, 800, 500, 0.0f, 1.0f);
    Image image = readBack();
    EXPECT_TRUE(areaIs(image, 360, 200, 390, 400, R));
    EXPECT_TRUE(areaIs(image, 410, 200, 440, 400, G));
    m_device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    texturedFrame(0, 100, 800, 500, 0.0f, 1.0f);
    image = readBack();
    EXPECT_TRUE(areaIs(image, 399, 200, 401, 400, argb(128, 128, 0), 4));
    EXPECT_TRUE(areaIs(image, 20, 200, 180, 400, R, 4));
}

TEST_F(Textures, WritesAfterADrawReachTheNextDraw) {
    use(makeTexture(2, 2, D3DFMT_X8R8G8B8, {0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000}));
    texturedFrame(200, 150, 600, 450, 0, 1);
    EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, 0xFFFF0000));
    // Through the level's surface this time, one texel row at a time.
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(m_texture->GetSurfaceLevel(0, &surface), D3D_OK);
    for (LONG y = 0; y < 2; ++y) {
        RECT row = {0, y, 2, y + 1};
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(surface->LockRect(&locked, &row, 0), D3D_OK);
        static_cast<uint32_t*>(locked.pBits)[0] = static_cast<uint32_t*>(locked.pBits)[1] = 0xFF00FF00;
        ASSERT_EQ(surface->UnlockRect(), D3D_OK);
    }
    surface->Release();
    texturedFrame(200, 150, 600, 450, 0, 1);
    EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, 0xFF00FF00));
}

// --- The environment map of stage 1 ------------------------------------------

class EnvironmentMap : public DeviceTest {
protected:
    static constexpr uint32_t kFaces[6] = {0xFFFF0000, 0xFF0000FF, 0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
    static constexpr uint32_t kTL = 0xFFFF0000, kTR = 0xFF0000FF, kBL = 0xFFFFFF00, kBR = 0xFFFF00FF;

    void SetUp() override {
        DeviceTest::SetUp();
        setEngineState();
        setMatrix(D3DTS_PROJECTION, perspectiveFovRH(3.14159265f / 3, 800.0f / 600.0f, 1.0f, 100.0f));
        // As the engine's meshes: diffuse alpha 0.25; here black with a
        // green emissive, so the lit colour is plain green.
        D3DMATERIAL9 material{};
        material.Diffuse = {0, 0, 0, 0.25f};
        material.Emissive = {0, 1, 0, 1};
        m_device->SetMaterial(&material);
        m_white = makeTexture(2, 2, D3DFMT_A8R8G8B8, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF});
        ASSERT_EQ(m_device->CreateCubeTexture(4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &m_cube, nullptr), D3D_OK);
        for (int face = 0; face < 6; ++face) fillFace(face, kFaces[face], kFaces[face], kFaces[face], kFaces[face]);
        // The +Z face in four colours, sampled by point.
        fillFace(4, kTL, kTR, kBL, kBR);
        for (D3DSAMPLERSTATETYPE type : {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER, D3DSAMP_MIPFILTER})
            m_device->SetSamplerState(1, type, D3DTEXF_POINT);
        m_device->SetTexture(0, m_white);
        m_device->SetTexture(1, m_cube);
    }
    void TearDown() override {
        m_device->SetTexture(0, nullptr);
        m_device->SetTexture(1, nullptr);
        if (m_white) m_white->Release();
        if (m_cube) m_cube->Release();
        DeviceTest::TearDown();
    }
    // Quadrants of a face, as stored: top-left, top-right, bottom-left, bottom-right.
    void fillFace(int face, uint32_t tl, uint32_t tr, uint32_t bl, uint32_t br) {
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(m_cube->LockRect(D3DCUBEMAP_FACES(face), 0, &locked, nullptr, 0), D3D_OK);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch)[x] =
                    y < 2 ? (x < 2 ? tl : tr) : (x < 2 ? bl : br);
        ASSERT_EQ(m_cube->UnlockRect(D3DCUBEMAP_FACES(face), 0), D3D_OK);
    }
    // A quad facing the eye, 10 units in front of it, with the given normal,
    // drawn in a frame whose centre is checked against `face` blended in.
    void expectCentre(float nx, float ny, float nz, uint32_t expected) {
        float n = std::sqrt(nx * nx + ny * ny + nz * nz);
        nx /= n, ny /= n, nz /= n;
        LitVertex v[4] = {
            {-2, 2, -10, nx, ny, nz, 0, 0, 0, 0},
            {-2, -2, -10, nx, ny, nz, 0, 1, 0, 1},
            {2, 2, -10, nx, ny, nz, 1, 0, 1, 0},
            {2, -2, -10, nx, ny, nz, 1, 1, 1, 1},
        };
        beginFrame(0xFF000000);
        m_device->SetFVF(kLitFVF);
        ASSERT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof v[0]), D3D_OK);
        endFrame();
        EXPECT_TRUE(areaIs(readBack(), 392, 292, 408, 308, expected, 3));
    }
    static uint32_t blended(uint32_t face) {
        // 0.25 x environment + 0.75 x the stage-0 colour (green).
        return argbf(0.25f * ((face >> 16) & 0xFF) / 255.0f, 0.25f * ((face >> 8) & 0xFF) / 255.0f + 0.75f,
                     0.25f * (face & 0xFF) / 255.0f);
    }

    IDirect3DTexture9* m_white = nullptr;
    IDirect3DCubeTexture9* m_cube = nullptr;
};

TEST_F(EnvironmentMap, ReflectionVectorsPickTheFaceUnflipped) {
    // A reflection slightly right and up lands in the +Z face's stored
    // top-right quadrant, as in Direct3D.
    const float s = 0.70710678f;
    const struct {
        const char* name;
        float nx, ny, nz;
        uint32_t face;
    } rows[] = {
        {"turned right reflects to +X", s, 0, s, kFaces[0]},
        {"turned left reflects to -X", -s, 0, s, kFaces[1]},
        {"turned up reflects to +Y", 0, s, s, kFaces[2]},
        {"turned down reflects to -Y", 0, -s, s, kFaces[3]},
        {"+Z, right and up", 0.1f, 0.1f, 1, kTR},
        {"+Z, left and down", -0.1f, -0.1f, 1, kBL},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        expectCentre(row.nx, row.ny, row.nz, blended(row.face));
    }
}

TEST_F(EnvironmentMap, StageOneOffOrCutShortLeavesTheLitTexture) {
    const struct {
        const char* name;
        bool stage0Texture, stage1On;
        uint32_t expected;
    } rows[] = {
        {"blend on (the engine's meshes)", true, true, blended(kTR)},
        {"stage 1 disabled (sprites, sky box)", true, false, 0xFF00FF00},
        {"no texture on stage 0 ends the stages there", false, true, 0xFF00FF00},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        m_device->SetTexture(0, row.stage0Texture ? m_white : nullptr);
        m_device->SetTextureStageState(1, D3DTSS_COLOROP, row.stage1On ? D3DTOP_BLENDCURRENTALPHA : D3DTOP_DISABLE);
        m_device->SetTextureStageState(1, D3DTSS_ALPHAOP, row.stage1On ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE);
        expectCentre(0.1f, 0.1f, 1, row.expected);
    }
}

}  // namespace
}  // namespace devtest
