// PNG decoding: every colour type and depth, tRNS, interlacing, the
// description each file gets.
#include <png.h>

#include <algorithm>

#include "ImageChecks.h"

using namespace imgtest;

namespace {

constexpr D3DFORMAT kP8 = static_cast<D3DFORMAT>(41);
constexpr D3DFORMAT kL16 = static_cast<D3DFORMAT>(81);
constexpr D3DFORMAT kA16B16G16R16 = static_cast<D3DFORMAT>(36);

TEST(PngDecode, EveryColourTypeDepthAndTransparency) {
    const struct {
        const char* name;
        int colorType, bitDepth;
        bool interlaced, trns;
        D3DFORMAT format;
        bool hasAlpha;
    } cases[] = {
        {"grey1", PNG_COLOR_TYPE_GRAY, 1, false, false, D3DFMT_L8, false},
        {"grey2 interlaced", PNG_COLOR_TYPE_GRAY, 2, true, false, D3DFMT_L8, false},
        {"grey4", PNG_COLOR_TYPE_GRAY, 4, false, false, D3DFMT_L8, false},
        {"grey8", PNG_COLOR_TYPE_GRAY, 8, false, false, D3DFMT_L8, false},
        {"grey16", PNG_COLOR_TYPE_GRAY, 16, false, false, kL16, false},
        {"grey8 tRNS", PNG_COLOR_TYPE_GRAY, 8, false, true, D3DFMT_L8, true},
        {"grey alpha8", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, false, D3DFMT_A8L8, true},
        {"grey alpha16", PNG_COLOR_TYPE_GRAY_ALPHA, 16, false, false, kA16B16G16R16, true},
        {"rgb8 interlaced", PNG_COLOR_TYPE_RGB, 8, true, false, D3DFMT_R8G8B8, false},
        {"rgb16", PNG_COLOR_TYPE_RGB, 16, false, false, kA16B16G16R16, false},
        {"rgb8 tRNS", PNG_COLOR_TYPE_RGB, 8, false, true, D3DFMT_R8G8B8, true},
        {"rgba8", PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false, D3DFMT_A8R8G8B8, true},
        {"rgba16 interlaced", PNG_COLOR_TYPE_RGB_ALPHA, 16, true, false, kA16B16G16R16, true},
        {"palette1", PNG_COLOR_TYPE_PALETTE, 1, false, false, kP8, false},
        {"palette2", PNG_COLOR_TYPE_PALETTE, 2, false, false, kP8, false},
        {"palette8, short palette", PNG_COLOR_TYPE_PALETTE, 8, false, false, kP8, false},
        {"palette8 tRNS", PNG_COLOR_TYPE_PALETTE, 8, false, true, kP8, true},
        {"palette4 tRNS interlaced", PNG_COLOR_TYPE_PALETTE, 4, true, true, kP8, true},
    };
    const unsigned w = 13, h = 7;  // odd sizes: partial bytes, partial interlace passes
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PngSpec shape;
        shape.width = w;
        shape.height = h;
        shape.colorType = c.colorType;
        shape.bitDepth = c.bitDepth;
        shape.interlaced = c.interlaced;
        std::vector<uint32_t> expected;
        const int d = c.bitDepth;
        if (c.colorType == PNG_COLOR_TYPE_PALETTE) {
            const unsigned entries = d == 8 ? 200 : 1u << d;
            for (unsigned i = 0; i < entries; ++i) {
                const uint32_t p = patternPixel(i, 0, 99);
                shape.palette.insert(shape.palette.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
            }
            for (unsigned i = 0; c.trns && i < entries / 2 + 1; ++i) shape.trns.push_back((i * 37) & 0xff);
            for (unsigned i = 0; i < w * h; ++i) {
                const unsigned index = patternPixel(i % w, i / w, 1) % entries;
                shape.samples.push_back(static_cast<uint16_t>(index));
                const uint32_t a = index < shape.trns.size() ? shape.trns[index] : 0xff;
                expected.push_back(a << 24 | shape.palette[3 * index] << 16 | shape.palette[3 * index + 1] << 8 |
                                   shape.palette[3 * index + 2]);
            }
        } else {
            // Samples of d bits taken from the pattern's 8-bit channels: the
            // top d bits (widened back exactly as PNG defines), or for 16
            // bits v * 257 plus a low part small enough to round back to v.
            const int channels =
                (c.colorType & PNG_COLOR_MASK_COLOR ? 3 : 1) + (c.colorType & PNG_COLOR_MASK_ALPHA ? 1 : 0);
            const int alpha = channels == 2 ? 1 : 3;
            for (unsigned i = 0; i < w * h; ++i) {
                const uint32_t p = patternPixel(i % w, i / w, 7), noise = patternPixel(i % w, i / w, 8);
                uint32_t v[4] = {(p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff, p >> 24};
                if (c.colorType == PNG_COLOR_TYPE_GRAY_ALPHA) v[1] = v[3];
                uint32_t out[4];
                for (int k = 0; k < 4; ++k) {
                    const uint32_t top = d >= 8 ? v[k] : v[k] >> (8 - d);
                    const uint32_t wide = v[k] == 255 ? 65535 : v[k] * 257 + ((noise >> (8 * k)) & 0x7f);
                    if (k < channels) shape.samples.push_back(uint16_t(d == 16 ? wide : top));
                    out[k] = d >= 8 ? v[k] : top * 255 / ((1u << d) - 1);
                }
                const bool grey = channels <= 2, hasA = channels == 2 || channels == 4;
                expected.push_back((hasA ? out[alpha] : 0xff) << 24 | out[0] << 16 | (grey ? out[0] : out[1]) << 8 |
                                   (grey ? out[0] : out[2]));
            }
            if (c.trns) {
                // The colour of pixel 0 becomes transparent wherever it occurs.
                shape.trns.assign(shape.samples.begin(), shape.samples.begin() + channels);
                for (unsigned i = 0; i < w * h; ++i)
                    if (std::equal(shape.trns.begin(), shape.trns.end(), shape.samples.begin() + i * channels))
                        expected[i] &= 0x00ffffffu;
            }
        }
        expectImage(writePng(shape), D3DXIFF_PNG, c.format, c.hasAlpha, w, h, expected);
    }
}

TEST(PngDecode, BadCrcInImageDataFails) {
    PngSpec shape;
    shape.width = shape.height = 8;
    shape.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    shape.samples.assign(8 * 8 * 4, 0x55);
    Bytes file = writePng(shape);
    // The IDAT chunk follows IHDR (8 + 25 bytes); flip a byte of its data.
    file[8 + 25 + 8 + 2] ^= 0x55;
    EXPECT_EQ(D3DXERR_INVALIDDATA, decode(file));
}

}  // namespace
