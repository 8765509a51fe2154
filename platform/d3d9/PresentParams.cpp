#include "PresentParams.h"

#include <SDL.h>

#include "Report.h"
#include "TextureStore.h"
#include "win32/Win32Window.h"

namespace zvd3d {

HRESULT resolvePresentParams(SDL_Window* window, D3DPRESENT_PARAMETERS* params) {
    D3DPRESENT_PARAMETERS& p = *params;
    if (int forced = zvwin32::fullscreenOverride(); forced >= 0) p.Windowed = forced ? FALSE : TRUE;
    if (p.BackBufferWidth == 0 || p.BackBufferHeight == 0) {
        int w = 0, h = 0;
        SDL_GetWindowSize(window, &w, &h);
        if (p.BackBufferWidth == 0) p.BackBufferWidth = w > 0 ? UINT(w) : 1;
        if (p.BackBufferHeight == 0) p.BackBufferHeight = h > 0 ? UINT(h) : 1;
    }
    if (p.BackBufferWidth > TextureStore::kMaxSize || p.BackBufferHeight > TextureStore::kMaxSize)
        return D3DERR_INVALIDCALL;
    if (p.BackBufferFormat == D3DFMT_UNKNOWN && p.Windowed) p.BackBufferFormat = D3DFMT_X8R8G8B8;
    if (p.BackBufferFormat != D3DFMT_X8R8G8B8 && p.BackBufferFormat != D3DFMT_R5G6B5) {
        reportUnhandled("back-buffer format", static_cast<unsigned long>(p.BackBufferFormat));
        return D3DERR_INVALIDCALL;
    }
    if (p.BackBufferCount > 1) {
        reportUnhandled("back-buffer count", p.BackBufferCount);
        return D3DERR_INVALIDCALL;
    }
    if (p.BackBufferCount == 0) p.BackBufferCount = 1;
    if (p.MultiSampleType != D3DMULTISAMPLE_NONE) {
        reportUnhandled("multisample type", static_cast<unsigned long>(p.MultiSampleType));
        return D3DERR_INVALIDCALL;
    }
    if (p.SwapEffect != D3DSWAPEFFECT_DISCARD && p.SwapEffect != D3DSWAPEFFECT_FLIP &&
        p.SwapEffect != D3DSWAPEFFECT_COPY)
        return D3DERR_INVALIDCALL;
    if (p.EnableAutoDepthStencil && p.AutoDepthStencilFormat != D3DFMT_D16 &&
        p.AutoDepthStencilFormat != D3DFMT_D24X8) {
        reportUnhandled("depth format", static_cast<unsigned long>(p.AutoDepthStencilFormat));
        return D3DERR_INVALIDCALL;
    }
    if (p.Flags != 0) {
        reportUnhandled("presentation flags", p.Flags);
        return D3DERR_INVALIDCALL;
    }
    if (p.PresentationInterval != D3DPRESENT_INTERVAL_DEFAULT &&
        p.PresentationInterval != D3DPRESENT_INTERVAL_ONE &&
        p.PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE) {
        reportUnhandled("presentation interval", p.PresentationInterval);
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

}  // namespace zvd3d
