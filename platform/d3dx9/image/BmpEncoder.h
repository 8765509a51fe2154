// Encoding pixels as an uncompressed 32-bit Windows bitmap.
#ifndef ZV_D3DX9_IMAGE_BMPENCODER_H
#define ZV_D3DX9_IMAGE_BMPENCODER_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace d3dximage {

// The file for width x height pixels (0xAARRGGBB, top row first, at least one
// pixel): a 14-byte BITMAPFILEHEADER ("BM", file size, 0, offset 54), a
// 40-byte BITMAPINFOHEADER (width, positive height, 1 plane, 32 bits, BI_RGB,
// image size, 2835 x 2835 pixels per metre, no palette), then the rows
// bottom row first, each pixel as the bytes B, G, R, X. X is the pixel's
// alpha when keepAlpha, else 0 (the byte is unused in BI_RGB files).
std::vector<uint8_t> encodeBmp32(uint32_t width, uint32_t height, const uint32_t* pixels,
                                 bool keepAlpha);

}  // namespace d3dximage

#endif
