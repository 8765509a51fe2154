#include "PixelMasks.h"

#include "FileFormats.h"

namespace d3dximage {

MaskChannel::MaskChannel(uint32_t mask) : m_mask(mask) {
    if (mask == 0) return;
    while (((mask >> m_shift) & 1u) == 0) ++m_shift;
    uint32_t bits = mask >> m_shift;
    while (bits & 1u) {
        ++m_bits;
        bits >>= 1;
    }
    m_valid = bits == 0;
}

uint8_t MaskChannel::extract(uint32_t pixel) const {
    if (m_bits == 0) return 0;
    uint32_t v = (pixel & m_mask) >> m_shift;
    if (m_bits >= 8) return static_cast<uint8_t>(v >> (m_bits - 8));
    // Bit replication (5 bits abcde -> abcdeabc), as texture hardware widens
    // narrow channels: 0 stays 0 and the maximum becomes 255.
    uint32_t out = 0;
    int filled = 0;
    while (filled < 8) {
        out = (out << m_bits) | v;
        filled += m_bits;
    }
    return static_cast<uint8_t>(out >> (filled - 8));
}

MaskConverter::MaskConverter(const PixelMasks& masks)
    : m_r(masks.red), m_g(masks.green), m_b(masks.blue), m_a(masks.alpha),
      m_luminance(masks.luminance) {}

bool MaskConverter::valid() const {
    if (!m_r.valid() || !m_g.valid() || !m_b.valid() || !m_a.valid()) return false;
    return m_luminance ? m_r.present() : (m_r.present() || m_g.present() || m_b.present());
}

uint32_t MaskConverter::convert(uint32_t pixel) const {
    uint32_t r = m_r.extract(pixel);
    uint32_t g = m_luminance ? r : m_g.extract(pixel);
    uint32_t b = m_luminance ? r : m_b.extract(pixel);
    uint32_t a = m_a.present() ? m_a.extract(pixel) : 0xffu;
    return (a << 24) | (r << 16) | (g << 8) | b;
}

namespace {

struct KnownLayout {
    unsigned bits;
    bool luminance;
    uint32_t r, g, b, a;
    D3DFORMAT format;
};

const KnownLayout kKnownLayouts[] = {
    {32, false, 0x00ff0000, 0x0000ff00, 0x000000ff, 0xff000000, D3DFMT_A8R8G8B8},
    {32, false, 0x00ff0000, 0x0000ff00, 0x000000ff, 0, D3DFMT_X8R8G8B8},
    {32, false, 0x000000ff, 0x0000ff00, 0x00ff0000, 0xff000000, kFormatA8B8G8R8},
    {32, false, 0x000000ff, 0x0000ff00, 0x00ff0000, 0, kFormatX8B8G8R8},
    {24, false, 0xff0000, 0x00ff00, 0x0000ff, 0, D3DFMT_R8G8B8},
    {16, false, 0xf800, 0x07e0, 0x001f, 0, D3DFMT_R5G6B5},
    {16, false, 0x7c00, 0x03e0, 0x001f, 0x8000, D3DFMT_A1R5G5B5},
    {16, false, 0x7c00, 0x03e0, 0x001f, 0, D3DFMT_X1R5G5B5},
    {16, false, 0x0f00, 0x00f0, 0x000f, 0xf000, D3DFMT_A4R4G4B4},
    {16, false, 0x0f00, 0x00f0, 0x000f, 0, kFormatX4R4G4B4},
    {8, true, 0xff, 0, 0, 0, D3DFMT_L8},
    {16, true, 0x00ff, 0, 0, 0xff00, D3DFMT_A8L8},
};

}  // namespace

D3DFORMAT formatFromMasks(unsigned bitsPerPixel, const PixelMasks& masks) {
    for (const KnownLayout& k : kKnownLayouts) {
        if (k.bits != bitsPerPixel || k.luminance != masks.luminance) continue;
        if (k.r != masks.red || k.a != masks.alpha) continue;
        if (!k.luminance && (k.g != masks.green || k.b != masks.blue)) continue;
        return k.format;
    }
    return D3DFMT_UNKNOWN;
}

}  // namespace d3dximage
