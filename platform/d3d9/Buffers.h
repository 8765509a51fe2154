// Vertex and index buffers.
#ifndef ZV_D3D9_BUFFERS_H
#define ZV_D3D9_BUFFERS_H

#include "BufferStore.h"
#include "Resource.h"

namespace zvd3d {

class VertexBuffer final : public Resource<IDirect3DVertexBuffer9> {
public:
    static HRESULT create(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                          IDirect3DVertexBuffer9** out);

    D3DRESOURCETYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override;
    HRESULT Unlock() override;
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) override;

    BufferStore& store() { return m_store; }

private:
    VertexBuffer(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool);
    ~VertexBuffer() override;

    BufferStore m_store;
    DWORD m_usage;
    DWORD m_fvf;
    D3DPOOL m_pool;
};

class IndexBuffer final : public Resource<IDirect3DIndexBuffer9> {
public:
    static HRESULT create(Device* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DIndexBuffer9** out);

    D3DRESOURCETYPE GetType() override { return D3DRTYPE_INDEXBUFFER; }
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override;
    HRESULT Unlock() override;
    HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc) override;

    BufferStore& store() { return m_store; }
    // 2 or 4.
    UINT indexSize() const { return m_format == D3DFMT_INDEX32 ? 4 : 2; }
    // The largest of `count` indices from `first` (which must lie in the buffer).
    uint32_t maxIndex(UINT first, UINT count) const;

private:
    IndexBuffer(Device* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool);
    ~IndexBuffer() override;

    BufferStore m_store;
    DWORD m_usage;
    D3DFORMAT m_format;
    D3DPOOL m_pool;
};

}  // namespace zvd3d

#endif
