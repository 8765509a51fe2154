// Reference counting of the device's textures and buffers.
//
// A resource has two kinds of owners: the caller's references (AddRef,
// Release; while there is any, the resource holds a reference on its device,
// as in Direct3D) and the device's bindings (SetTexture, SetStreamSource,
// SetIndices). It is freed when both are gone. Bindings do not keep the device
// alive, so releasing everything the caller holds frees the device, whose
// destructor then drops its bindings.
#ifndef ZV_D3D9_RESOURCE_H
#define ZV_D3D9_RESOURCE_H

#include <d3d9.h>

namespace zvd3d {

class Device;

template <class Interface>
class Resource : public Interface {
public:
    ULONG AddRef() override {
        if (m_refs++ == 0) m_deviceInterface->AddRef();
        return m_refs;
    }

    ULONG Release() override {
        if (m_refs == 0) return 0;  // over-release: ignored rather than freed twice
        ULONG left = --m_refs;
        if (left == 0) {
            IDirect3DDevice9* device = m_deviceInterface;
            if (m_bindings == 0) delete this;
            device->Release();
        }
        return left;
    }

    HRESULT GetDevice(IDirect3DDevice9** device) override {
        if (!device) return D3DERR_INVALIDCALL;
        m_deviceInterface->AddRef();
        *device = m_deviceInterface;
        return D3D_OK;
    }

    void bind() { ++m_bindings; }
    void unbind() {
        if (--m_bindings == 0 && m_refs == 0) delete this;
    }

    Device* device() const { return m_device; }

protected:
    // Starts with one caller reference.
    Resource(Device* device, IDirect3DDevice9* deviceInterface)
        : m_device(device), m_deviceInterface(deviceInterface) {
        m_deviceInterface->AddRef();
    }
    virtual ~Resource() = default;

private:
    Device* m_device;
    IDirect3DDevice9* m_deviceInterface;
    ULONG m_refs = 1;
    ULONG m_bindings = 0;
};

}  // namespace zvd3d

#endif
