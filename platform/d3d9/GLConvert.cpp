#include "GLConvert.h"

#include "Report.h"

namespace zvd3d {

namespace {
const TextureFormat kTextureFormats[] = {
    {D3DFMT_A8R8G8B8, GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, 4, 1, false},
    // X8: the texel's fourth byte is ignored; the texture's swizzle reads alpha as 1.
    {D3DFMT_X8R8G8B8, GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, 4, 1, true},
    {D3DFMT_R5G6B5, GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 2, 1, true},
    {D3DFMT_DXT1, GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 0, 0, 8, 4, false},
    {D3DFMT_DXT3, GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, 0, 0, 16, 4, false},
    {D3DFMT_DXT5, GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 0, 0, 16, 4, false},
};
}  // namespace

const TextureFormat* textureFormat(D3DFORMAT format) {
    for (const TextureFormat& f : kTextureFormats)
        if (f.d3d == format) return &f;
    reportUnhandled("texture format", static_cast<unsigned long>(format));
    return nullptr;
}

unsigned rowBytes(const TextureFormat& f, unsigned width) {
    return (width + f.blockSize - 1) / f.blockSize * f.blockBytes;
}

unsigned rowCount(const TextureFormat& f, unsigned height) {
    return (height + f.blockSize - 1) / f.blockSize;
}

bool glFromD3DBlend(DWORD blend, GLenum* out) {
    switch (blend) {
    case D3DBLEND_ZERO: *out = GL_ZERO; return true;
    case D3DBLEND_ONE: *out = GL_ONE; return true;
    case D3DBLEND_SRCCOLOR: *out = GL_SRC_COLOR; return true;
    case D3DBLEND_INVSRCCOLOR: *out = GL_ONE_MINUS_SRC_COLOR; return true;
    case D3DBLEND_SRCALPHA: *out = GL_SRC_ALPHA; return true;
    case D3DBLEND_INVSRCALPHA: *out = GL_ONE_MINUS_SRC_ALPHA; return true;
    case D3DBLEND_DESTALPHA: *out = GL_DST_ALPHA; return true;
    case D3DBLEND_INVDESTALPHA: *out = GL_ONE_MINUS_DST_ALPHA; return true;
    case D3DBLEND_DESTCOLOR: *out = GL_DST_COLOR; return true;
    case D3DBLEND_INVDESTCOLOR: *out = GL_ONE_MINUS_DST_COLOR; return true;
    case D3DBLEND_SRCALPHASAT: *out = GL_SRC_ALPHA_SATURATE; return true;
    default: reportUnhandled("blend factor", blend); return false;
    }
}

bool glFromD3DBlendOp(DWORD op, GLenum* out) {
    switch (op) {
    case D3DBLENDOP_ADD: *out = GL_FUNC_ADD; return true;
    case D3DBLENDOP_SUBTRACT: *out = GL_FUNC_SUBTRACT; return true;
    case D3DBLENDOP_REVSUBTRACT: *out = GL_FUNC_REVERSE_SUBTRACT; return true;
    case D3DBLENDOP_MIN: *out = GL_MIN; return true;
    case D3DBLENDOP_MAX: *out = GL_MAX; return true;
    default: reportUnhandled("blend operation", op); return false;
    }
}

bool glFromD3DCmp(DWORD func, GLenum* out) {
    switch (func) {
    case D3DCMP_NEVER: *out = GL_NEVER; return true;
    case D3DCMP_LESS: *out = GL_LESS; return true;
    case D3DCMP_EQUAL: *out = GL_EQUAL; return true;
    case D3DCMP_LESSEQUAL: *out = GL_LEQUAL; return true;
    case D3DCMP_GREATER: *out = GL_GREATER; return true;
    case D3DCMP_NOTEQUAL: *out = GL_NOTEQUAL; return true;
    case D3DCMP_GREATEREQUAL: *out = GL_GEQUAL; return true;
    case D3DCMP_ALWAYS: *out = GL_ALWAYS; return true;
    default: reportUnhandled("comparison function", func); return false;
    }
}

bool glFromD3DAddress(DWORD address, GLenum* out) {
    switch (address) {
    case D3DTADDRESS_WRAP: *out = GL_REPEAT; return true;
    case D3DTADDRESS_MIRROR: *out = GL_MIRRORED_REPEAT; return true;
    case D3DTADDRESS_CLAMP: *out = GL_CLAMP_TO_EDGE; return true;
    default: reportUnhandled("texture address mode", address); return false;
    }
}

bool glFromD3DMinFilter(DWORD minFilter, DWORD mipFilter, GLenum* out) {
    bool linear;
    switch (minFilter) {
    case D3DTEXF_POINT: linear = false; break;
    case D3DTEXF_LINEAR: linear = true; break;
    default: reportUnhandled("minification filter", minFilter); return false;
    }
    switch (mipFilter) {
    case D3DTEXF_NONE: *out = linear ? GL_LINEAR : GL_NEAREST; return true;
    case D3DTEXF_POINT:
        *out = linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
        return true;
    case D3DTEXF_LINEAR:
        *out = linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
        return true;
    default: reportUnhandled("mip filter", mipFilter); return false;
    }
}

bool glFromD3DMagFilter(DWORD magFilter, GLenum* out) {
    switch (magFilter) {
    case D3DTEXF_POINT: *out = GL_NEAREST; return true;
    case D3DTEXF_LINEAR: *out = GL_LINEAR; return true;
    default: reportUnhandled("magnification filter", magFilter); return false;
    }
}

bool glFromD3DPrimitive(D3DPRIMITIVETYPE type, UINT primitives, GLenum* mode, uint64_t* vertices) {
    switch (type) {
    case D3DPT_POINTLIST: *mode = GL_POINTS; *vertices = primitives; return true;
    case D3DPT_LINELIST: *mode = GL_LINES; *vertices = uint64_t{primitives} * 2; return true;
    case D3DPT_LINESTRIP: *mode = GL_LINE_STRIP; *vertices = uint64_t{primitives} + 1; return true;
    case D3DPT_TRIANGLELIST: *mode = GL_TRIANGLES; *vertices = uint64_t{primitives} * 3; return true;
    case D3DPT_TRIANGLESTRIP: *mode = GL_TRIANGLE_STRIP; *vertices = uint64_t{primitives} + 2; return true;
    case D3DPT_TRIANGLEFAN: *mode = GL_TRIANGLE_FAN; *vertices = uint64_t{primitives} + 2; return true;
    default: reportUnhandled("primitive type", static_cast<unsigned long>(type)); return false;
    }
}

}  // namespace zvd3d
