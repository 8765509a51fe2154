#include "QNMeshContainer.h"

CQNMeshContainer::CQNMeshContainer()
    : m_textures(nullptr),
      m_materials(nullptr),
      m_skinnedMesh(nullptr),
      m_boneOffsets(nullptr),
      m_boneMatrixPtrs(nullptr) {
    Name = nullptr;
    MeshData.Type = D3DXMESHTYPE_MESH;
    MeshData.pMesh = nullptr;
    pMaterials = nullptr;
    pEffects = nullptr;
    NumMaterials = 0;
    pAdjacency = nullptr;
    pSkinInfo = nullptr;
    pNextMeshContainer = nullptr;
}
