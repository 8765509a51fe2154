#include "Direct3D9.h"

#include <SDL.h>

#include "Device.h"
#include "PresentParams.h"
#include "Report.h"
#include "win32/Win32Window.h"

namespace zvd3d {

ULONG Direct3D9::Release() {
    if (m_refs == 0) return 0;
    ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

Direct3D9::~Direct3D9() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

HRESULT Direct3D9::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) {
    if (!caps || adapter != D3DADAPTER_DEFAULT || type != D3DDEVTYPE_HAL) return D3DERR_INVALIDCALL;
    *caps = D3DCAPS9{};
    caps->DeviceType = D3DDEVTYPE_HAL;
    caps->AdapterOrdinal = adapter;
    caps->PresentationIntervals = D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_IMMEDIATE;
    // Transform and lighting run in the GL vertex shader.
    caps->DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_HWRASTERIZATION;
    return D3D_OK;
}

HRESULT Direct3D9::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD flags,
                                D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) {
    if (!device) return D3DERR_INVALIDCALL;
    *device = nullptr;
    if (!params || adapter != D3DADAPTER_DEFAULT || type != D3DDEVTYPE_HAL) return D3DERR_INVALIDCALL;
    DWORD processing = flags & (D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING);
    if (flags & ~processing) {
        reportUnhandled("device creation flags", flags);
        return D3DERR_INVALIDCALL;
    }
    if (processing != D3DCREATE_SOFTWARE_VERTEXPROCESSING && processing != D3DCREATE_HARDWARE_VERTEXPROCESSING)
        return D3DERR_INVALIDCALL;
    HWND hWnd = params->hDeviceWindow ? params->hDeviceWindow : focusWindow;
    SDL_Window* window = zvwin32::sdlWindow(hWnd);
    if (!window) return D3DERR_INVALIDCALL;
    D3DPRESENT_PARAMETERS resolved = *params;
    HRESULT hr = resolvePresentParams(window, &resolved);
    if (FAILED(hr)) return hr;
    hr = Device::create(this, window, resolved, device);
    if (SUCCEEDED(hr)) *params = resolved;
    return hr;
}

}  // namespace zvd3d

IDirect3D9* WINAPI Direct3DCreate9(UINT sdkVersion) {
    if (sdkVersion != D3D_SDK_VERSION) return nullptr;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        zvd3d::reportFailure("cannot start the video system", SDL_GetError());
        return nullptr;
    }
    return new zvd3d::Direct3D9;
}
