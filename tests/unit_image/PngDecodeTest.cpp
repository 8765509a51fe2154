// PNG decoding: every colour type and depth, tRNS, interlacing, the
// description each file gets.
#include <gtest/gtest.h>
#include <png.h>

#include "ImageWriters.h"
#include "d3dx9/image/ImageDecode.h"

using namespace imgtest;
using d3dximage::DecodedImage;
using d3dximage::DecodeMode;

namespace {

struct PngCase {
    const char* name;
    int colorType;
    int bitDepth;
    bool interlaced;
    bool trns;
    D3DFORMAT format;
    bool hasAlpha;
};

constexpr D3DFORMAT kP8 = static_cast<D3DFORMAT>(41);
constexpr D3DFORMAT kL16 = static_cast<D3DFORMAT>(81);
constexpr D3DFORMAT kA16B16G16R16 = static_cast<D3DFORMAT>(36);

const PngCase kCases[] = {
    {"grey1", PNG_COLOR_TYPE_GRAY, 1, false, false, D3DFMT_L8, false},
    {"grey2", PNG_COLOR_TYPE_GRAY, 2, false, false, D3DFMT_L8, false},
    {"grey4", PNG_COLOR_TYPE_GRAY, 4, false, false, D3DFMT_L8, false},
    {"grey8", PNG_COLOR_TYPE_GRAY, 8, false, false, D3DFMT_L8, false},
    {"grey16", PNG_COLOR_TYPE_GRAY, 16, false, false, kL16, false},
    {"grey8_trns", PNG_COLOR_TYPE_GRAY, 8, false, true, D3DFMT_L8, true},
    {"grey_alpha8", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, false, D3DFMT_A8L8, true},
    {"grey_alpha16", PNG_COLOR_TYPE_GRAY_ALPHA, 16, false, false, kA16B16G16R16, true},
    {"rgb8", PNG_COLOR_TYPE_RGB, 8, false, false, D3DFMT_R8G8B8, false},
    {"rgb16", PNG_COLOR_TYPE_RGB, 16, false, false, kA16B16G16R16, false},
    {"rgb8_trns", PNG_COLOR_TYPE_RGB, 8, false, true, D3DFMT_R8G8B8, true},
    {"rgba8", PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false, D3DFMT_A8R8G8B8, true},
    {"rgba16", PNG_COLOR_TYPE_RGB_ALPHA, 16, false, false, kA16B16G16R16, true},
    {"palette1", PNG_COLOR_TYPE_PALETTE, 1, false, false, kP8, false},
    {"palette2", PNG_COLOR_TYPE_PALETTE, 2, false, false, kP8, false},
    {"palette4", PNG_COLOR_TYPE_PALETTE, 4, false, false, kP8, false},
    {"palette8", PNG_COLOR_TYPE_PALETTE, 8, false, false, kP8, false},
    {"palette8_trns", PNG_COLOR_TYPE_PALETTE, 8, false, true, kP8, true},
    {"palette4_trns_interlaced", PNG_COLOR_TYPE_PALETTE, 4, true, true, kP8, true},
    {"grey2_interlaced", PNG_COLOR_TYPE_GRAY, 2, true, false, D3DFMT_L8, false},
    {"rgb8_interlaced", PNG_COLOR_TYPE_RGB, 8, true, false, D3DFMT_R8G8B8, false},
    {"rgba16_interlaced", PNG_COLOR_TYPE_RGB_ALPHA, 16, true, false, kA16B16G16R16, true},
};

// Widens a `bits`-bit sample to 8 bits the way PNG defines it (exact scaling).
uint32_t widen(uint32_t v, int bits) {
    return bits >= 8 ? v : v * 255 / ((1u << bits) - 1);
}

// A sample of `bits` bits derived from the 8-bit value v. 16-bit samples
// carry v in the high byte plus a low part small enough that scaling to 8
// bits (v16 / 257, rounded) still gives v.
uint16_t sampleOf(uint32_t v8, uint32_t noise, int bits) {
    if (bits == 16) return static_cast<uint16_t>(v8 == 255 ? 65535 : v8 * 257 + (noise & 0x7f));
    return static_cast<uint16_t>(bits == 8 ? v8 : v8 & ((1u << bits) - 1));
}

uint32_t argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// Builds the file for a case and the pixels a correct decoder returns.
PngSpec makeCase(const PngCase& c, unsigned w, unsigned h, std::vector<uint32_t>* expected) {
    PngSpec spec;
    spec.width = w;
    spec.height = h;
    spec.colorType = c.colorType;
    spec.bitDepth = c.bitDepth;
    spec.interlaced = c.interlaced;
    expected->assign(static_cast<size_t>(w) * h, 0);
    const int d = c.bitDepth;
    const int d8 = d == 16 ? 8 : d;  // bits that survive into the 8-bit result

    if (c.colorType == PNG_COLOR_TYPE_PALETTE) {
        unsigned entries = d == 8 ? 200 : (1u << d);
        for (unsigned i = 0; i < entries; ++i) {
            uint32_t p = patternPixel(i, 0, 99);
            spec.palette.insert(spec.palette.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
        }
        if (c.trns) {
            for (unsigned i = 0; i < entries / 2 + 1; ++i) spec.trns.push_back((i * 37) & 0xff);
        }
        for (unsigned i = 0; i < w * h; ++i) {
            unsigned index = patternPixel(i % w, i / w, 1) % entries;
            spec.samples.push_back(static_cast<uint16_t>(index));
            uint32_t a = index < spec.trns.size() ? spec.trns[index] : 0xff;
            (*expected)[i] = argb(a, spec.palette[3 * index], spec.palette[3 * index + 1],
                                  spec.palette[3 * index + 2]);
        }
        return spec;
    }

    for (unsigned i = 0; i < w * h; ++i) {
        uint32_t p = patternPixel(i % w, i / w, 7);
        uint32_t noise = patternPixel(i % w, i / w, 8);
        uint32_t r8 = (p >> 16) & 0xff, g8 = (p >> 8) & 0xff, b8 = p & 0xff, a8 = p >> 24;
        uint16_t rs = sampleOf(r8, noise, d), gs = sampleOf(g8, noise >> 8, d),
                 bs = sampleOf(b8, noise >> 16, d), as = sampleOf(a8, noise >> 24, d);
        uint32_t r = widen(sampleOf(r8, 0, d8), d8), g = widen(sampleOf(g8, 0, d8), d8),
                 b = widen(sampleOf(b8, 0, d8), d8), a = widen(sampleOf(a8, 0, d8), d8);
        switch (c.colorType) {
        case PNG_COLOR_TYPE_GRAY:
            spec.samples.push_back(rs);
            (*expected)[i] = argb(0xff, r, r, r);
            break;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            spec.samples.insert(spec.samples.end(), {rs, as});
            (*expected)[i] = argb(a, r, r, r);
            break;
        case PNG_COLOR_TYPE_RGB:
            spec.samples.insert(spec.samples.end(), {rs, gs, bs});
            (*expected)[i] = argb(0xff, r, g, b);
            break;
        default:
            spec.samples.insert(spec.samples.end(), {rs, gs, bs, as});
            (*expected)[i] = argb(a, r, g, b);
            break;
        }
    }
    if (c.trns) {
        // The colour of pixel 0 becomes transparent wherever it occurs.
        int channels = c.colorType == PNG_COLOR_TYPE_GRAY ? 1 : 3;
        for (int k = 0; k < channels; ++k) spec.trns.push_back(spec.samples[k]);
        for (unsigned i = 0; i < w * h; ++i) {
            bool same = true;
            for (int k = 0; k < channels; ++k) same &= spec.samples[i * channels + k] == spec.trns[k];
            if (same) (*expected)[i] &= 0x00ffffffu;
        }
    }
    return spec;
}

class PngDecode : public ::testing::TestWithParam<PngCase> {};

TEST_P(PngDecode, PixelsAndDescriptionMatchTheFile) {
    const PngCase& c = GetParam();
    const unsigned w = 13, h = 7;  // odd sizes: partial bytes, partial interlace passes
    std::vector<uint32_t> expected;
    Bytes file = writePng(makeCase(c, w, h, &expected));

    DecodedImage img;
    ASSERT_EQ(D3D_OK, d3dximage::decodeImage(file.data(), file.size(), DecodeMode::Pixels, &img));
    EXPECT_EQ(w, img.info.Width);
    EXPECT_EQ(h, img.info.Height);
    EXPECT_EQ(1u, img.info.Depth);
    EXPECT_EQ(1u, img.info.MipLevels);
    EXPECT_EQ(c.format, img.info.Format);
    EXPECT_EQ(D3DRTYPE_TEXTURE, img.info.ResourceType);
    EXPECT_EQ(D3DXIFF_PNG, img.info.ImageFileFormat);
    EXPECT_EQ(c.hasAlpha, img.hasAlpha);
    ASSERT_EQ(1u, img.faces.size());
    ASSERT_EQ(1u, img.faces[0].size());
    const auto& level = img.faces[0][0];
    ASSERT_EQ(w * h, level.pixels.size());
    for (unsigned i = 0; i < w * h; ++i) {
        ASSERT_EQ(expected[i], level.pixels[i]) << "pixel " << i % w << "," << i / w;
    }

    DecodedImage info;
    ASSERT_EQ(D3D_OK, d3dximage::decodeImage(file.data(), file.size(), DecodeMode::InfoOnly, &info));
    EXPECT_EQ(c.format, info.info.Format);
    EXPECT_TRUE(info.faces.empty());
}

INSTANTIATE_TEST_SUITE_P(AllKinds, PngDecode, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<PngCase>& i) { return i.param.name; });

TEST(PngDecodeErrors, BadCrcInImageDataFails) {
    std::vector<uint32_t> expected;
    Bytes file = writePng(makeCase(kCases[11], 8, 8, &expected));
    // The IDAT chunk follows IHDR (8 + 25 bytes); flip a byte of its data.
    file[8 + 25 + 8 + 2] ^= 0x55;
    DecodedImage img;
    EXPECT_EQ(D3DXERR_INVALIDDATA,
              d3dximage::decodeImage(file.data(), file.size(), DecodeMode::Pixels, &img));
}

}  // namespace
