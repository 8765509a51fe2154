// An ID3DXAllocateHierarchy for the tests: plain frames and containers that
// keep copies of what the loader passes, a log of the calls, and a count of
// what is still alive.
#ifndef ZV_TESTS_TESTALLOCATOR_H
#define ZV_TESTS_TESTALLOCATOR_H

#include <d3dx9.h>

#include <string>
#include <vector>

namespace xtest {

struct TestContainer : D3DXMESHCONTAINER {
    std::vector<std::string> textures;  // "" where pTextureFilename was null
};

class TestAllocator : public ID3DXAllocateHierarchy {
public:
    HRESULT CreateFrame(LPCSTR Name, LPD3DXFRAME* ppNewFrame) override;
    HRESULT CreateMeshContainer(LPCSTR Name, const D3DXMESHDATA* pMeshData, const D3DXMATERIAL* pMaterials,
                                const D3DXEFFECTINSTANCE* pEffectInstances, DWORD NumMaterials,
                                const DWORD* pAdjacency, LPD3DXSKININFO pSkinInfo,
                                LPD3DXMESHCONTAINER* ppNewMeshContainer) override;
    HRESULT DestroyFrame(LPD3DXFRAME pFrameToFree) override;
    HRESULT DestroyMeshContainer(LPD3DXMESHCONTAINER pMeshContainerToFree) override;

    std::vector<std::string> log;  // "frame:<name>" ("<null>" for none), "mesh:<name>"
    int liveFrames = 0;
    int liveContainers = 0;
    int failContainerAt = -1;  // CreateMeshContainer number (from 0) that fails
};

}  // namespace xtest

#endif
