// S3TC block decoding (DXT1, DXT3, DXT5) to 0xAARRGGBB pixels.
#ifndef ZV_D3DX9_IMAGE_DXTBLOCKS_H
#define ZV_D3DX9_IMAGE_DXTBLOCKS_H

#include <d3d9.h>

#include <cstddef>
#include <cstdint>

namespace d3dximage {

// Bytes per 4x4 block: 8 for DXT1, 16 for DXT3 and DXT5; 0 for other formats.
size_t dxtBlockBytes(D3DFORMAT format);

// Decodes one block into 16 pixels, row by row. A DXT1 block with
// colour0 <= colour1 has three colours and transparent black (0x00000000)
// for index 3; DXT3 and DXT5 colour blocks always use four colours.
void decodeDxtBlock(D3DFORMAT format, const uint8_t* block, uint32_t pixels[16]);

// Decodes a whole level of ceil(w/4) * ceil(h/4) blocks (the caller has
// checked that the bytes are there) into w * h pixels, top row first.
void decodeDxtLevel(D3DFORMAT format, const uint8_t* blocks, unsigned width, unsigned height,
                    uint32_t* pixels);

}  // namespace d3dximage

#endif
