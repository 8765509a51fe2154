// IDirect3D9: the one adapter (the GL driver) and device creation.
#ifndef ZV_D3D9_DIRECT3D9_H
#define ZV_D3D9_DIRECT3D9_H

#include <d3d9.h>

namespace zvd3d {

class Direct3D9 final : public IDirect3D9 {
public:
    Direct3D9() = default;

    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override;
    HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) override;
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD flags,
                         D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) override;

private:
    ~Direct3D9() override;

    ULONG m_refs = 1;
};

}  // namespace zvd3d

#endif
