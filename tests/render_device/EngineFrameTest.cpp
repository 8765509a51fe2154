// A frame as the engine draws it, twice: GL stays error-free, steady frames
// build no shaders, and unchanged state costs no GL calls.
#include "DeviceTest.h"

#include "testing/DeviceTesting.h"

namespace devtest {
namespace {

class EngineFrame : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        setEngineState();
        m_texture = makeTexture(2, 2, D3DFMT_A8R8G8B8, {0xFFFFFFFF, 0x80FF0000, 0x80FF0000, 0xFFFFFFFF});
        ASSERT_EQ(m_device->CreateCubeTexture(4, 0, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &m_cube, nullptr), D3D_OK);
        ASSERT_EQ(m_device->CreateVertexBuffer(160, D3DUSAGE_WRITEONLY, kLitFVF, D3DPOOL_MANAGED, &m_sprite, nullptr),
                  D3D_OK);
        LitVertex* v = nullptr;
        m_sprite->Lock(0, 0, reinterpret_cast<void**>(&v), 0);
        v[0] = {-50, 50, 0, 0, 0, 1, 0, 0, 0, 0};
        v[1] = {-50, -50, 0, 0, 0, 1, 0, 1, 0, 1};
        v[2] = {50, 50, 0, 0, 0, 1, 1, 0, 1, 0};
        v[3] = {50, -50, 0, 0, 0, 1, 1, 1, 1, 1};
        m_sprite->Unlock();
        ASSERT_EQ(m_device->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &m_indices, nullptr), D3D_OK);
        uint16_t* i = nullptr;
        m_indices->Lock(0, 0, reinterpret_cast<void**>(&i), 0);
        const uint16_t list[6] = {0, 1, 2, 2, 1, 3};
        for (int k = 0; k < 6; ++k) i[k] = list[k];
        m_indices->Unlock();
    }
    void TearDown() override {
        m_device->SetTexture(0, nullptr);
        m_device->SetTexture(1, nullptr);
        m_device->SetStreamSource(0, nullptr, 0, 0);
        m_device->SetIndices(nullptr);
        m_texture->Release();
        m_cube->Release();
        m_sprite->Release();
        m_indices->Release();
        DeviceTest::TearDown();
    }

    void frame() {
        IDirect3DDevice9* d = m_device;
        beginFrame(0xFF000000);
        setMatrix(D3DTS_PROJECTION, perspectiveFovRH(1.0471976f, 800.0f / 600.0f, 1.0f, 8000.0f));
        setMatrix(D3DTS_VIEW, translation(0, 0, -190));
        D3DMATERIAL9 material{};
        material.Diffuse = {0.8f, 0.8f, 0.8f, 0.25f};
        material.Ambient = material.Diffuse;
        // Meshes: indexed, environment map on stage 1.
        for (int k = 0; k < 3; ++k) {
            setMatrix(D3DTS_WORLD, translation(-120.0f + 120 * k, 40, 0));
            d->SetMaterial(&material);
            d->SetTexture(0, m_texture);
            d->SetTexture(1, m_cube);
            d->SetStreamSource(0, m_sprite, 0, sizeof(LitVertex));
            d->SetIndices(m_indices);
            EXPECT_EQ(d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
        }
        // Sprites: blended, stage 1 off, then the stage restored.
        for (int k = 0; k < 3; ++k) {
            d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
            d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
            d->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
            setMatrix(D3DTS_WORLD, translation(-120.0f + 120 * k, -60, 0));
            D3DMATERIAL9 sprite{};
            sprite.Emissive = {1, 1, 1, 1};
            sprite.Diffuse.a = 1;
            d->SetMaterial(&sprite);
            d->SetTexture(0, m_texture);
            d->SetTexture(1, nullptr);
            d->SetStreamSource(0, m_sprite, 0, sizeof(LitVertex));
            EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
            d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
            d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_BLENDCURRENTALPHA);
            d->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
            d->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
            d->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
            d->SetTextureStageState(1, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
        }
        // Text: screen-space quads from memory, lighting off, restored after.
        d->SetRenderState(D3DRS_LIGHTING, FALSE);
        d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        d->SetTexture(0, m_texture);
        drawScreenRect(5, 5, 105, 21, 0xFFFFFFFF);
        drawScreenRect(5, 25, 145, 41, 0xFFFFFFFF);
        d->SetRenderState(D3DRS_LIGHTING, TRUE);
        d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        d->SetFVF(kLitFVF);
        endFrame();
    }

    IDirect3DTexture9* m_texture = nullptr;
    IDirect3DCubeTexture9* m_cube = nullptr;
    IDirect3DVertexBuffer9* m_sprite = nullptr;
    IDirect3DIndexBuffer9* m_indices = nullptr;
};

TEST_F(EngineFrame, SteadyFramesAreCheapAndDrawTheScene) {
    frame();
    EXPECT_EQ(zvtest::drainGLErrors(), 0);
    // The middle mesh (about 273 pixels across, 40 units up) and sprite show.
    Image image = readBack();
    EXPECT_FALSE(near(image.at(400, 300 - 57 - 60), 0xFF000000)) << "mesh drawn";
    EXPECT_FALSE(near(image.at(400, 300 + 82 + 60), 0xFF000000)) << "sprite drawn";
    EXPECT_TRUE(areaIs(image, 215, 340, 255, 590, 0xFF000000)) << "nothing between the sprites";

    zvtest::resetDeviceCounters();
    frame();
    zvtest::DeviceCounters first = zvtest::deviceCounters();
    EXPECT_EQ(first.drawCalls, 8u);
    EXPECT_EQ(first.shaderBuilds, 0u) << "every program was built in the first frame";
    EXPECT_EQ(first.uploads, 2u) << "only the two text draws upload";
    EXPECT_LE(first.programSwitches, 4u * 2u + 2u) << "meshes, sprites and text share three programs";
    zvtest::resetDeviceCounters();
    frame();
    EXPECT_EQ(zvtest::deviceCounters().stateChanges, first.stateChanges) << "the same frame costs the same";

    // Setting what is already set reaches no GL call.
    ASSERT_EQ(m_device->BeginScene(), D3D_OK);
    for (int k = 0; k < 3; ++k) {
        zvtest::resetDeviceCounters();
        m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
        m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        m_device->SetStreamSource(0, m_sprite, 0, sizeof(LitVertex));
        m_device->SetIndices(m_indices);
        m_device->SetTexture(0, m_texture);
        m_device->SetTexture(1, m_cube);
        EXPECT_EQ(m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
        if (k > 0) {
            EXPECT_EQ(zvtest::deviceCounters().stateChanges, 0u) << "draw " << k;
        }
    }
    m_device->EndScene();
}

}  // namespace
}  // namespace devtest
