#include "FontDeviceState.h"

namespace d3dxfont {

namespace {

struct RenderValue {
    D3DRENDERSTATETYPE state;
    DWORD value;
};
// Text lies on top of the scene: no depth test or write, and no alpha test
// that could cut antialiased edges.
const RenderValue kRender[] = {
    {D3DRS_ALPHABLENDENABLE, TRUE},
    {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
    {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA},
    {D3DRS_BLENDOP, D3DBLENDOP_ADD},
    {D3DRS_LIGHTING, FALSE},
    {D3DRS_ZENABLE, D3DZB_FALSE},
    {D3DRS_ZWRITEENABLE, FALSE},
    {D3DRS_ALPHATESTENABLE, FALSE},
    {D3DRS_CULLMODE, D3DCULL_NONE},
};

struct StageValue {
    DWORD stage;
    D3DTEXTURESTAGESTATETYPE type;
    DWORD value;
};
// The atlas is white with coverage in alpha: colour from the vertex, alpha
// = coverage x the vertex alpha.
const StageValue kStage[] = {
    {0, D3DTSS_COLOROP, D3DTOP_MODULATE}, {0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {0, D3DTSS_COLORARG2, D3DTA_DIFFUSE}, {0, D3DTSS_ALPHAOP, D3DTOP_MODULATE},
    {0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
    {0, D3DTSS_TEXCOORDINDEX, 0},         {1, D3DTSS_COLOROP, D3DTOP_DISABLE},
};

struct SamplerValue {
    D3DSAMPLERSTATETYPE type;
    DWORD value;
};
// Glyphs are drawn texel for texel, so point sampling is exact.
const SamplerValue kSampler[] = {
    {D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP}, {D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP},
    {D3DSAMP_MAGFILTER, D3DTEXF_POINT},    {D3DSAMP_MINFILTER, D3DTEXF_POINT},
    {D3DSAMP_MIPFILTER, D3DTEXF_NONE},
};

constexpr int kRenderCount = sizeof kRender / sizeof kRender[0];
constexpr int kStageCount = sizeof kStage / sizeof kStage[0];
constexpr int kSamplerCount = sizeof kSampler / sizeof kSampler[0];

}  // namespace

int FontDeviceState::renderStateCount() { return kRenderCount; }
D3DRENDERSTATETYPE FontDeviceState::renderState(int i) { return kRender[i].state; }
int FontDeviceState::stageStateCount() { return kStageCount; }
void FontDeviceState::stageState(int i, DWORD* stage, D3DTEXTURESTAGESTATETYPE* type) {
    *stage = kStage[i].stage;
    *type = kStage[i].type;
}
int FontDeviceState::samplerStateCount() { return kSamplerCount; }
D3DSAMPLERSTATETYPE FontDeviceState::samplerState(int i) { return kSampler[i].type; }

void FontDeviceState::apply(IDirect3DDevice9* device, IDirect3DBaseTexture9* texture) {
    static_assert(
        kRenderCount <= kMaxStates && kStageCount <= kMaxStates && kSamplerCount <= kMaxStates,
        "state tables exceed the saved-value arrays");
    for (int i = 0; i < kRenderCount; ++i) {
        m_renderSaved[i] = SUCCEEDED(device->GetRenderState(kRender[i].state, &m_render[i]));
        if (m_renderSaved[i]) device->SetRenderState(kRender[i].state, kRender[i].value);
    }
    for (int i = 0; i < kStageCount; ++i) {
        m_stageSaved[i] =
            SUCCEEDED(device->GetTextureStageState(kStage[i].stage, kStage[i].type, &m_stage[i]));
        if (m_stageSaved[i])
            device->SetTextureStageState(kStage[i].stage, kStage[i].type, kStage[i].value);
    }
    for (int i = 0; i < kSamplerCount; ++i) {
        m_samplerSaved[i] = SUCCEEDED(device->GetSamplerState(0, kSampler[i].type, &m_sampler[i]));
        if (m_samplerSaved[i]) device->SetSamplerState(0, kSampler[i].type, kSampler[i].value);
    }
    m_fvfSaved = SUCCEEDED(device->GetFVF(&m_fvf));
    device->SetFVF(kTextVertexFvf);
    m_texture = nullptr;
    m_textureSaved = SUCCEEDED(device->GetTexture(0, &m_texture));
    device->SetTexture(0, texture);
    // DrawPrimitiveUP unbinds stream 0; the caller gets it back afterwards.
    m_stream = nullptr;
    m_streamSaved =
        SUCCEEDED(device->GetStreamSource(0, &m_stream, &m_streamOffset, &m_streamStride));
}

void FontDeviceState::restore(IDirect3DDevice9* device) {
    for (int i = 0; i < kRenderCount; ++i)
        if (m_renderSaved[i]) device->SetRenderState(kRender[i].state, m_render[i]);
    for (int i = 0; i < kStageCount; ++i)
        if (m_stageSaved[i])
            device->SetTextureStageState(kStage[i].stage, kStage[i].type, m_stage[i]);
    for (int i = 0; i < kSamplerCount; ++i)
        if (m_samplerSaved[i]) device->SetSamplerState(0, kSampler[i].type, m_sampler[i]);
    if (m_fvfSaved) device->SetFVF(m_fvf);
    if (m_textureSaved) {
        device->SetTexture(0, m_texture);
        if (m_texture) m_texture->Release();
        m_texture = nullptr;
    }
    if (m_streamSaved) {
        device->SetStreamSource(0, m_stream, m_streamOffset, m_streamStride);
        if (m_stream) m_stream->Release();
        m_stream = nullptr;
    }
}

}  // namespace d3dxfont
