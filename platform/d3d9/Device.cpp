// The device's life: creation, reference count, destruction, and the GL
// context with the objects that belong to it (framebuffer, vertex array,
// stream buffer, samplers).
#include "Device.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Direct3D9.h"
#include "GLProfile.h"
#include "Report.h"

namespace zvd3d {

namespace {
Device* s_current = nullptr;
}  // namespace

Device* Device::current() { return s_current; }

HRESULT Device::create(Direct3D9* d3d, SDL_Window* window, const D3DPRESENT_PARAMETERS& params,
                       IDirect3DDevice9** out) {
    Device* device = new Device(d3d, window, params);
    HRESULT hr = device->createContext();
    if (FAILED(hr)) {
        device->Release();
        return hr;
    }
    device->applyWindowMode();
    s_current = device;
    *out = device;
    return D3D_OK;
}

Device::Device(Direct3D9* d3d, SDL_Window* window, const D3DPRESENT_PARAMETERS& params)
    : m_d3d(d3d), m_window(window), m_params(params), m_backBuffer(this) {
    m_d3d->AddRef();
    setDefaultState();
}

Device::~Device() {
    makeCurrent();
    // Dropping the bindings may free textures and buffers, which delete their
    // GL objects while the context still exists.
    unbindAll();
    if (!m_params.Windowed && m_window) SDL_SetWindowFullscreen(m_window, 0);
    destroyContext();
    if (s_current == this) s_current = nullptr;
    m_d3d->Release();
}

ULONG Device::AddRef() { return ++m_refs; }

ULONG Device::Release() {
    if (m_refs == 0) return 0;
    ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

bool Device::makeCurrent() {
    if (!m_context) return false;
    if (SDL_GL_GetCurrentContext() == m_context) return true;
    return SDL_GL_MakeCurrent(m_window, m_context) == 0;
}

HRESULT Device::createContext() {
    // A robust context reports resets (the GL form of a lost device); not
    // every driver offers one, so fall back to a plain context.
    GLProfile::requestContext();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, SDL_GL_CONTEXT_ROBUST_ACCESS_FLAG);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_RESET_NOTIFICATION, SDL_GL_CONTEXT_RESET_LOSE_CONTEXT);
    SDL_GLContext context = SDL_GL_CreateContext(m_window);
    if (!context) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, 0);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_RESET_NOTIFICATION, SDL_GL_CONTEXT_RESET_NO_NOTIFICATION);
        context = SDL_GL_CreateContext(m_window);
    }
    if (!context) {
        reportFailure((std::string("cannot create an ") + GLProfile::contextName() + " context").c_str(),
                      SDL_GetError());
        return D3DERR_NOTAVAILABLE;
    }
    m_context = context;
    if (SDL_GL_MakeCurrent(m_window, context) != 0) {
        reportFailure("cannot make the OpenGL context current", SDL_GetError());
        destroyContext();
        return D3DERR_NOTAVAILABLE;
    }
    if (!GLProfile::versionSupported()) {
        reportFailure((std::string(GLProfile::contextName()) + " is not available").c_str(),
                      reinterpret_cast<const char*>(glGetString(GL_VERSION)));
        destroyContext();
        return D3DERR_NOTAVAILABLE;
    }
    ++m_generation;
    m_gl.invalidate();

    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    std::snprintf(m_renderer, sizeof m_renderer, "%s", renderer ? renderer : "");
    m_s3tc = false;
    GLint extensions = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &extensions);
    for (GLint i = 0; i < extensions; ++i) {
        const char* name = reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, GLuint(i)));
        if (name && std::strcmp(name, "GL_EXT_texture_compression_s3tc") == 0) m_s3tc = true;
    }
    m_resetStatus = reinterpret_cast<ResetStatusFn>(SDL_GL_GetProcAddress("glGetGraphicsResetStatus"));
    if (!m_resetStatus)
        m_resetStatus = reinterpret_cast<ResetStatusFn>(SDL_GL_GetProcAddress("glGetGraphicsResetStatusARB"));
    m_robust = GLProfile::reportsResets() && m_resetStatus;
    while (glGetError() != GL_NO_ERROR) {
        // The query above is an error on drivers without robustness.
    }

    HRESULT hr = createFrame();
    if (FAILED(hr)) destroyContext();
    return hr;
}

HRESULT Device::createFrame() {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    GLProfile::prepareContext();

    glGenVertexArrays(1, &m_vao);
    glBindVertexArray(m_vao);
    glGenBuffers(1, &m_streamBuffer);
    m_streamBufferSize = m_streamBufferUsed = 0;
    glGenSamplers(kStages, m_samplers);
    for (unsigned i = 0; i < kStages; ++i) m_gl.bindSampler(i, m_samplers[i]);

    bool x8 = m_params.BackBufferFormat == D3DFMT_X8R8G8B8;
    GLsizei w = static_cast<GLsizei>(m_params.BackBufferWidth);
    GLsizei h = static_cast<GLsizei>(m_params.BackBufferHeight);
    glGenFramebuffers(1, &m_fbo);
    m_gl.bindDrawFramebuffer(m_fbo);
    m_gl.bindReadFramebuffer(m_fbo);
    glGenRenderbuffers(1, &m_colorBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, m_colorBuffer);
    // Neither format stores alpha: DESTALPHA reads 1, as on Direct3D's X8
    // and 16-bit targets, and every write is a whole pixel (a masked alpha
    // channel would make each write read the pixel first).
    glRenderbufferStorage(GL_RENDERBUFFER, x8 ? GL_RGB8 : GL_RGB565, w, h);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_colorBuffer);
    if (m_params.EnableAutoDepthStencil) {
        glGenRenderbuffers(1, &m_depthBuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, m_depthBuffer);
        GLenum depth = m_params.AutoDepthStencilFormat == D3DFMT_D16 ? GL_DEPTH_COMPONENT16
                                                                    : GL_DEPTH_COMPONENT24;
        glRenderbufferStorage(GL_RENDERBUFFER, depth, w, h);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, m_depthBuffer);
    }
    GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        char detail[64];
        std::snprintf(detail, sizeof detail, "status 0x%x", status);
        reportFailure("the back-buffer framebuffer is incomplete", detail);
        return D3DERR_NOTAVAILABLE;
    }
    // Start from black.
    m_gl.colorMask(true, true, true, true);
    m_gl.depthMask(true);
    m_gl.scissorTest(false);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    GLProfile::clearDepth(1.0f);
    glClear(GL_COLOR_BUFFER_BIT | (m_depthBuffer ? GL_DEPTH_BUFFER_BIT : 0));
    return D3D_OK;
}

void Device::applyWindowMode() {
    if (!m_window) return;
    // Full screen covers the desktop at its own mode; Present scales the frame.
    // The window is first made a borderless desktop-sized window itself: a
    // window manager then only confirms the full-screen state, and without
    // one (a bare X server) the request alone would change nothing on screen
    // while SDL reports the desktop size.
    if (!m_params.Windowed) {
        SDL_Rect desktop;
        if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(m_window), &desktop) == 0) {
            SDL_SetWindowBordered(m_window, SDL_FALSE);
            SDL_SetWindowPosition(m_window, desktop.x, desktop.y);
            SDL_SetWindowSize(m_window, desktop.w, desktop.h);
        }
        SDL_SetWindowFullscreen(m_window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else if (SDL_GetWindowFlags(m_window) & SDL_WINDOW_FULLSCREEN) {
        SDL_SetWindowFullscreen(m_window, 0);
        SDL_SetWindowBordered(m_window, SDL_TRUE);
        SDL_SetWindowSize(m_window, int(m_params.BackBufferWidth), int(m_params.BackBufferHeight));
        SDL_SetWindowPosition(m_window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    if (makeCurrent())
        SDL_GL_SetSwapInterval(m_params.PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1);
}

bool Device::contextWasReset() {
    return m_robust && makeCurrent() && m_resetStatus() != GL_NO_ERROR;
}

void Device::destroyContext() {
    if (!m_context) return;
    // Deleting the context frees every GL object in it; the textures and
    // buffers notice the new generation and rebuild theirs from memory.
    m_programs.clear(m_gl, false);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(m_context));
    m_context = nullptr;
    m_fbo = m_colorBuffer = m_depthBuffer = m_vao = m_streamBuffer = 0;
    for (GLuint& s : m_samplers) s = 0;
    m_program = nullptr;
    m_gl.invalidate();
}

}  // namespace zvd3d
