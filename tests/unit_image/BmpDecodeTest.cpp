// BMP decoding: palette depths, 16/24/32-bit with and without masks and
// alpha, every header version, both row orders, RLE8 and RLE4.
#include "ImageChecks.h"

using namespace imgtest;

namespace {

constexpr D3DFORMAT kP8 = static_cast<D3DFORMAT>(41);
constexpr D3DFORMAT kX8B8G8R8 = static_cast<D3DFORMAT>(33);

TEST(BmpDecode, EveryKindOfPixelDataAndHeader) {
    const struct {
        const char* name;
        unsigned bits;
        uint32_t compression;
        unsigned headerBytes;
        bool topDown;
        std::vector<uint32_t> masks;  // R G B A (BI_BITFIELDS, or the layout of BI_RGB)
        D3DFORMAT format;
    } cases[] = {
        {"1-bit palette", 1, 0, 40, false, {}, kP8},
        {"4-bit palette", 4, 0, 40, false, {}, kP8},
        {"8-bit palette, top down", 8, 0, 40, true, {}, kP8},
        {"8-bit palette, core header", 8, 0, 12, false, {}, kP8},
        {"16-bit BI_RGB is 555", 16, 0, 40, false, {0x7c00, 0x03e0, 0x001f, 0}, D3DFMT_X1R5G5B5},
        {"565 bit fields", 16, 3, 40, false, {0xf800, 0x07e0, 0x001f, 0}, D3DFMT_R5G6B5},
        {"1555 in a V4 header", 16, 3, 108, false, {0x7c00, 0x03e0, 0x001f, 0x8000}, D3DFMT_A1R5G5B5},
        {"4444 in a V5 header", 16, 3, 124, false, {0x0f00, 0x00f0, 0x000f, 0xf000}, D3DFMT_A4R4G4B4},
        {"24-bit, top down", 24, 0, 40, true, {0xff0000, 0xff00, 0xff, 0}, D3DFMT_R8G8B8},
        {"24-bit, core header", 24, 0, 12, false, {0xff0000, 0xff00, 0xff, 0}, D3DFMT_R8G8B8},
        {"32-bit BI_RGB without alpha", 32, 0, 40, false, {0xff0000, 0xff00, 0xff, 0}, D3DFMT_X8R8G8B8},
        // Some writers put alpha in the reserved byte: used when any is set.
        {"32-bit BI_RGB, alpha in the reserved byte", 32, 0, 40, false, {0xff0000, 0xff00, 0xff, 0xff000000},
         D3DFMT_A8R8G8B8},
        {"32-bit ARGB in a V5 header", 32, 3, 124, false, {0xff0000, 0xff00, 0xff, 0xff000000}, D3DFMT_A8R8G8B8},
        {"32-bit BGR bit fields", 32, 3, 40, true, {0xff, 0xff00, 0xff0000, 0}, kX8B8G8R8},
    };
    const int w = 11, h = 5;  // odd width: every depth needs row padding
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BmpSpec shape;
        shape.width = w;
        shape.height = c.topDown ? -h : h;
        shape.bits = c.bits;
        shape.compression = c.compression;
        shape.headerBytes = c.headerBytes;
        if (c.compression == 3) shape.masks = c.masks;
        const size_t stride = bmpStride(w, c.bits);
        shape.pixelData.assign(stride * h, 0);
        // A short palette for 8 bits: stated in the header, or (core header)
        // implied by where the pixels start.
        const unsigned entries = c.bits == 8 ? 200u : c.bits < 8 ? 1u << c.bits : 0;
        for (unsigned i = 0; i < entries; ++i) shape.palette.push_back(patternPixel(i, 1, 5) & 0xffffff);
        std::vector<uint32_t> expected;
        for (int y = 0; y < h; ++y) {
            uint8_t* row = shape.pixelData.data() + stride * (c.topDown ? y : h - 1 - y);
            for (int x = 0; x < w; ++x) {
                const uint32_t p = patternPixel(x, y, 3);
                if (entries) {
                    const unsigned index = p % entries;
                    const int perByte = 8 / c.bits, shift = 8 - c.bits * (x % perByte + 1);
                    row[x / perByte] |= uint8_t(index << shift);
                    expected.push_back(0xff000000u | shape.palette[index]);
                    continue;
                }
                const Bytes packed = packPixels({p}, c.bits, c.masks.data());
                std::copy(packed.begin(), packed.end(), row + x * (c.bits / 8));
                expected.push_back(throughMask(p >> 24, c.masks[3]) << 24 |
                                   throughMask((p >> 16) & 0xff, c.masks[0]) << 16 |
                                   throughMask((p >> 8) & 0xff, c.masks[1]) << 8 | throughMask(p & 0xff, c.masks[2]));
            }
        }
        expectImage(writeBmp(shape), D3DXIFF_BMP, c.format, c.masks.size() == 4 && c.masks[3] != 0, w, h, expected);
    }
}

// Palette for the RLE images: 0 black, 1 red, 2 green, 3 blue, 4 white.
const std::vector<uint32_t> kRlePalette = {0x000000, 0xff0000, 0x00ff00, 0x0000ff, 0xffffff};

BmpSpec rle(int bits, int w, int h, Bytes data) {
    BmpSpec shape;
    shape.width = w;
    shape.height = h;
    shape.bits = bits;
    shape.compression = bits == 8 ? 1 : 2;
    shape.palette = kRlePalette;
    shape.pixelData = std::move(data);
    return shape;
}

// Rows of palette indices, top row first, as opaque pixels.
std::vector<uint32_t> opaque(const std::vector<unsigned>& indices) {
    std::vector<uint32_t> out;
    for (unsigned i : indices) out.push_back(0xff000000u | kRlePalette[i]);
    return out;
}

TEST(BmpDecode, RunLengthRunsLiteralsDeltasAndClipping) {
    const Bytes rle8 = {
        3, 1, 0, 3, 2, 3, 4, 0, 0, 0,  // bottom row: run of 1s, literal 2 3 4 (padded), EOL
        6, 2, 0, 0,                    // run of six 2s, EOL
        2, 3, 0, 2, 1, 1,              // two 3s, then move 1 right and 1 up
        0, 3, 4, 3, 2, 0,              // literal 4 3 2 at x 3..5 of the top row
        0, 1,                          // end of bitmap
    };
    expectImage(writeBmp(rle(8, 6, 4, rle8)), D3DXIFF_BMP, kP8, false, 6, 4,
                opaque({0, 0, 0, 4, 3, 2, 3, 3, 0, 0, 0, 0, 2, 2, 2, 2, 2, 2, 1, 1, 1, 2, 3, 4}));
    // RLE4 runs alternate their two nibbles; literals are padded to a word.
    const Bytes rle4 = {5, 0x12, 0, 0, 0, 5, 0x34, 0x12, 0x30, 0, 0, 1};
    expectImage(writeBmp(rle(4, 5, 2, rle4)), D3DXIFF_BMP, kP8, false, 5, 2, opaque({3, 4, 1, 2, 3, 1, 2, 1, 2, 1}));
    // A run far past the right edge is clipped; a missing end is truncation.
    expectImage(writeBmp(rle(8, 2, 1, {200, 1, 0, 1})), D3DXIFF_BMP, kP8, false, 2, 1, opaque({1, 1}));
    EXPECT_EQ(D3DXERR_INVALIDDATA, decode(writeBmp(rle(8, 2, 2, {1, 1, 0, 0}))));
}

TEST(BmpDecode, RejectsWhatCannotBeRead) {
    BmpSpec shape;
    shape.width = shape.height = 4;
    shape.pixelData.assign(bmpStride(4, 24) * 4, 0);
    const Bytes good = writeBmp(shape);
    const struct {
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
    for (const auto& p : patches) {
        Bytes bad = good;
        std::copy(p.bytes.begin(), p.bytes.end(), bad.begin() + p.offset);
        EXPECT_EQ(D3DXERR_INVALIDDATA, decode(bad)) << p.what;
        EXPECT_EQ(D3DXERR_INVALIDDATA, decode(bad, DecodeMode::InfoOnly)) << p.what;
    }
    shape.bits = 4;
    shape.palette.assign(17, 0);
    shape.pixelData.assign(bmpStride(4, 4) * 4, 0);
    EXPECT_EQ(D3DXERR_INVALIDDATA, decode(writeBmp(shape))) << "a palette larger than the depth allows";
}

}  // namespace
