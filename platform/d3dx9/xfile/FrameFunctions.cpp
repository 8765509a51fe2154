// D3DXFrameDestroy, D3DXFrameFind and D3DXFrameCalculateBoundingSphere.
#include <d3dx9anim.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

bool sameName(LPCSTR a, LPCSTR b) {
    if (!a || !b) return a == b;
    return std::strcmp(a, b) == 0;
}

void collectPoints(const D3DXFRAME* frame, const D3DXMATRIX& parent,
                   std::vector<D3DXVECTOR3>& points) {
    for (; frame; frame = frame->pFrameSibling) {
        D3DXMATRIX world;
        D3DXMatrixMultiply(&world, &frame->TransformationMatrix, &parent);
        for (const D3DXMESHCONTAINER* c = frame->pMeshContainer; c; c = c->pNextMeshContainer) {
            ID3DXMesh* mesh = c->MeshData.pMesh;
            const BYTE* data;
            if (!mesh || FAILED(mesh->LockVertexBuffer(D3DLOCK_READONLY, (void**)&data))) continue;
            const DWORD stride = mesh->GetNumBytesPerVertex(), n = mesh->GetNumVertices();
            for (DWORD v = 0; v < n; ++v) {
                D3DXVECTOR3 p;
                std::memcpy(&p, data + size_t(v) * stride, 12);
                D3DXVec3TransformCoord(&p, &p, &world);
                points.push_back(p);
            }
            mesh->UnlockVertexBuffer();
        }
        collectPoints(frame->pFrameFirstChild, world, points);
    }
}

}  // namespace

HRESULT WINAPI D3DXFrameDestroy(LPD3DXFRAME pFrameRoot, LPD3DXALLOCATEHIERARCHY pAlloc) {
    if (!pFrameRoot || !pAlloc) return D3DERR_INVALIDCALL;
    for (LPD3DXFRAME frame = pFrameRoot; frame;) {
        LPD3DXFRAME sibling = frame->pFrameSibling;
        if (frame->pFrameFirstChild) {
            HRESULT hr = D3DXFrameDestroy(frame->pFrameFirstChild, pAlloc);
            if (FAILED(hr)) return hr;
            frame->pFrameFirstChild = nullptr;
        }
        for (LPD3DXMESHCONTAINER c = frame->pMeshContainer; c;) {
            LPD3DXMESHCONTAINER next = c->pNextMeshContainer;
            HRESULT hr = pAlloc->DestroyMeshContainer(c);
            if (FAILED(hr)) return hr;
            c = next;
        }
        frame->pMeshContainer = nullptr;
        HRESULT hr = pAlloc->DestroyFrame(frame);
        if (FAILED(hr)) return hr;
        frame = sibling;
    }
    return D3D_OK;
}

LPD3DXFRAME WINAPI D3DXFrameFind(const D3DXFRAME* pFrameRoot, LPCSTR Name) {
    for (const D3DXFRAME* frame = pFrameRoot; frame; frame = frame->pFrameSibling) {
        if (sameName(frame->Name, Name)) return const_cast<LPD3DXFRAME>(frame);
        if (LPD3DXFRAME found = D3DXFrameFind(frame->pFrameFirstChild, Name)) return found;
    }
    return nullptr;
}

HRESULT WINAPI D3DXFrameCalculateBoundingSphere(const D3DXFRAME* pFrameRoot,
                                                LPD3DXVECTOR3 pObjectCenter,
                                                FLOAT* pObjectRadius) {
    if (!pFrameRoot || !pObjectCenter || !pObjectRadius) return D3DERR_INVALIDCALL;
    std::vector<D3DXVECTOR3> points;
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    collectPoints(pFrameRoot, identity, points);
    D3DXVECTOR3 center(0, 0, 0);
    float radius = 0.0f;
    if (!points.empty()) {
        for (const D3DXVECTOR3& p : points) center += p;
        center /= float(points.size());
        for (const D3DXVECTOR3& p : points) {
            D3DXVECTOR3 d = p - center;
            radius = std::max(radius, D3DXVec3Length(&d));
        }
    }
    *pObjectCenter = center;
    *pObjectRadius = radius;
    return D3D_OK;
}
