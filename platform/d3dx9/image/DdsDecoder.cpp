// DirectDraw surfaces: "DDS " + 124-byte header, then every level of every
// face, largest level first. Uncompressed RGB / luminance layouts by mask,
// DXT1/3/5; 2-D textures and complete cube maps. Volume textures, DX10
// headers and other FourCCs are refused as data this reader cannot use.
#include "DxtBlocks.h"
#include "ImageDecode.h"
#include "ImageReport.h"
#include "PixelMasks.h"

namespace d3dximage {

namespace {

constexpr size_t kHeaderBytes = 4 + 124;

constexpr uint32_t kDdsdMipMapCount = 0x20000;
constexpr uint32_t kDdpfAlphaPixels = 0x1;
constexpr uint32_t kDdpfFourCC = 0x4;
constexpr uint32_t kDdpfRgb = 0x40;
constexpr uint32_t kDdpfLuminance = 0x20000;
constexpr uint32_t kDdsCaps2Cubemap = 0x200;
constexpr uint32_t kDdsCaps2AllFaces = 0xfc00;
constexpr uint32_t kDdsCaps2Volume = 0x200000;

struct DdsLayout {
    UINT width = 0;
    UINT height = 0;
    UINT levels = 1;
    UINT faces = 1;
    D3DFORMAT format = D3DFMT_UNKNOWN;
    unsigned bitsPerPixel = 0;  // uncompressed only
    PixelMasks masks;
};

UINT levelEdge(UINT edge, UINT level) {
    UINT e = edge >> level;
    return e ? e : 1;
}

uint64_t levelBytes(const DdsLayout& dds, UINT level) {
    uint64_t w = levelEdge(dds.width, level), h = levelEdge(dds.height, level);
    size_t block = dxtBlockBytes(dds.format);
    if (block) return ((w + 3) / 4) * ((h + 3) / 4) * block;
    return w * h * (dds.bitsPerPixel / 8);
}

HRESULT parsePixelFormat(const uint8_t* pf, DdsLayout* dds) {
    uint32_t flags = readLe32(pf + 4);
    if (flags & kDdpfFourCC) {
        uint32_t fourCC = readLe32(pf + 8);
        switch (fourCC) {
        case D3DFMT_DXT1:
        case D3DFMT_DXT3:
        case D3DFMT_DXT5:
            dds->format = static_cast<D3DFORMAT>(fourCC);
            return D3D_OK;
        default:
            reportUnhandled("DDS FourCC", fourCC);
            return D3DXERR_INVALIDDATA;
        }
    }
    if (!(flags & (kDdpfRgb | kDdpfLuminance))) {
        reportUnhandled("DDS pixel format flags", flags);
        return D3DXERR_INVALIDDATA;
    }
    dds->bitsPerPixel = readLe32(pf + 12);
    dds->masks.luminance = (flags & kDdpfLuminance) != 0;
    dds->masks.red = readLe32(pf + 16);
    dds->masks.green = dds->masks.luminance ? 0 : readLe32(pf + 20);
    dds->masks.blue = dds->masks.luminance ? 0 : readLe32(pf + 24);
    dds->masks.alpha = (flags & kDdpfAlphaPixels) ? readLe32(pf + 28) : 0;
    dds->format = formatFromMasks(dds->bitsPerPixel, dds->masks);
    if (dds->format == D3DFMT_UNKNOWN) {
        reportUnhandled("DDS uncompressed layout, bits per pixel", dds->bitsPerPixel);
        return D3DXERR_INVALIDDATA;
    }
    return D3D_OK;
}

HRESULT parseLayout(const uint8_t* data, size_t size, DdsLayout* dds) {
    if (size < kHeaderBytes) return D3DXERR_INVALIDDATA;
    const uint8_t* h = data + 4;
    if (readLe32(h) != 124) return D3DXERR_INVALIDDATA;
    uint32_t flags = readLe32(h + 4);
    uint32_t height = readLe32(h + 8);
    uint32_t width = readLe32(h + 12);
    uint32_t mipCount = readLe32(h + 24);
    uint32_t caps2 = readLe32(h + 108);
    if (width == 0 || height == 0 || width > kMaxImageEdge || height > kMaxImageEdge) {
        return D3DXERR_INVALIDDATA;
    }
    if (caps2 & kDdsCaps2Volume) {
        reportUnhandled("DDS caps2 (volume texture)", caps2);
        return D3DXERR_INVALIDDATA;
    }
    dds->width = width;
    dds->height = height;
    // The pitch / linear-size field is ignored, as D3DX does: sizes follow
    // from width, height and format alone.
    dds->levels = (flags & kDdsdMipMapCount) && mipCount > 0 ? mipCount : 1;
    // A count beyond the full chain names levels past 1x1; only the full
    // chain is read.
    if (dds->levels > fullMipCount(width, height)) dds->levels = fullMipCount(width, height);
    if (caps2 & kDdsCaps2Cubemap) {
        if ((caps2 & kDdsCaps2AllFaces) != kDdsCaps2AllFaces) {
            reportUnhandled("DDS cube map with missing faces, caps2", caps2);
            return D3DXERR_INVALIDDATA;
        }
        if (width != height) return D3DXERR_INVALIDDATA;
        dds->faces = 6;
    }
    HRESULT hr = parsePixelFormat(h + 72, dds);
    if (FAILED(hr)) return hr;

    uint64_t total = 0;
    for (UINT level = 0; level < dds->levels; ++level) total += levelBytes(*dds, level);
    if (kHeaderBytes + total * dds->faces > size) return D3DXERR_INVALIDDATA;
    return D3D_OK;
}

void decodeUncompressed(const uint8_t* src, const DdsLayout& dds, ImageLevel* level) {
    MaskConverter conv(dds.masks);
    const unsigned bytes = dds.bitsPerPixel / 8;
    for (size_t i = 0, n = level->pixels.size(); i < n; ++i, src += bytes) {
        uint32_t v = 0;
        for (unsigned b = 0; b < bytes; ++b) v |= static_cast<uint32_t>(src[b]) << (8 * b);
        level->pixels[i] = conv.convert(v);
    }
}

}  // namespace

HRESULT decodeDds(const uint8_t* data, size_t size, DecodeMode mode, DecodedImage* out) {
    *out = DecodedImage();
    DdsLayout dds;
    HRESULT hr = parseLayout(data, size, &dds);
    if (FAILED(hr)) return hr;

    out->info.Width = dds.width;
    out->info.Height = dds.height;
    out->info.Depth = 1;
    out->info.MipLevels = dds.levels;
    out->info.Format = dds.format;
    out->info.ResourceType = dds.faces == 6 ? D3DRTYPE_CUBETEXTURE : D3DRTYPE_TEXTURE;
    out->info.ImageFileFormat = D3DXIFF_DDS;
    out->hasAlpha = dxtBlockBytes(dds.format) != 0 || dds.masks.alpha != 0;
    if (mode == DecodeMode::InfoOnly) return D3D_OK;

    const uint8_t* src = data + kHeaderBytes;
    out->faces.resize(dds.faces);
    for (UINT face = 0; face < dds.faces; ++face) {
        for (UINT l = 0; l < dds.levels; ++l) {
            ImageLevel level;
            level.width = levelEdge(dds.width, l);
            level.height = levelEdge(dds.height, l);
            level.pixels.resize(static_cast<size_t>(level.width) * level.height);
            if (dxtBlockBytes(dds.format)) {
                decodeDxtLevel(dds.format, src, level.width, level.height, level.pixels.data());
            } else {
                decodeUncompressed(src, dds, &level);
            }
            src += levelBytes(dds, l);
            out->faces[face].push_back(std::move(level));
        }
    }
    return D3D_OK;
}

}  // namespace d3dximage
