// The device states text drawing needs, and the saving and restoring of
// the caller's values around it (D3DX does the same with a state block).
#ifndef ZV_D3DX9_FONT_FONTDEVICESTATE_H
#define ZV_D3DX9_FONT_FONTDEVICESTATE_H

#include <d3d9.h>

namespace d3dxfont {

// The vertex the font draws: pre-transformed, coloured, one texture set.
struct TextVertex {
    float x, y, z, rhw;
    D3DCOLOR color;
    float u, v;
};
constexpr DWORD kTextVertexFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

class FontDeviceState {
public:
    // Reads every state the font changes (render, stage 0 and 1, sampler 0,
    // FVF, texture 0, stream 0), then sets the font's: blending SRCALPHA /
    // INVSRCALPHA, no lighting, depth, alpha test or culling, stage 0
    // texture x diffuse, stage 1 off, clamped point sampling, `texture`.
    // A render, stage or sampler state the device will not report is left
    // alone (neither changed nor restored).
    void apply(IDirect3DDevice9* device, IDirect3DBaseTexture9* texture);
    // Puts back what apply() read and drops the references it took.
    void restore(IDirect3DDevice9* device);

    // Sizes of the tables, for tests that check every state comes back.
    static int renderStateCount();
    static D3DRENDERSTATETYPE renderState(int i);
    static int stageStateCount();
    static void stageState(int i, DWORD* stage, D3DTEXTURESTAGESTATETYPE* type);
    static int samplerStateCount();
    static D3DSAMPLERSTATETYPE samplerState(int i);

private:
    static constexpr int kMaxStates = 16;
    DWORD m_render[kMaxStates];
    bool m_renderSaved[kMaxStates];
    DWORD m_stage[kMaxStates];
    bool m_stageSaved[kMaxStates];
    DWORD m_sampler[kMaxStates];
    bool m_samplerSaved[kMaxStates];
    DWORD m_fvf = 0;
    bool m_fvfSaved = false;
    IDirect3DBaseTexture9* m_texture = nullptr;
    bool m_textureSaved = false;
    IDirect3DVertexBuffer9* m_stream = nullptr;
    UINT m_streamOffset = 0;
    UINT m_streamStride = 0;
    bool m_streamSaved = false;
};

}  // namespace d3dxfont

#endif
