#include "D3DXMeshObject.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace d3dxfile {

namespace {

// Vertex buffers locked right now, so the skinning can read their layouts.
// A fixed table: locks are short-lived and few.
struct LockedEntry {
    const void* data;
    D3DXMeshObject* mesh;
};
LockedEntry g_locked[64];
int g_lockedCount = 0;

void addLocked(const void* data, D3DXMeshObject* mesh) {
    if (g_lockedCount < 64) g_locked[g_lockedCount++] = LockedEntry{data, mesh};
}

void removeLocked(D3DXMeshObject* mesh) {
    for (int i = 0; i < g_lockedCount; ++i) {
        if (g_locked[i].mesh == mesh) {
            g_locked[i] = g_locked[--g_lockedCount];
            return;
        }
    }
}

}  // namespace

HRESULT D3DXMeshObject::create(DWORD numFaces, DWORD numVertices, DWORD options, DWORD fvf,
                               IDirect3DDevice9* device, D3DXMeshObject** out) {
    if (!out) return D3DERR_INVALIDCALL;
    *out = nullptr;
    FvfLayout layout;
    if (numFaces == 0 || numVertices == 0 || !fvfLayout(fvf, layout)) return D3DERR_INVALIDCALL;
    if (numVertices > 0xFFFF) options |= D3DXMESH_32BIT;
    D3DXMeshObject* mesh = new (std::nothrow) D3DXMeshObject();
    if (!mesh) return E_OUTOFMEMORY;
    mesh->m_options = options;
    mesh->m_numFaces = numFaces;
    mesh->m_numVertices = numVertices;
    mesh->m_layout = layout;
    mesh->m_vertices.assign(size_t(numVertices) * layout.stride, 0);
    mesh->m_indices.assign(size_t(numFaces) * 3 * (mesh->indices32() ? 4 : 2), 0);
    mesh->m_attributes.assign(numFaces, 0);
    mesh->m_device = device;
    if (device) device->AddRef();
    *out = mesh;
    return D3D_OK;
}

bool D3DXMeshObject::findLockedVertices(const void* data, FvfLayout& layout, DWORD& count) {
    for (int i = 0; i < g_lockedCount; ++i) {
        if (g_locked[i].data == data) {
            layout = g_locked[i].mesh->m_layout;
            count = g_locked[i].mesh->m_numVertices;
            return true;
        }
    }
    return false;
}

D3DXMeshObject::~D3DXMeshObject() {
    if (m_vertexLocks > 0) removeLocked(this);
    if (m_vertexBuffer) m_vertexBuffer->Release();
    if (m_indexBuffer) m_indexBuffer->Release();
    if (m_device) m_device->Release();
}

ULONG D3DXMeshObject::AddRef() { return ++m_refs; }

ULONG D3DXMeshObject::Release() {
    ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

void D3DXMeshObject::setAttributeTable(const D3DXATTRIBUTERANGE* table, DWORD count) {
    m_table.assign(table, table + count);
}

DWORD D3DXMeshObject::indexAt(size_t i) const {
    if (indices32()) {
        DWORD v;
        std::memcpy(&v, &m_indices[i * 4], 4);
        return v;
    }
    WORD v;
    std::memcpy(&v, &m_indices[i * 2], 2);
    return v;
}

HRESULT D3DXMeshObject::GetDevice(LPDIRECT3DDEVICE9* ppDevice) {
    if (!ppDevice) return D3DERR_INVALIDCALL;
    *ppDevice = m_device;
    if (!m_device) return D3DERR_INVALIDCALL;
    m_device->AddRef();
    return D3D_OK;
}

HRESULT D3DXMeshObject::CloneMeshFVF(DWORD options, DWORD fvf, LPDIRECT3DDEVICE9 pDevice,
                                     LPD3DXMESH* ppCloneMesh) {
    if (!ppCloneMesh) return D3DERR_INVALIDCALL;
    *ppCloneMesh = nullptr;
    D3DXMeshObject* clone;
    HRESULT hr = create(m_numFaces, m_numVertices, options, fvf, pDevice, &clone);
    if (FAILED(hr)) return hr;
    const FvfLayout& from = m_layout;
    const FvfLayout& to = clone->m_layout;
    const UINT sets = std::min(from.texCount, to.texCount);
    for (DWORD v = 0; v < m_numVertices; ++v) {
        const BYTE* src = &m_vertices[size_t(v) * from.stride];
        BYTE* dst = &clone->m_vertices[size_t(v) * to.stride];
        std::memcpy(dst, src, 12);
        if (from.normal >= 0 && to.normal >= 0) std::memcpy(dst + to.normal, src + from.normal, 12);
        if (from.diffuse >= 0 && to.diffuse >= 0)
            std::memcpy(dst + to.diffuse, src + from.diffuse, 4);
        if (sets > 0) std::memcpy(dst + to.tex, src + from.tex, 8 * sets);
    }
    const size_t count = size_t(m_numFaces) * 3;
    for (size_t i = 0; i < count; ++i) {
        DWORD index = indexAt(i);
        if (clone->indices32()) {
            std::memcpy(&clone->m_indices[i * 4], &index, 4);
        } else {
            WORD w = WORD(index);
            std::memcpy(&clone->m_indices[i * 2], &w, 2);
        }
    }
    clone->m_attributes = m_attributes;
    clone->m_table = m_table;
    *ppCloneMesh = clone;
    return D3D_OK;
}

HRESULT D3DXMeshObject::LockVertexBuffer(DWORD flags, LPVOID* ppData) {
    if (!ppData) return D3DERR_INVALIDCALL;
    *ppData = m_vertices.data();
    if (m_vertexLocks++ == 0) addLocked(m_vertices.data(), this);
    if (!(flags & D3DLOCK_READONLY)) m_verticesChanged = true;
    return D3D_OK;
}

HRESULT D3DXMeshObject::UnlockVertexBuffer() {
    if (m_vertexLocks == 0) return D3DERR_INVALIDCALL;
    if (--m_vertexLocks == 0) removeLocked(this);
    return D3D_OK;
}

HRESULT D3DXMeshObject::LockIndexBuffer(DWORD flags, LPVOID* ppData) {
    if (!ppData) return D3DERR_INVALIDCALL;
    *ppData = m_indices.data();
    ++m_indexLocks;
    if (!(flags & D3DLOCK_READONLY)) m_indicesChanged = true;
    return D3D_OK;
}

HRESULT D3DXMeshObject::UnlockIndexBuffer() {
    if (m_indexLocks == 0) return D3DERR_INVALIDCALL;
    --m_indexLocks;
    return D3D_OK;
}

HRESULT D3DXMeshObject::LockAttributeBuffer(DWORD flags, DWORD** ppData) {
    if (!ppData) return D3DERR_INVALIDCALL;
    *ppData = m_attributes.data();
    ++m_attributeLocks;
    return D3D_OK;
}

HRESULT D3DXMeshObject::UnlockAttributeBuffer() {
    if (m_attributeLocks == 0) return D3DERR_INVALIDCALL;
    --m_attributeLocks;
    return D3D_OK;
}

HRESULT D3DXMeshObject::GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable,
                                          DWORD* pAttribTableSize) {
    if (!pAttribTableSize) return D3DERR_INVALIDCALL;
    *pAttribTableSize = DWORD(m_table.size());
    if (pAttribTable) std::copy(m_table.begin(), m_table.end(), pAttribTable);
    return D3D_OK;
}

HRESULT D3DXMeshObject::upload() {
    HRESULT hr;
    if (!m_vertexBuffer) {
        hr = m_device->CreateVertexBuffer(UINT(m_vertices.size()), D3DUSAGE_WRITEONLY, m_layout.fvf,
                                          D3DPOOL_MANAGED, &m_vertexBuffer, nullptr);
        if (FAILED(hr)) return hr;
        m_verticesChanged = true;
    }
    if (!m_indexBuffer) {
        hr = m_device->CreateIndexBuffer(UINT(m_indices.size()), D3DUSAGE_WRITEONLY,
                                         indices32() ? D3DFMT_INDEX32 : D3DFMT_INDEX16,
                                         D3DPOOL_MANAGED, &m_indexBuffer, nullptr);
        if (FAILED(hr)) return hr;
        m_indicesChanged = true;
    }
    void* p;
    if (m_verticesChanged) {
        if (FAILED(hr = m_vertexBuffer->Lock(0, 0, &p, 0))) return hr;
        std::memcpy(p, m_vertices.data(), m_vertices.size());
        m_vertexBuffer->Unlock();
        m_verticesChanged = false;
    }
    if (m_indicesChanged) {
        if (FAILED(hr = m_indexBuffer->Lock(0, 0, &p, 0))) return hr;
        std::memcpy(p, m_indices.data(), m_indices.size());
        m_indexBuffer->Unlock();
        m_indicesChanged = false;
    }
    return D3D_OK;
}

HRESULT D3DXMeshObject::drawRange(DWORD faceStart, DWORD faceCount, DWORD vertexStart,
                                  DWORD vertexCount) {
    m_device->SetFVF(m_layout.fvf);
    m_device->SetStreamSource(0, m_vertexBuffer, 0, m_layout.stride);
    m_device->SetIndices(m_indexBuffer);
    return m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, vertexStart, vertexCount,
                                          faceStart * 3, faceCount);
}

HRESULT D3DXMeshObject::DrawSubset(DWORD attribId) {
    if (!m_device) return D3DERR_INVALIDCALL;
    HRESULT hr = upload();
    if (FAILED(hr)) return hr;
    if (!m_table.empty()) {
        for (const D3DXATTRIBUTERANGE& r : m_table) {
            if (r.AttribId != attribId || r.FaceCount == 0) continue;
            if (r.FaceStart > m_numFaces || r.FaceCount > m_numFaces - r.FaceStart)
                return D3DERR_INVALIDCALL;
            if (FAILED(hr = drawRange(r.FaceStart, r.FaceCount, r.VertexStart, r.VertexCount)))
                return hr;
        }
        return D3D_OK;
    }
    // No attribute table: draw each run of faces with this attribute.
    for (DWORD f = 0; f < m_numFaces;) {
        if (m_attributes[f] != attribId) {
            ++f;
            continue;
        }
        DWORD start = f, lo = 0xFFFFFFFFu, hi = 0;
        for (; f < m_numFaces && m_attributes[f] == attribId; ++f) {
            for (int k = 0; k < 3; ++k) {
                DWORD i = indexAt(size_t(f) * 3 + k);
                lo = std::min(lo, i);
                hi = std::max(hi, i);
            }
        }
        if (FAILED(hr = drawRange(start, f - start, lo, hi - lo + 1))) return hr;
    }
    return D3D_OK;
}

}  // namespace d3dxfile
