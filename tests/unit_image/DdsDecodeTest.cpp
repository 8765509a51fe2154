// DDS decoding: uncompressed layouts, DXT1/3/5 blocks with known colours,
// mip chains of odd sizes, cube maps, and headers this reader refuses.
#include <gtest/gtest.h>

#include "ImageWriters.h"
#include "d3dx9/image/ImageDecode.h"

using namespace imgtest;
using d3dximage::DecodedImage;
using d3dximage::DecodeMode;

namespace {

constexpr D3DFORMAT kA8B8G8R8 = static_cast<D3DFORMAT>(32);
constexpr D3DFORMAT kX8B8G8R8 = static_cast<D3DFORMAT>(33);

DecodedImage decodeOk(const Bytes& file) {
    DecodedImage img;
    EXPECT_EQ(D3D_OK, d3dximage::decodeImage(file.data(), file.size(), DecodeMode::Pixels, &img));
    return img;
}

HRESULT decodeResult(const Bytes& file, DecodeMode mode = DecodeMode::Pixels) {
    DecodedImage img;
    return d3dximage::decodeImage(file.data(), file.size(), mode, &img);
}

// --- Uncompressed --------------------------------------------------------------

struct LayoutCase {
    const char* name;
    uint32_t pfFlags;
    unsigned bits;
    uint32_t masks[4];
    D3DFORMAT format;
    bool hasAlpha;
};

const LayoutCase kLayouts[] = {
    {"a8r8g8b8", kDdpfRgb | kDdpfAlphaPixels, 32, {0xff0000, 0xff00, 0xff, 0xff000000}, D3DFMT_A8R8G8B8, true},
    {"x8r8g8b8", kDdpfRgb, 32, {0xff0000, 0xff00, 0xff, 0}, D3DFMT_X8R8G8B8, false},
    {"a8b8g8r8", kDdpfRgb | kDdpfAlphaPixels, 32, {0xff, 0xff00, 0xff0000, 0xff000000}, kA8B8G8R8, true},
    {"x8b8g8r8", kDdpfRgb, 32, {0xff, 0xff00, 0xff0000, 0}, kX8B8G8R8, false},
    {"r8g8b8", kDdpfRgb, 24, {0xff0000, 0xff00, 0xff, 0}, D3DFMT_R8G8B8, false},
    {"r5g6b5", kDdpfRgb, 16, {0xf800, 0x07e0, 0x001f, 0}, D3DFMT_R5G6B5, false},
    {"a1r5g5b5", kDdpfRgb | kDdpfAlphaPixels, 16, {0x7c00, 0x03e0, 0x001f, 0x8000}, D3DFMT_A1R5G5B5, true},
    {"x1r5g5b5", kDdpfRgb, 16, {0x7c00, 0x03e0, 0x001f, 0}, D3DFMT_X1R5G5B5, false},
    {"a4r4g4b4", kDdpfRgb | kDdpfAlphaPixels, 16, {0x0f00, 0x00f0, 0x000f, 0xf000}, D3DFMT_A4R4G4B4, true},
    {"l8", kDdpfLuminance, 8, {0xff, 0, 0, 0}, D3DFMT_L8, false},
    {"a8l8", kDdpfLuminance | kDdpfAlphaPixels, 16, {0x00ff, 0, 0, 0xff00}, D3DFMT_A8L8, true},
};

// Source pixels whose channels survive the layout's widths exactly: each
// channel keeps only the bits the mask has, replicated downwards.
uint32_t representable(uint32_t p, const LayoutCase& c) {
    bool grey = c.pfFlags & kDdpfLuminance;
    uint32_t ch[4] = {(p >> 16) & 0xff, grey ? (p >> 16) & 0xff : (p >> 8) & 0xff,
                      grey ? (p >> 16) & 0xff : p & 0xff, p >> 24};
    uint32_t masks[4] = {c.masks[0], grey ? c.masks[0] : c.masks[1], grey ? c.masks[0] : c.masks[2],
                         c.masks[3]};
    uint32_t out[4];
    for (int i = 0; i < 4; ++i) {
        uint32_t m = masks[i];
        if (!m) {
            out[i] = 0xff;
            continue;
        }
        int width = 0;
        while (m) {
            width += m & 1;
            m >>= 1;
        }
        if (width >= 8) {
            out[i] = ch[i];
            continue;
        }
        uint32_t q = ch[i] >> (8 - width), v = 0;
        int filled = 0;
        while (filled < 8) {
            v = (v << width) | q;
            filled += width;
        }
        out[i] = (v >> (filled - 8)) & 0xff;
    }
    return (out[3] << 24) | (out[0] << 16) | (out[1] << 8) | out[2];
}

class DdsLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(DdsLayout, EveryLevelDecodesWithItsOwnSize) {
    const LayoutCase& c = GetParam();
    const unsigned w = 7, h = 3;  // levels 7x3, 3x1, 1x1
    DdsSpec spec;
    spec.width = w;
    spec.height = h;
    spec.mipCount = 3;
    spec.pfFlags = c.pfFlags;
    spec.bits = c.bits;
    std::copy(c.masks, c.masks + 4, spec.masks);
    std::vector<std::vector<uint32_t>> expected;
    const unsigned sizes[3][2] = {{7, 3}, {3, 1}, {1, 1}};
    for (unsigned l = 0; l < 3; ++l) {
        std::vector<uint32_t> src = patternImage(sizes[l][0], sizes[l][1], 10 + l);
        Bytes packed = packPixels(src, c.bits, c.masks);
        spec.payload.insert(spec.payload.end(), packed.begin(), packed.end());
        for (uint32_t& p : src) p = representable(p, c);
        expected.push_back(src);
    }

    DecodedImage img = decodeOk(writeDds(spec));
    EXPECT_EQ(w, img.info.Width);
    EXPECT_EQ(h, img.info.Height);
    EXPECT_EQ(1u, img.info.Depth);
    EXPECT_EQ(3u, img.info.MipLevels);
    EXPECT_EQ(c.format, img.info.Format);
    EXPECT_EQ(D3DRTYPE_TEXTURE, img.info.ResourceType);
    EXPECT_EQ(D3DXIFF_DDS, img.info.ImageFileFormat);
    EXPECT_EQ(c.hasAlpha, img.hasAlpha);
    ASSERT_EQ(1u, img.faces.size());
    ASSERT_EQ(3u, img.faces[0].size());
    for (unsigned l = 0; l < 3; ++l) {
        const auto& level = img.faces[0][l];
        EXPECT_EQ(sizes[l][0], level.width) << "level " << l;
        EXPECT_EQ(sizes[l][1], level.height) << "level " << l;
        EXPECT_EQ(expected[l], level.pixels) << "level " << l;
    }
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, DdsLayout, ::testing::ValuesIn(kLayouts),
                         [](const ::testing::TestParamInfo<LayoutCase>& i) { return i.param.name; });

// --- DXT blocks ----------------------------------------------------------------

const uint16_t kRed565 = 0xf800, kBlue565 = 0x001f;
const unsigned kIndexRamp[16] = {0, 1, 2, 3, 0, 1, 2, 3, 3, 2, 1, 0, 3, 3, 0, 0};

Bytes dxtFile(uint32_t fourCC, unsigned w, unsigned h, const Bytes& blocks, unsigned mips = 0) {
    DdsSpec spec;
    spec.width = w;
    spec.height = h;
    spec.mipCount = mips;
    spec.pfFlags = kDdpfFourCC;
    spec.fourCC = fourCC;
    spec.bits = 0;
    for (uint32_t& m : spec.masks) m = 0;
    spec.payload = blocks;
    return writeDds(spec);
}

void expectBlock(const std::vector<uint32_t>& pixels, const uint32_t palette[4],
                 const unsigned indices[16], const uint32_t* alphas) {
    for (int i = 0; i < 16; ++i) {
        uint32_t want = palette[indices[i]];
        if (alphas) want = (want & 0x00ffffffu) | (alphas[i] << 24);
        EXPECT_EQ(want, pixels[i]) << "texel " << i;
    }
}

TEST(DdsDxt, Dxt1FourColoursWhenColour0IsGreater) {
    Bytes file = dxtFile(D3DFMT_DXT1, 4, 4, dxtColourBlock(kRed565, kBlue565, kIndexRamp));
    DecodedImage img = decodeOk(file);
    EXPECT_EQ(D3DFMT_DXT1, img.info.Format);
    EXPECT_TRUE(img.hasAlpha);
    // Thirds of 255 are exact: 2/3 red + 1/3 blue = (170, 0, 85).
    const uint32_t palette[4] = {0xffff0000, 0xff0000ff, 0xffaa0055, 0xff5500aa};
    expectBlock(img.faces[0][0].pixels, palette, kIndexRamp, nullptr);
}

TEST(DdsDxt, Dxt1ThreeColoursAndTransparentBlackWhenColour0IsNotGreater) {
    Bytes file = dxtFile(D3DFMT_DXT1, 4, 4, dxtColourBlock(kBlue565, kRed565, kIndexRamp));
    DecodedImage img = decodeOk(file);
    const uint32_t palette[4] = {0xff0000ff, 0xffff0000, 0xff7f007f, 0x00000000};
    expectBlock(img.faces[0][0].pixels, palette, kIndexRamp, nullptr);

    // Equal endpoints are the three-colour mode too.
    file = dxtFile(D3DFMT_DXT1, 4, 4, dxtColourBlock(kRed565, kRed565, kIndexRamp));
    img = decodeOk(file);
    EXPECT_EQ(0x00000000u, img.faces[0][0].pixels[3]);
    EXPECT_EQ(0xffff0000u, img.faces[0][0].pixels[2]);
}

TEST(DdsDxt, Dxt3ExplicitAlphaAndAlwaysFourColours) {
    unsigned alpha4[16];
    uint32_t alphas[16];
    for (int i = 0; i < 16; ++i) {
        alpha4[i] = 15 - i;
        alphas[i] = (15 - i) * 17;
    }
    Bytes block = dxt3AlphaBlock(alpha4);
    // colour0 < colour1 would mean three colours in DXT1; DXT3 ignores that.
    Bytes colour = dxtColourBlock(kBlue565, kRed565, kIndexRamp);
    block.insert(block.end(), colour.begin(), colour.end());
    DecodedImage img = decodeOk(dxtFile(D3DFMT_DXT3, 4, 4, block));
    EXPECT_EQ(D3DFMT_DXT3, img.info.Format);
    const uint32_t palette[4] = {0xff0000ff, 0xffff0000, 0xff5500aa, 0xffaa0055};
    expectBlock(img.faces[0][0].pixels, palette, kIndexRamp, alphas);
}

TEST(DdsDxt, Dxt5InterpolatedAlphaInBothModes) {
    const unsigned idx[16] = {0, 1, 2, 3, 4, 5, 6, 7, 7, 6, 5, 4, 3, 2, 1, 0};
    // alpha0 > alpha1: six interpolated steps (210 / 7 = 30 exactly).
    const uint32_t eight[8] = {210, 0, 180, 150, 120, 90, 60, 30};
    // alpha0 <= alpha1: four steps (200 / 5 = 40), then 0 and 255.
    const uint32_t six[8] = {0, 200, 40, 80, 120, 160, 0, 255};
    struct {
        uint8_t a0, a1;
        const uint32_t* table;
    } modes[] = {{210, 0, eight}, {0, 200, six}};
    for (const auto& m : modes) {
        Bytes block = dxt5AlphaBlock(m.a0, m.a1, idx);
        Bytes colour = dxtColourBlock(kRed565, kBlue565, kIndexRamp);
        block.insert(block.end(), colour.begin(), colour.end());
        DecodedImage img = decodeOk(dxtFile(D3DFMT_DXT5, 4, 4, block));
        EXPECT_EQ(D3DFMT_DXT5, img.info.Format);
        uint32_t alphas[16];
        for (int i = 0; i < 16; ++i) alphas[i] = m.table[idx[i]];
        const uint32_t palette[4] = {0xffff0000, 0xff0000ff, 0xffaa0055, 0xff5500aa};
        expectBlock(img.faces[0][0].pixels, palette, kIndexRamp, alphas);
    }
}

TEST(DdsDxt, PartialBlocksAndMipLevelsOfOddSizes) {
    // 6x5: 2x2 blocks, then 3x2 and 1x1: one block each. Every block is one
    // solid colour (all indices 0), so each pixel shows which block it came from.
    const unsigned zero[16] = {};
    const uint16_t colours[6] = {rgb565(255, 0, 0), rgb565(0, 255, 0), rgb565(0, 0, 255),
                                 rgb565(255, 255, 0), rgb565(0, 255, 255), rgb565(255, 0, 255)};
    Bytes blocks;
    for (uint16_t c : colours) {
        Bytes b = dxtColourBlock(c, 0, zero);
        blocks.insert(blocks.end(), b.begin(), b.end());
    }
    DecodedImage img = decodeOk(dxtFile(D3DFMT_DXT1, 6, 5, blocks, 3));
    ASSERT_EQ(3u, img.faces[0].size());
    const auto& top = img.faces[0][0];
    ASSERT_EQ(6u, top.width);
    ASSERT_EQ(5u, top.height);
    for (unsigned y = 0; y < 5; ++y) {
        for (unsigned x = 0; x < 6; ++x) {
            EXPECT_EQ(expand565(colours[(y / 4) * 2 + x / 4]), top.pixels[y * 6 + x]) << x << "," << y;
        }
    }
    EXPECT_EQ(3u, img.faces[0][1].width);
    EXPECT_EQ(2u, img.faces[0][1].height);
    EXPECT_EQ(std::vector<uint32_t>(6, expand565(colours[4])), img.faces[0][1].pixels);
    EXPECT_EQ(1u, img.faces[0][2].width);
    EXPECT_EQ(std::vector<uint32_t>(1, expand565(colours[5])), img.faces[0][2].pixels);
}

// --- Mip chains and cube maps ----------------------------------------------------

TEST(DdsMips, LevelSizesHalveDownToOneForNonSquareNonPowerOfTwo) {
    struct {
        unsigned w, h;
        std::vector<std::pair<unsigned, unsigned>> levels;
    } cases[] = {
        {13, 5, {{13, 5}, {6, 2}, {3, 1}, {1, 1}}},
        {1, 9, {{1, 9}, {1, 4}, {1, 2}, {1, 1}}},
        {64, 16, {{64, 16}, {32, 8}, {16, 4}, {8, 2}, {4, 1}, {2, 1}, {1, 1}}},
    };
    const uint32_t masks[4] = {0xff0000, 0xff00, 0xff, 0};
    for (const auto& c : cases) {
        DdsSpec spec;
        spec.width = c.w;
        spec.height = c.h;
        spec.mipCount = static_cast<unsigned>(c.levels.size());
        for (const auto& l : c.levels) {
            Bytes b = packPixels(patternImage(l.first, l.second, 1), 32, masks);
            spec.payload.insert(spec.payload.end(), b.begin(), b.end());
        }
        DecodedImage img = decodeOk(writeDds(spec));
        EXPECT_EQ(c.levels.size(), img.info.MipLevels) << c.w << "x" << c.h;
        EXPECT_EQ(c.levels.size(), d3dximage::fullMipCount(c.w, c.h));
        ASSERT_EQ(c.levels.size(), img.faces[0].size());
        for (size_t i = 0; i < c.levels.size(); ++i) {
            EXPECT_EQ(c.levels[i].first, img.faces[0][i].width) << c.w << "x" << c.h << " level " << i;
            EXPECT_EQ(c.levels[i].second, img.faces[0][i].height) << c.w << "x" << c.h << " level " << i;
        }
    }
}

TEST(DdsMips, MipCountIgnoredWithoutItsFlagAndClampedToTheFullChain) {
    const uint32_t masks[4] = {0xff0000, 0xff00, 0xff, 0};
    DdsSpec spec;
    spec.width = 4;
    spec.height = 2;
    Bytes level0 = packPixels(patternImage(4, 2, 1), 32, masks);
    spec.payload = level0;
    Bytes file = writeDds(spec);
    // mipMapCount 3 in the header but no DDSD_MIPMAPCOUNT flag: one level.
    file[4 + 24] = 3;
    EXPECT_EQ(1u, decodeOk(file).info.MipLevels);

    // 10 levels claimed for a 4x2 image: the chain is 4x2, 2x1, 1x1.
    spec.mipCount = 10;
    Bytes rest = packPixels(patternImage(3, 1, 2), 32, masks);  // 2x1 and 1x1
    spec.payload.insert(spec.payload.end(), rest.begin(), rest.end());
    DecodedImage img = decodeOk(writeDds(spec));
    EXPECT_EQ(3u, img.info.MipLevels);
    EXPECT_EQ(3u, img.faces[0].size());
}

TEST(DdsCube, SixFacesEachWithItsOwnChainInFileOrder) {
    const uint32_t masks[4] = {0xff0000, 0xff00, 0xff, 0};
    const uint32_t faceColours[6] = {0xffff0000, 0xff00ffff, 0xff00ff00,
                                     0xffff00ff, 0xff0000ff, 0xffffff00};
    DdsSpec spec;
    spec.width = 4;
    spec.height = 4;
    spec.mipCount = 3;
    spec.cube = true;
    for (int face = 0; face < 6; ++face) {
        for (unsigned edge = 4; edge >= 1; edge /= 2) {
            // Each level a shade of the face's colour so levels can be told apart.
            uint32_t c = edge == 4 ? faceColours[face] : (faceColours[face] & 0xff7f7f7f);
            if (edge == 1) c = faceColours[face] & 0xff3f3f3f;
            Bytes b = packPixels(std::vector<uint32_t>(edge * edge, c), 32, masks);
            spec.payload.insert(spec.payload.end(), b.begin(), b.end());
        }
    }
    DecodedImage img = decodeOk(writeDds(spec));
    EXPECT_EQ(D3DRTYPE_CUBETEXTURE, img.info.ResourceType);
    EXPECT_EQ(3u, img.info.MipLevels);
    EXPECT_EQ(4u, img.info.Width);
    ASSERT_EQ(6u, img.faces.size());
    for (int face = 0; face < 6; ++face) {
        ASSERT_EQ(3u, img.faces[face].size());
        EXPECT_EQ(std::vector<uint32_t>(16, faceColours[face]), img.faces[face][0].pixels) << face;
        EXPECT_EQ(std::vector<uint32_t>(4, faceColours[face] & 0xff7f7f7f), img.faces[face][1].pixels) << face;
        EXPECT_EQ(std::vector<uint32_t>(1, faceColours[face] & 0xff3f3f3f), img.faces[face][2].pixels) << face;
    }
}

// --- Refused headers ----------------------------------------------------------------

TEST(DdsErrors, HeadersThisReaderRefuses) {
    const uint32_t masks[4] = {0xff0000, 0xff00, 0xff, 0};
    DdsSpec base;
    base.width = 4;
    base.height = 4;
    base.payload = packPixels(patternImage(4, 4, 1), 32, masks);
    ASSERT_EQ(D3D_OK, decodeResult(writeDds(base)));

    struct Case {
        const char* what;
        size_t offset;  // into the file
        uint32_t value;
    } cases[] = {
        {"header size 100", 4, 100},
        {"width 0", 16, 0},
        {"height 0", 12, 0},
        {"volume texture", 4 + 108, 0x200000},
        {"cube map with one face", 4 + 108, 0x200 | 0x400},
        {"FourCC DXT2", 4 + 72 + 4, kDdpfFourCC},  // with fourCC 0 set below
        {"unknown masks", 4 + 72 + 16, 0x00ff00ff},
        {"no colour flags", 4 + 72 + 4, 0},
    };
    for (const Case& c : cases) {
        Bytes file = writeDds(base);
        for (int i = 0; i < 4; ++i) file[c.offset + i] = uint8_t(c.value >> (8 * i));
        if (std::string(c.what) == "FourCC DXT2") {
            const char* dxt2 = "DXT2";
            std::copy(dxt2, dxt2 + 4, file.begin() + 4 + 72 + 8);
        }
        EXPECT_EQ(D3DXERR_INVALIDDATA, decodeResult(file)) << c.what;
        EXPECT_EQ(D3DXERR_INVALIDDATA, decodeResult(file, DecodeMode::InfoOnly)) << c.what;
    }
}

TEST(DdsErrors, NonSquareCubeMapIsRefused) {
    DdsSpec spec;
    spec.width = 4;
    spec.height = 2;
    spec.cube = true;
    spec.payload.assign(6 * 4 * 2 * 4, 0);
    EXPECT_EQ(D3DXERR_INVALIDDATA, decodeResult(writeDds(spec)));
}

TEST(DdsErrors, PayloadOneByteShortIsTruncatedForEveryKind) {
    const uint32_t masks[4] = {0xff0000, 0xff00, 0xff, 0};
    DdsSpec cube;
    cube.width = cube.height = 2;
    cube.mipCount = 2;
    cube.cube = true;
    cube.payload.assign(6 * (2 * 2 + 1) * 4, 0x40);
    DdsSpec mips;
    mips.width = 5;
    mips.height = 3;
    mips.mipCount = 3;
    mips.payload = packPixels(patternImage(5 * 3 + 2 * 1 + 1, 1, 3), 32, masks);
    Bytes files[] = {writeDds(cube), writeDds(mips),
                     dxtFile(D3DFMT_DXT5, 8, 4, Bytes(32, 0x11), 0)};
    for (Bytes& file : files) {
        ASSERT_EQ(D3D_OK, decodeResult(file));
        file.pop_back();
        EXPECT_EQ(D3DXERR_INVALIDDATA, decodeResult(file));
        EXPECT_EQ(D3DXERR_INVALIDDATA, decodeResult(file, DecodeMode::InfoOnly));
    }
}

}  // namespace
