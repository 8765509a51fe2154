// BMP decoding: palette depths, 16/24/32-bit with and without masks and
// alpha, every header version, both row orders, RLE8 and RLE4.
#include <gtest/gtest.h>

#include "ImageWriters.h"
#include "d3dx9/image/ImageDecode.h"

using namespace imgtest;
using d3dximage::DecodedImage;
using d3dximage::DecodeMode;

namespace {

constexpr D3DFORMAT kP8 = static_cast<D3DFORMAT>(41);
constexpr D3DFORMAT kX8B8G8R8 = static_cast<D3DFORMAT>(33);

struct BmpCase {
    const char* name;
    unsigned bits;
    uint32_t compression;
    unsigned headerBytes;
    bool topDown;
    std::vector<uint32_t> masks;  // R G B A (BI_BITFIELDS, or the layout of BI_RGB)
    bool alphaBytes;               // 32-bit BI_RGB: set the reserved byte
    D3DFORMAT format;
    bool hasAlpha;
};

const BmpCase kCases[] = {
    {"pal1", 1, 0, 40, false, {}, false, kP8, false},
    {"pal4", 4, 0, 40, false, {}, false, kP8, false},
    {"pal8", 8, 0, 40, false, {}, false, kP8, false},
    {"pal8_top_down", 8, 0, 40, true, {}, false, kP8, false},
    {"pal8_core_header", 8, 0, 12, false, {}, false, kP8, false},
    {"rgb555", 16, 0, 40, false, {0x7c00, 0x03e0, 0x001f, 0}, false, D3DFMT_X1R5G5B5, false},
    {"bitfields565", 16, 3, 40, false, {0xf800, 0x07e0, 0x001f, 0}, false, D3DFMT_R5G6B5, false},
    {"bitfields565_top_down", 16, 3, 40, true, {0xf800, 0x07e0, 0x001f, 0}, false, D3DFMT_R5G6B5, false},
    {"bitfields1555_v4", 16, 3, 108, false, {0x7c00, 0x03e0, 0x001f, 0x8000}, false, D3DFMT_A1R5G5B5, true},
    {"bitfields4444_v5", 16, 3, 124, false, {0x0f00, 0x00f0, 0x000f, 0xf000}, false, D3DFMT_A4R4G4B4, true},
    {"rgb24", 24, 0, 40, false, {0xff0000, 0xff00, 0xff, 0}, false, D3DFMT_R8G8B8, false},
    {"rgb24_top_down", 24, 0, 40, true, {0xff0000, 0xff00, 0xff, 0}, false, D3DFMT_R8G8B8, false},
    {"rgb24_core_header", 24, 0, 12, false, {0xff0000, 0xff00, 0xff, 0}, false, D3DFMT_R8G8B8, false},
    {"rgb32_no_alpha", 32, 0, 40, false, {0xff0000, 0xff00, 0xff, 0}, false, D3DFMT_X8R8G8B8, false},
    {"rgb32_alpha_in_reserved_byte", 32, 0, 40, false, {0xff0000, 0xff00, 0xff, 0xff000000}, true, D3DFMT_A8R8G8B8, true},
    {"bitfields_argb32_v5", 32, 3, 124, false, {0xff0000, 0xff00, 0xff, 0xff000000}, false, D3DFMT_A8R8G8B8, true},
    {"bitfields_bgr32", 32, 3, 40, true, {0xff, 0xff00, 0xff0000, 0}, false, kX8B8G8R8, false},
};

// The value a mask-described channel decodes to: quantised to the mask's
// width, then widened by bit replication.
uint32_t quantise(uint32_t v8, uint32_t mask) {
    int width = 0;
    while (mask) {
        width += mask & 1;
        mask >>= 1;
    }
    if (width >= 8) return v8;
    uint32_t q = v8 >> (8 - width), out = 0;
    int filled = 0;
    while (filled < 8) {
        out = (out << width) | q;
        filled += width;
    }
    return (out >> (filled - 8)) & 0xff;
}

BmpSpec makeCase(const BmpCase& c, int w, int h, std::vector<uint32_t>* expected) {
    BmpSpec spec;
    spec.width = w;
    spec.height = c.topDown ? -h : h;
    spec.bits = c.bits;
    spec.compression = c.compression;
    spec.headerBytes = c.headerBytes;
    if (c.compression == 3) spec.masks = c.masks;
    expected->assign(static_cast<size_t>(w) * h, 0);
    const size_t stride = bmpStride(w, c.bits);
    spec.pixelData.assign(stride * h, 0);

    // A short palette for 8 bits: stated in the header, or (core header)
    // implied by where the pixels start.
    unsigned entries = c.bits <= 8 ? (c.bits == 8 ? 200u : 1u << c.bits) : 0;
    for (unsigned i = 0; i < entries; ++i) spec.palette.push_back(patternPixel(i, 1, 5) & 0xffffff);

    for (int y = 0; y < h; ++y) {
        int fileRow = c.topDown ? y : h - 1 - y;
        uint8_t* row = spec.pixelData.data() + stride * fileRow;
        for (int x = 0; x < w; ++x) {
            uint32_t p = patternPixel(x, y, 3);
            uint32_t& e = (*expected)[static_cast<size_t>(y) * w + x];
            if (entries) {
                unsigned index = p % entries;
                if (c.bits == 8) row[x] = uint8_t(index);
                if (c.bits == 4) row[x / 2] |= uint8_t(index << ((x & 1) ? 0 : 4));
                if (c.bits == 1) row[x / 8] |= uint8_t(index << (7 - x % 8));
                e = 0xff000000u | spec.palette[index];
                continue;
            }
            uint32_t masks[4] = {c.masks[0], c.masks[1], c.masks[2], c.masks[3]};
            Bytes packed = packPixels({p}, c.bits, masks);
            std::copy(packed.begin(), packed.end(), row + x * (c.bits / 8));
            uint32_t channels[4] = {(p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff, p >> 24};
            uint32_t a = masks[3] ? quantise(channels[3], masks[3]) : 0xff;
            e = (a << 24) | (quantise(channels[0], masks[0]) << 16) |
                (quantise(channels[1], masks[1]) << 8) | quantise(channels[2], masks[2]);
        }
    }
    return spec;
}

void expectImage(const Bytes& file, UINT w, UINT h, D3DFORMAT format, bool hasAlpha,
                 const std::vector<uint32_t>& expected) {
    DecodedImage img;
    ASSERT_EQ(D3D_OK, d3dximage::decodeImage(file.data(), file.size(), DecodeMode::Pixels, &img));
    EXPECT_EQ(w, img.info.Width);
    EXPECT_EQ(h, img.info.Height);
    EXPECT_EQ(1u, img.info.Depth);
    EXPECT_EQ(1u, img.info.MipLevels);
    EXPECT_EQ(format, img.info.Format);
    EXPECT_EQ(D3DRTYPE_TEXTURE, img.info.ResourceType);
    EXPECT_EQ(D3DXIFF_BMP, img.info.ImageFileFormat);
    EXPECT_EQ(hasAlpha, img.hasAlpha);
    ASSERT_EQ(1u, img.faces.size());
    ASSERT_EQ(expected.size(), img.faces[0][0].pixels.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(expected[i], img.faces[0][0].pixels[i]) << "pixel " << i % w << "," << i / w;
    }
}

class BmpDecode : public ::testing::TestWithParam<BmpCase> {};

TEST_P(BmpDecode, PixelsAndDescriptionMatchTheFile) {
    const BmpCase& c = GetParam();
    const int w = 11, h = 5;  // odd width: every depth needs row padding
    std::vector<uint32_t> expected;
    Bytes file = writeBmp(makeCase(c, w, h, &expected));
    expectImage(file, w, h, c.format, c.hasAlpha, expected);
}

INSTANTIATE_TEST_SUITE_P(AllKinds, BmpDecode, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<BmpCase>& i) { return i.param.name; });

// Palette for the RLE images: 0 black, 1 red, 2 green, 3 blue, 4 white.
const std::vector<uint32_t> kRlePalette = {0x000000, 0xff0000, 0x00ff00, 0x0000ff, 0xffffff};

uint32_t opaque(unsigned index) {
    return 0xff000000u | kRlePalette[index];
}

TEST(BmpDecodeRle, Rle8RunsLiteralsAndDeltas) {
    BmpSpec spec;
    spec.width = 6;
    spec.height = 4;
    spec.bits = 8;
    spec.compression = 1;
    spec.palette = kRlePalette;
    spec.pixelData = {
        3, 1, 0, 3, 2, 3, 4, 0, 0, 0,  // bottom row: run of 1s, literal 2 3 4 (padded), EOL
        6, 2, 0, 0,                    // run of six 2s, EOL
        2, 3, 0, 2, 1, 1,              // two 3s, then move 1 right and 1 up
        0, 3, 4, 3, 2, 0,              // literal 4 3 2 at x 3..5 of the top row
        0, 1,                          // end of bitmap
    };
    const uint32_t k = opaque(0);
    std::vector<uint32_t> expected = {
        k,         k,         k,         opaque(4), opaque(3), opaque(2),  // top
        opaque(3), opaque(3), k,         k,         k,         k,
        opaque(2), opaque(2), opaque(2), opaque(2), opaque(2), opaque(2),
        opaque(1), opaque(1), opaque(1), opaque(2), opaque(3), opaque(4),  // bottom
    };
    expectImage(writeBmp(spec), 6, 4, kP8, false, expected);
}

TEST(BmpDecodeRle, Rle4RunsAlternateNibbles) {
    BmpSpec spec;
    spec.width = 5;
    spec.height = 2;
    spec.bits = 4;
    spec.compression = 2;
    spec.palette = kRlePalette;
    spec.pixelData = {
        5, 0x12, 0, 0,             // bottom: 1 2 1 2 1, EOL
        0, 5, 0x34, 0x12, 0x30, 0,  // literal 3 4 1 2 3, padded to a word
        0, 1,
    };
    std::vector<uint32_t> expected = {
        opaque(3), opaque(4), opaque(1), opaque(2), opaque(3),
        opaque(1), opaque(2), opaque(1), opaque(2), opaque(1),
    };
    expectImage(writeBmp(spec), 5, 2, kP8, false, expected);
}

TEST(BmpDecodeRle, RunsPastTheEdgeAreClippedAndMissingEndIsTruncation) {
    BmpSpec spec;
    spec.width = 2;
    spec.height = 1;
    spec.bits = 8;
    spec.compression = 1;
    spec.palette = kRlePalette;
    spec.pixelData = {200, 1, 0, 1};  // a run far past the right edge
    expectImage(writeBmp(spec), 2, 1, kP8, false, {opaque(1), opaque(1)});

    spec.pixelData = {1, 1, 0, 0};  // one pixel, end of line, then nothing more
    spec.height = 2;
    Bytes file = writeBmp(spec);
    DecodedImage img;
    EXPECT_EQ(D3DXERR_INVALIDDATA,
              d3dximage::decodeImage(file.data(), file.size(), DecodeMode::Pixels, &img));
}

TEST(BmpDecodeErrors, RejectsWhatCannotBeRead) {
    std::vector<uint32_t> expected;
    const Bytes good = writeBmp(makeCase(kCases[10], 4, 4, &expected));
    struct Patch {
        const char* what;
        size_t offset;
        std::vector<uint8_t> bytes;
    } patches[] = {
        {"zero width", 18, {0, 0, 0, 0}},
        {"negative width", 18, {0xfc, 0xff, 0xff, 0xff}},
        {"zero height", 22, {0, 0, 0, 0}},
        {"two planes", 26, {2, 0}},
        {"2 bits per pixel", 28, {2, 0}},
        {"unknown compression", 30, {9, 0, 0, 0}},
        {"RLE8 with 24 bits", 30, {1, 0, 0, 0}},
        {"pixel data offset past the end", 10, {0xff, 0xff, 0, 0}},
        {"header size 20", 14, {20, 0, 0, 0}},
    };
    for (const Patch& p : patches) {
        Bytes bad = good;
        std::copy(p.bytes.begin(), p.bytes.end(), bad.begin() + p.offset);
        DecodedImage img;
        EXPECT_EQ(D3DXERR_INVALIDDATA, d3dximage::decodeImage(bad.data(), bad.size(), DecodeMode::Pixels, &img))
            << p.what;
        EXPECT_EQ(D3DXERR_INVALIDDATA, d3dximage::decodeImage(bad.data(), bad.size(), DecodeMode::InfoOnly, &img))
            << p.what;
    }
}

TEST(BmpDecodeErrors, PaletteLargerThanTheDepthAllowsIsRejected) {
    std::vector<uint32_t> expected;
    BmpSpec spec = makeCase(kCases[1], 4, 4, &expected);  // 4 bits
    spec.palette.resize(17);
    Bytes file = writeBmp(spec);
    DecodedImage img;
    EXPECT_EQ(D3DXERR_INVALIDDATA,
              d3dximage::decodeImage(file.data(), file.size(), DecodeMode::Pixels, &img));
}

}  // namespace
