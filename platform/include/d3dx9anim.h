// The D3DX 9 frame-hierarchy and animation subset: loading a .x file into
// frames and mesh containers through an ID3DXAllocateHierarchy, finding and
// destroying frames, and the keyframed animation controller the loader makes.
// Names, types and constant values are those of the DirectX SDK; only the
// methods listed are implemented (platform/d3dx9/xfile).
#ifndef ZV_PLATFORM_D3DX9ANIM_H
#define ZV_PLATFORM_D3DX9ANIM_H

#include <d3dx9mesh.h>

// wtypes.h's double, used by the animation interfaces.
#ifndef ZV_DOUBLE_DEFINED
#define ZV_DOUBLE_DEFINED
typedef double DOUBLE;
#endif

// COM declaration helpers, for allocators written in the SDK's style.
#ifndef STDMETHOD
#define STDMETHOD(method) virtual HRESULT method
#define STDMETHOD_(type, method) virtual type method
#define STDMETHODIMP HRESULT
#define STDMETHODIMP_(type) type
#define PURE = 0
#define THIS_
#define THIS void
#endif

typedef enum _D3DXMESHDATATYPE {
    D3DXMESHTYPE_MESH = 0x000,
    D3DXMESHTYPE_PMESH = 0x001,
    D3DXMESHTYPE_PATCHMESH = 0x002,
    D3DXMESHTYPE_FORCE_DWORD = 0x7fffffff
} D3DXMESHDATATYPE;

// The loader only makes D3DXMESHTYPE_MESH; progressive and patch meshes do
// not exist on this platform.
typedef struct _D3DXMESHDATA {
    D3DXMESHDATATYPE Type;
    union {
        LPD3DXMESH pMesh;
    };
} D3DXMESHDATA, *LPD3DXMESHDATA;

typedef struct _D3DXMESHCONTAINER {
    LPSTR Name;
    D3DXMESHDATA MeshData;
    LPD3DXMATERIAL pMaterials;
    LPD3DXEFFECTINSTANCE pEffects;
    DWORD NumMaterials;
    DWORD* pAdjacency;
    LPD3DXSKININFO pSkinInfo;
    struct _D3DXMESHCONTAINER* pNextMeshContainer;
} D3DXMESHCONTAINER, *LPD3DXMESHCONTAINER;

typedef struct _D3DXFRAME {
    LPSTR Name;
    D3DXMATRIX TransformationMatrix;
    LPD3DXMESHCONTAINER pMeshContainer;
    struct _D3DXFRAME* pFrameSibling;
    struct _D3DXFRAME* pFrameFirstChild;
} D3DXFRAME, *LPD3DXFRAME;

// The application's allocator: D3DX asks it for every frame and mesh
// container it builds and hands each back to it to be freed. Not reference
// counted.
class ID3DXAllocateHierarchy {
public:
    // Makes a frame named `Name` (null for the frames the loader adds itself;
    // "" for a file frame without a name). The loader then fills its
    // TransformationMatrix and links its containers, children and siblings.
    virtual HRESULT CreateFrame(LPCSTR Name, LPD3DXFRAME* ppNewFrame) = 0;
    // Makes a mesh container. Everything passed belongs to the loader and is
    // valid only during the call: copy what is kept, AddRef the mesh and the
    // skin info to keep them. pMaterials holds NumMaterials entries (null when
    // 0) with Ambient (0, 0, 0, 1) and pTextureFilename exactly as the file
    // gives it; pEffectInstances as many entries without effect files;
    // pAdjacency 3 entries per face; pSkinInfo null for a mesh without bones.
    virtual HRESULT CreateMeshContainer(LPCSTR Name, const D3DXMESHDATA* pMeshData,
                                        const D3DXMATERIAL* pMaterials,
                                        const D3DXEFFECTINSTANCE* pEffectInstances,
                                        DWORD NumMaterials, const DWORD* pAdjacency,
                                        LPD3DXSKININFO pSkinInfo,
                                        LPD3DXMESHCONTAINER* ppNewMeshContainer) = 0;
    virtual HRESULT DestroyFrame(LPD3DXFRAME pFrameToFree) = 0;
    virtual HRESULT DestroyMeshContainer(LPD3DXMESHCONTAINER pMeshContainerToFree) = 0;

protected:
    ~ID3DXAllocateHierarchy() = default;
};
typedef ID3DXAllocateHierarchy* LPD3DXALLOCATEHIERARCHY;

// User data loading is not available on this platform: the loader takes null.
class ID3DXLoadUserData;
typedef ID3DXLoadUserData* LPD3DXLOADUSERDATA;

// Loaded animation sets carry no callback keys, so a handler is never called.
class ID3DXAnimationCallbackHandler;
typedef ID3DXAnimationCallbackHandler* LPD3DXANIMATIONCALLBACKHANDLER;

typedef enum _D3DXPLAYBACK_TYPE {
    D3DXPLAY_LOOP = 0,
    D3DXPLAY_ONCE = 1,
    D3DXPLAY_PINGPONG = 2,
    D3DXPLAY_FORCE_DWORD = 0x7fffffff
} D3DXPLAYBACK_TYPE;

// An animation set: one animation per animated frame, named after the frame.
class ID3DXAnimationSet : public IUnknown {
public:
    virtual LPCSTR GetName() = 0;
    // Seconds: the last key's time over the ticks per second.
    virtual DOUBLE GetPeriod() = 0;
    // A track position mapped into the period (the sets loop).
    virtual DOUBLE GetPeriodicPosition(DOUBLE Position) = 0;
    virtual UINT GetNumAnimations() = 0;
    virtual HRESULT GetAnimationNameByIndex(UINT Index, LPCSTR* ppName) = 0;
    virtual HRESULT GetAnimationIndexByName(LPCSTR pName, UINT* pIndex) = 0;
};
typedef ID3DXAnimationSet* LPD3DXANIMATIONSET;

// The sets the loader makes: scale, rotation and translation keys (or whole
// matrices) per frame, in ticks.
class ID3DXKeyframedAnimationSet : public ID3DXAnimationSet {
public:
    virtual D3DXPLAYBACK_TYPE GetPlaybackType() = 0;  // D3DXPLAY_LOOP
    virtual DOUBLE GetSourceTicksPerSecond() = 0;
};
typedef ID3DXKeyframedAnimationSet* LPD3DXKEYFRAMEDANIMATIONSET;

// Plays animation sets on tracks and writes each animated frame's
// TransformationMatrix. The loader's controller has one set per AnimationSet
// of the file and one track; track 0 starts with set 0, enabled, at speed 1
// and position 0. As in D3DX, set 0 is the last AnimationSet in the file
// (sets are numbered from the end). Frames are found by name when the
// controller is made and must outlive it.
class ID3DXAnimationController : public IUnknown {
public:
    virtual UINT GetMaxNumAnimationOutputs() = 0;
    virtual UINT GetMaxNumAnimationSets() = 0;
    virtual UINT GetMaxNumTracks() = 0;
    virtual UINT GetNumAnimationSets() = 0;
    // The set with a reference the caller releases.
    virtual HRESULT GetAnimationSet(UINT Index, LPD3DXANIMATIONSET* ppAnimationSet) = 0;
    virtual HRESULT GetAnimationSetByName(LPCSTR szName, LPD3DXANIMATIONSET* ppAnimationSet) = 0;
    // Moves the global time and every enabled track by TimeDelta seconds
    // (times the track's speed), then poses the frames from the track's set:
    // keys are interpolated (rotations by slerp, scales and translations
    // linearly, matrix keys taken from the last key at or before the time),
    // and the frame's matrix becomes scale x rotation x translation. A frame
    // whose animation lacks scale, rotation or translation keys keeps that
    // part of its matrix as loaded.
    virtual HRESULT AdvanceTime(DOUBLE TimeDelta, LPD3DXANIMATIONCALLBACKHANDLER pCallbackHandler) = 0;
    virtual HRESULT ResetTime() = 0;
    virtual DOUBLE GetTime() = 0;
    // A set made by this platform's loader, or null to clear the track.
    virtual HRESULT SetTrackAnimationSet(UINT Track, LPD3DXANIMATIONSET pAnimSet) = 0;
    virtual HRESULT GetTrackAnimationSet(UINT Track, LPD3DXANIMATIONSET* ppAnimSet) = 0;
    virtual HRESULT SetTrackPosition(UINT Track, DOUBLE Position) = 0;
    virtual HRESULT SetTrackSpeed(UINT Track, FLOAT Speed) = 0;
    virtual HRESULT SetTrackEnable(UINT Track, BOOL Enable) = 0;
};
typedef ID3DXAnimationController* LPD3DXANIMATIONCONTROLLER;

// Loads the frame hierarchy of a .x file (text, binary or MSZIP-compressed;
// 32- or 64-bit floats). Frames come from Frame objects (a top-level Mesh gets
// a frame of its own; several top-level frames get an unnamed root); each
// Mesh becomes a mesh container of its frame. When the file has animation
// sets and ppAnimController is not null, *ppAnimController receives a
// controller; otherwise null.
// Backslashes in Filename are taken as '/'. On this platform pDevice may be
// null: the meshes then live in system memory only and cannot draw.
// Failures: D3DERR_INVALIDCALL (null filename, allocator or ppFrameHierarchy,
// a user-data loader), D3DXERR_INVALIDDATA (file missing or unreadable),
// D3DXFERR_BADFILETYPE / BADFILEVERSION / BADFILEFLOATSIZE (header),
// D3DXFERR_BADFILE (corrupt compressed data), D3DXFERR_PARSEERROR (syntax,
// truncation, nesting deeper than 64), D3DXFERR_BADDATAREFERENCE (unknown
// material reference), E_FAIL (counts or indices that do not fit, a file
// without frames or meshes) or the allocator's error. After a failure
// nothing is left allocated and both outputs are null.
HRESULT WINAPI D3DXLoadMeshHierarchyFromXA(LPCSTR Filename, DWORD MeshOptions,
                                           LPDIRECT3DDEVICE9 pDevice,
                                           LPD3DXALLOCATEHIERARCHY pAlloc,
                                           LPD3DXLOADUSERDATA pUserDataLoader,
                                           LPD3DXFRAME* ppFrameHierarchy,
                                           LPD3DXANIMATIONCONTROLLER* ppAnimController);
#define D3DXLoadMeshHierarchyFromX D3DXLoadMeshHierarchyFromXA
// The same on a whole .x file already in memory (SizeOfMemory bytes at
// Memory); D3DERR_INVALIDCALL also for null Memory or a size of 0.
HRESULT WINAPI D3DXLoadMeshHierarchyFromXInMemory(LPCVOID Memory, DWORD SizeOfMemory,
                                                  DWORD MeshOptions, LPDIRECT3DDEVICE9 pDevice,
                                                  LPD3DXALLOCATEHIERARCHY pAlloc,
                                                  LPD3DXLOADUSERDATA pUserDataLoader,
                                                  LPD3DXFRAME* ppFrameHierarchy,
                                                  LPD3DXANIMATIONCONTROLLER* ppAnimController);

// Hands every frame and mesh container of the tree (the frame, its siblings
// and all their children) back to the allocator.
HRESULT WINAPI D3DXFrameDestroy(LPD3DXFRAME pFrameRoot, LPD3DXALLOCATEHIERARCHY pAlloc);

// The first frame named Name (exact, case-sensitive) in the tree below and
// beside pFrameRoot, depth first; null when there is none.
LPD3DXFRAME WINAPI D3DXFrameFind(const D3DXFRAME* pFrameRoot, LPCSTR Name);

// A sphere around every mesh vertex of the tree, each placed by its frame's
// TransformationMatrix and those of the frames above it. Center (0, 0, 0)
// and radius 0 for a tree without vertices.
HRESULT WINAPI D3DXFrameCalculateBoundingSphere(const D3DXFRAME* pFrameRoot,
                                                LPD3DXVECTOR3 pObjectCenter,
                                                FLOAT* pObjectRadius);

#endif
