// Recorded state: Direct3D's defaults (what a Reset goes back to) and the
// calls the layer does not implement, refused without changing anything.
#include <cstring>

#include "DeviceTest.h"

namespace devtest {
namespace {

class State : public DeviceTest {};

// The defaults the engine's drawing depends on, for a device with a depth buffer.
void expectDefaults(IDirect3DDevice9* d) {
    const struct {
        D3DRENDERSTATETYPE state;
        DWORD value;
    } states[] = {{D3DRS_ZENABLE, D3DZB_TRUE},      {D3DRS_CULLMODE, D3DCULL_CCW},  {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
                  {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS}, {D3DRS_LIGHTING, TRUE},         {D3DRS_AMBIENT, 0},
                  {D3DRS_SRCBLEND, D3DBLEND_ONE},   {D3DRS_DESTBLEND, D3DBLEND_ZERO}};
    for (const auto& row : states) {
        DWORD value = 0xDEADBEEF;
        EXPECT_EQ(d->GetRenderState(row.state, &value), D3D_OK);
        EXPECT_EQ(value, row.value) << "render state " << row.state;
    }
    const struct {
        DWORD stage;
        D3DTEXTURESTAGESTATETYPE type;
        DWORD value;
    } stages[] = {{0, D3DTSS_COLOROP, D3DTOP_MODULATE}, {1, D3DTSS_COLOROP, D3DTOP_DISABLE},
                  {0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1}, {1, D3DTSS_TEXCOORDINDEX, 1}};
    for (const auto& row : stages) {
        DWORD value = 0xDEADBEEF;
        EXPECT_EQ(d->GetTextureStageState(row.stage, row.type, &value), D3D_OK);
        EXPECT_EQ(value, row.value) << "stage " << row.stage << " state " << row.type;
    }
    DWORD filter = 0xDEADBEEF;
    d->GetSamplerState(1, D3DSAMP_MINFILTER, &filter);
    EXPECT_EQ(filter, DWORD(D3DTEXF_POINT));
    D3DMATRIX m{}, id = identity();
    EXPECT_EQ(d->GetTransform(D3DTS_VIEW, &m), D3D_OK);
    EXPECT_EQ(std::memcmp(&m, &id, sizeof m), 0);
    BOOL enabled = TRUE;
    EXPECT_EQ(d->GetLightEnable(0, &enabled), D3DERR_INVALIDCALL) << "light 0 never set";
}

TEST_F(State, NewDeviceHasDirect3DsDefaults) {
    expectDefaults(m_device);
    // Enabling a light never set gives the default light: white, along +z.
    ASSERT_EQ(m_device->LightEnable(3, TRUE), D3D_OK);
    D3DLIGHT9 light{};
    ASSERT_EQ(m_device->GetLight(3, &light), D3D_OK);
    EXPECT_EQ(light.Diffuse.r, 1.0f);
    EXPECT_EQ(light.Direction.z, 1.0f);
}

TEST_F(State, WhatTheLayerDoesNotImplementIsRefused) {
    const struct {
        const char* name;
        HRESULT (*call)(IDirect3DDevice9*);
    } rows[] = {
        {"unknown render state (fog)", [](IDirect3DDevice9* d) { return d->SetRenderState(D3DRENDERSTATETYPE(28), TRUE); }},
        {"cull mode 7", [](IDirect3DDevice9* d) { return d->SetRenderState(D3DRS_CULLMODE, 7); }},
        {"texture op ADD", [](IDirect3DDevice9* d) { return d->SetTextureStageState(0, D3DTSS_COLOROP, 7); }},
        {"stage 3", [](IDirect3DDevice9* d) { return d->SetTextureStageState(3, D3DTSS_COLOROP, D3DTOP_DISABLE); }},
        {"anisotropic filter", [](IDirect3DDevice9* d) { return d->SetSamplerState(0, D3DSAMP_MINFILTER, 3); }},
        {"texture transform", [](IDirect3DDevice9* d) { D3DMATRIX m = identity(); return d->SetTransform(D3DTRANSFORMSTATETYPE(16), &m); }},
        {"point light", [](IDirect3DDevice9* d) { D3DLIGHT9 l{}; l.Type = D3DLIGHTTYPE(1); l.Direction = {0, 0, 1}; return d->SetLight(0, &l); }},
        {"light 8", [](IDirect3DDevice9* d) { return d->LightEnable(8, TRUE); }},
        {"stream 1", [](IDirect3DDevice9* d) { return d->SetStreamSource(1, nullptr, 0, 0); }},
    };
    for (const auto& row : rows) EXPECT_EQ(row.call(m_device), D3DERR_INVALIDCALL) << row.name;
    expectDefaults(m_device);  // nothing refused changed the state
}

}  // namespace
}  // namespace devtest
