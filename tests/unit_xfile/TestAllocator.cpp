#include "TestAllocator.h"

#include <algorithm>
#include <cstring>

namespace xtest {

namespace {

char* copyName(LPCSTR name) { return name ? std::strcpy(new char[std::strlen(name) + 1], name) : nullptr; }

}  // namespace

HRESULT TestAllocator::CreateFrame(LPCSTR Name, LPD3DXFRAME* ppNewFrame) {
    log.push_back(std::string("frame:") + (Name ? Name : "<null>"));
    D3DXFRAME* frame = new D3DXFRAME();
    frame->Name = copyName(Name);
    D3DXMatrixIdentity(&frame->TransformationMatrix);
    *ppNewFrame = frame;
    ++liveFrames;
    return S_OK;
}

HRESULT TestAllocator::CreateMeshContainer(LPCSTR Name, const D3DXMESHDATA* pMeshData,
                                           const D3DXMATERIAL* pMaterials, const D3DXEFFECTINSTANCE*,
                                           DWORD NumMaterials, const DWORD* pAdjacency, LPD3DXSKININFO pSkinInfo,
                                           LPD3DXMESHCONTAINER* ppNewMeshContainer) {
    *ppNewMeshContainer = nullptr;
    log.push_back(std::string("mesh:") + (Name ? Name : "<null>"));
    if (failContainerAt-- == 0) return E_OUTOFMEMORY;
    TestContainer* c = new TestContainer();
    c->Name = copyName(Name);
    c->MeshData = *pMeshData;
    c->MeshData.pMesh->AddRef();
    c->NumMaterials = NumMaterials;
    c->pMaterials = new D3DXMATERIAL[NumMaterials];
    for (DWORD i = 0; i < NumMaterials; ++i) {
        c->pMaterials[i] = pMaterials[i];
        c->textures.push_back(pMaterials[i].pTextureFilename ? pMaterials[i].pTextureFilename : "");
        c->pMaterials[i].pTextureFilename = nullptr;
    }
    const DWORD corners = pMeshData->pMesh->GetNumFaces() * 3;
    c->pAdjacency = new DWORD[corners];
    std::copy(pAdjacency, pAdjacency + corners, c->pAdjacency);
    c->pSkinInfo = pSkinInfo;
    if (pSkinInfo) pSkinInfo->AddRef();
    *ppNewMeshContainer = c;
    ++liveContainers;
    return S_OK;
}

HRESULT TestAllocator::DestroyFrame(LPD3DXFRAME pFrameToFree) {
    delete[] pFrameToFree->Name;
    delete pFrameToFree;
    --liveFrames;
    return S_OK;
}

HRESULT TestAllocator::DestroyMeshContainer(LPD3DXMESHCONTAINER pMeshContainerToFree) {
    TestContainer* c = static_cast<TestContainer*>(pMeshContainerToFree);
    delete[] c->Name;
    delete[] c->pMaterials;
    delete[] c->pAdjacency;
    if (c->pSkinInfo) c->pSkinInfo->Release();
    c->MeshData.pMesh->Release();
    delete c;
    --liveContainers;
    return S_OK;
}

}  // namespace xtest
