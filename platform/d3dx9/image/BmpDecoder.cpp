// Windows bitmaps: BITMAPCOREHEADER and BITMAPINFOHEADER up to V5; 1/4/8-bit
// palette (also RLE4/RLE8), 16-bit (555, or masks with BI_BITFIELDS), 24-bit,
// 32-bit (BI_RGB or masks); bottom-up, or top-down with a negative height.
#include <climits>

#include "FileFormats.h"
#include "ImageDecode.h"
#include "PixelMasks.h"

namespace d3dximage {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;
constexpr size_t kFileHeaderBytes = 14;

struct BmpLayout {
    UINT width = 0;
    UINT height = 0;
    bool topDown = false;
    unsigned bits = 0;
    uint32_t compression = kBiRgb;
    PixelMasks masks;
    uint32_t palette[256] = {};  // 0xFF000000 | RGB; unlisted entries are opaque black
    uint64_t dataOffset = 0;
    uint64_t stride = 0;
};

// Parses and checks everything up to the pixel data; on success the pixel
// data of an uncompressed image lies entirely inside the file.
HRESULT parseLayout(const uint8_t* data, size_t size, BmpLayout* bmp) {
    if (size < kFileHeaderBytes + 12) return D3DXERR_INVALIDDATA;
    bmp->dataOffset = readLe32(data + 10);
    const uint8_t* h = data + kFileHeaderBytes;
    uint32_t headerBytes = readLe32(h);
    if (headerBytes != 12 && (headerBytes < 40 || headerBytes > 1024)) return D3DXERR_INVALIDDATA;
    if (kFileHeaderBytes + headerBytes > size) return D3DXERR_INVALIDDATA;

    int64_t width, height;
    unsigned planes;
    uint32_t colorsUsed = 0;
    size_t paletteEntryBytes = 4;
    size_t paletteOffset = kFileHeaderBytes + headerBytes;
    if (headerBytes == 12) {
        width = readLe16(h + 4);
        height = readLe16(h + 6);
        planes = readLe16(h + 8);
        bmp->bits = readLe16(h + 10);
        paletteEntryBytes = 3;
    } else {
        width = static_cast<int32_t>(readLe32(h + 4));
        height = static_cast<int32_t>(readLe32(h + 8));
        planes = readLe16(h + 12);
        bmp->bits = readLe16(h + 14);
        bmp->compression = readLe32(h + 16);
        colorsUsed = readLe32(h + 32);
    }
    if (planes != 1 || width <= 0 || height == 0) return D3DXERR_INVALIDDATA;
    bmp->topDown = height < 0;
    if (height < 0) height = -height;  // int64_t: INT_MIN negates safely
    if (width > kMaxImageEdge || height > kMaxImageEdge) return D3DXERR_INVALIDDATA;
    bmp->width = static_cast<UINT>(width);
    bmp->height = static_cast<UINT>(height);

    const unsigned b = bmp->bits;
    switch (bmp->compression) {
    case kBiRgb:
        if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) return D3DXERR_INVALIDDATA;
        break;
    case kBiRle8:
    case kBiRle4:
        if (b != (bmp->compression == kBiRle8 ? 8u : 4u) || bmp->topDown) return D3DXERR_INVALIDDATA;
        break;
    case kBiBitfields:
    case kBiAlphaBitfields:
        if (b != 16 && b != 32) return D3DXERR_INVALIDDATA;
        break;
    default:  // JPEG or PNG inside a BMP, and other rarities
        return D3DXERR_INVALIDDATA;
    }

    if (bmp->compression == kBiBitfields || bmp->compression == kBiAlphaBitfields) {
        // A plain 40-byte header is followed by the masks; later versions hold them.
        size_t maskCount = bmp->compression == kBiAlphaBitfields || headerBytes >= 56 ? 4 : 3;
        size_t maskOffset = kFileHeaderBytes + 40;
        if (maskOffset + 4 * maskCount > size) return D3DXERR_INVALIDDATA;
        bmp->masks.red = readLe32(data + maskOffset);
        bmp->masks.green = readLe32(data + maskOffset + 4);
        bmp->masks.blue = readLe32(data + maskOffset + 8);
        if (maskCount == 4) bmp->masks.alpha = readLe32(data + maskOffset + 12);
        if (headerBytes == 40) paletteOffset += 4 * maskCount;
        if (!MaskConverter(bmp->masks).valid()) return D3DXERR_INVALIDDATA;
    } else if (b == 16) {
        bmp->masks = PixelMasks{0x7c00, 0x03e0, 0x001f, 0, false};
    } else if (b == 24 || b == 32) {
        bmp->masks = PixelMasks{0xff0000, 0x00ff00, 0x0000ff, 0, false};
    }

    if (b <= 8) {
        uint32_t maxColors = 1u << b;
        uint32_t count = colorsUsed ? colorsUsed : maxColors;
        if (count > maxColors) return D3DXERR_INVALIDDATA;
        // Without a stated count (always so for core headers) writers may
        // still store a short palette: take what lies before the pixels.
        if (!colorsUsed && bmp->dataOffset > paletteOffset) {
            uint64_t room = (bmp->dataOffset - paletteOffset) / paletteEntryBytes;
            if (room < count) count = static_cast<uint32_t>(room);
        }
        if (paletteOffset + static_cast<uint64_t>(count) * paletteEntryBytes > size) {
            return D3DXERR_INVALIDDATA;
        }
        for (uint32_t i = 0; i < 256; ++i) bmp->palette[i] = 0xff000000u;
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = data + paletteOffset + i * paletteEntryBytes;
            bmp->palette[i] = 0xff000000u | (e[2] << 16) | (e[1] << 8) | e[0];
        }
    }

    bmp->stride = (static_cast<uint64_t>(bmp->width) * b + 31) / 32 * 4;
    if (bmp->dataOffset >= size) return D3DXERR_INVALIDDATA;
    bool compressed = bmp->compression == kBiRle8 || bmp->compression == kBiRle4;
    if (!compressed && bmp->dataOffset + bmp->stride * bmp->height > size) return D3DXERR_INVALIDDATA;
    return D3D_OK;
}

// 32-bit BI_RGB keeps alpha in the reserved byte when any pixel sets it;
// with all of them zero the image is taken as X8R8G8B8.
bool rgb32UsesAlpha(const uint8_t* data, const BmpLayout& bmp) {
    for (UINT y = 0; y < bmp.height; ++y) {
        const uint8_t* row = data + bmp.dataOffset + bmp.stride * y;
        for (UINT x = 0; x < bmp.width; ++x) {
            if (row[x * 4 + 3] != 0) return true;
        }
    }
    return false;
}

void decodeRow(const uint8_t* src, const BmpLayout& bmp, const MaskConverter& conv,
               uint32_t* dst) {
    const UINT w = bmp.width;
    switch (bmp.bits) {
    case 1:
        for (UINT x = 0; x < w; ++x) dst[x] = bmp.palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
        break;
    case 4:
        for (UINT x = 0; x < w; ++x) dst[x] = bmp.palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
        break;
    case 8:
        for (UINT x = 0; x < w; ++x) dst[x] = bmp.palette[src[x]];
        break;
    case 16:
        for (UINT x = 0; x < w; ++x) dst[x] = conv.convert(readLe16(src + 2 * x));
        break;
    case 24:
        for (UINT x = 0; x < w; ++x) {
            const uint8_t* p = src + 3 * x;
            dst[x] = 0xff000000u | (p[2] << 16) | (p[1] << 8) | p[0];
        }
        break;
    case 32:
        for (UINT x = 0; x < w; ++x) dst[x] = conv.convert(readLe32(src + 4 * x));
        break;
    }
}

// Run-length data, bottom-up. Runs past the right edge are clipped; pixels
// no run reaches keep palette entry 0. Data that ends before the
// end-of-bitmap code (or the last row) is truncated. With pixels null the
// stream is only checked: a few bytes of deltas can legitimately span a huge
// image, so the image is allocated only once its stream is known complete.
HRESULT decodeRle(const uint8_t* data, size_t size, const BmpLayout& bmp, uint32_t* pixels) {
    const bool rle4 = bmp.compression == kBiRle4;
    for (size_t i = 0, n = pixels ? static_cast<size_t>(bmp.width) * bmp.height : 0; i < n; ++i) {
        pixels[i] = bmp.palette[0];
    }
    uint64_t x = 0, y = 0;
    auto put = [&](uint8_t index) {
        if (pixels && x < bmp.width && y < bmp.height) {
            pixels[(bmp.height - 1 - y) * static_cast<size_t>(bmp.width) + x] = bmp.palette[index];
        }
        ++x;
    };
    size_t pos = static_cast<size_t>(bmp.dataOffset);
    while (y < bmp.height) {
        if (pos + 2 > size) return D3DXERR_INVALIDDATA;
        uint8_t count = data[pos], value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i) {
                put(rle4 ? ((i & 1) ? value & 15 : value >> 4) : value);
            }
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            return D3D_OK;
        } else if (value == 2) {  // move right and up
            if (pos + 2 > size) return D3DXERR_INVALIDDATA;
            x += data[pos];
            y += data[pos + 1];
            pos += 2;
        } else {  // `value` literal pixels, padded to a 16-bit boundary
            size_t bytes = rle4 ? (value + 1u) / 2 : value;
            size_t padded = (bytes + 1) & ~static_cast<size_t>(1);
            if (pos + padded > size) return D3DXERR_INVALIDDATA;
            for (unsigned i = 0; i < value; ++i) {
                put(rle4 ? ((i & 1) ? data[pos + i / 2] & 15 : data[pos + i / 2] >> 4)
                         : data[pos + i]);
            }
            pos += padded;
        }
    }
    return D3D_OK;
}

D3DFORMAT fileFormat(const BmpLayout& bmp, bool alphaInRgb32) {
    if (bmp.bits <= 8) return kFormatP8;
    if (bmp.bits == 24) return D3DFMT_R8G8B8;
    if (bmp.bits == 32 && bmp.compression == kBiRgb) {
        return alphaInRgb32 ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    }
    D3DFORMAT format = formatFromMasks(bmp.bits, bmp.masks);
    if (format != D3DFMT_UNKNOWN) return format;
    // Unusual masks still decode; name the nearest common layout.
    if (bmp.bits == 16) return bmp.masks.alpha ? D3DFMT_A1R5G5B5 : D3DFMT_X1R5G5B5;
    return bmp.masks.alpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
}

}  // namespace

HRESULT decodeBmp(const uint8_t* data, size_t size, DecodeMode mode, DecodedImage* out) {
    *out = DecodedImage();
    BmpLayout bmp;
    HRESULT hr = parseLayout(data, size, &bmp);
    if (FAILED(hr)) return hr;

    bool alphaInRgb32 = bmp.bits == 32 && bmp.compression == kBiRgb && rgb32UsesAlpha(data, bmp);
    if (alphaInRgb32) bmp.masks.alpha = 0xff000000u;

    out->info.Width = bmp.width;
    out->info.Height = bmp.height;
    out->info.Depth = 1;
    out->info.MipLevels = 1;
    out->info.Format = fileFormat(bmp, alphaInRgb32);
    out->info.ResourceType = D3DRTYPE_TEXTURE;
    out->info.ImageFileFormat = D3DXIFF_BMP;
    out->hasAlpha = bmp.masks.alpha != 0;
    if (mode == DecodeMode::InfoOnly) return D3D_OK;

    ImageLevel level;
    level.width = bmp.width;
    level.height = bmp.height;
    if (bmp.compression == kBiRle8 || bmp.compression == kBiRle4) {
        hr = decodeRle(data, size, bmp, nullptr);
        if (FAILED(hr)) {
            *out = DecodedImage();
            return hr;
        }
        level.pixels.resize(static_cast<size_t>(bmp.width) * bmp.height);
        decodeRle(data, size, bmp, level.pixels.data());
    } else {
        level.pixels.resize(static_cast<size_t>(bmp.width) * bmp.height);
        MaskConverter conv(bmp.masks);
        for (UINT row = 0; row < bmp.height; ++row) {
            UINT y = bmp.topDown ? row : bmp.height - 1 - row;
            decodeRow(data + bmp.dataOffset + bmp.stride * row, bmp, conv,
                      &level.pixels[static_cast<size_t>(y) * bmp.width]);
        }
    }
    out->faces.resize(1);
    out->faces[0].push_back(std::move(level));
    return D3D_OK;
}

}  // namespace d3dximage
