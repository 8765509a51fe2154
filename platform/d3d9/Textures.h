// 2-D and cube textures, and the surfaces of their levels.
#ifndef ZV_D3D9_TEXTURES_H
#define ZV_D3D9_TEXTURES_H

#include "Resource.h"
#include "TextureStore.h"

namespace zvd3d {

// One level of one face. It has no reference count of its own: AddRef and
// Release act on the texture that contains it, as in Direct3D.
class TextureSurface final : public IDirect3DSurface9 {
public:
    TextureSurface() = default;
    ~TextureSurface() override = default;
    void init(IDirect3DBaseTexture9* container, TextureStore* store, unsigned face, UINT level,
              DWORD usage, D3DPOOL pool);

    ULONG AddRef() override { return m_container->AddRef(); }
    ULONG Release() override { return m_container->Release(); }
    HRESULT GetDevice(IDirect3DDevice9** device) override { return m_container->GetDevice(device); }
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_SURFACE; }
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect() override;

private:
    IDirect3DBaseTexture9* m_container = nullptr;
    TextureStore* m_store = nullptr;
    unsigned m_face = 0;
    UINT m_level = 0;
    DWORD m_usage = 0;
    D3DPOOL m_pool = D3DPOOL_MANAGED;
};

// What the device sees of any texture of this layer.
class TextureObject {
public:
    TextureStore& store() { return m_store; }
    virtual void bind() = 0;
    virtual void unbind() = 0;

protected:
    virtual ~TextureObject() = default;
    HRESULT initSurfaces(IDirect3DBaseTexture9* container, DWORD usage, D3DPOOL pool);
    TextureSurface* surface(unsigned face, UINT level) {
        return &m_surfaces[face * m_store.levelCount() + level];
    }

    TextureStore m_store;
    std::vector<TextureSurface> m_surfaces;
};

// The texture behind an interface pointer of this layer (null for null).
TextureObject* textureObject(IDirect3DBaseTexture9* texture);

class Texture final : public Resource<IDirect3DTexture9>, public TextureObject {
public:
    static HRESULT create(Device* device, UINT width, UINT height, UINT levels, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** out);

    D3DRESOURCETYPE GetType() override { return D3DRTYPE_TEXTURE; }
    DWORD GetLevelCount() override { return m_store.levelCount(); }
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override;
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;

    void bind() override { Resource::bind(); }
    void unbind() override { Resource::unbind(); }

private:
    Texture(Device* device, DWORD usage, D3DPOOL pool);
    ~Texture() override;

    DWORD m_usage;
    D3DPOOL m_pool;
};

class CubeTexture final : public Resource<IDirect3DCubeTexture9>, public TextureObject {
public:
    static HRESULT create(Device* device, UINT edge, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DCubeTexture9** out);

    D3DRESOURCETYPE GetType() override { return D3DRTYPE_CUBETEXTURE; }
    DWORD GetLevelCount() override { return m_store.levelCount(); }
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT GetCubeMapSurface(D3DCUBEMAP_FACES face, UINT level, IDirect3DSurface9** surface) override;
    HRESULT LockRect(D3DCUBEMAP_FACES face, UINT level, D3DLOCKED_RECT* locked, const RECT* rect,
                     DWORD flags) override;
    HRESULT UnlockRect(D3DCUBEMAP_FACES face, UINT level) override;

    void bind() override { Resource::bind(); }
    void unbind() override { Resource::unbind(); }

private:
    CubeTexture(Device* device, DWORD usage, D3DPOOL pool);
    ~CubeTexture() override;

    DWORD m_usage;
    D3DPOOL m_pool;
};

}  // namespace zvd3d

#endif
