#include "BackBuffer.h"

#include "Device.h"
#include "Report.h"

namespace zvd3d {

ULONG BackBuffer::AddRef() { return m_device->AddRef(); }

ULONG BackBuffer::Release() { return m_device->Release(); }

HRESULT BackBuffer::GetDevice(IDirect3DDevice9** device) {
    if (!device) return D3DERR_INVALIDCALL;
    m_device->AddRef();
    *device = m_device;
    return D3D_OK;
}

HRESULT BackBuffer::GetDesc(D3DSURFACE_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    m_device->describeBackBuffer(desc);
    return D3D_OK;
}

HRESULT BackBuffer::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    if (!locked || m_locked) return D3DERR_INVALIDCALL;
    // The frame lives on the GL side: it can be read back, not written.
    if (!(flags & D3DLOCK_READONLY)) {
        reportUnhandled("back-buffer lock without D3DLOCK_READONLY, flags", flags);
        return D3DERR_INVALIDCALL;
    }
    HRESULT hr = m_device->lockBackBuffer(locked, rect);
    if (SUCCEEDED(hr)) m_locked = true;
    return hr;
}

HRESULT BackBuffer::UnlockRect() {
    if (!m_locked) return D3DERR_INVALIDCALL;
    m_locked = false;
    return D3D_OK;
}

}  // namespace zvd3d
