// Image file decoding, independent of any device: a file's bytes in, its
// description and its pixels as 0xAARRGGBB rows out.
//
// Every decoder checks the sizes a header claims against kMaxImageEdge and
// against the bytes actually present before it allocates anything, never
// reads outside [data, data + size), and answers D3DXERR_INVALIDDATA for a
// truncated, corrupt or unsupported file.
#ifndef ZV_D3DX9_IMAGE_IMAGEDECODE_H
#define ZV_D3DX9_IMAGE_IMAGEDECODE_H

#include <d3dx9tex.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace d3dximage {

// Largest width or height accepted from any file.
constexpr UINT kMaxImageEdge = 16384;

// One mip level: width * height pixels, 0xAARRGGBB, top row first, no padding.
struct ImageLevel {
    UINT width = 0;
    UINT height = 0;
    std::vector<uint32_t> pixels;
};

struct DecodedImage {
    D3DXIMAGE_INFO info{};
    // False when every pixel's alpha is 0xFF by construction (the format has
    // no alpha), so the image can live in an X8R8G8B8 texture.
    bool hasAlpha = false;
    // faces[face][level]: one face for a 2-D image, six for a cube map in
    // file order +X, -X, +Y, -Y, +Z, -Z. Level i is max(1, w >> i) by
    // max(1, h >> i). Empty after an info-only decode.
    std::vector<std::vector<ImageLevel>> faces;
};

enum class DecodeMode {
    InfoOnly,  // header (and, for BMP/DDS, the size of the data) only
    Pixels,    // everything
};

// Chooses the decoder by the file's signature. D3D_OK or D3DXERR_INVALIDDATA
// (E_OUTOFMEMORY if memory runs out). *out is overwritten either way.
HRESULT decodeImage(const uint8_t* data, size_t size, DecodeMode mode, DecodedImage* out);

// The individual decoders, for callers that know the kind already; each
// expects its own signature at data[0].
HRESULT decodePng(const uint8_t* data, size_t size, DecodeMode mode, DecodedImage* out);
HRESULT decodeJpeg(const uint8_t* data, size_t size, DecodeMode mode, DecodedImage* out);
HRESULT decodeBmp(const uint8_t* data, size_t size, DecodeMode mode, DecodedImage* out);
HRESULT decodeDds(const uint8_t* data, size_t size, DecodeMode mode, DecodedImage* out);

// Reads a whole file. The path's backslashes are mapped to '/'. False when it
// cannot be opened or read (or is larger than the layer accepts).
bool readWholeFile(const char* path, std::vector<uint8_t>* bytes);

// Appends box-filtered levels to `levels` (at least one level present) until
// the last is 1x1; each new pixel is the rounded mean of up to 2x2 pixels
// of the level above, per channel.
void completeMipChain(std::vector<ImageLevel>* levels);

// Number of levels in a full chain for a w x h image (1 for 1x1).
UINT fullMipCount(UINT width, UINT height);

}  // namespace d3dximage

#endif
