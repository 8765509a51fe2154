#include "FakeDevice.h"

#include <cmath>
#include <cstring>

namespace fontfake {

int FakeTexture::alive = 0;

FakeTexture::FakeTexture(IDirect3DDevice9* d, UINT w, UINT h, D3DFORMAT f)
    : device(d), width(w), height(h), format(f), pixels(static_cast<size_t>(w) * h, 0) {
    ++alive;
}

ULONG FakeTexture::Release() {
    const ULONG left = --refs;
    if (left == 0) {
        --alive;
        delete this;
    }
    return left;
}

HRESULT FakeTexture::GetDevice(IDirect3DDevice9** d) {
    device->AddRef();
    *d = device;
    return D3D_OK;
}

HRESULT FakeTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (level != 0) return D3DERR_INVALIDCALL;
    std::memset(desc, 0, sizeof *desc);
    desc->Format = format;
    desc->Type = D3DRTYPE_TEXTURE;
    desc->Width = width;
    desc->Height = height;
    return D3D_OK;
}

HRESULT FakeTexture::LockRect(UINT level, D3DLOCKED_RECT* out, const RECT* rect, DWORD) {
    if (level != 0 || locked || rect) return D3DERR_INVALIDCALL;
    locked = true;
    ++locks;
    out->pBits = pixels.data();
    out->Pitch = static_cast<INT>(width * 4);
    return D3D_OK;
}

HRESULT FakeTexture::UnlockRect(UINT level) {
    if (level != 0 || !locked) return D3DERR_INVALIDCALL;
    locked = false;
    return D3D_OK;
}

ULONG FakeVertexBuffer::Release() {
    const ULONG left = --refs;
    if (left == 0) delete this;
    return left;
}

FakeDevice::FakeDevice() {
    // Direct3D 9's defaults for the states a font touches.
    render[D3DRS_ZENABLE] = D3DZB_TRUE;
    render[D3DRS_ZWRITEENABLE] = TRUE;
    render[D3DRS_ALPHATESTENABLE] = FALSE;
    render[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    render[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    render[D3DRS_CULLMODE] = D3DCULL_CCW;
    render[D3DRS_ALPHABLENDENABLE] = FALSE;
    render[D3DRS_LIGHTING] = TRUE;
    render[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
    stage[{0, D3DTSS_COLOROP}] = D3DTOP_MODULATE;
    stage[{1, D3DTSS_COLOROP}] = D3DTOP_DISABLE;
}

ULONG FakeDevice::Release() {
    const ULONG left = --refs;
    if (left == 0) delete this;
    return left;
}

HRESULT FakeDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD, D3DFORMAT format,
                                  D3DPOOL, IDirect3DTexture9** texture, HANDLE*) {
    if (failCreateTexture || levels != 1 || !texture) return D3DERR_INVALIDCALL;
    FakeTexture* t = new FakeTexture(this, width, height, format);
    createdTextures.push_back(t);
    *texture = t;
    return D3D_OK;
}

HRESULT FakeDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    render[state] = value;
    return D3D_OK;
}

HRESULT FakeDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    auto it = render.find(state);
    *value = it == render.end() ? 0 : it->second;
    return D3D_OK;
}

HRESULT FakeDevice::SetTextureStageState(DWORD s, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    if (s > 2) return D3DERR_INVALIDCALL;
    stage[{s, type}] = value;
    return D3D_OK;
}

HRESULT FakeDevice::GetTextureStageState(DWORD s, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
    if (s > 2) return D3DERR_INVALIDCALL;
    auto it = stage.find({s, type});
    *value = it == stage.end() ? 0 : it->second;
    return D3D_OK;
}

HRESULT FakeDevice::SetSamplerState(DWORD s, D3DSAMPLERSTATETYPE type, DWORD value) {
    if (s > 2) return D3DERR_INVALIDCALL;
    sampler[{s, type}] = value;
    return D3D_OK;
}

HRESULT FakeDevice::GetSamplerState(DWORD s, D3DSAMPLERSTATETYPE type, DWORD* value) {
    if (s > 2) return D3DERR_INVALIDCALL;
    auto it = sampler.find({s, type});
    *value = it == sampler.end() ? 0 : it->second;
    return D3D_OK;
}

HRESULT FakeDevice::SetTexture(DWORD s, IDirect3DBaseTexture9* texture) {
    if (s > 2) return D3DERR_INVALIDCALL;
    if (texture) texture->AddRef();
    if (textures[s]) textures[s]->Release();
    textures[s] = texture;
    return D3D_OK;
}

HRESULT FakeDevice::GetTexture(DWORD s, IDirect3DBaseTexture9** texture) {
    if (s > 2) return D3DERR_INVALIDCALL;
    if (textures[s]) textures[s]->AddRef();
    *texture = textures[s];
    return D3D_OK;
}

HRESULT FakeDevice::SetFVF(DWORD value) {
    fvf = value;
    return D3D_OK;
}

HRESULT FakeDevice::GetFVF(DWORD* value) {
    *value = fvf;
    return D3D_OK;
}

HRESULT FakeDevice::SetStreamSource(UINT s, IDirect3DVertexBuffer9* buffer, UINT offset,
                                    UINT stride) {
    if (s != 0) return D3DERR_INVALIDCALL;
    if (buffer) buffer->AddRef();
    if (stream) stream->Release();
    stream = buffer;
    streamOffset = offset;
    streamStride = stride;
    return D3D_OK;
}

HRESULT FakeDevice::GetStreamSource(UINT s, IDirect3DVertexBuffer9** buffer, UINT* offset,
                                    UINT* stride) {
    if (s != 0) return D3DERR_INVALIDCALL;
    if (stream) stream->AddRef();
    *buffer = stream;
    *offset = streamOffset;
    *stride = streamStride;
    return D3D_OK;
}

HRESULT FakeDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT count, const void* vertices,
                                    UINT stride) {
    if (type != D3DPT_TRIANGLELIST || count == 0 || !vertices) return D3DERR_INVALIDCALL;
    RecordedDraw d;
    d.type = type;
    d.primitiveCount = count;
    d.stride = stride;
    d.callerVertices = vertices;
    const unsigned char* bytes = static_cast<const unsigned char*>(vertices);
    d.vertices.assign(bytes, bytes + static_cast<size_t>(count) * 3 * stride);
    d.render = render;
    d.stage = stage;
    for (const auto& entry : sampler)
        if (entry.first.first == 0) d.sampler0[entry.first.second] = entry.second;
    d.fvf = fvf;
    d.texture0 = textures[0];
    draws.push_back(std::move(d));
    // As in Direct3D: user-pointer drawing leaves stream 0 unbound.
    SetStreamSource(0, nullptr, 0, 0);
    return D3D_OK;
}

namespace {

struct Vertex {
    float x, y, z, rhw;
    DWORD color;
    float u, v;
};

int channel(DWORD c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

}  // namespace

void resolve(const RecordedDraw& draw, const FakeTexture& texture, Frame* frame) {
    const size_t quads = draw.vertices.size() / (6 * sizeof(Vertex));
    for (size_t q = 0; q < quads; ++q) {
        Vertex v[6];
        std::memcpy(v, draw.vertices.data() + q * sizeof v, sizeof v);
        float x0 = v[0].x, y0 = v[0].y, x1 = v[0].x, y1 = v[0].y;
        float u0 = v[0].u, v0 = v[0].v, u1 = v[0].u, v1 = v[0].v;
        for (const Vertex& c : v) {
            if (c.x < x0) { x0 = c.x; u0 = c.u; }
            if (c.x > x1) { x1 = c.x; u1 = c.u; }
            if (c.y < y0) { y0 = c.y; v0 = c.v; }
            if (c.y > y1) { y1 = c.y; v1 = c.v; }
        }
        const DWORD color = v[0].color;
        // Pixel (px, py) is covered when its centre lies in [x0, x1) x [y0, y1).
        for (int py = static_cast<int>(std::ceil(y0)); py < y1; ++py) {
            for (int px = static_cast<int>(std::ceil(x0)); px < x1; ++px) {
                if (px < 0 || py < 0 || px >= frame->width || py >= frame->height) continue;
                const float u = u0 + (px - x0) / (x1 - x0) * (u1 - u0);
                const float vv = v0 + (py - y0) / (y1 - y0) * (v1 - v0);
                int tx = static_cast<int>(std::floor(u * texture.width));
                int ty = static_cast<int>(std::floor(vv * texture.height));
                if (tx < 0) tx = 0;
                if (ty < 0) ty = 0;
                if (tx >= static_cast<int>(texture.width)) tx = texture.width - 1;
                if (ty >= static_cast<int>(texture.height)) ty = texture.height - 1;
                const DWORD t = texture.texel(tx, ty);
                const int alpha = channel(t, 24) * channel(color, 24) / 255;
                DWORD& dst = frame->pixels[static_cast<size_t>(py) * frame->width + px];
                DWORD out = 0xFF000000u;
                for (int shift = 0; shift <= 16; shift += 8) {
                    const int src = channel(t, shift) * channel(color, shift) / 255;
                    const int mixed = (src * alpha + channel(dst, shift) * (255 - alpha)) / 255;
                    out |= static_cast<DWORD>(mixed) << shift;
                }
                dst = out;
            }
        }
    }
}

}  // namespace fontfake
