// A recording stand-in for IDirect3DDevice9: it keeps every state a font
// may touch, hands out system-memory textures and vertex buffers, and
// records each DrawPrimitiveUP with the states current at the call. A small
// software resolve turns recorded text quads into pixels.
#ifndef ZV_TEST_FONT_FAKEDEVICE_H
#define ZV_TEST_FONT_FAKEDEVICE_H

#include <map>
#include <utility>
#include <vector>

#include <d3d9.h>

namespace fontfake {

class FakeTexture final : public IDirect3DTexture9 {
public:
    FakeTexture(IDirect3DDevice9* device, UINT width, UINT height, D3DFORMAT format);
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override;
    HRESULT GetDevice(IDirect3DDevice9** device) override;
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_TEXTURE; }
    DWORD GetLevelCount() override { return 1; }
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT GetSurfaceLevel(UINT, IDirect3DSurface9**) override { return D3DERR_INVALIDCALL; }
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;

    // Texel (x, y) as 0xAARRGGBB.
    DWORD texel(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }

    ULONG refs = 1;
    IDirect3DDevice9* device;
    UINT width, height;
    D3DFORMAT format;
    std::vector<DWORD> pixels;
    int locks = 0;
    bool locked = false;
    static int alive;  // textures not yet freed, over all fakes
};

class FakeVertexBuffer final : public IDirect3DVertexBuffer9 {
public:
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override;
    HRESULT GetDevice(IDirect3DDevice9**) override { return D3DERR_INVALIDCALL; }
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
    HRESULT Lock(UINT, UINT, void**, DWORD) override { return D3DERR_INVALIDCALL; }
    HRESULT Unlock() override { return D3DERR_INVALIDCALL; }
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC*) override { return D3DERR_INVALIDCALL; }
    ULONG refs = 1;
};

// What the device held when a DrawPrimitiveUP came.
struct RecordedDraw {
    D3DPRIMITIVETYPE type;
    UINT primitiveCount;
    UINT stride;
    const void* callerVertices;  // the caller's pointer (not to be read later)
    std::vector<unsigned char> vertices;
    std::map<DWORD, DWORD> render;
    std::map<std::pair<DWORD, DWORD>, DWORD> stage;
    std::map<DWORD, DWORD> sampler0;
    DWORD fvf;
    IDirect3DBaseTexture9* texture0;
};

class FakeDevice final : public IDirect3DDevice9 {
public:
    FakeDevice();
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override;

    HRESULT Clear(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) override { return D3D_OK; }
    HRESULT BeginScene() override { return D3D_OK; }
    HRESULT EndScene() override { return D3D_OK; }
    HRESULT Present(const RECT*, const RECT*, HWND, const RGNDATA*) override { return D3D_OK; }
    HRESULT Reset(D3DPRESENT_PARAMETERS*) override { return D3DERR_INVALIDCALL; }
    HRESULT GetBackBuffer(UINT, UINT, D3DBACKBUFFER_TYPE, IDirect3DSurface9**) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* shared) override;
    HRESULT CreateCubeTexture(UINT, UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DCubeTexture9**,
                              HANDLE*) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT CreateVertexBuffer(UINT, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer9**,
                               HANDLE*) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT CreateIndexBuffer(UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DIndexBuffer9**,
                              HANDLE*) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE, const D3DMATRIX*) override { return D3D_OK; }
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE, D3DMATRIX*) override { return D3DERR_INVALIDCALL; }
    HRESULT SetViewport(const D3DVIEWPORT9*) override { return D3D_OK; }
    HRESULT GetViewport(D3DVIEWPORT9*) override { return D3DERR_INVALIDCALL; }
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
    HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
    HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
    HRESULT SetLight(DWORD, const D3DLIGHT9*) override { return D3D_OK; }
    HRESULT GetLight(DWORD, D3DLIGHT9*) override { return D3DERR_INVALIDCALL; }
    HRESULT LightEnable(DWORD, BOOL) override { return D3D_OK; }
    HRESULT GetLightEnable(DWORD, BOOL*) override { return D3DERR_INVALIDCALL; }
    HRESULT SetMaterial(const D3DMATERIAL9*) override { return D3D_OK; }
    HRESULT GetMaterial(D3DMATERIAL9*) override { return D3DERR_INVALIDCALL; }
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
    HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override;
    HRESULT SetFVF(DWORD fvf) override;
    HRESULT GetFVF(DWORD* fvf) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                            UINT stride) override;
    HRESULT GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset,
                            UINT* stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer9*) override { return D3DERR_INVALIDCALL; }
    HRESULT GetIndices(IDirect3DIndexBuffer9**) override { return D3DERR_INVALIDCALL; }
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE, UINT, UINT) override { return D3DERR_INVALIDCALL; }
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE, INT, UINT, UINT, UINT, UINT) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices,
                            UINT stride) override;

    ULONG refs = 1;
    std::map<DWORD, DWORD> render;
    std::map<std::pair<DWORD, DWORD>, DWORD> stage;
    std::map<std::pair<DWORD, DWORD>, DWORD> sampler;
    DWORD fvf = 0;
    IDirect3DBaseTexture9* textures[3] = {};
    IDirect3DVertexBuffer9* stream = nullptr;
    UINT streamOffset = 0, streamStride = 0;
    std::vector<RecordedDraw> draws;
    std::vector<FakeTexture*> createdTextures;  // not owned
    bool failCreateTexture = false;
};

// An ARGB frame that recorded text quads are resolved into.
struct Frame {
    Frame(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, 0xFF000000u) {}
    DWORD at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    int width, height;
    std::vector<DWORD> pixels;
};

// Draws one recorded DrawPrimitiveUP of XYZRHW|DIFFUSE|TEX1 axis-aligned
// quads (6 vertices each) the way the font's states ask: point-sampled
// texture x diffuse, blended SRCALPHA / INVSRCALPHA, D3D9 pixel centres.
void resolve(const RecordedDraw& draw, const FakeTexture& texture, Frame* frame);

}  // namespace fontfake

#endif
