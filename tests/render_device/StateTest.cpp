// The calls the layer does not implement, refused without changing anything.
#include "DeviceTest.h"

namespace devtest {
namespace {

class State : public DeviceTest {};

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
    // Nothing refused changed the state: Direct3D's defaults are all there.
    DWORD value = 0;
    m_device->GetRenderState(D3DRS_CULLMODE, &value);
    EXPECT_EQ(value, DWORD(D3DCULL_CCW));
    m_device->GetTextureStageState(0, D3DTSS_COLOROP, &value);
    EXPECT_EQ(value, DWORD(D3DTOP_MODULATE));
    m_device->GetSamplerState(0, D3DSAMP_MINFILTER, &value);
    EXPECT_EQ(value, DWORD(D3DTEXF_POINT));
    m_device->GetTextureStageState(0, D3DTSS_TEXCOORDINDEX, &value);
    EXPECT_EQ(value, 0u);
    BOOL enabled = TRUE;
    EXPECT_EQ(m_device->GetLightEnable(0, &enabled), D3DERR_INVALIDCALL) << "light 0 never set";
}

}  // namespace
}  // namespace devtest
