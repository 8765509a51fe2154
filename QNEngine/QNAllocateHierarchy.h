// The engine's allocator for D3DXLoadMeshHierarchyFromX and D3DXFrameDestroy:
// it makes CQNFrame frames and CQNMeshContainer containers, loads each
// material's texture and prepares skins. Holds nothing; make one wherever a
// hierarchy is loaded or freed (a stack instance will do).
#ifndef QN_ALLOCATE_HIERARCHY_H
#define QN_ALLOCATE_HIERARCHY_H

#include <d3dx9.h>

class CQNAllocateHierarchy : public ID3DXAllocateHierarchy {
public:
    // A CQNFrame with a copy of the name (null stays null). S_OK.
    HRESULT CreateFrame(LPCSTR Name, LPD3DXFRAME* ppNewFrame) override;
    // A CQNMeshContainer holding a copy of the mesh in the engine's vertex
    // format (position, normal, two texture-coordinate sets), a copy of the
    // adjacency, one texture and one material per given material, and a
    // reference to the skin info with a copy of its bone offsets. Materials
    // get diffuse alpha 0.25, the weight of the environment map in the
    // engine's stage-1 blend, and ambient equal to diffuse. A texture that
    // cannot be loaded leaves its subset untextured, unreported; a loaded
    // one's file name becomes the texture manager's m_lastMeshTextureName.
    // S_OK.
    HRESULT CreateMeshContainer(LPCSTR Name, const D3DXMESHDATA* pMeshData,
                                const D3DXMATERIAL* pMaterials,
                                const D3DXEFFECTINSTANCE* pEffectInstances, DWORD NumMaterials,
                                const DWORD* pAdjacency, LPD3DXSKININFO pSkinInfo,
                                LPD3DXMESHCONTAINER* ppNewMeshContainer) override;
    // Frees a frame made by CreateFrame. S_OK.
    HRESULT DestroyFrame(LPD3DXFRAME pFrameToFree) override;
    // Frees a container made by CreateMeshContainer and releases what it
    // holds. S_OK.
    HRESULT DestroyMeshContainer(LPD3DXMESHCONTAINER pMeshContainerToFree) override;
};

#endif
