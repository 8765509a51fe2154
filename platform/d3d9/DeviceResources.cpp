// Creation of textures and buffers, and their bindings on the device.
#include "Buffers.h"
#include "Device.h"
#include "Report.h"
#include "Textures.h"

namespace zvd3d {

namespace {
// Shared resources are a Windows Vista feature the engine does not use.
bool noSharing(HANDLE* sharedHandle) {
    if (sharedHandle) reportUnhandled("shared resource handle", 1);
    return sharedHandle == nullptr;
}
}  // namespace

HRESULT Device::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                              D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* sharedHandle) {
    if (!noSharing(sharedHandle)) return D3DERR_INVALIDCALL;
    return Texture::create(this, width, height, levels, usage, format, pool, texture);
}

HRESULT Device::CreateCubeTexture(UINT edgeLength, UINT levels, DWORD usage, D3DFORMAT format,
                                  D3DPOOL pool, IDirect3DCubeTexture9** texture,
                                  HANDLE* sharedHandle) {
    if (!noSharing(sharedHandle)) return D3DERR_INVALIDCALL;
    return CubeTexture::create(this, edgeLength, levels, usage, format, pool, texture);
}

HRESULT Device::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                   IDirect3DVertexBuffer9** buffer, HANDLE* sharedHandle) {
    if (!noSharing(sharedHandle)) return D3DERR_INVALIDCALL;
    return VertexBuffer::create(this, length, usage, fvf, pool, buffer);
}

HRESULT Device::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                  IDirect3DIndexBuffer9** buffer, HANDLE* sharedHandle) {
    if (!noSharing(sharedHandle)) return D3DERR_INVALIDCALL;
    return IndexBuffer::create(this, length, usage, format, pool, buffer);
}

HRESULT Device::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
    if (stage >= kStages) {
        reportUnhandled("texture stage", stage);
        return D3DERR_INVALIDCALL;
    }
    if (m_textures[stage] == texture) return D3D_OK;
    TextureObject* object = textureObject(texture);
    if (texture && !object) return D3DERR_INVALIDCALL;
    if (object) object->bind();
    if (m_textureObjects[stage]) m_textureObjects[stage]->unbind();
    m_textures[stage] = texture;
    m_textureObjects[stage] = object;
    // Which stages run, and with which sampler type, depends on the bindings.
    m_dirty |= DIRTY_TEXTURES | DIRTY_PROGRAM;
    return D3D_OK;
}

HRESULT Device::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) {
    if (!texture || stage >= kStages) return D3DERR_INVALIDCALL;
    *texture = m_textures[stage];
    if (*texture) (*texture)->AddRef();
    return D3D_OK;
}

HRESULT Device::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                UINT stride) {
    if (stream != 0) {
        reportUnhandled("vertex stream", stream);
        return D3DERR_INVALIDCALL;
    }
    VertexBuffer* vb = static_cast<VertexBuffer*>(buffer);
    if (vb) vb->bind();
    if (m_stream) m_stream->unbind();
    m_stream = vb;
    m_streamOffset = offset;
    m_streamStride = stride;
    m_dirty |= DIRTY_VERTEX;
    return D3D_OK;
}

HRESULT Device::GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset,
                                UINT* stride) {
    if (stream != 0 || !buffer || !offset || !stride) return D3DERR_INVALIDCALL;
    *buffer = m_stream;
    if (m_stream) m_stream->AddRef();
    *offset = m_streamOffset;
    *stride = m_streamStride;
    return D3D_OK;
}

HRESULT Device::SetIndices(IDirect3DIndexBuffer9* buffer) {
    IndexBuffer* ib = static_cast<IndexBuffer*>(buffer);
    if (ib) ib->bind();
    if (m_indices) m_indices->unbind();
    m_indices = ib;
    return D3D_OK;
}

HRESULT Device::GetIndices(IDirect3DIndexBuffer9** buffer) {
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = m_indices;
    if (m_indices) m_indices->AddRef();
    return D3D_OK;
}

}  // namespace zvd3d
