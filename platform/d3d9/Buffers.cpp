#include "Buffers.h"

#include "Device.h"
#include "Report.h"

namespace zvd3d {

namespace {
// Far above anything the game draws; keeps a bad length from asking for
// gigabytes.
const UINT kMaxBufferBytes = 256u << 20;
const DWORD kBufferUsages = D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC;

bool validBuffer(UINT length, DWORD usage, D3DPOOL pool) {
    if (length == 0 || length > kMaxBufferBytes) return false;
    if (usage & ~kBufferUsages) {
        reportUnhandled("buffer usage", usage);
        return false;
    }
    if (pool != D3DPOOL_DEFAULT && pool != D3DPOOL_MANAGED) {
        reportUnhandled("buffer pool", static_cast<unsigned long>(pool));
        return false;
    }
    return true;
}
}  // namespace

HRESULT VertexBuffer::create(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                             IDirect3DVertexBuffer9** out) {
    if (!out) return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (!validBuffer(length, usage, pool)) return D3DERR_INVALIDCALL;
    *out = new VertexBuffer(device, length, usage, fvf, pool);
    return D3D_OK;
}

VertexBuffer::VertexBuffer(Device* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool)
    : Resource(device, device), m_store(length), m_usage(usage), m_fvf(fvf), m_pool(pool) {}

VertexBuffer::~VertexBuffer() {
    if (device()->makeCurrent()) m_store.releaseGL(device()->glState(), device()->glGeneration());
}

HRESULT VertexBuffer::Lock(UINT offset, UINT size, void** data, DWORD flags) {
    return m_store.lock(offset, size, data, flags);
}

HRESULT VertexBuffer::Unlock() { return m_store.unlock(); }

HRESULT VertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    desc->Format = D3DFMT_UNKNOWN;
    desc->Type = D3DRTYPE_VERTEXBUFFER;
    desc->Usage = m_usage;
    desc->Pool = m_pool;
    desc->Size = m_store.size();
    desc->FVF = m_fvf;
    return D3D_OK;
}

HRESULT IndexBuffer::create(Device* device, UINT length, DWORD usage, D3DFORMAT format,
                            D3DPOOL pool, IDirect3DIndexBuffer9** out) {
    if (!out) return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (!validBuffer(length, usage, pool)) return D3DERR_INVALIDCALL;
    if (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32) {
        reportUnhandled("index format", static_cast<unsigned long>(format));
        return D3DERR_INVALIDCALL;
    }
    *out = new IndexBuffer(device, length, usage, format, pool);
    return D3D_OK;
}

IndexBuffer::IndexBuffer(Device* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool)
    : Resource(device, device), m_store(length), m_usage(usage), m_format(format), m_pool(pool) {}

IndexBuffer::~IndexBuffer() {
    if (device()->makeCurrent()) m_store.releaseGL(device()->glState(), device()->glGeneration());
}

HRESULT IndexBuffer::Lock(UINT offset, UINT size, void** data, DWORD flags) {
    return m_store.lock(offset, size, data, flags);
}

HRESULT IndexBuffer::Unlock() { return m_store.unlock(); }

uint32_t IndexBuffer::maxIndex(UINT first, UINT count) const {
    uint32_t result = 0;
    if (indexSize() == 2) {
        const uint16_t* p = reinterpret_cast<const uint16_t*>(m_store.data()) + first;
        for (UINT i = 0; i < count; ++i) result = p[i] > result ? p[i] : result;
    } else {
        const uint32_t* p = reinterpret_cast<const uint32_t*>(m_store.data()) + first;
        for (UINT i = 0; i < count; ++i) result = p[i] > result ? p[i] : result;
    }
    return result;
}

HRESULT IndexBuffer::GetDesc(D3DINDEXBUFFER_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    desc->Format = m_format;
    desc->Type = D3DRTYPE_INDEXBUFFER;
    desc->Usage = m_usage;
    desc->Pool = m_pool;
    desc->Size = m_store.size();
    return D3D_OK;
}

}  // namespace zvd3d
