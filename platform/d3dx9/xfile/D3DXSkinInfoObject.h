// ID3DXSkinInfo with software skinning of positions and normals.
#ifndef ZV_D3DX9_XFILE_D3DXSKININFOOBJECT_H
#define ZV_D3DX9_XFILE_D3DXSKININFOOBJECT_H

#include <d3dx9mesh.h>

#include <string>
#include <vector>

#include "XMeshData.h"

namespace d3dxfile {

class D3DXSkinInfoObject final : public ID3DXSkinInfo {
public:
    // One reference. `fvf` is the vertex format of the mesh the bones
    // belong to; the bones' vertex indices are below numVertices.
    static D3DXSkinInfoObject* create(DWORD numVertices, DWORD fvf,
                                      const std::vector<XBoneData>& bones);

    ULONG AddRef() override;
    ULONG Release() override;
    DWORD GetNumBones() override { return DWORD(m_bones.size()); }
    LPCSTR GetBoneName(DWORD bone) override;
    LPD3DXMATRIX GetBoneOffsetMatrix(DWORD bone) override;
    DWORD GetNumBoneInfluences(DWORD bone) override;
    HRESULT GetBoneInfluence(DWORD bone, DWORD* vertices, FLOAT* weights) override;
    HRESULT GetMaxVertexInfluences(DWORD* maxVertexInfluences) override;
    DWORD GetFVF() override { return m_fvf; }
    HRESULT UpdateSkinnedMesh(const D3DXMATRIX* pBoneTransforms,
                              const D3DXMATRIX* pBoneInvTransposeTransforms, LPCVOID pVerticesSrc,
                              void* pVerticesDst) override;

private:
    struct Bone {
        std::string name;
        D3DXMATRIX offset;
        std::vector<DWORD> vertices;
        std::vector<FLOAT> weights;
    };
    D3DXSkinInfoObject() = default;
    ~D3DXSkinInfoObject() override = default;

    ULONG m_refs = 1;
    DWORD m_numVertices = 0;
    DWORD m_fvf = 0;
    std::vector<Bone> m_bones;
};

}  // namespace d3dxfile

#endif
