// Frames: clearing, scenes, presenting to the window, reset after a lost
// device, and reading the back buffer.
#include <SDL.h>

#include <algorithm>
#include <ctime>

#include "Counters.h"
#include "common/HostEvents.h"
#include "Device.h"
#include "GLProfile.h"
#include "PresentParams.h"
#include "Report.h"
#include "win32/Win32Window.h"

namespace zvd3d {

HRESULT Device::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                      DWORD stencil) {
    if (count && !rects) return D3DERR_INVALIDCALL;
    if (flags & ~DWORD(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER)) {
        reportUnhandled("clear flags", flags);
        return D3DERR_INVALIDCALL;
    }
    if ((flags & D3DCLEAR_ZBUFFER) && !m_depthBuffer) return D3DERR_INVALIDCALL;
    if (!flags) return D3D_OK;
    if (!makeCurrent()) return D3DERR_DEVICELOST;

    m_gl.bindDrawFramebuffer(m_fbo);
    GLbitfield bits = 0;
    if (flags & D3DCLEAR_TARGET) {
        glClearColor(((color >> 16) & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f,
                     (color & 0xFF) / 255.0f, (color >> 24) / 255.0f);
        bits |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        // Clearing depth needs depth writes on; the draw state is put back
        // at the next draw.
        m_gl.depthMask(true);
        m_dirty |= DIRTY_DEPTH;
        GLProfile::clearDepth(std::min(1.0f, std::max(0.0f, z)));
        bits |= GL_DEPTH_BUFFER_BIT;
    }
    (void)stencil;  // no stencil buffer on this device

    // Direct3D clears the viewport, or the given rectangles within it.
    // GL's y runs upwards from the bottom row.
    LONG vx0 = LONG(m_viewport.X), vy0 = LONG(m_viewport.Y);
    LONG vx1 = vx0 + LONG(m_viewport.Width), vy1 = vy0 + LONG(m_viewport.Height);
    LONG height = LONG(m_params.BackBufferHeight);
    auto clearArea = [&](LONG x0, LONG y0, LONG x1, LONG y1) {
        x0 = std::max(x0, vx0);
        y0 = std::max(y0, vy0);
        x1 = std::min(x1, vx1);
        y1 = std::min(y1, vy1);
        if (x0 >= x1 || y0 >= y1) return;
        bool whole = x0 == 0 && y0 == 0 && x1 == LONG(m_params.BackBufferWidth) && y1 == height;
        m_gl.scissorTest(!whole);
        if (!whole) m_gl.scissor(x0, height - y1, x1 - x0, y1 - y0);
        glClear(bits);
        if (g_capture) {
            GLint box[4] = {GLint(x0), GLint(height - y1), GLint(x1 - x0), GLint(y1 - y0)};
            captureClear(bits, color, std::min(1.0f, std::max(0.0f, z)), !whole, box);
        }
    };
    if (count == 0) {
        clearArea(vx0, vy0, vx1, vy1);
    } else {
        for (DWORD i = 0; i < count; ++i) clearArea(rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2);
    }
    m_gl.scissorTest(false);
    return D3D_OK;
}

HRESULT Device::BeginScene() {
    if (m_inScene) return D3DERR_INVALIDCALL;
    m_inScene = true;
    return D3D_OK;
}

HRESULT Device::EndScene() {
    if (!m_inScene) return D3DERR_INVALIDCALL;
    m_inScene = false;
    return D3D_OK;
}

HRESULT Device::Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow,
                        const RGNDATA* dirtyRegion) {
    if (sourceRect || destRect || destWindow || dirtyRegion) {
        reportUnhandled("Present with rectangles, window or region", 1);
        return D3DERR_INVALIDCALL;
    }
    if (m_inScene) return D3DERR_INVALIDCALL;
    // Once lost, the device stays lost until Reset succeeds. An injected
    // failure counts as one Present whether or not the device was lost already.
    bool injected = takePresentFailure();
    if (!m_lost && (injected || contextWasReset())) m_lost = true;
    if (m_lost) return D3DERR_DEVICELOST;
    if (!makeCurrent()) return D3DERR_DEVICELOST;
    timespec cpuStart;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuStart);

    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(m_window, &dw, &dh);
    GLint w = GLint(m_params.BackBufferWidth), h = GLint(m_params.BackBufferHeight);
    GLint x0, y0, x1, y1;
    GLenum filter = GL_NEAREST;
    if (m_params.Windowed) {
        // 1:1 at the top-left corner of the client area.
        x0 = 0;
        y0 = dh - h;
        x1 = w;
        y1 = dh;
    } else {
        // Scaled to the screen with the aspect kept, centred, black bars.
        double scale = std::min(double(dw) / w, double(dh) / h);
        GLint sw = GLint(w * scale + 0.5), sh = GLint(h * scale + 0.5);
        x0 = (dw - sw) / 2;
        y0 = (dh - sh) / 2;
        x1 = x0 + sw;
        y1 = y0 + sh;
        if (sw != w || sh != h) filter = GL_LINEAR;
    }
    // The pointer is read in back-buffer pixels: tell the window layer where
    // the picture sits (GL counts rows from the bottom, the pointer from the top).
    zvwin32::setBackBufferMapping(m_params.hDeviceWindow, float(x0), float(dh - y1),
                                  float(x1 - x0) / float(w));
    m_gl.bindReadFramebuffer(m_fbo);
    m_gl.bindDrawFramebuffer(0);
    m_gl.scissorTest(false);
    bool bars = x0 != 0 || y0 != 0 || x1 != dw || y1 != dh;
    if (bars) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glBlitFramebuffer(0, 0, w, h, x0, y0, x1, y1, GL_COLOR_BUFFER_BIT, filter);
    SDL_GL_SwapWindow(m_window);
    HostEvents::frameShown();
    m_gl.bindDrawFramebuffer(m_fbo);
    if (g_capture) {
        GLint dest[4] = {x0, y0, x1, y1};
        capturePresent(dw, dh, dest, filter, bars);
    }
    timespec cpuEnd;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuEnd);
    g_counters.presentCpuNanoseconds +=
        uint64_t((cpuEnd.tv_sec - cpuStart.tv_sec) * 1000000000LL + (cpuEnd.tv_nsec - cpuStart.tv_nsec));
    return D3D_OK;
}

HRESULT Device::Reset(D3DPRESENT_PARAMETERS* params) {
    if (!params || m_inScene) return D3DERR_INVALIDCALL;
    if (takeResetFailure()) {
        m_lost = true;
        return D3DERR_DEVICELOST;
    }
    D3DPRESENT_PARAMETERS resolved = *params;
    HRESULT hr = resolvePresentParams(m_window, &resolved);
    if (FAILED(hr)) return hr;

    // A new context in every case: after a real reset the old one is gone,
    // and the same path then serves both.
    makeCurrent();
    unbindAll();
    destroyContext();
    m_params = resolved;
    hr = createContext();
    if (FAILED(hr)) {
        m_lost = true;
        return hr;
    }
    applyWindowMode();
    setDefaultState();
    m_lost = false;
    *params = resolved;
    return D3D_OK;
}

HRESULT Device::GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type,
                              IDirect3DSurface9** surface) {
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (swapChain != 0 || index != 0 || type != D3DBACKBUFFER_TYPE_MONO) return D3DERR_INVALIDCALL;
    m_backBuffer.AddRef();
    *surface = &m_backBuffer;
    return D3D_OK;
}

void Device::describeBackBuffer(D3DSURFACE_DESC* desc) const {
    desc->Format = m_params.BackBufferFormat;
    desc->Type = D3DRTYPE_SURFACE;
    desc->Usage = D3DUSAGE_RENDERTARGET;
    desc->Pool = D3DPOOL_DEFAULT;
    desc->MultiSampleType = D3DMULTISAMPLE_NONE;
    desc->MultiSampleQuality = 0;
    desc->Width = m_params.BackBufferWidth;
    desc->Height = m_params.BackBufferHeight;
}

HRESULT Device::lockBackBuffer(D3DLOCKED_RECT* locked, const RECT* rect) {
    UINT w = m_params.BackBufferWidth, h = m_params.BackBufferHeight;
    if (rect && (rect->left < 0 || rect->top < 0 || rect->left >= rect->right ||
                 rect->top >= rect->bottom || UINT(rect->right) > w || UINT(rect->bottom) > h))
        return D3DERR_INVALIDCALL;
    if (!makeCurrent()) return D3DERR_DEVICELOST;
    bool x8 = m_params.BackBufferFormat == D3DFMT_X8R8G8B8;
    size_t bpp = x8 ? 4 : 2;
    size_t pitch = w * bpp;
    m_readback.resize(pitch * h);
    m_gl.bindReadFramebuffer(m_fbo);
    GLProfile::readPixels(GLsizei(w), GLsizei(h), x8, m_readback.data());
    // GL returns the bottom row first; Direct3D surfaces start at the top.
    uint8_t* data = m_readback.data();
    for (UINT y = 0; y < h / 2; ++y)
        std::swap_ranges(data + y * pitch, data + (y + 1) * pitch, data + (h - 1 - y) * pitch);
    if (x8)
        for (size_t i = 3; i < m_readback.size(); i += 4) data[i] = 0xFF;
    locked->Pitch = INT(pitch);
    locked->pBits = data + (rect ? size_t(rect->top) * pitch + size_t(rect->left) * bpp : 0);
    return D3D_OK;
}

}  // namespace zvd3d
