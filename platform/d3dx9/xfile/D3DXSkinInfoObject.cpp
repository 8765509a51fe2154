#include "D3DXSkinInfoObject.h"

#include "D3DXMeshObject.h"
#include "FvfLayout.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace d3dxfile {

D3DXSkinInfoObject* D3DXSkinInfoObject::create(DWORD numVertices, DWORD fvf,
                                               const std::vector<XBoneData>& bones) {
    D3DXSkinInfoObject* skin = new (std::nothrow) D3DXSkinInfoObject();
    if (!skin) return nullptr;
    skin->m_numVertices = numVertices;
    skin->m_fvf = fvf;
    skin->m_bones.resize(bones.size());
    for (size_t b = 0; b < bones.size(); ++b) {
        Bone& bone = skin->m_bones[b];
        bone.name = bones[b].name;
        bone.offset = D3DXMATRIX(bones[b].offset);
        bone.vertices.assign(bones[b].vertices.begin(), bones[b].vertices.end());
        bone.weights = bones[b].weights;
    }
    return skin;
}

ULONG D3DXSkinInfoObject::AddRef() { return ++m_refs; }

ULONG D3DXSkinInfoObject::Release() {
    ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

LPCSTR D3DXSkinInfoObject::GetBoneName(DWORD bone) {
    return bone < m_bones.size() ? m_bones[bone].name.c_str() : nullptr;
}

LPD3DXMATRIX D3DXSkinInfoObject::GetBoneOffsetMatrix(DWORD bone) {
    return bone < m_bones.size() ? &m_bones[bone].offset : nullptr;
}

DWORD D3DXSkinInfoObject::GetNumBoneInfluences(DWORD bone) {
    return bone < m_bones.size() ? DWORD(m_bones[bone].vertices.size()) : 0;
}

HRESULT D3DXSkinInfoObject::GetBoneInfluence(DWORD bone, DWORD* vertices, FLOAT* weights) {
    if (bone >= m_bones.size() || !vertices || !weights) return D3DERR_INVALIDCALL;
    std::copy(m_bones[bone].vertices.begin(), m_bones[bone].vertices.end(), vertices);
    std::copy(m_bones[bone].weights.begin(), m_bones[bone].weights.end(), weights);
    return D3D_OK;
}

HRESULT D3DXSkinInfoObject::GetMaxVertexInfluences(DWORD* maxVertexInfluences) {
    if (!maxVertexInfluences) return D3DERR_INVALIDCALL;
    std::vector<DWORD> count(m_numVertices, 0);
    for (const Bone& bone : m_bones)
        for (DWORD v : bone.vertices)
            if (v < m_numVertices) ++count[v];
    *maxVertexInfluences = count.empty() ? 0 : *std::max_element(count.begin(), count.end());
    return D3D_OK;
}

HRESULT D3DXSkinInfoObject::UpdateSkinnedMesh(const D3DXMATRIX* pBoneTransforms,
                                              const D3DXMATRIX* pBoneInvTransposeTransforms,
                                              LPCVOID pVerticesSrc, void* pVerticesDst) {
    if (!pBoneTransforms || !pVerticesSrc || !pVerticesDst) return D3DERR_INVALIDCALL;
    // Unlike D3DX, a locked mesh buffer is read in its own layout, so a copy
    // of a mesh in another FVF (as the engine makes) skins correctly.
    FvfLayout src, dst;
    DWORD srcCount = m_numVertices, dstCount = m_numVertices;
    if (!D3DXMeshObject::findLockedVertices(pVerticesSrc, src, srcCount) && !fvfLayout(m_fvf, src))
        return D3DERR_INVALIDCALL;
    if (!D3DXMeshObject::findLockedVertices(pVerticesDst, dst, dstCount) && !fvfLayout(m_fvf, dst))
        return D3DERR_INVALIDCALL;
    const DWORD n = std::min({m_numVertices, srcCount, dstCount});
    const bool normals = src.normal >= 0 && dst.normal >= 0;

    // Read the sources first: the destination may be the same memory.
    const BYTE* in = static_cast<const BYTE*>(pVerticesSrc);
    BYTE* out = static_cast<BYTE*>(pVerticesDst);
    std::vector<D3DXVECTOR3> pos(n), nrm(normals ? n : 0);
    for (DWORD v = 0; v < n; ++v) {
        std::memcpy(&pos[v], in + size_t(v) * src.stride, 12);
        if (normals) std::memcpy(&nrm[v], in + size_t(v) * src.stride + src.normal, 12);
    }
    std::vector<D3DXVECTOR3> outPos(n, D3DXVECTOR3(0, 0, 0)), outNrm(nrm.size(), D3DXVECTOR3(0, 0, 0));
    for (size_t b = 0; b < m_bones.size(); ++b) {
        const D3DXMATRIX& m = pBoneTransforms[b];
        D3DXMATRIX normalMatrix;
        if (pBoneInvTransposeTransforms) {
            normalMatrix = pBoneInvTransposeTransforms[b];
        } else if (D3DXMatrixInverse(&normalMatrix, nullptr, &m)) {
            D3DXMatrixTranspose(&normalMatrix, &normalMatrix);
        } else {
            normalMatrix = m;
        }
        const Bone& bone = m_bones[b];
        for (size_t i = 0; i < bone.vertices.size(); ++i) {
            DWORD v = bone.vertices[i];
            if (v >= n) continue;
            const FLOAT w = bone.weights[i];
            D3DXVECTOR3 t;
            D3DXVec3TransformCoord(&t, &pos[v], &m);
            outPos[v] += t * w;
            if (normals) {
                D3DXVec3TransformNormal(&t, &nrm[v], &normalMatrix);
                outNrm[v] += t * w;
            }
        }
    }
    for (DWORD v = 0; v < n; ++v) {
        std::memcpy(out + size_t(v) * dst.stride, &outPos[v], 12);
        if (normals) {
            D3DXVec3Normalize(&outNrm[v], &outNrm[v]);
            std::memcpy(out + size_t(v) * dst.stride + dst.normal, &outNrm[v], 12);
        }
    }
    return D3D_OK;
}

}  // namespace d3dxfile
