// ID3DXMesh over system-memory arrays, copied into device buffers by
// DrawSubset when they changed.
#ifndef ZV_D3DX9_XFILE_D3DXMESHOBJECT_H
#define ZV_D3DX9_XFILE_D3DXMESHOBJECT_H

#include <d3dx9mesh.h>

#include <vector>

#include "FvfLayout.h"

namespace d3dxfile {

class D3DXMeshObject final : public ID3DXMesh {
public:
    // A zero-filled mesh with one reference; keeps a reference to the device
    // (which may be null: such a mesh cannot draw). Indices are 32-bit with
    // D3DXMESH_32BIT or when there are more than 65535 vertices.
    static HRESULT create(DWORD numFaces, DWORD numVertices, DWORD options, DWORD fvf,
                          IDirect3DDevice9* device, D3DXMeshObject** out);

    // The layout and vertex count of a vertex buffer some mesh has locked
    // now, found by the pointer its Lock returned; false for other memory.
    static bool findLockedVertices(const void* data, FvfLayout& layout, DWORD& count);

    const FvfLayout& layout() const { return m_layout; }
    void setAttributeTable(const D3DXATTRIBUTERANGE* table, DWORD count);

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT DrawSubset(DWORD attribId) override;
    DWORD GetNumFaces() override { return m_numFaces; }
    DWORD GetNumVertices() override { return m_numVertices; }
    DWORD GetFVF() override { return m_layout.fvf; }
    DWORD GetNumBytesPerVertex() override { return m_layout.stride; }
    DWORD GetOptions() override { return m_options; }
    HRESULT GetDevice(LPDIRECT3DDEVICE9* ppDevice) override;
    HRESULT CloneMeshFVF(DWORD options, DWORD fvf, LPDIRECT3DDEVICE9 pDevice,
                         LPD3DXMESH* ppCloneMesh) override;
    HRESULT LockVertexBuffer(DWORD flags, LPVOID* ppData) override;
    HRESULT UnlockVertexBuffer() override;
    HRESULT LockIndexBuffer(DWORD flags, LPVOID* ppData) override;
    HRESULT UnlockIndexBuffer() override;
    HRESULT GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable, DWORD* pAttribTableSize) override;
    HRESULT LockAttributeBuffer(DWORD flags, DWORD** ppData) override;
    HRESULT UnlockAttributeBuffer() override;

private:
    D3DXMeshObject() = default;
    ~D3DXMeshObject() override;
    HRESULT upload();
    HRESULT drawRange(DWORD faceStart, DWORD faceCount, DWORD vertexStart, DWORD vertexCount);
    bool indices32() const { return (m_options & D3DXMESH_32BIT) != 0; }
    DWORD indexAt(size_t i) const;

    ULONG m_refs = 1;
    IDirect3DDevice9* m_device = nullptr;
    DWORD m_options = 0;
    DWORD m_numFaces = 0;
    DWORD m_numVertices = 0;
    FvfLayout m_layout;
    std::vector<BYTE> m_vertices;
    std::vector<BYTE> m_indices;
    std::vector<DWORD> m_attributes;
    std::vector<D3DXATTRIBUTERANGE> m_table;
    int m_vertexLocks = 0;
    int m_indexLocks = 0;
    int m_attributeLocks = 0;
    bool m_verticesChanged = true;
    bool m_indicesChanged = true;
    IDirect3DVertexBuffer9* m_vertexBuffer = nullptr;
    IDirect3DIndexBuffer9* m_indexBuffer = nullptr;
};

}  // namespace d3dxfile

#endif
