// The D3DX 9 mesh subset: ID3DXMesh and ID3DXSkinInfo as the .x loader
// (d3dx9anim.h) makes them, with materials and attribute ranges. Names,
// types and constant values are those of the DirectX SDK; only the methods
// listed are implemented (platform/d3dx9/xfile).
//
// On this platform a mesh keeps its vertices, indices and attributes in
// system memory; DrawSubset copies them into device buffers when they have
// changed since the last draw. The vertex format is an FVF of XYZ with
// optional NORMAL, DIFFUSE and TEX0..TEX8 (two floats per set), laid out in
// that order.
#ifndef ZV_PLATFORM_D3DX9MESH_H
#define ZV_PLATFORM_D3DX9MESH_H

#include <d3d9.h>
#include <d3dx9math.h>

// D3DX's own error codes: MAKE_HRESULT(1, 0x876, 2900 + n).
#ifndef D3DXERR_INVALIDDATA
#define D3DXERR_INVALIDDATA ((HRESULT)0x88760B59L)
#endif

// .x file errors, as d3dx9xof.h defines them: MAKE_HRESULT(1, 0x876, 900 + n).
#define D3DXFERR_BADOBJECT ((HRESULT)0x88760384L)
#define D3DXFERR_BADVALUE ((HRESULT)0x88760385L)
#define D3DXFERR_BADTYPE ((HRESULT)0x88760386L)
#define D3DXFERR_NOTFOUND ((HRESULT)0x88760387L)
#define D3DXFERR_NOTDONEYET ((HRESULT)0x88760388L)
#define D3DXFERR_FILENOTFOUND ((HRESULT)0x88760389L)
#define D3DXFERR_RESOURCENOTFOUND ((HRESULT)0x8876038AL)
#define D3DXFERR_BADRESOURCE ((HRESULT)0x8876038BL)
#define D3DXFERR_BADFILETYPE ((HRESULT)0x8876038CL)
#define D3DXFERR_BADFILEVERSION ((HRESULT)0x8876038DL)
#define D3DXFERR_BADFILEFLOATSIZE ((HRESULT)0x8876038EL)
#define D3DXFERR_BADFILE ((HRESULT)0x8876038FL)
#define D3DXFERR_PARSEERROR ((HRESULT)0x88760390L)
#define D3DXFERR_BADARRAYSIZE ((HRESULT)0x88760391L)
#define D3DXFERR_BADDATAREFERENCE ((HRESULT)0x88760392L)
#define D3DXFERR_NOMOREOBJECTS ((HRESULT)0x88760393L)
#define D3DXFERR_NOMOREDATA ((HRESULT)0x88760394L)
#define D3DXFERR_BADCACHEFILE ((HRESULT)0x88760395L)

// Mesh creation options. Only D3DXMESH_32BIT changes anything here (32-bit
// indices; a mesh of more than 65535 vertices gets them anyway); the pool
// flags are recorded and reported by GetOptions.
enum _D3DXMESH {
    D3DXMESH_32BIT = 0x001,
    D3DXMESH_DONOTCLIP = 0x002,
    D3DXMESH_POINTS = 0x004,
    D3DXMESH_RTPATCHES = 0x008,
    D3DXMESH_NPATCHES = 0x4000,
    D3DXMESH_VB_SYSTEMMEM = 0x010,
    D3DXMESH_VB_MANAGED = 0x020,
    D3DXMESH_VB_WRITEONLY = 0x040,
    D3DXMESH_VB_DYNAMIC = 0x080,
    D3DXMESH_VB_SOFTWAREPROCESSING = 0x8000,
    D3DXMESH_IB_SYSTEMMEM = 0x100,
    D3DXMESH_IB_MANAGED = 0x200,
    D3DXMESH_IB_WRITEONLY = 0x400,
    D3DXMESH_IB_DYNAMIC = 0x800,
    D3DXMESH_IB_SOFTWAREPROCESSING = 0x10000,
    D3DXMESH_VB_SHARE = 0x1000,
    D3DXMESH_USEHWONLY = 0x2000,
    D3DXMESH_SYSTEMMEM = 0x110,
    D3DXMESH_MANAGED = 0x220,
    D3DXMESH_WRITEONLY = 0x440,
    D3DXMESH_DYNAMIC = 0x880,
    D3DXMESH_SOFTWAREPROCESSING = 0x18000,
};

// The faces FaceStart .. FaceStart + FaceCount - 1 all carry AttribId and
// use only the vertices VertexStart .. VertexStart + VertexCount - 1.
typedef struct _D3DXATTRIBUTERANGE {
    DWORD AttribId;
    DWORD FaceStart;
    DWORD FaceCount;
    DWORD VertexStart;
    DWORD VertexCount;
} D3DXATTRIBUTERANGE;
typedef D3DXATTRIBUTERANGE* LPD3DXATTRIBUTERANGE;

typedef struct _D3DXMATERIAL {
    D3DMATERIAL9 MatD3D;
    LPSTR pTextureFilename;  // null when the material names no texture
} D3DXMATERIAL;
typedef D3DXMATERIAL* LPD3DXMATERIAL;

typedef enum _D3DXEFFECTDEFAULTTYPE {
    D3DXEDT_STRING = 0x1,
    D3DXEDT_FLOATS = 0x2,
    D3DXEDT_DWORD = 0x3,
    D3DXEDT_FORCEDWORD = 0x7fffffff
} D3DXEFFECTDEFAULTTYPE;

typedef struct _D3DXEFFECTDEFAULT {
    LPSTR pParamName;
    D3DXEFFECTDEFAULTTYPE Type;
    DWORD NumBytes;
    LPVOID pValue;
} D3DXEFFECTDEFAULT, *LPD3DXEFFECTDEFAULT;

typedef struct _D3DXEFFECTINSTANCE {
    LPSTR pEffectFilename;
    DWORD NumDefaults;
    LPD3DXEFFECTDEFAULT pDefaults;
} D3DXEFFECTINSTANCE, *LPD3DXEFFECTINSTANCE;

class ID3DXMesh;
typedef ID3DXMesh* LPD3DXMESH;

class ID3DXBaseMesh : public IUnknown {
public:
    // Draws the faces whose attribute is attribId with the device's current
    // states, through its stream 0, index buffer and FVF (which stay set
    // afterwards, as in D3DX). An attribute no face carries draws nothing.
    // D3DERR_INVALIDCALL for a mesh made without a device.
    virtual HRESULT DrawSubset(DWORD attribId) = 0;
    virtual DWORD GetNumFaces() = 0;
    virtual DWORD GetNumVertices() = 0;
    virtual DWORD GetFVF() = 0;
    virtual DWORD GetNumBytesPerVertex() = 0;
    virtual DWORD GetOptions() = 0;
    // The device the mesh was made for, with a reference the caller releases.
    virtual HRESULT GetDevice(LPDIRECT3DDEVICE9* ppDevice) = 0;
    // A copy with another vertex format: components both formats have are
    // copied, new ones are zero. Indices, attributes and the attribute table
    // are copied. D3DERR_INVALIDCALL for a format this platform lacks.
    virtual HRESULT CloneMeshFVF(DWORD options, DWORD fvf, LPDIRECT3DDEVICE9 pDevice,
                                 LPD3DXMESH* ppCloneMesh) = 0;
    // The vertices, GetNumBytesPerVertex() apart. Locks nest; each Lock needs
    // its Unlock. A lock without D3DLOCK_READONLY marks the data changed.
    virtual HRESULT LockVertexBuffer(DWORD flags, LPVOID* ppData) = 0;
    virtual HRESULT UnlockVertexBuffer() = 0;
    // 3 indices per face: WORDs, or DWORDs when GetOptions() has D3DXMESH_32BIT.
    virtual HRESULT LockIndexBuffer(DWORD flags, LPVOID* ppData) = 0;
    virtual HRESULT UnlockIndexBuffer() = 0;
    // With pAttribTable null, only the entry count is returned.
    virtual HRESULT GetAttributeTable(D3DXATTRIBUTERANGE* pAttribTable,
                                      DWORD* pAttribTableSize) = 0;
};
typedef ID3DXBaseMesh* LPD3DXBASEMESH;

class ID3DXMesh : public ID3DXBaseMesh {
public:
    // One attribute per face.
    virtual HRESULT LockAttributeBuffer(DWORD flags, DWORD** ppData) = 0;
    virtual HRESULT UnlockAttributeBuffer() = 0;
};

// The bones of a skinned mesh: per bone its name (the frame that moves it),
// the vertices it moves with their weights, and its offset matrix (mesh space
// to bone space).
class ID3DXSkinInfo : public IUnknown {
public:
    virtual DWORD GetNumBones() = 0;
    // Null for a bone index out of range. The text belongs to the skin info.
    virtual LPCSTR GetBoneName(DWORD bone) = 0;
    virtual LPD3DXMATRIX GetBoneOffsetMatrix(DWORD bone) = 0;
    virtual DWORD GetNumBoneInfluences(DWORD bone) = 0;
    // Fills GetNumBoneInfluences(bone) vertex indices and weights.
    virtual HRESULT GetBoneInfluence(DWORD bone, DWORD* vertices, FLOAT* weights) = 0;
    // The most bones that move any one vertex.
    virtual HRESULT GetMaxVertexInfluences(DWORD* maxVertexInfluences) = 0;
    virtual DWORD GetFVF() = 0;
    // Software skinning: every vertex's position becomes the weighted sum of
    // its position transformed by each of its bones' matrices (pBoneTransforms,
    // one per bone) and its normal the weighted sum of the normal transformed
    // by the inverse transposes (pBoneInvTransposeTransforms, or computed from
    // pBoneTransforms when null), normalised. Other components are left as
    // they are in the destination; a vertex no bone moves gets zero.
    // On this platform the source and destination may be the locked vertex
    // buffers of meshes of any FVF (their own layouts are used); other memory
    // is read in the skin info's FVF.
    virtual HRESULT UpdateSkinnedMesh(const D3DXMATRIX* pBoneTransforms,
                                      const D3DXMATRIX* pBoneInvTransposeTransforms,
                                      LPCVOID pVerticesSrc, void* pVerticesDst) = 0;
};
typedef ID3DXSkinInfo* LPD3DXSKININFO;

#endif
