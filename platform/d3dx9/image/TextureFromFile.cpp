// Textures and cube textures from image files, with D3DX's defaults: size
// from the file, full mip chain, managed pool. Pixels are always uploaded as
// 32-bit ARGB; compressed files are decoded first.
#include <cstring>

#include "ImageDecode.h"

namespace {

using d3dximage::DecodedImage;
using d3dximage::ImageLevel;

HRESULT decodeBytes(LPCVOID data, UINT size, DecodedImage* image) {
    return d3dximage::decodeImage(static_cast<const uint8_t*>(data), size,
                                  d3dximage::DecodeMode::Pixels, image);
}

D3DFORMAT textureFormat(const DecodedImage& image) {
    // Without alpha in the file the texture samples alpha as 1.
    return image.hasAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
}

void copyRows(const ImageLevel& level, const D3DLOCKED_RECT& locked) {
    uint8_t* dst = static_cast<uint8_t*>(locked.pBits);
    const size_t rowBytes = static_cast<size_t>(level.width) * 4;
    for (UINT y = 0; y < level.height; ++y) {
        std::memcpy(dst + static_cast<ptrdiff_t>(locked.Pitch) * y,
                    &level.pixels[static_cast<size_t>(y) * level.width], rowBytes);
    }
}

HRESULT uploadLevel(IDirect3DTexture9* texture, UINT index, const ImageLevel& level) {
    D3DLOCKED_RECT locked;
    HRESULT hr = texture->LockRect(index, &locked, nullptr, 0);
    if (FAILED(hr)) return hr;
    copyRows(level, locked);
    return texture->UnlockRect(index);
}

HRESULT uploadFaceLevel(IDirect3DCubeTexture9* texture, UINT face, UINT index,
                        const ImageLevel& level) {
    D3DLOCKED_RECT locked;
    D3DCUBEMAP_FACES f = static_cast<D3DCUBEMAP_FACES>(face);
    HRESULT hr = texture->LockRect(f, index, &locked, nullptr, 0);
    if (FAILED(hr)) return hr;
    copyRows(level, locked);
    return texture->UnlockRect(f, index);
}

}  // namespace

HRESULT WINAPI D3DXCreateTextureFromFileInMemory(IDirect3DDevice9* pDevice, LPCVOID pSrcData,
                                                 UINT SrcDataSize, IDirect3DTexture9** ppTexture) {
    if (!pDevice || !pSrcData || SrcDataSize == 0 || !ppTexture) return D3DERR_INVALIDCALL;
    DecodedImage image;
    HRESULT hr = decodeBytes(pSrcData, SrcDataSize, &image);
    if (FAILED(hr)) return hr;
    // A cube map is not a 2-D texture; D3DX refuses it here too.
    if (image.info.ResourceType != D3DRTYPE_TEXTURE) return D3DXERR_INVALIDDATA;

    std::vector<ImageLevel>& levels = image.faces[0];
    d3dximage::completeMipChain(&levels);
    IDirect3DTexture9* texture = nullptr;
    hr = pDevice->CreateTexture(image.info.Width, image.info.Height,
                                static_cast<UINT>(levels.size()), 0, textureFormat(image),
                                D3DPOOL_MANAGED, &texture, nullptr);
    if (FAILED(hr)) return hr;
    for (UINT i = 0; i < levels.size(); ++i) {
        hr = uploadLevel(texture, i, levels[i]);
        if (FAILED(hr)) {
            texture->Release();
            return hr;
        }
    }
    *ppTexture = texture;
    return D3D_OK;
}

HRESULT WINAPI D3DXCreateCubeTextureFromFileInMemory(IDirect3DDevice9* pDevice, LPCVOID pSrcData,
                                                     UINT SrcDataSize,
                                                     IDirect3DCubeTexture9** ppCubeTexture) {
    if (!pDevice || !pSrcData || SrcDataSize == 0 || !ppCubeTexture) return D3DERR_INVALIDCALL;
    DecodedImage image;
    HRESULT hr = decodeBytes(pSrcData, SrcDataSize, &image);
    if (FAILED(hr)) return hr;
    if (image.info.ResourceType != D3DRTYPE_CUBETEXTURE || image.faces.size() != 6) {
        return D3DXERR_INVALIDDATA;
    }

    for (auto& face : image.faces) d3dximage::completeMipChain(&face);
    const UINT levelCount = static_cast<UINT>(image.faces[0].size());
    IDirect3DCubeTexture9* texture = nullptr;
    hr = pDevice->CreateCubeTexture(image.info.Width, levelCount, 0, textureFormat(image),
                                    D3DPOOL_MANAGED, &texture, nullptr);
    if (FAILED(hr)) return hr;
    // Faces go up as stored, unflipped: the file's face order is Direct3D's
    // D3DCUBEMAP_FACES order.
    for (UINT face = 0; face < 6; ++face) {
        for (UINT i = 0; i < levelCount; ++i) {
            hr = uploadFaceLevel(texture, face, i, image.faces[face][i]);
            if (FAILED(hr)) {
                texture->Release();
                return hr;
            }
        }
    }
    *ppCubeTexture = texture;
    return D3D_OK;
}

HRESULT WINAPI D3DXCreateTextureFromFileA(IDirect3DDevice9* pDevice, LPCSTR pSrcFile,
                                          IDirect3DTexture9** ppTexture) {
    if (!pDevice || !pSrcFile || !ppTexture) return D3DERR_INVALIDCALL;
    std::vector<uint8_t> bytes;
    if (!d3dximage::readWholeFile(pSrcFile, &bytes) || bytes.empty()) return D3DXERR_INVALIDDATA;
    return D3DXCreateTextureFromFileInMemory(pDevice, bytes.data(), static_cast<UINT>(bytes.size()),
                                             ppTexture);
}

HRESULT WINAPI D3DXCreateCubeTextureFromFileA(IDirect3DDevice9* pDevice, LPCSTR pSrcFile,
                                              IDirect3DCubeTexture9** ppCubeTexture) {
    if (!pDevice || !pSrcFile || !ppCubeTexture) return D3DERR_INVALIDCALL;
    std::vector<uint8_t> bytes;
    if (!d3dximage::readWholeFile(pSrcFile, &bytes) || bytes.empty()) return D3DXERR_INVALIDDATA;
    return D3DXCreateCubeTextureFromFileInMemory(pDevice, bytes.data(),
                                                 static_cast<UINT>(bytes.size()), ppCubeTexture);
}
