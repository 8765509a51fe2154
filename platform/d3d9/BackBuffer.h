// The back buffer as a surface. It belongs to the device: AddRef and Release
// act on the device's count, as the implicit swap chain's surfaces do.
#ifndef ZV_D3D9_BACKBUFFER_H
#define ZV_D3D9_BACKBUFFER_H

#include <d3d9.h>

namespace zvd3d {

class Device;

class BackBuffer final : public IDirect3DSurface9 {
public:
    explicit BackBuffer(Device* device) : m_device(device) {}
    ~BackBuffer() override = default;

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetDevice(IDirect3DDevice9** device) override;
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_SURFACE; }
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
    // D3DLOCK_READONLY only.
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect() override;

private:
    Device* m_device;
    bool m_locked = false;
};

}  // namespace zvd3d

#endif
