#include "Textures.h"

#include "Device.h"
#include "Report.h"

namespace zvd3d {

namespace {
HRESULT checkCreation(Device* device, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                      const TextureFormat** out) {
    if (usage & ~DWORD{D3DUSAGE_DYNAMIC}) {
        reportUnhandled("texture usage", usage);
        return D3DERR_INVALIDCALL;
    }
    if (pool != D3DPOOL_DEFAULT && pool != D3DPOOL_MANAGED) {
        reportUnhandled("texture pool", static_cast<unsigned long>(pool));
        return D3DERR_INVALIDCALL;
    }
    const TextureFormat* f = textureFormat(format);
    if (!f) return D3DERR_INVALIDCALL;
    if (f->blockSize > 1 && !device->supportsS3TC()) {
        reportUnhandled("texture format without S3TC in the GL driver", static_cast<unsigned long>(format));
        return D3DERR_INVALIDCALL;
    }
    *out = f;
    return D3D_OK;
}
}  // namespace

void TextureSurface::init(IDirect3DBaseTexture9* container, TextureStore* store, unsigned face,
                          UINT level, DWORD usage, D3DPOOL pool) {
    m_container = container;
    m_store = store;
    m_face = face;
    m_level = level;
    m_usage = usage;
    m_pool = pool;
}

HRESULT TextureSurface::GetDesc(D3DSURFACE_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    m_store->describe(m_level, m_usage, m_pool, desc);
    return D3D_OK;
}

HRESULT TextureSurface::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    return m_store->lock(m_face, m_level, locked, rect, flags);
}

HRESULT TextureSurface::UnlockRect() { return m_store->unlock(m_face, m_level); }

HRESULT TextureObject::initSurfaces(IDirect3DBaseTexture9* container, DWORD usage, D3DPOOL pool) {
    unsigned faces = m_store.cube() ? 6 : 1;
    m_surfaces.resize(size_t{faces} * m_store.levelCount());
    for (unsigned f = 0; f < faces; ++f)
        for (UINT level = 0; level < m_store.levelCount(); ++level)
            surface(f, level)->init(container, &m_store, f, level, usage, pool);
    return D3D_OK;
}

TextureObject* textureObject(IDirect3DBaseTexture9* texture) {
    if (!texture) return nullptr;
    switch (texture->GetType()) {
    case D3DRTYPE_TEXTURE: return static_cast<Texture*>(texture);
    case D3DRTYPE_CUBETEXTURE: return static_cast<CubeTexture*>(texture);
    default: return nullptr;
    }
}

// --- 2-D textures ---------------------------------------------------------------

HRESULT Texture::create(Device* device, UINT width, UINT height, UINT levels, DWORD usage,
                        D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** out) {
    if (!out) return D3DERR_INVALIDCALL;
    *out = nullptr;
    const TextureFormat* f = nullptr;
    HRESULT hr = checkCreation(device, usage, format, pool, &f);
    if (FAILED(hr)) return hr;
    Texture* texture = new Texture(device, usage, pool);
    hr = texture->m_store.init(f, width, height, levels, 1);
    if (FAILED(hr)) {
        texture->Release();
        return hr;
    }
    texture->initSurfaces(texture, usage, pool);
    *out = texture;
    return D3D_OK;
}

Texture::Texture(Device* device, DWORD usage, D3DPOOL pool)
    : Resource(device, device), m_usage(usage), m_pool(pool) {}

Texture::~Texture() {
    if (device()->makeCurrent()) m_store.releaseGL(device()->glState(), device()->glGeneration());
}

HRESULT Texture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (!desc || level >= m_store.levelCount()) return D3DERR_INVALIDCALL;
    m_store.describe(level, m_usage, m_pool, desc);
    return D3D_OK;
}

HRESULT Texture::GetSurfaceLevel(UINT level, IDirect3DSurface9** out) {
    if (!out) return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (level >= m_store.levelCount()) return D3DERR_INVALIDCALL;
    AddRef();
    *out = surface(0, level);
    return D3D_OK;
}

HRESULT Texture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    return m_store.lock(0, level, locked, rect, flags);
}

HRESULT Texture::UnlockRect(UINT level) { return m_store.unlock(0, level); }

// --- Cube textures ----------------------------------------------------------------

HRESULT CubeTexture::create(Device* device, UINT edge, UINT levels, DWORD usage, D3DFORMAT format,
                            D3DPOOL pool, IDirect3DCubeTexture9** out) {
    if (!out) return D3DERR_INVALIDCALL;
    *out = nullptr;
    const TextureFormat* f = nullptr;
    HRESULT hr = checkCreation(device, usage, format, pool, &f);
    if (FAILED(hr)) return hr;
    CubeTexture* texture = new CubeTexture(device, usage, pool);
    hr = texture->m_store.init(f, edge, edge, levels, 6);
    if (FAILED(hr)) {
        texture->Release();
        return hr;
    }
    texture->initSurfaces(texture, usage, pool);
    *out = texture;
    return D3D_OK;
}

CubeTexture::CubeTexture(Device* device, DWORD usage, D3DPOOL pool)
    : Resource(device, device), m_usage(usage), m_pool(pool) {}

CubeTexture::~CubeTexture() {
    if (device()->makeCurrent()) m_store.releaseGL(device()->glState(), device()->glGeneration());
}

HRESULT CubeTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (!desc || level >= m_store.levelCount()) return D3DERR_INVALIDCALL;
    m_store.describe(level, m_usage, m_pool, desc);
    return D3D_OK;
}

HRESULT CubeTexture::GetCubeMapSurface(D3DCUBEMAP_FACES face, UINT level, IDirect3DSurface9** out) {
    if (!out) return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (static_cast<unsigned>(face) >= 6 || level >= m_store.levelCount()) return D3DERR_INVALIDCALL;
    AddRef();
    *out = surface(static_cast<unsigned>(face), level);
    return D3D_OK;
}

HRESULT CubeTexture::LockRect(D3DCUBEMAP_FACES face, UINT level, D3DLOCKED_RECT* locked,
                              const RECT* rect, DWORD flags) {
    return m_store.lock(static_cast<unsigned>(face), level, locked, rect, flags);
}

HRESULT CubeTexture::UnlockRect(D3DCUBEMAP_FACES face, UINT level) {
    return m_store.unlock(static_cast<unsigned>(face), level);
}

}  // namespace zvd3d
