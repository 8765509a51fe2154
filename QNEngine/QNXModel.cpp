#include "QNXModel.h"

#include <cstring>
#include <string>

#include "DX_D3DWrapper.h"
#include "QNAllocateHierarchy.h"
#include "QNFrame.h"
#include "QNMemory.h"
#include "QNMeshContainer.h"
#include "QNResults.h"

CQNXModel::CQNXModel()
    : m_frameRoot(nullptr),
      m_boneMatrices(nullptr),
      m_maxBones(0),
      m_currentAnimationSet(-1),
      m_numAnimationSets(0),
      m_animController(nullptr),
      m_fileName(nullptr),
      m_firstMeshContainer(nullptr) {}

CQNXModel::~CQNXModel() {
    // The controller poses frames of the hierarchy: it goes first.
    if (m_animController) {
        m_animController->Release();
        m_animController = nullptr;
    }
    if (m_fileName) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] m_fileName;
        m_fileName = nullptr;
    }
    if (m_frameRoot) {
        CQNAllocateHierarchy alloc;
        D3DXFrameDestroy(m_frameRoot, &alloc);
        m_frameRoot = nullptr;
        m_firstMeshContainer = nullptr;
    }
    if (m_boneMatrices) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] m_boneMatrices;
        m_boneMatrices = nullptr;
    }
}

void CQNXModel::loadXFile(const char* path) {
    CQNAllocateHierarchy alloc;
    LPD3DXFRAME root = nullptr;
    IDirect3DDevice9* device = CDX_D3DWrapper::getInstance()->getDevice();
    if (FAILED(D3DXLoadMeshHierarchyFromX(path, D3DXMESH_MANAGED, device, &alloc, nullptr, &root,
                                          &m_animController)))
        logResult(QNRSLT_D3DFAILED, "CQNXModel::loadXFile( )", path, 0);
    m_frameRoot = static_cast<CQNFrame*>(root);

    if (m_fileName) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] m_fileName;
        m_fileName = nullptr;
    }
    if (path) {
        size_t n = std::strlen(path) + 1;
        setOwner(__FILE__, __LINE__, "??");
        m_fileName = new char[n];
        std::memcpy(m_fileName, path, n);
    }

    if (m_animController) m_numAnimationSets = m_animController->GetMaxNumAnimationSets();
    if (m_frameRoot) {
        _setupBoneMatrixPointers(m_frameRoot);
        if (m_maxBones) {
            setOwner(__FILE__, __LINE__, "??");
            m_boneMatrices = new D3DXMATRIX[m_maxBones];
            std::memset(m_boneMatrices, 0, sizeof(D3DXMATRIX) * m_maxBones);
        }
    }
}

void CQNXModel::_setupBoneMatrixPointers(CQNFrame* frame) {
    if (!frame) return;
    CQNMeshContainer* container = static_cast<CQNMeshContainer*>(frame->pMeshContainer);
    if (container) {
        if (!m_firstMeshContainer) m_firstMeshContainer = container;
        // Containers chained behind the first are not prepared.
        if (container->pSkinInfo) _setupSkin(container);
    }
    _setupBoneMatrixPointers(static_cast<CQNFrame*>(frame->pFrameSibling));
    _setupBoneMatrixPointers(static_cast<CQNFrame*>(frame->pFrameFirstChild));
}

void CQNXModel::_setupSkin(CQNMeshContainer* container) {
    ID3DXSkinInfo* skin = container->pSkinInfo;
    const DWORD bones = skin->GetNumBones();
    // Every bone must move with a frame: a skin that names a missing one
    // would pose through a dangling pointer, so it is dropped whole.
    for (DWORD i = 0; i < bones; ++i) {
        const char* name = skin->GetBoneName(i);
        if (name && D3DXFrameFind(m_frameRoot, name)) continue;
        std::string info = std::string(m_fileName ? m_fileName : "") + ": bone " +
                           (name ? name : "(unnamed)") + " has no frame, drawn unskinned";
        logResult(QNRSLT_D3DFAILED, "CQNXModel::_setupBoneMatrixPointers( )", info.c_str(), 0);
        skin->Release();
        container->pSkinInfo = nullptr;
        return;
    }

    ID3DXMesh* mesh = container->MeshData.pMesh;
    if (mesh) {
        IDirect3DDevice9* device = CDX_D3DWrapper::getInstance()->getDevice();
        mesh->CloneMeshFVF(D3DXMESH_MANAGED, mesh->GetFVF(), device, &container->m_skinnedMesh);
    }
    if (bones > m_maxBones) m_maxBones = bones;
    for (DWORD i = 0; i < bones; ++i) {
        CQNFrame* bone = static_cast<CQNFrame*>(D3DXFrameFind(m_frameRoot, skin->GetBoneName(i)));
        container->m_boneMatrixPtrs[i] = &bone->m_combinedMatrix;
    }
}

void CQNXModel::setAnimationSet(uint32_t index) {
    if (static_cast<int32_t>(index) == m_currentAnimationSet || index >= m_numAnimationSets) return;
    m_currentAnimationSet = static_cast<int32_t>(index);
    ID3DXAnimationSet* set = nullptr;
    m_animController->GetAnimationSet(index, &set);
    m_animController->SetTrackAnimationSet(0, set);
    if (set) set->Release();
}

void CQNXModel::update(double seconds) {
    if (m_animController && m_currentAnimationSet != -1)
        m_animController->AdvanceTime(seconds, nullptr);
    if (m_frameRoot) _updateFrameMatrices(m_frameRoot, nullptr);

    CQNMeshContainer* container = m_firstMeshContainer;
    if (!container || !container->pSkinInfo || !container->m_skinnedMesh ||
        !container->MeshData.pMesh)
        return;
    ID3DXSkinInfo* skin = container->pSkinInfo;
    const DWORD bones = skin->GetNumBones();
    for (DWORD i = 0; i < bones; ++i)
        D3DXMatrixMultiply(&m_boneMatrices[i], &container->m_boneOffsets[i],
                           container->m_boneMatrixPtrs[i]);
    void* source = nullptr;
    void* target = nullptr;
    const bool sourceLocked =
        SUCCEEDED(container->MeshData.pMesh->LockVertexBuffer(D3DLOCK_READONLY, &source));
    const bool targetLocked = SUCCEEDED(container->m_skinnedMesh->LockVertexBuffer(0, &target));
    if (source && target) skin->UpdateSkinnedMesh(m_boneMatrices, nullptr, source, target);
    if (targetLocked) container->m_skinnedMesh->UnlockVertexBuffer();
    if (sourceLocked) container->MeshData.pMesh->UnlockVertexBuffer();
}

void CQNXModel::_updateFrameMatrices(CQNFrame* frame, const D3DXMATRIX* parent) {
    if (!frame) return;
    if (parent)
        D3DXMatrixMultiply(&frame->m_combinedMatrix, &frame->TransformationMatrix, parent);
    else
        frame->m_combinedMatrix = frame->TransformationMatrix;
    _updateFrameMatrices(static_cast<CQNFrame*>(frame->pFrameSibling), parent);
    _updateFrameMatrices(static_cast<CQNFrame*>(frame->pFrameFirstChild), &frame->m_combinedMatrix);
}

uint32_t CQNXModel::materialCount() const {
    uint32_t count = 1;
    for (CQNMeshContainer* container = m_firstMeshContainer; container;
         container = static_cast<CQNMeshContainer*>(container->pNextMeshContainer))
        count = container->NumMaterials > count ? container->NumMaterials : count;
    return count;
}

void CQNXModel::render(int32_t material) {
    IDirect3DDevice9* device = CDX_D3DWrapper::getInstance()->getDevice();
    if (!device) return;
    for (CQNMeshContainer* container = m_firstMeshContainer; container;
         container = static_cast<CQNMeshContainer*>(container->pNextMeshContainer)) {
        // A skinned container that was never prepared (not the first of its
        // frame) has no copy: its mesh is the pose it was loaded in.
        ID3DXMesh* mesh = container->pSkinInfo && container->m_skinnedMesh
                              ? container->m_skinnedMesh
                              : container->MeshData.pMesh;
        if (!mesh) continue;
        for (DWORD i = 0; i < container->NumMaterials; ++i) {
            if (material >= 0 && i != DWORD(material)) continue;
            device->SetMaterial(&container->m_materials[i]);
            device->SetTexture(0, container->m_textures[i]);
            mesh->DrawSubset(i);
        }
    }
}
