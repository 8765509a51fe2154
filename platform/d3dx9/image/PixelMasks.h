// Little-endian field reads and channel extraction by bit mask, shared by
// the BMP and DDS readers (both describe uncompressed pixels with masks).
#ifndef ZV_D3DX9_IMAGE_PIXELMASKS_H
#define ZV_D3DX9_IMAGE_PIXELMASKS_H

#include <d3d9.h>

#include <cstdint>

namespace d3dximage {

inline uint16_t readLe16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t readLe32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// One colour channel given by a mask of contiguous bits.
class MaskChannel {
public:
    MaskChannel() = default;
    explicit MaskChannel(uint32_t mask);

    // False for a mask whose bits are not contiguous.
    bool valid() const { return m_valid; }
    bool present() const { return m_bits > 0; }
    // The channel widened to 0..255 by bit replication; 0 for an absent channel.
    uint8_t extract(uint32_t pixel) const;

private:
    uint32_t m_mask = 0;
    int m_shift = 0;
    int m_bits = 0;
    bool m_valid = true;
};

// Red, green, blue and alpha masks of an uncompressed pixel. With
// `luminance`, red's mask gives the grey level for all three colours.
struct PixelMasks {
    uint32_t red = 0;
    uint32_t green = 0;
    uint32_t blue = 0;
    uint32_t alpha = 0;
    bool luminance = false;
};

// Converts pixels of `bitsPerPixel` (8, 16, 24 or 32) bits by masks.
class MaskConverter {
public:
    MaskConverter(const PixelMasks& masks);
    bool valid() const;
    bool hasAlpha() const { return m_a.present(); }
    // Pixel value from its little-endian bytes to 0xAARRGGBB (alpha 0xFF
    // when the masks have none).
    uint32_t convert(uint32_t pixel) const;

private:
    MaskChannel m_r, m_g, m_b, m_a;
    bool m_luminance;
};

// The D3DFMT named by an uncompressed layout, D3DFMT_UNKNOWN if none is.
D3DFORMAT formatFromMasks(unsigned bitsPerPixel, const PixelMasks& masks);

}  // namespace d3dximage

#endif
