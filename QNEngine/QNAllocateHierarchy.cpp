#include "QNAllocateHierarchy.h"

#include <cstring>

#include "DX_TextureManager.h"
#include "QNFrame.h"
#include "QNMemory.h"
#include "QNMeshContainer.h"

namespace {
// The vertex format every mesh is drawn in: the engine's default FVF.
const DWORD kMeshFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2;
// The environment map's weight in the stage-1 blend (BLENDCURRENTALPHA).
const float kEnvMapWeight = 0.25f;

char* copyText(const char* text) {
    if (!text) return nullptr;
    size_t n = std::strlen(text) + 1;
    setOwner(__FILE__, __LINE__, "??");
    char* copy = new char[n];
    std::memcpy(copy, text, n);
    return copy;
}

void freeText(char* text) {
    if (!text) return;
    setOwner(__FILE__, __LINE__, "??");
    delete[] text;
}
}  // namespace

HRESULT CQNAllocateHierarchy::CreateFrame(LPCSTR Name, LPD3DXFRAME* ppNewFrame) {
    *ppNewFrame = nullptr;
    setOwner(__FILE__, __LINE__, "??");
    CQNFrame* frame = new CQNFrame;
    frame->Name = copyText(Name);
    *ppNewFrame = frame;
    return S_OK;
}

HRESULT CQNAllocateHierarchy::CreateMeshContainer(LPCSTR Name, const D3DXMESHDATA* pMeshData,
                                                  const D3DXMATERIAL* pMaterials,
                                                  const D3DXEFFECTINSTANCE* pEffectInstances,
                                                  DWORD NumMaterials, const DWORD* pAdjacency,
                                                  LPD3DXSKININFO pSkinInfo,
                                                  LPD3DXMESHCONTAINER* ppNewMeshContainer) {
    setOwner(__FILE__, __LINE__, "??");
    CQNMeshContainer* container = new CQNMeshContainer;
    *ppNewMeshContainer = nullptr;
    container->Name = copyText(Name);

    // The loader only makes ordinary meshes.
    ID3DXMesh* mesh = pMeshData->pMesh;
    container->MeshData.Type = D3DXMESHTYPE_MESH;
    const DWORD faces = mesh->GetNumFaces();
    container->NumMaterials = NumMaterials;

    if (NumMaterials) {
        setOwner(__FILE__, __LINE__, "??");
        container->m_materials = new D3DMATERIAL9[NumMaterials];
    }
    if (pAdjacency && faces) {
        setOwner(__FILE__, __LINE__, "??");
        container->pAdjacency = new DWORD[faces * 3];
        std::memcpy(container->pAdjacency, pAdjacency, sizeof(DWORD) * faces * 3);
    }

    // The loader's mesh is not kept: the container draws its own copy.
    IDirect3DDevice9* device = nullptr;
    mesh->GetDevice(&device);
    container->MeshData.pMesh = nullptr;
    mesh->CloneMeshFVF(D3DXMESH_MANAGED, kMeshFvf, device, &container->MeshData.pMesh);

    if (NumMaterials) {
        setOwner(__FILE__, __LINE__, "??");
        container->m_textures = new IDirect3DTexture9*[NumMaterials];
    }
    CDX_TextureManager* textures = CDX_TextureManager::getInstance();
    for (DWORD i = 0; i < NumMaterials; ++i) {
        container->m_textures[i] = nullptr;
        D3DMATERIAL9& material = container->m_materials[i];
        material = pMaterials[i].MatD3D;
        material.Diffuse.a = kEnvMapWeight;
        material.Ambient = material.Diffuse;
        const char* file = pMaterials[i].pTextureFilename;
        if (!file || !*file) continue;
        IDirect3DTexture9* texture = nullptr;
        if (FAILED(D3DXCreateTextureFromFileA(device, file, &texture)) || !texture) continue;
        container->m_textures[i] = texture;
        freeText(textures->m_lastMeshTextureName);
        textures->m_lastMeshTextureName = copyText(file);
    }
    if (device) device->Release();

    if (pSkinInfo) {
        container->pSkinInfo = pSkinInfo;
        pSkinInfo->AddRef();
        const DWORD bones = pSkinInfo->GetNumBones();
        if (bones) {
            setOwner(__FILE__, __LINE__, "??");
            container->m_boneOffsets = new D3DXMATRIX[bones];
            setOwner(__FILE__, __LINE__, "??");
            container->m_boneMatrixPtrs = new D3DXMATRIX*[bones];
        }
        for (DWORD i = 0; i < bones; ++i) {
            const D3DXMATRIX* offset = pSkinInfo->GetBoneOffsetMatrix(i);
            if (offset)
                container->m_boneOffsets[i] = *offset;
            else
                D3DXMatrixIdentity(&container->m_boneOffsets[i]);
            container->m_boneMatrixPtrs[i] = nullptr;
        }
    }
    *ppNewMeshContainer = container;
    return S_OK;
}

HRESULT CQNAllocateHierarchy::DestroyFrame(LPD3DXFRAME pFrameToFree) {
    if (!pFrameToFree) return S_OK;
    freeText(pFrameToFree->Name);
    setOwner(__FILE__, __LINE__, "??");
    delete static_cast<CQNFrame*>(pFrameToFree);
    return S_OK;
}

HRESULT CQNAllocateHierarchy::DestroyMeshContainer(LPD3DXMESHCONTAINER pMeshContainerToFree) {
    if (!pMeshContainerToFree) return S_OK;
    CQNMeshContainer* container = static_cast<CQNMeshContainer*>(pMeshContainerToFree);
    freeText(container->Name);
    if (container->m_materials) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] container->m_materials;
    }
    if (container->m_textures) {
        for (DWORD i = 0; i < container->NumMaterials; ++i)
            if (container->m_textures[i]) container->m_textures[i]->Release();
        setOwner(__FILE__, __LINE__, "??");
        delete[] container->m_textures;
    }
    if (container->pAdjacency) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] container->pAdjacency;
    }
    if (container->m_boneOffsets) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] container->m_boneOffsets;
    }
    if (container->m_boneMatrixPtrs) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] container->m_boneMatrixPtrs;
    }
    if (container->m_skinnedMesh) container->m_skinnedMesh->Release();
    if (container->MeshData.pMesh) container->MeshData.pMesh->Release();
    if (container->pSkinInfo) container->pSkinInfo->Release();
    setOwner(__FILE__, __LINE__, "??");
    delete container;
    return S_OK;
}
