// The Direct3D 9 subset the engine calls, implemented over OpenGL 3.3 core by
// platform/d3d9. Names, signatures and values are the SDK's; interfaces are
// C++ classes with reference counting as in COM (every pointer handed out by
// a Create* or Get* call holds one reference that the caller must Release).
//
// Semantics kept from Direct3D 9: setters only record state, which holds
// until changed; draws use the state current at the call. Row-vector
// matrices. Pixel centres on integer coordinates. The fixed-function pipeline
// with directional lights, a material and three texture stages.
#ifndef ZV_PLATFORM_D3D9_H
#define ZV_PLATFORM_D3D9_H

#include <d3d9caps.h>
#include <d3d9types.h>
#include <windows.h>

#define D3D_SDK_VERSION 32
#define D3DADAPTER_DEFAULT 0

// CreateDevice behaviour flags. Both vertex-processing kinds run the same
// way on this platform (in the GL vertex shader).
#define D3DCREATE_SOFTWARE_VERTEXPROCESSING 0x00000020L
#define D3DCREATE_HARDWARE_VERTEXPROCESSING 0x00000040L

#ifndef ZV_IUNKNOWN_DEFINED
#define ZV_IUNKNOWN_DEFINED
// The COM base: reference counting only (no QueryInterface on this platform).
struct IUnknown {
    virtual ULONG AddRef() = 0;
    // Drops one reference and returns the count left; the object is freed at 0.
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;
#endif

struct _RGNDATA;
typedef struct _RGNDATA RGNDATA;

class IDirect3D9;
class IDirect3DDevice9;
class IDirect3DBaseTexture9;
class IDirect3DTexture9;
class IDirect3DCubeTexture9;
class IDirect3DSurface9;
class IDirect3DVertexBuffer9;
class IDirect3DIndexBuffer9;

typedef IDirect3D9* LPDIRECT3D9;
typedef IDirect3D9* PDIRECT3D9;
typedef IDirect3DDevice9* LPDIRECT3DDEVICE9;
typedef IDirect3DDevice9* PDIRECT3DDEVICE9;
typedef IDirect3DBaseTexture9* LPDIRECT3DBASETEXTURE9;
typedef IDirect3DTexture9* LPDIRECT3DTEXTURE9;
typedef IDirect3DTexture9* PDIRECT3DTEXTURE9;
typedef IDirect3DCubeTexture9* LPDIRECT3DCUBETEXTURE9;
typedef IDirect3DCubeTexture9* PDIRECT3DCUBETEXTURE9;
typedef IDirect3DSurface9* LPDIRECT3DSURFACE9;
typedef IDirect3DSurface9* PDIRECT3DSURFACE9;
typedef IDirect3DVertexBuffer9* LPDIRECT3DVERTEXBUFFER9;
typedef IDirect3DVertexBuffer9* PDIRECT3DVERTEXBUFFER9;
typedef IDirect3DIndexBuffer9* LPDIRECT3DINDEXBUFFER9;
typedef IDirect3DIndexBuffer9* PDIRECT3DINDEXBUFFER9;

// The Direct3D object: one adapter (the GL driver), one device type (HAL).
class IDirect3D9 : public IUnknown {
public:
    // Reports D3DDEVCAPS_HWTRANSFORMANDLIGHT. Adapter must be 0 and the type HAL.
    virtual HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) = 0;
    // Creates the device on params->hDeviceWindow (or the focus window when
    // that is null), a window made by CreateWindowExA: an OpenGL 3.3 core
    // context draws into an offscreen frame of the back-buffer size and format
    // (X8R8G8B8 or R5G6B5; depth D16 or D24X8 when EnableAutoDepthStencil).
    // Windowed presents 1:1 without waiting for the retrace; full screen
    // (Windowed FALSE) covers the desktop, scaled with the aspect kept, and
    // waits for one retrace per Present. BackBufferWidth/Height 0 take the
    // window's client size, as on Windows. Fails with D3DERR_INVALIDCALL for
    // parameters outside that, D3DERR_NOTAVAILABLE when no GL 3.3 context
    // can be had.
    virtual HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD flags,
                                 D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) = 0;
};

// Creates the Direct3D object; null when sdkVersion is not D3D_SDK_VERSION or
// the video subsystem cannot start.
IDirect3D9* WINAPI Direct3DCreate9(UINT sdkVersion);

class IDirect3DResource9 : public IUnknown {
public:
    // The owning device, with one reference added.
    virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
    virtual D3DRESOURCETYPE GetType() = 0;
};

class IDirect3DBaseTexture9 : public IDirect3DResource9 {
public:
    virtual DWORD GetLevelCount() = 0;
};

// A lockable 2-D image: one level (of one face) of a texture, or the back
// buffer. A texture's surfaces share the texture's reference count.
class IDirect3DSurface9 : public IDirect3DResource9 {
public:
    virtual HRESULT GetDesc(D3DSURFACE_DESC* desc) = 0;
    // Texture surfaces: as the texture's LockRect. The back buffer can only be
    // locked D3DLOCK_READONLY: it returns the frame last drawn (the last
    // presented one until the next Clear), top row first, in the back-buffer
    // format (X8R8G8B8 with X = 0xFF, or R5G6B5).
    virtual HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) = 0;
    virtual HRESULT UnlockRect() = 0;
};

// A 2-D texture. Levels are stored top row first (v = 0 is the first row);
// a lock returns system memory that is uploaded when the texture is next
// drawn with. For DXT formats a row of the lock is a row of 4x4 blocks.
// X8R8G8B8 textures sample alpha as 1.
class IDirect3DTexture9 : public IDirect3DBaseTexture9 {
public:
    virtual HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) = 0;
    virtual HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) = 0;
    // rect null locks the whole level; flags may hold D3DLOCK_READONLY (no
    // upload follows) and D3DLOCK_DISCARD. A level may be locked once at a time.
    virtual HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect,
                             DWORD flags) = 0;
    virtual HRESULT UnlockRect(UINT level) = 0;
};

// A cube texture: six faces in the order of D3DCUBEMAP_FACES, each with its
// own mip chain, sampled with the same direction vectors as in Direct3D.
class IDirect3DCubeTexture9 : public IDirect3DBaseTexture9 {
public:
    virtual HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) = 0;
    virtual HRESULT GetCubeMapSurface(D3DCUBEMAP_FACES face, UINT level,
                                      IDirect3DSurface9** surface) = 0;
    virtual HRESULT LockRect(D3DCUBEMAP_FACES face, UINT level, D3DLOCKED_RECT* locked,
                             const RECT* rect, DWORD flags) = 0;
    virtual HRESULT UnlockRect(D3DCUBEMAP_FACES face, UINT level) = 0;
};

// Vertex and index buffers keep a system-memory copy; a lock returns it and
// the locked range is uploaded at the next draw that uses the buffer. Size 0
// (with offset 0) locks the whole buffer. Locks may nest, as in Direct3D.
class IDirect3DVertexBuffer9 : public IDirect3DResource9 {
public:
    virtual HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) = 0;
    virtual HRESULT Unlock() = 0;
    virtual HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) = 0;
};

class IDirect3DIndexBuffer9 : public IDirect3DResource9 {
public:
    virtual HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) = 0;
    virtual HRESULT Unlock() = 0;
    virtual HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc) = 0;
};

// The device. Every call runs on the thread that created it. Unsupported
// values (a state, operation or format this layer does not implement) are
// refused with D3DERR_INVALIDCALL and reported once on stderr.
class IDirect3DDevice9 : public IUnknown {
public:
    // --- Frames ------------------------------------------------------------
    // Clear with no rectangles clears the whole viewport; flags
    // D3DCLEAR_TARGET and D3DCLEAR_ZBUFFER.
    virtual HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                          DWORD stencil) = 0;
    virtual HRESULT BeginScene() = 0;
    virtual HRESULT EndScene() = 0;
    // Copies the frame to the window. Rectangles, override window and dirty
    // region must be null. Returns D3DERR_DEVICELOST once the GL context has
    // been reset (and from then on until a successful Reset).
    virtual HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow,
                            const RGNDATA* dirtyRegion) = 0;
    // Rebuilds the GL side with the given parameters and puts every state
    // back to Direct3D's defaults (transforms identity, lights off, no
    // textures, streams or indices bound, viewport = whole back buffer).
    // Textures and buffers survive with their contents.
    virtual HRESULT Reset(D3DPRESENT_PARAMETERS* params) = 0;
    virtual HRESULT GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type,
                                  IDirect3DSurface9** surface) = 0;

    // --- Resources ---------------------------------------------------------
    // Levels 0 makes the full mip chain down to 1x1. Pools DEFAULT and
    // MANAGED; formats A8R8G8B8, X8R8G8B8, R5G6B5, DXT1, DXT3, DXT5.
    virtual HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                  D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture,
                                  HANDLE* sharedHandle) = 0;
    virtual HRESULT CreateCubeTexture(UINT edgeLength, UINT levels, DWORD usage, D3DFORMAT format,
                                      D3DPOOL pool, IDirect3DCubeTexture9** texture,
                                      HANDLE* sharedHandle) = 0;
    virtual HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                       IDirect3DVertexBuffer9** buffer, HANDLE* sharedHandle) = 0;
    // Formats D3DFMT_INDEX16 and D3DFMT_INDEX32.
    virtual HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                      IDirect3DIndexBuffer9** buffer, HANDLE* sharedHandle) = 0;

    // --- State (recorded; applied at the next draw) ------------------------
    virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) = 0;
    virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) = 0;
    virtual HRESULT SetViewport(const D3DVIEWPORT9* viewport) = 0;
    virtual HRESULT GetViewport(D3DVIEWPORT9* viewport) = 0;
    virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
    virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) = 0;
    // Stages 0 to 2.
    virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                         DWORD value) = 0;
    virtual HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                         DWORD* value) = 0;
    // Samplers 0 to 2.
    virtual HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) = 0;
    virtual HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) = 0;
    // Directional lights only, indices 0 to 7.
    virtual HRESULT SetLight(DWORD index, const D3DLIGHT9* light) = 0;
    virtual HRESULT GetLight(DWORD index, D3DLIGHT9* light) = 0;
    virtual HRESULT LightEnable(DWORD index, BOOL enable) = 0;
    virtual HRESULT GetLightEnable(DWORD index, BOOL* enable) = 0;
    virtual HRESULT SetMaterial(const D3DMATERIAL9* material) = 0;
    virtual HRESULT GetMaterial(D3DMATERIAL9* material) = 0;
    // A 2-D or cube texture, or null, on stages 0 to 2. The device holds a
    // reference while the texture is bound.
    virtual HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) = 0;
    virtual HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) = 0;
    // XYZ or XYZRHW, optional NORMAL and DIFFUSE, 0 to 8 two-float
    // coordinate sets.
    virtual HRESULT SetFVF(DWORD fvf) = 0;
    virtual HRESULT GetFVF(DWORD* fvf) = 0;
    // Stream 0 only. The device holds a reference while the buffer is bound.
    virtual HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                    UINT stride) = 0;
    virtual HRESULT GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset,
                                    UINT* stride) = 0;
    virtual HRESULT SetIndices(IDirect3DIndexBuffer9* buffer) = 0;
    virtual HRESULT GetIndices(IDirect3DIndexBuffer9** buffer) = 0;

    // --- Drawing -----------------------------------------------------------
    // Triangle list, strip and fan (also point list, line list and strip)
    // with the current FVF from stream 0.
    virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex,
                                  UINT primitiveCount) = 0;
    virtual HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex,
                                         UINT minVertexIndex, UINT numVertices, UINT startIndex,
                                         UINT primitiveCount) = 0;
    // Vertices from user memory; like Direct3D, this unbinds stream 0.
    virtual HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount,
                                    const void* vertices, UINT stride) = 0;
};

#endif
