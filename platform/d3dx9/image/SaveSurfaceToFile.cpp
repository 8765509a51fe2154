// A surface (the back buffer, for screenshots) saved as a BMP file.
#include <cerrno>
#include <cstdio>
#include <string>

#include "BmpEncoder.h"
#include "ImageDecode.h"
#include "ImageReport.h"
#include "PixelMasks.h"
#include "win32/PathResolver.h"

namespace {

using d3dximage::PixelMasks;

// HRESULT_FROM_WIN32 of the file errors CreateFile would report.
constexpr HRESULT kPathNotFound = static_cast<HRESULT>(0x80070003u);
constexpr HRESULT kAccessDenied = static_cast<HRESULT>(0x80070005u);

HRESULT fileError(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return kAccessDenied;
    default:
        return E_FAIL;
    }
}

struct SurfaceLayout {
    unsigned bytesPerPixel;
    PixelMasks masks;
};

bool layoutOf(D3DFORMAT format, SurfaceLayout* layout) {
    switch (format) {
    case D3DFMT_A8R8G8B8:
        *layout = {4, PixelMasks{0xff0000, 0xff00, 0xff, 0xff000000u, false}};
        return true;
    case D3DFMT_X8R8G8B8:
        *layout = {4, PixelMasks{0xff0000, 0xff00, 0xff, 0, false}};
        return true;
    case D3DFMT_R5G6B5:
        *layout = {2, PixelMasks{0xf800, 0x07e0, 0x001f, 0, false}};
        return true;
    case D3DFMT_X1R5G5B5:
        *layout = {2, PixelMasks{0x7c00, 0x03e0, 0x001f, 0, false}};
        return true;
    case D3DFMT_A1R5G5B5:
        *layout = {2, PixelMasks{0x7c00, 0x03e0, 0x001f, 0x8000, false}};
        return true;
    default:
        d3dximage::reportUnhandled("D3DXSaveSurfaceToFileA surface format", format);
        return false;
    }
}

// Reads `rect` of the surface into 0xAARRGGBB pixels, top row first.
HRESULT readSurface(IDirect3DSurface9* surface, const SurfaceLayout& layout, const RECT& rect,
                    std::vector<uint32_t>* pixels) {
    D3DLOCKED_RECT locked;
    HRESULT hr = surface->LockRect(&locked, nullptr, D3DLOCK_READONLY);
    if (FAILED(hr)) return hr;
    const UINT w = static_cast<UINT>(rect.right - rect.left);
    const UINT h = static_cast<UINT>(rect.bottom - rect.top);
    d3dximage::MaskConverter conv(layout.masks);
    pixels->resize(static_cast<size_t>(w) * h);
    const uint8_t* base = static_cast<const uint8_t*>(locked.pBits);
    for (UINT y = 0; y < h; ++y) {
        const uint8_t* row = base + static_cast<ptrdiff_t>(locked.Pitch) * (rect.top + y) +
                             static_cast<size_t>(rect.left) * layout.bytesPerPixel;
        for (UINT x = 0; x < w; ++x) {
            const uint8_t* p = row + x * layout.bytesPerPixel;
            uint32_t v = layout.bytesPerPixel == 4 ? d3dximage::readLe32(p) : d3dximage::readLe16(p);
            (*pixels)[static_cast<size_t>(y) * w + x] = conv.convert(v);
        }
    }
    return surface->UnlockRect();
}

HRESULT writeFile(const char* path, const std::vector<uint8_t>& bytes) {
    std::string unixPath = PathResolver::instance().resolve(path, PathResolver::Write);
    if (unixPath.empty()) return fileError(ENAMETOOLONG);
    std::FILE* file = std::fopen(unixPath.c_str(), "wb");
    if (!file) return fileError(errno);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        // No half-written image is left behind.
        std::remove(unixPath.c_str());
        return E_FAIL;
    }
    return D3D_OK;
}

}  // namespace

HRESULT WINAPI D3DXSaveSurfaceToFileA(LPCSTR pDestFile, D3DXIMAGE_FILEFORMAT DestFormat,
                                      IDirect3DSurface9* pSrcSurface,
                                      const PALETTEENTRY* pSrcPalette, const RECT* pSrcRect) {
    (void)pSrcPalette;  // no palette surface formats are readable here
    if (!pDestFile || !*pDestFile || !pSrcSurface) return D3DERR_INVALIDCALL;
    if (DestFormat != D3DXIFF_BMP) {
        d3dximage::reportUnhandled("D3DXSaveSurfaceToFileA file format", DestFormat);
        return D3DERR_INVALIDCALL;
    }
    D3DSURFACE_DESC desc;
    HRESULT hr = pSrcSurface->GetDesc(&desc);
    if (FAILED(hr)) return hr;
    SurfaceLayout layout;
    if (!layoutOf(desc.Format, &layout)) return D3DERR_INVALIDCALL;

    RECT rect = {0, 0, static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)};
    if (pSrcRect) {
        rect = *pSrcRect;
        if (rect.left < 0 || rect.top < 0 || rect.left >= rect.right || rect.top >= rect.bottom ||
            static_cast<UINT>(rect.right) > desc.Width ||
            static_cast<UINT>(rect.bottom) > desc.Height) {
            return D3DERR_INVALIDCALL;
        }
    }
    if (rect.right <= rect.left || rect.bottom <= rect.top) return D3DERR_INVALIDCALL;

    std::vector<uint32_t> pixels;
    hr = readSurface(pSrcSurface, layout, rect, &pixels);
    if (FAILED(hr)) return hr;
    std::vector<uint8_t> bytes =
        d3dximage::encodeBmp32(static_cast<uint32_t>(rect.right - rect.left),
                               static_cast<uint32_t>(rect.bottom - rect.top), pixels.data(),
                               layout.masks.alpha != 0);
    return writeFile(pDestFile, bytes);
}
