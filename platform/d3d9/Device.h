// IDirect3DDevice9 over an OpenGL 3.3 core context.
//
// Setters record state in this object and set dirty bits; a draw applies what
// is dirty to GL (through GLState, which skips calls that change nothing) and
// then draws. Frames are drawn into an offscreen framebuffer of the back
// buffer's size and format; Present copies it to the window.
//
// The implementation is split by concern: DeviceState.cpp (setters, getters,
// defaults), DeviceResources.cpp (creation and binding of textures and
// buffers), DeviceDraw.cpp (applying state, drawing), DeviceFrame.cpp (clear,
// scenes, present, reset, back buffer), Device.cpp (life, the GL context and
// its framebuffer).
#ifndef ZV_D3D9_DEVICE_H
#define ZV_D3D9_DEVICE_H

#include <cstdint>
#include <vector>

#include <d3d9.h>

#include "BackBuffer.h"
#include "GLHeaders.h"
#include "GLState.h"
#include "ProgramCache.h"
#include "ShaderKey.h"

struct SDL_Window;

namespace zvd3d {

class Direct3D9;
class VertexBuffer;
class IndexBuffer;
class TextureObject;

class Device final : public IDirect3DDevice9 {
public:
    // Creates the device and its context on `window`; `d3d` gains a reference.
    static HRESULT create(Direct3D9* d3d, SDL_Window* window, const D3DPRESENT_PARAMETERS& params,
                          IDirect3DDevice9** out);

    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                  DWORD stencil) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow,
                    const RGNDATA* dirtyRegion) override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* params) override;
    HRESULT GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type,
                          IDirect3DSurface9** surface) override;

    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* sharedHandle) override;
    HRESULT CreateCubeTexture(UINT edgeLength, UINT levels, DWORD usage, D3DFORMAT format,
                              D3DPOOL pool, IDirect3DCubeTexture9** texture,
                              HANDLE* sharedHandle) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer9** buffer, HANDLE* sharedHandle) override;
    HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DIndexBuffer9** buffer, HANDLE* sharedHandle) override;

    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT9* viewport) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
    HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
    HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
    HRESULT SetLight(DWORD index, const D3DLIGHT9* light) override;
    HRESULT GetLight(DWORD index, D3DLIGHT9* light) override;
    HRESULT LightEnable(DWORD index, BOOL enable) override;
    HRESULT GetLightEnable(DWORD index, BOOL* enable) override;
    HRESULT SetMaterial(const D3DMATERIAL9* material) override;
    HRESULT GetMaterial(D3DMATERIAL9* material) override;
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
    HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override;
    HRESULT SetFVF(DWORD fvf) override;
    HRESULT GetFVF(DWORD* fvf) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                            UINT stride) override;
    HRESULT GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset,
                            UINT* stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer9* buffer) override;
    HRESULT GetIndices(IDirect3DIndexBuffer9** buffer) override;

    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex,
                                 UINT numVertices, UINT startIndex, UINT primitiveCount) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices,
                            UINT stride) override;

    // --- For the resources and the test hooks -------------------------------
    // Makes this device's context current; false when it has none.
    bool makeCurrent();
    GLState& glState() { return m_gl; }
    // Changes whenever the context is replaced: GL names from another
    // generation are gone.
    unsigned glGeneration() const { return m_generation; }
    bool supportsS3TC() const { return m_s3tc; }
    const char* renderer() const { return m_renderer; }
    // The back buffer's pixels, top row first, in its format.
    HRESULT lockBackBuffer(D3DLOCKED_RECT* locked, const RECT* rect);
    void describeBackBuffer(D3DSURFACE_DESC* desc) const;

    // The most recently created live device (for zvtest hooks).
    static Device* current();

private:
    Device(Direct3D9* d3d, SDL_Window* window, const D3DPRESENT_PARAMETERS& params);
    ~Device() override;

    // Device.cpp
    HRESULT createContext();
    void destroyContext();
    HRESULT createFrame();
    void applyWindowMode();
    bool contextWasReset();

    // DeviceState.cpp
    void setDefaultState();
    void unbindAll();

    // DeviceDraw.cpp
    HRESULT beginDraw();
    void applyProgram();
    void updateUniformData();
    void uploadUniforms();
    void applyFixedState();
    bool applyTextures();
    void applyVertexLayout(GLuint buffer, UINT offset, UINT stride);
    HRESULT checkVertexRange(UINT first, uint64_t count, UINT stride, UINT offset,
                             UINT bufferSize) const;
    void computeLights();

    // DeviceCapture.cpp: the frame capture of zvtest::captureFrame.
    void captureClear(GLbitfield bits, D3DCOLOR color, float z, bool scissored, const GLint* box);
    void captureDraw(GLenum mode, const uint8_t* vertices, UINT stride, const uint8_t* indices,
                     UINT indexSize, UINT first, UINT count, INT baseVertex);
    void capturePresent(int drawableWidth, int drawableHeight, const GLint* dest, GLenum filter,
                        bool clearsBars);

    enum Dirty : uint32_t {
        DIRTY_PROGRAM = 1u << 0,
        DIRTY_MATRICES = 1u << 1,  // world or view: world-view and normal matrix
        DIRTY_PROJECTION = 1u << 2,
        DIRTY_MATERIAL = 1u << 3,
        DIRTY_AMBIENT = 1u << 4,
        DIRTY_LIGHTS = 1u << 5,    // lights or view: light directions in view space
        DIRTY_VIEWPORT = 1u << 6,
        DIRTY_ALPHAREF = 1u << 7,
        DIRTY_DEPTH = 1u << 8,
        DIRTY_BLEND = 1u << 9,
        DIRTY_CULL = 1u << 10,
        DIRTY_TEXTURES = 1u << 11,
        DIRTY_VERTEX = 1u << 12,
        DIRTY_UNIFORMS = DIRTY_MATRICES | DIRTY_PROJECTION | DIRTY_MATERIAL | DIRTY_AMBIENT |
                         DIRTY_LIGHTS | DIRTY_VIEWPORT | DIRTY_ALPHAREF,
        DIRTY_ALL = 0xFFFFFFFFu,
    };

    // Render states this device implements, in one table (DeviceState.cpp).
    static const unsigned kRenderStates = 14;
    struct StageState {
        DWORD colorOp, colorArg1, colorArg2, alphaOp, alphaArg1, alphaArg2, texCoordIndex;
    };
    struct SamplerState {
        DWORD addressU, addressV, magFilter, minFilter, mipFilter;
    };
    struct LightSlot {
        D3DLIGHT9 light;
        bool set;
        bool enabled;
    };

    DWORD renderState(D3DRENDERSTATETYPE state) const;

    ULONG m_refs = 1;
    Direct3D9* m_d3d;
    SDL_Window* m_window;
    D3DPRESENT_PARAMETERS m_params;
    BackBuffer m_backBuffer;

    // GL context and the per-context objects.
    void* m_context = nullptr;  // SDL_GLContext
    unsigned m_generation = 0;
    bool m_robust = false;
    typedef GLenum (*ResetStatusFn)();
    ResetStatusFn m_resetStatus = nullptr;
    bool m_s3tc = false;
    char m_renderer[128] = "";
    GLState m_gl;
    ProgramCache m_programs;
    GLuint m_fbo = 0, m_colorBuffer = 0, m_depthBuffer = 0;
    GLuint m_vao = 0, m_streamBuffer = 0;
    GLuint m_samplers[kStages] = {};
    UINT m_streamBufferSize = 0, m_streamBufferUsed = 0;

    // Frame.
    bool m_inScene = false;
    bool m_lost = false;
    std::vector<uint8_t> m_readback;

    // Recorded state.
    uint32_t m_dirty = DIRTY_ALL;
    DWORD m_renderStates[kRenderStates];
    StageState m_stages[kStages];
    SamplerState m_samplerStates[kStages];
    uint32_t m_samplerDirty = 0;  // one bit per sampler
    D3DMATRIX m_world, m_view, m_projection;
    D3DVIEWPORT9 m_viewport;
    D3DMATERIAL9 m_material;
    LightSlot m_lights[kMaxLights];
    IDirect3DBaseTexture9* m_textures[kStages] = {};
    TextureObject* m_textureObjects[kStages] = {};
    DWORD m_fvf = 0;
    VertexBuffer* m_stream = nullptr;
    UINT m_streamOffset = 0, m_streamStride = 0;
    IndexBuffer* m_indices = nullptr;

    // What was applied.
    ShaderKey m_key{};
    bool m_alphaOne = false;  // every fragment of the current program has alpha 1
    Program* m_program = nullptr;
    FixedFunctionUniforms m_uniforms{};
    uint32_t m_groupVersion[kUniformGroups] = {};
    uint32_t m_versionCounter = 0;
    struct Layout {
        GLuint buffer;
        UINT offset, stride;
        DWORD fvf;
        unsigned generation;
        unsigned deletions;  // GLState::bufferDeletions() when set up
        uint32_t enabled;    // attribute arrays enabled, one bit per location
    } m_layout{};
};

}  // namespace zvd3d

#endif
