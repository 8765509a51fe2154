// Recorded state: Direct3D's defaults, values read back, values refused.
#include <cstring>

#include "DeviceTest.h"

namespace devtest {
namespace {

class State : public DeviceTest {};

struct RenderStateDefault {
    D3DRENDERSTATETYPE state;
    DWORD value;
};

// Direct3D 9's defaults for a device with a depth buffer.
const RenderStateDefault kDefaults[] = {
    {D3DRS_ZENABLE, D3DZB_TRUE},         {D3DRS_ZWRITEENABLE, TRUE},
    {D3DRS_ALPHATESTENABLE, FALSE},      {D3DRS_SRCBLEND, D3DBLEND_ONE},
    {D3DRS_DESTBLEND, D3DBLEND_ZERO},    {D3DRS_CULLMODE, D3DCULL_CCW},
    {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},     {D3DRS_ALPHAREF, 0},
    {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS},    {D3DRS_ALPHABLENDENABLE, FALSE},
    {D3DRS_LIGHTING, TRUE},              {D3DRS_AMBIENT, 0},
    {D3DRS_NORMALIZENORMALS, FALSE},     {D3DRS_BLENDOP, D3DBLENDOP_ADD},
};

void expectDefaults(IDirect3DDevice9* d) {
    for (const RenderStateDefault& row : kDefaults) {
        DWORD value = 0xDEADBEEF;
        EXPECT_EQ(d->GetRenderState(row.state, &value), D3D_OK);
        EXPECT_EQ(value, row.value) << "render state " << row.state;
    }
    const struct {
        DWORD stage;
        D3DTEXTURESTAGESTATETYPE type;
        DWORD value;
    } stages[] = {
        {0, D3DTSS_COLOROP, D3DTOP_MODULATE},     {1, D3DTSS_COLOROP, D3DTOP_DISABLE},
        {0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1},   {2, D3DTSS_ALPHAOP, D3DTOP_DISABLE},
        {0, D3DTSS_COLORARG1, D3DTA_TEXTURE},     {1, D3DTSS_COLORARG2, D3DTA_CURRENT},
        {1, D3DTSS_TEXCOORDINDEX, 1},             {2, D3DTSS_TEXCOORDINDEX, 2},
    };
    for (const auto& row : stages) {
        DWORD value = 0xDEADBEEF;
        EXPECT_EQ(d->GetTextureStageState(row.stage, row.type, &value), D3D_OK);
        EXPECT_EQ(value, row.value) << "stage " << row.stage << " state " << row.type;
    }
    const struct {
        D3DSAMPLERSTATETYPE type;
        DWORD value;
    } samplers[] = {{D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP}, {D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP},
                    {D3DSAMP_MAGFILTER, D3DTEXF_POINT},   {D3DSAMP_MINFILTER, D3DTEXF_POINT},
                    {D3DSAMP_MIPFILTER, D3DTEXF_NONE}};
    for (DWORD s = 0; s < 3; ++s) {
        for (const auto& row : samplers) {
            DWORD value = 0xDEADBEEF;
            EXPECT_EQ(d->GetSamplerState(s, row.type, &value), D3D_OK);
            EXPECT_EQ(value, row.value) << "sampler " << s << " state " << row.type;
        }
    }
    for (D3DTRANSFORMSTATETYPE t : {D3DTS_WORLD, D3DTS_VIEW, D3DTS_PROJECTION}) {
        D3DMATRIX m{};
        EXPECT_EQ(d->GetTransform(t, &m), D3D_OK);
        D3DMATRIX id = identity();
        EXPECT_EQ(std::memcmp(&m, &id, sizeof m), 0) << "transform " << t;
    }
    for (DWORD s = 0; s < 3; ++s) {
        IDirect3DBaseTexture9* texture = reinterpret_cast<IDirect3DBaseTexture9*>(1);
        EXPECT_EQ(d->GetTexture(s, &texture), D3D_OK);
        EXPECT_EQ(texture, nullptr);
    }
    IDirect3DVertexBuffer9* vb = reinterpret_cast<IDirect3DVertexBuffer9*>(1);
    UINT offset = 1, stride = 1;
    EXPECT_EQ(d->GetStreamSource(0, &vb, &offset, &stride), D3D_OK);
    EXPECT_EQ(vb, nullptr);
    DWORD fvf = 1;
    d->GetFVF(&fvf);
    EXPECT_EQ(fvf, 0u);
    BOOL enabled = TRUE;
    EXPECT_EQ(d->GetLightEnable(0, &enabled), D3DERR_INVALIDCALL) << "light 0 never set";
    D3DVIEWPORT9 viewport{};
    d->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 800u);
    EXPECT_EQ(viewport.Height, 600u);
    EXPECT_EQ(viewport.MaxZ, 1.0f);
}

TEST_F(State, NewDeviceHasDirect3DsDefaults) { expectDefaults(m_device); }

TEST_F(State, SettersStoreWhatGettersReturn) {
    IDirect3DDevice9* d = m_device;
    ASSERT_EQ(d->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW), D3D_OK);
    ASSERT_EQ(d->SetRenderState(D3DRS_AMBIENT, 0xFF646464), D3D_OK);
    ASSERT_EQ(d->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR | 1), D3D_OK);
    ASSERT_EQ(d->SetSamplerState(1, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR), D3D_OK);
    D3DMATRIX view = translation(0, 0, -190);
    ASSERT_EQ(d->SetTransform(D3DTS_VIEW, &view), D3D_OK);
    DWORD value = 0;
    d->GetRenderState(D3DRS_CULLMODE, &value);
    EXPECT_EQ(value, DWORD(D3DCULL_CW));
    d->GetRenderState(D3DRS_AMBIENT, &value);
    EXPECT_EQ(value, 0xFF646464u);
    d->GetTextureStageState(1, D3DTSS_TEXCOORDINDEX, &value);
    EXPECT_EQ(value, DWORD(D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR | 1));
    d->GetSamplerState(1, D3DSAMP_MIPFILTER, &value);
    EXPECT_EQ(value, DWORD(D3DTEXF_LINEAR));
    D3DMATRIX back{};
    d->GetTransform(D3DTS_VIEW, &back);
    EXPECT_EQ(back._43, -190.0f);

    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1, 1, 1, 0};
    light.Direction = {0, 1, -1};
    ASSERT_EQ(d->SetLight(0, &light), D3D_OK);
    ASSERT_EQ(d->LightEnable(0, TRUE), D3D_OK);
    D3DLIGHT9 lightBack{};
    ASSERT_EQ(d->GetLight(0, &lightBack), D3D_OK);
    EXPECT_EQ(lightBack.Direction.z, -1.0f);
    BOOL enabled = FALSE;
    d->GetLightEnable(0, &enabled);
    EXPECT_TRUE(enabled);
    // Enabling a light never set gives the default light: white, along +z.
    ASSERT_EQ(d->LightEnable(3, TRUE), D3D_OK);
    ASSERT_EQ(d->GetLight(3, &lightBack), D3D_OK);
    EXPECT_EQ(lightBack.Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(lightBack.Diffuse.r, 1.0f);
    EXPECT_EQ(lightBack.Direction.z, 1.0f);

    D3DMATERIAL9 material{};
    material.Diffuse = {0.5f, 0.25f, 1, 0.25f};
    ASSERT_EQ(d->SetMaterial(&material), D3D_OK);
    D3DMATERIAL9 materialBack{};
    d->GetMaterial(&materialBack);
    EXPECT_EQ(materialBack.Diffuse.a, 0.25f);
    ASSERT_EQ(d->SetFVF(kLitFVF), D3D_OK);
    DWORD fvf = 0;
    d->GetFVF(&fvf);
    EXPECT_EQ(fvf, 0x212u);
}

TEST_F(State, WhatTheLayerDoesNotImplementIsRefused) {
    IDirect3DDevice9* d = m_device;
    const struct {
        const char* name;
        HRESULT (*call)(IDirect3DDevice9*);
    } rows[] = {
        {"unknown render state (fog)", [](IDirect3DDevice9* d) { return d->SetRenderState(D3DRENDERSTATETYPE(28), TRUE); }},
        {"cull mode 7", [](IDirect3DDevice9* d) { return d->SetRenderState(D3DRS_CULLMODE, 7); }},
        {"blend factor 0", [](IDirect3DDevice9* d) { return d->SetRenderState(D3DRS_SRCBLEND, 0); }},
        {"alpha reference 256", [](IDirect3DDevice9* d) { return d->SetRenderState(D3DRS_ALPHAREF, 256); }},
        {"texture op ADD", [](IDirect3DDevice9* d) { return d->SetTextureStageState(0, D3DTSS_COLOROP, 7); }},
        {"texture argument TFACTOR", [](IDirect3DDevice9* d) { return d->SetTextureStageState(0, D3DTSS_COLORARG1, 3); }},
        {"stage 3", [](IDirect3DDevice9* d) { return d->SetTextureStageState(3, D3DTSS_COLOROP, D3DTOP_DISABLE); }},
        {"sphere map coordinates", [](IDirect3DDevice9* d) { return d->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0x40000); }},
        {"border addressing", [](IDirect3DDevice9* d) { return d->SetSamplerState(0, D3DSAMP_ADDRESSU, 4); }},
        {"anisotropic filter", [](IDirect3DDevice9* d) { return d->SetSamplerState(0, D3DSAMP_MINFILTER, 3); }},
        {"texture transform", [](IDirect3DDevice9* d) { D3DMATRIX m = identity(); return d->SetTransform(D3DTRANSFORMSTATETYPE(16), &m); }},
        {"point light", [](IDirect3DDevice9* d) { D3DLIGHT9 l{}; l.Type = D3DLIGHTTYPE(1); l.Direction = {0, 0, 1}; return d->SetLight(0, &l); }},
        {"directional light without direction", [](IDirect3DDevice9* d) { D3DLIGHT9 l{}; l.Type = D3DLIGHT_DIRECTIONAL; return d->SetLight(0, &l); }},
        {"light 8", [](IDirect3DDevice9* d) { return d->LightEnable(8, TRUE); }},
        {"specular in the FVF", [](IDirect3DDevice9* d) { return d->SetFVF(D3DFVF_XYZ | 0x80); }},
        {"blended positions", [](IDirect3DDevice9* d) { return d->SetFVF(0x006); }},
        {"stream 1", [](IDirect3DDevice9* d) { return d->SetStreamSource(1, nullptr, 0, 0); }},
    };
    for (const auto& row : rows) EXPECT_EQ(row.call(d), D3DERR_INVALIDCALL) << row.name;
    // Nothing refused changed the state.
    expectDefaults(d);
}

}  // namespace
}  // namespace devtest
