// SDK values of pixel formats that image files describe but d3d9types.h does
// not name, because the device never creates them. Only image descriptions
// (D3DXIMAGE_INFO::Format) carry them.
#ifndef ZV_D3DX9_IMAGE_FILEFORMATS_H
#define ZV_D3DX9_IMAGE_FILEFORMATS_H

#include <d3d9.h>

namespace d3dximage {

constexpr D3DFORMAT kFormatX4R4G4B4 = static_cast<D3DFORMAT>(30);
constexpr D3DFORMAT kFormatA8B8G8R8 = static_cast<D3DFORMAT>(32);
constexpr D3DFORMAT kFormatX8B8G8R8 = static_cast<D3DFORMAT>(33);
constexpr D3DFORMAT kFormatA16B16G16R16 = static_cast<D3DFORMAT>(36);
constexpr D3DFORMAT kFormatP8 = static_cast<D3DFORMAT>(41);
constexpr D3DFORMAT kFormatL16 = static_cast<D3DFORMAT>(81);

}  // namespace d3dximage

#endif
