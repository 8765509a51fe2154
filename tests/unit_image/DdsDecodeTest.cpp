// DDS decoding: uncompressed layouts, DXT1/3/5 blocks with known colours,
// mip chains of odd sizes, cube maps, and headers this reader refuses.
#include "ImageChecks.h"

using namespace imgtest;

namespace {

DecodedImage decodeOk(const Bytes& file) {
    DecodedImage img;
    EXPECT_EQ(D3D_OK, decode(file, DecodeMode::Pixels, &img));
    return img;
}

TEST(DdsDecode, UncompressedLayoutsAtEveryLevel) {
    constexpr D3DFORMAT kX8B8G8R8 = static_cast<D3DFORMAT>(33);
    const uint32_t rgba = kDdpfRgb | kDdpfAlphaPixels, la = kDdpfLuminance | kDdpfAlphaPixels;
    const struct {
        const char* name;
        uint32_t pfFlags;
        unsigned bits;
        uint32_t masks[4];
        D3DFORMAT format;
    } cases[] = {
        {"a8r8g8b8", rgba, 32, {0xff0000, 0xff00, 0xff, 0xff000000}, D3DFMT_A8R8G8B8},
        {"x8b8g8r8", kDdpfRgb, 32, {0xff, 0xff00, 0xff0000, 0}, kX8B8G8R8},
        {"r8g8b8", kDdpfRgb, 24, {0xff0000, 0xff00, 0xff, 0}, D3DFMT_R8G8B8},
        {"r5g6b5", kDdpfRgb, 16, {0xf800, 0x07e0, 0x001f, 0}, D3DFMT_R5G6B5},
        {"a1r5g5b5", rgba, 16, {0x7c00, 0x03e0, 0x001f, 0x8000}, D3DFMT_A1R5G5B5},
        {"x1r5g5b5", kDdpfRgb, 16, {0x7c00, 0x03e0, 0x001f, 0}, D3DFMT_X1R5G5B5},
        {"a4r4g4b4", rgba, 16, {0x0f00, 0x00f0, 0x000f, 0xf000}, D3DFMT_A4R4G4B4},
        {"l8", kDdpfLuminance, 8, {0xff, 0, 0, 0}, D3DFMT_L8},
        {"a8l8", la, 16, {0x00ff, 0, 0, 0xff00}, D3DFMT_A8L8},
    };
    const unsigned sizes[3][2] = {{7, 3}, {3, 1}, {1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DdsSpec shape;
        shape.width = 7;
        shape.height = 3;
        shape.mipCount = 3;
        shape.pfFlags = c.pfFlags;
        shape.bits = c.bits;
        std::copy(c.masks, c.masks + 4, shape.masks);
        std::vector<std::vector<uint32_t>> expected;
        for (unsigned l = 0; l < 3; ++l) {
            std::vector<uint32_t> src = patternImage(sizes[l][0], sizes[l][1], 10 + l);
            shape.payload = shape.payload + packPixels(src, c.bits, c.masks);
            // Luminance is read from the red mask into all three colours.
            const bool grey = c.pfFlags & kDdpfLuminance;
            for (uint32_t& p : src) {
                const uint32_t r = throughMask((p >> 16) & 0xff, c.masks[0]);
                const uint32_t g = grey ? r : throughMask((p >> 8) & 0xff, c.masks[1]);
                const uint32_t b = grey ? r : throughMask(p & 0xff, c.masks[2]);
                p = throughMask(p >> 24, c.masks[3]) << 24 | r << 16 | g << 8 | b;
            }
            expected.push_back(src);
        }
        DecodedImage img = decodeOk(writeDds(shape));
        EXPECT_TRUE(img.info.Width == 7 && img.info.Height == 3 && img.info.Depth == 1 && img.info.MipLevels == 3);
        EXPECT_TRUE(img.info.ResourceType == D3DRTYPE_TEXTURE && img.info.ImageFileFormat == D3DXIFF_DDS);
        EXPECT_EQ(c.format, img.info.Format);
        EXPECT_EQ(c.masks[3] != 0, img.hasAlpha);
        ASSERT_TRUE(img.faces.size() == 1 && img.faces[0].size() == 3);
        for (unsigned l = 0; l < 3; ++l) {
            EXPECT_TRUE(img.faces[0][l].width == sizes[l][0] && img.faces[0][l].height == sizes[l][1]) << "level " << l;
            EXPECT_EQ(expected[l], img.faces[0][l].pixels) << "level " << l;
        }
    }
}

const uint16_t kRed565 = 0xf800, kBlue565 = 0x001f;
const unsigned kIndexRamp[16] = {0, 1, 2, 3, 0, 1, 2, 3, 3, 2, 1, 0, 3, 3, 0, 0};

// One 4x4 block: texel i shows palette[kIndexRamp[i]], with alpha
// alphas[i] where given.
void expectBlock(const DecodedImage& img, const uint32_t palette[4], const uint32_t* alphas = nullptr) {
    ASSERT_TRUE(img.faces.size() == 1 && img.faces[0].size() == 1);
    for (int i = 0; i < 16; ++i) {
        const uint32_t want = palette[kIndexRamp[i]];
        EXPECT_EQ(alphas ? (want & 0x00ffffffu) | alphas[i] << 24 : want, img.faces[0][0].pixels[i]) << "texel " << i;
    }
}

TEST(DdsDecode, Dxt1FourColoursOrThreeAndTransparentBlack) {
    // colour0 > colour1: four colours; thirds of 255 are exact, 2/3 red +
    // 1/3 blue = (170, 0, 85).
    DecodedImage img = decodeOk(writeDds(dxtSpec(D3DFMT_DXT1, 4, 4, dxtColourBlock(kRed565, kBlue565, kIndexRamp))));
    EXPECT_EQ(D3DFMT_DXT1, img.info.Format);
    EXPECT_TRUE(img.hasAlpha);
    const uint32_t four[4] = {0xffff0000, 0xff0000ff, 0xffaa0055, 0xff5500aa};
    expectBlock(img, four);
    // colour0 <= colour1: three colours (the midpoint) and transparent black.
    const uint32_t three[4] = {0xff0000ff, 0xffff0000, 0xff7f007f, 0x00000000};
    expectBlock(decodeOk(writeDds(dxtSpec(D3DFMT_DXT1, 4, 4, dxtColourBlock(kBlue565, kRed565, kIndexRamp)))), three);
    const uint32_t equal[4] = {0xffff0000, 0xffff0000, 0xffff0000, 0x00000000};
    expectBlock(decodeOk(writeDds(dxtSpec(D3DFMT_DXT1, 4, 4, dxtColourBlock(kRed565, kRed565, kIndexRamp)))), equal);
}

TEST(DdsDecode, Dxt3ExplicitAndDxt5InterpolatedAlphaWithFourColoursAlways) {
    unsigned alpha4[16];
    uint32_t alphas[16];
    for (int i = 0; i < 16; ++i) {
        alpha4[i] = 15 - i;
        alphas[i] = (15 - i) * 17;
    }
    // colour0 < colour1 would mean three colours in DXT1; DXT3 ignores that.
    const Bytes dxt3Block = dxt3AlphaBlock(alpha4) + dxtColourBlock(kBlue565, kRed565, kIndexRamp);
    DecodedImage img = decodeOk(writeDds(dxtSpec(D3DFMT_DXT3, 4, 4, dxt3Block)));
    EXPECT_EQ(D3DFMT_DXT3, img.info.Format);
    const uint32_t dxt3[4] = {0xff0000ff, 0xffff0000, 0xff5500aa, 0xffaa0055};
    expectBlock(img, dxt3, alphas);

    const unsigned idx[16] = {0, 1, 2, 3, 4, 5, 6, 7, 7, 6, 5, 4, 3, 2, 1, 0};
    const struct {
        uint8_t a0, a1;
        uint32_t table[8];
    } modes[] = {
        {210, 0, {210, 0, 180, 150, 120, 90, 60, 30}},  // alpha0 > alpha1: six steps (210 / 7 = 30)
        {0, 200, {0, 200, 40, 80, 120, 160, 0, 255}},   // alpha0 <= alpha1: four steps, then 0 and 255
    };
    const uint32_t dxt5[4] = {0xffff0000, 0xff0000ff, 0xffaa0055, 0xff5500aa};
    for (const auto& m : modes) {
        const Bytes block = dxt5AlphaBlock(m.a0, m.a1, idx) + dxtColourBlock(kRed565, kBlue565, kIndexRamp);
        img = decodeOk(writeDds(dxtSpec(D3DFMT_DXT5, 4, 4, block)));
        EXPECT_EQ(D3DFMT_DXT5, img.info.Format);
        for (int i = 0; i < 16; ++i) alphas[i] = m.table[idx[i]];
        expectBlock(img, dxt5, alphas);
    }
}

TEST(DdsDecode, PartialDxtBlocksAndMipChainsOfOddSizes) {
    // 6x5: 2x2 blocks, then 3x2 and 1x1: one block each. Every block is one
    // solid colour (all indices 0), so each pixel shows which block it came from.
    const unsigned zero[16] = {};
    const uint16_t colours[6] = {0xf800, 0x07e0, 0x001f, 0xffe0, 0x07ff, 0xf81f};
    Bytes blocks;
    for (uint16_t c : colours) blocks = blocks + dxtColourBlock(c, 0, zero);
    DecodedImage img = decodeOk(writeDds(dxtSpec(D3DFMT_DXT1, 6, 5, blocks, 3)));
    ASSERT_EQ(3u, img.faces[0].size());
    const auto& top = img.faces[0][0];
    ASSERT_TRUE(top.width == 6 && top.height == 5);
    for (unsigned i = 0; i < 30; ++i)
        EXPECT_EQ(expand565(colours[(i / 6 / 4) * 2 + i % 6 / 4]), top.pixels[i]) << i % 6 << "," << i / 6;
    EXPECT_TRUE(img.faces[0][1].width == 3 && img.faces[0][1].height == 2);
    EXPECT_EQ(std::vector<uint32_t>(6, expand565(colours[4])), img.faces[0][1].pixels);
    EXPECT_EQ(std::vector<uint32_t>(1, expand565(colours[5])), img.faces[0][2].pixels);

    // Uncompressed chains halve each edge down to one, whatever the shape.
    const struct {
        unsigned w, h;
        std::vector<std::pair<unsigned, unsigned>> levels;
    } chains[] = {
        {13, 5, {{13, 5}, {6, 2}, {3, 1}, {1, 1}}},
        {1, 9, {{1, 9}, {1, 4}, {1, 2}, {1, 1}}},
        {64, 16, {{64, 16}, {32, 8}, {16, 4}, {8, 2}, {4, 1}, {2, 1}, {1, 1}}},
    };
    for (const auto& c : chains) {
        SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h);
        DdsSpec shape;
        shape.width = c.w;
        shape.height = c.h;
        shape.mipCount = static_cast<unsigned>(c.levels.size());
        for (const auto& l : c.levels)
            shape.payload = shape.payload + packPixels(patternImage(l.first, l.second, 1), 32, kRgbMasks);
        img = decodeOk(writeDds(shape));
        EXPECT_EQ(c.levels.size(), img.info.MipLevels);
        EXPECT_EQ(c.levels.size(), d3dximage::fullMipCount(c.w, c.h));
        ASSERT_EQ(c.levels.size(), img.faces[0].size());
        for (size_t i = 0; i < c.levels.size(); ++i) {
            EXPECT_EQ(c.levels[i].first, img.faces[0][i].width) << i;
            EXPECT_EQ(c.levels[i].second, img.faces[0][i].height) << i;
        }
    }

    // A mip count without DDSD_MIPMAPCOUNT is ignored; 10 levels claimed for
    // a 4x2 image are the full chain of 3.
    DdsSpec shape;
    shape.width = 4;
    shape.height = 2;
    shape.payload = packPixels(patternImage(8 + 2 + 1, 1, 1), 32, kRgbMasks);
    Bytes file = writeDds(shape);
    file[4 + 24] = 3;
    EXPECT_EQ(1u, decodeOk(file).info.MipLevels);
    shape.mipCount = 10;
    img = decodeOk(writeDds(shape));
    EXPECT_TRUE(img.info.MipLevels == 3 && img.faces[0].size() == 3);
}

TEST(DdsDecode, CubeMapsHaveSixFacesEachWithItsOwnChainInFileOrder) {
    const uint32_t faceColours[6] = {0xffff0000, 0xff00ffff, 0xff00ff00, 0xffff00ff, 0xff0000ff, 0xffffff00};
    // Each level a shade of the face's colour so levels can be told apart.
    const uint32_t shades[3] = {0xffffffff, 0xff7f7f7f, 0xff3f3f3f};
    DdsSpec shape;
    shape.width = shape.height = 4;
    shape.mipCount = 3;
    shape.cube = true;
    for (int face = 0; face < 6; ++face)
        for (unsigned l = 0, edge = 4; l < 3; ++l, edge /= 2)
            shape.payload = shape.payload +
                           packPixels(std::vector<uint32_t>(edge * edge, faceColours[face] & shades[l]), 32, kRgbMasks);
    DecodedImage img = decodeOk(writeDds(shape));
    EXPECT_EQ(D3DRTYPE_CUBETEXTURE, img.info.ResourceType);
    EXPECT_TRUE(img.info.MipLevels == 3 && img.info.Width == 4);
    ASSERT_EQ(6u, img.faces.size());
    for (int face = 0; face < 6; ++face) {
        ASSERT_EQ(3u, img.faces[face].size());
        for (unsigned l = 0; l < 3; ++l)
            EXPECT_EQ(std::vector<uint32_t>(16 >> (2 * l), faceColours[face] & shades[l]), img.faces[face][l].pixels)
                << "face " << face << " level " << l;
    }
}

TEST(DdsDecode, HeadersThisReaderRefuses) {
    DdsSpec base;
    base.width = base.height = 4;
    base.payload = packPixels(patternImage(4, 4, 1), 32, kRgbMasks);
    ASSERT_EQ(D3D_OK, decode(writeDds(base)));
    const struct {
        const char* what;
        size_t offset;  // into the file
        uint32_t value;
    } cases[] = {
        {"header size 100", 4, 100},
        {"width 0", 16, 0},
        {"height 0", 12, 0},
        {"volume texture", 4 + 108, 0x200000},
        {"cube map with one face", 4 + 108, 0x200 | 0x400},
        {"FourCC DXT2", 4 + 72 + 8, '2' << 24 | 'T' << 16 | 'X' << 8 | 'D'},
        {"unknown masks", 4 + 72 + 16, 0x00ff00ff},
        {"no colour flags", 4 + 72 + 4, 0},
    };
    for (const auto& c : cases) {
        Bytes file = writeDds(base);
        for (int i = 0; i < 4; ++i) file[c.offset + i] = uint8_t(c.value >> (8 * i));
        if (c.offset == 4 + 72 + 8) file[4 + 72 + 4] = kDdpfFourCC;
        EXPECT_EQ(D3DXERR_INVALIDDATA, decode(file)) << c.what;
        EXPECT_EQ(D3DXERR_INVALIDDATA, decode(file, DecodeMode::InfoOnly)) << c.what;
    }
    base.height = 2;
    base.cube = true;
    base.payload.assign(6 * 4 * 2 * 4, 0);
    EXPECT_EQ(D3DXERR_INVALIDDATA, decode(writeDds(base))) << "a cube map that is not square";
}

}  // namespace
