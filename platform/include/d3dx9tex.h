// The D3DX 9 image subset: image descriptions, textures and cube textures
// loaded from files, and a surface saved to a BMP file. Names, types and
// constant values are those of the DirectX SDK.
//
// Readable files: PNG (libpng), JPEG (libjpeg), BMP and DDS (own readers;
// DDS: uncompressed RGB/luminance, DXT1/3/5, mip chains, cube maps). Paths may
// use backslashes; they are mapped to '/'.
#ifndef ZV_PLATFORM_D3DX9TEX_H
#define ZV_PLATFORM_D3DX9TEX_H

#include <d3d9.h>

#ifndef D3DX_DEFAULT
#define D3DX_DEFAULT ((UINT)-1)
#endif
#ifndef D3DX_DEFAULT_NONPOW2
#define D3DX_DEFAULT_NONPOW2 ((UINT)-2)
#endif
#ifndef D3DX_FROM_FILE
#define D3DX_FROM_FILE ((UINT)-3)
#endif

// D3DX's own error codes: MAKE_HRESULT(1, 0x876, 2900 + n).
#ifndef D3DXERR_INVALIDDATA
#define D3DXERR_INVALIDDATA ((HRESULT)0x88760B59L)
#endif

typedef enum _D3DXIMAGE_FILEFORMAT {
    D3DXIFF_BMP = 0,
    D3DXIFF_JPG = 1,
    D3DXIFF_TGA = 2,
    D3DXIFF_PNG = 3,
    D3DXIFF_DDS = 4,
    D3DXIFF_PPM = 5,
    D3DXIFF_DIB = 6,
    D3DXIFF_HDR = 7,
    D3DXIFF_PFM = 8,
    D3DXIFF_FORCE_DWORD = 0x7fffffff
} D3DXIMAGE_FILEFORMAT;

// The file's own description: Format is the pixel format stored in the file
// (D3DFMT_P8 for palette images, D3DFMT_DXT1 for a DXT1 DDS, ...), MipLevels
// the levels stored (1 for anything but DDS), Depth always 1 here.
typedef struct _D3DXIMAGE_INFO {
    UINT Width;
    UINT Height;
    UINT Depth;
    UINT MipLevels;
    D3DFORMAT Format;
    D3DRESOURCETYPE ResourceType;
    D3DXIMAGE_FILEFORMAT ImageFileFormat;
} D3DXIMAGE_INFO;

// wingdi.h's palette entry, needed by D3DXSaveSurfaceToFileA's signature.
#ifndef ZV_PALETTEENTRY_DEFINED
#define ZV_PALETTEENTRY_DEFINED
typedef struct tagPALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
} PALETTEENTRY;
#endif

// Fills *pSrcInfo from the file's header. D3D_OK; D3DERR_INVALIDCALL when
// pSrcFile is null; D3DXERR_INVALIDDATA when the file is missing, unreadable,
// of an unknown kind, truncated or corrupt. With pSrcInfo null only the
// file's presence is checked, as D3DX does.
HRESULT WINAPI D3DXGetImageInfoFromFileA(LPCSTR pSrcFile, D3DXIMAGE_INFO* pSrcInfo);

// Every D3DX default: size from the file, a full mip chain down to 1x1 (levels
// the file lacks are box-filtered from its last level), D3DPOOL_MANAGED, and
// D3DFMT_A8R8G8B8, or D3DFMT_X8R8G8B8 for images without alpha (compressed
// DDS data is decoded, not kept compressed). On success *ppTexture holds one
// reference the caller releases. D3DERR_INVALIDCALL for null arguments,
// D3DXERR_INVALIDDATA for a missing or bad file, or the device's error from
// CreateTexture/LockRect; *ppTexture is left untouched on failure.
HRESULT WINAPI D3DXCreateTextureFromFileA(IDirect3DDevice9* pDevice, LPCSTR pSrcFile,
                                          IDirect3DTexture9** ppTexture);

// Loads a DDS cube map (six square faces, each with its own mip chain, stored
// +X, -X, +Y, -Y, +Z, -Z) into a managed cube texture with a full mip chain.
// Faces are uploaded as stored, unflipped. Any other file, or a cube map that
// lacks faces, is D3DXERR_INVALIDDATA. Errors otherwise as above.
HRESULT WINAPI D3DXCreateCubeTextureFromFileA(IDirect3DDevice9* pDevice, LPCSTR pSrcFile,
                                              IDirect3DCubeTexture9** ppCubeTexture);

// Writes the surface (or pSrcRect of it, null for all) to pDestFile. Only
// D3DXIFF_BMP is implemented here: an uncompressed 32-bit BI_RGB BMP with a
// 40-byte BITMAPINFOHEADER, rows bottom row first, pixels as B, G, R, X bytes
// where X is the alpha of A8R8G8B8 / A1R5G5B5 surfaces and 0 (unused) for
// the others. Readable surface formats: A8R8G8B8, X8R8G8B8, R5G6B5,
// X1R5G5B5, A1R5G5B5.
// pSrcPalette is ignored (no palette formats). D3DERR_INVALIDCALL for null
// arguments, another file format, an unreadable surface format or a bad
// rectangle; HRESULT_FROM_WIN32-style codes (0x80070003 path not found,
// 0x80070005 access denied, E_FAIL otherwise) when the file cannot be created
// or written, in which case no file is left behind.
HRESULT WINAPI D3DXSaveSurfaceToFileA(LPCSTR pDestFile, D3DXIMAGE_FILEFORMAT DestFormat,
                                      IDirect3DSurface9* pSrcSurface,
                                      const PALETTEENTRY* pSrcPalette, const RECT* pSrcRect);

// The same three readers on a file already in memory (pSrcData, SrcDataSize
// bytes), with the same results; D3DERR_INVALIDCALL for null data or a size
// of 0.
HRESULT WINAPI D3DXGetImageInfoFromFileInMemory(LPCVOID pSrcData, UINT SrcDataSize,
                                                D3DXIMAGE_INFO* pSrcInfo);
HRESULT WINAPI D3DXCreateTextureFromFileInMemory(IDirect3DDevice9* pDevice, LPCVOID pSrcData,
                                                 UINT SrcDataSize, IDirect3DTexture9** ppTexture);
HRESULT WINAPI D3DXCreateCubeTextureFromFileInMemory(IDirect3DDevice9* pDevice, LPCVOID pSrcData,
                                                     UINT SrcDataSize,
                                                     IDirect3DCubeTexture9** ppCubeTexture);

#define D3DXGetImageInfoFromFile D3DXGetImageInfoFromFileA
#define D3DXCreateTextureFromFile D3DXCreateTextureFromFileA
#define D3DXCreateCubeTextureFromFile D3DXCreateCubeTextureFromFileA
#define D3DXSaveSurfaceToFile D3DXSaveSurfaceToFileA

#endif
