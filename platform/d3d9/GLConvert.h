// Conversions from Direct3D 9 values to OpenGL ones. Each returns false (and
// reports the value once) for a value this layer does not implement.
#ifndef ZV_D3D9_GLCONVERT_H
#define ZV_D3D9_GLCONVERT_H

#include <cstdint>

#include <d3d9.h>

#include "GLHeaders.h"

namespace zvd3d {

struct TextureFormat {
    D3DFORMAT d3d;
    GLenum internalFormat;
    GLenum format;         // upload format (0 for block-compressed formats)
    GLenum type;           // upload type (0 for block-compressed formats)
    unsigned blockBytes;   // bytes per pixel, or per 4x4 block
    unsigned blockSize;    // 1, or 4 for block-compressed formats
    bool opaque;           // samples alpha as 1 (X8R8G8B8, R5G6B5)
};

// Texture formats; null for formats a texture cannot have.
const TextureFormat* textureFormat(D3DFORMAT format);
// Bytes of one row of a level `width` pixels wide, and the number of rows of
// a level `height` pixels high (block rows for compressed formats).
unsigned rowBytes(const TextureFormat& f, unsigned width);
unsigned rowCount(const TextureFormat& f, unsigned height);

bool glFromD3DBlend(DWORD blend, GLenum* out);
bool glFromD3DBlendOp(DWORD op, GLenum* out);
bool glFromD3DCmp(DWORD func, GLenum* out);
bool glFromD3DAddress(DWORD address, GLenum* out);
// MINFILTER with MIPFILTER, and MAGFILTER.
bool glFromD3DMinFilter(DWORD minFilter, DWORD mipFilter, GLenum* out);
bool glFromD3DMagFilter(DWORD magFilter, GLenum* out);
// The GL primitive mode and the number of vertices `primitives` primitives use.
bool glFromD3DPrimitive(D3DPRIMITIVETYPE type, UINT primitives, GLenum* mode, uint64_t* vertices);

}  // namespace zvd3d

#endif
