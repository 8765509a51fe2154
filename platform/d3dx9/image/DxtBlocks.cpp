#include "DxtBlocks.h"

#include "PixelMasks.h"

namespace d3dximage {

namespace {

struct Rgb {
    uint32_t r, g, b;
};

Rgb expand565(uint16_t c) {
    uint32_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
    return Rgb{(r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2)};
}

uint32_t argb(uint32_t a, const Rgb& c) {
    return (a << 24) | (c.r << 16) | (c.g << 8) | c.b;
}

// Weighted mean (wa * a + wb * b) / (wa + wb) of each channel.
Rgb mix(const Rgb& a, unsigned wa, const Rgb& b, unsigned wb) {
    unsigned d = wa + wb;
    return Rgb{(a.r * wa + b.r * wb) / d, (a.g * wa + b.g * wb) / d, (a.b * wa + b.b * wb) / d};
}

// Colour part: 2 RGB565 endpoints then 16 two-bit indices, LSB first.
void decodeColours(const uint8_t* block, bool allowTransparent, uint32_t pixels[16]) {
    uint16_t c0 = readLe16(block), c1 = readLe16(block + 2);
    Rgb e0 = expand565(c0), e1 = expand565(c1);
    uint32_t palette[4];
    palette[0] = argb(0xff, e0);
    palette[1] = argb(0xff, e1);
    if (c0 > c1 || !allowTransparent) {
        palette[2] = argb(0xff, mix(e0, 2, e1, 1));
        palette[3] = argb(0xff, mix(e0, 1, e1, 2));
    } else {
        palette[2] = argb(0xff, mix(e0, 1, e1, 1));
        palette[3] = 0x00000000u;
    }
    uint32_t indices = readLe32(block + 4);
    for (int i = 0; i < 16; ++i) pixels[i] = palette[(indices >> (2 * i)) & 3];
}

void setAlpha(uint32_t& pixel, uint32_t alpha) {
    pixel = (pixel & 0x00ffffffu) | (alpha << 24);
}

// 16 explicit 4-bit alphas, LSB first.
void decodeExplicitAlpha(const uint8_t* block, uint32_t pixels[16]) {
    for (int i = 0; i < 16; ++i) {
        uint32_t a = (block[i / 2] >> ((i & 1) * 4)) & 15;
        setAlpha(pixels[i], a * 17);
    }
}

// Two 8-bit endpoints then 16 three-bit indices (48 bits, LSB first).
void decodeInterpolatedAlpha(const uint8_t* block, uint32_t pixels[16]) {
    uint32_t a0 = block[0], a1 = block[1];
    uint32_t table[8] = {a0, a1, 0, 0, 0, 0, 0, 0};
    if (a0 > a1) {
        for (uint32_t i = 1; i <= 6; ++i) table[i + 1] = ((7 - i) * a0 + i * a1) / 7;
    } else {
        for (uint32_t i = 1; i <= 4; ++i) table[i + 1] = ((5 - i) * a0 + i * a1) / 5;
        table[6] = 0;
        table[7] = 255;
    }
    uint64_t bits = 0;
    for (int i = 0; i < 6; ++i) bits |= static_cast<uint64_t>(block[2 + i]) << (8 * i);
    for (int i = 0; i < 16; ++i) setAlpha(pixels[i], table[(bits >> (3 * i)) & 7]);
}

}  // namespace

size_t dxtBlockBytes(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_DXT1:
        return 8;
    case D3DFMT_DXT3:
    case D3DFMT_DXT5:
        return 16;
    default:
        return 0;
    }
}

void decodeDxtBlock(D3DFORMAT format, const uint8_t* block, uint32_t pixels[16]) {
    switch (format) {
    case D3DFMT_DXT1:
        decodeColours(block, true, pixels);
        break;
    case D3DFMT_DXT3:
        decodeColours(block + 8, false, pixels);
        decodeExplicitAlpha(block, pixels);
        break;
    case D3DFMT_DXT5:
        decodeColours(block + 8, false, pixels);
        decodeInterpolatedAlpha(block, pixels);
        break;
    default:
        for (int i = 0; i < 16; ++i) pixels[i] = 0;
        break;
    }
}

void decodeDxtLevel(D3DFORMAT format, const uint8_t* blocks, unsigned width, unsigned height,
                    uint32_t* pixels) {
    const size_t blockBytes = dxtBlockBytes(format);
    const unsigned blocksWide = (width + 3) / 4, blocksHigh = (height + 3) / 4;
    uint32_t texels[16];
    for (unsigned by = 0; by < blocksHigh; ++by) {
        for (unsigned bx = 0; bx < blocksWide; ++bx) {
            decodeDxtBlock(format, blocks, texels);
            blocks += blockBytes;
            for (unsigned ty = 0; ty < 4 && by * 4 + ty < height; ++ty) {
                for (unsigned tx = 0; tx < 4 && bx * 4 + tx < width; ++tx) {
                    pixels[static_cast<size_t>(by * 4 + ty) * width + bx * 4 + tx] =
                        texels[ty * 4 + tx];
                }
            }
        }
    }
}

}  // namespace d3dximage
