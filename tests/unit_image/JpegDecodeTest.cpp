// JPEG decoding: grey and colour, baseline and progressive. JPEG is lossy, so
// the image is made of large flat areas and checked at their centres.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ImageWriters.h"
#include "d3dx9/image/ImageDecode.h"

using namespace imgtest;
using d3dximage::DecodedImage;
using d3dximage::DecodeMode;

namespace {

// 48x32: six 16x16 tiles of saturated colours.
const uint32_t kTiles[6] = {0xff0000, 0x00ff00, 0x0000ff, 0xffff00, 0x00ffff, 0xffffff};

std::vector<uint32_t> tileImage() {
    std::vector<uint32_t> p(48 * 32);
    for (unsigned y = 0; y < 32; ++y) {
        for (unsigned x = 0; x < 48; ++x) p[y * 48 + x] = kTiles[(y / 16) * 3 + x / 16];
    }
    return p;
}

// Grey levels in the blue channel, as writeJpeg takes them for grey files.
std::vector<uint32_t> greyImage() {
    std::vector<uint32_t> p(48 * 32);
    for (unsigned y = 0; y < 32; ++y) {
        for (unsigned x = 0; x < 48; ++x) p[y * 48 + x] = ((y / 16) * 3 + x / 16) * 50;
    }
    return p;
}

struct JpegCase {
    const char* name;
    bool grey;
    bool progressive;
};

const JpegCase kCases[] = {
    {"colour_baseline", false, false},
    {"colour_progressive", false, true},
    {"grey_baseline", true, false},
    {"grey_progressive", true, true},
};

class JpegDecode : public ::testing::TestWithParam<JpegCase> {};

TEST_P(JpegDecode, FlatAreasComeBackWithinTolerance) {
    const JpegCase& c = GetParam();
    std::vector<uint32_t> src = c.grey ? greyImage() : tileImage();
    Bytes file = writeJpeg(48, 32, src, c.grey, c.progressive, 95);

    DecodedImage img;
    ASSERT_EQ(D3D_OK, d3dximage::decodeImage(file.data(), file.size(), DecodeMode::Pixels, &img));
    EXPECT_EQ(48u, img.info.Width);
    EXPECT_EQ(32u, img.info.Height);
    EXPECT_EQ(1u, img.info.MipLevels);
    EXPECT_EQ(c.grey ? D3DFMT_L8 : D3DFMT_X8R8G8B8, img.info.Format);
    EXPECT_EQ(D3DXIFF_JPG, img.info.ImageFileFormat);
    EXPECT_FALSE(img.hasAlpha);
    const auto& px = img.faces.at(0).at(0).pixels;
    for (unsigned tile = 0; tile < 6; ++tile) {
        unsigned cx = (tile % 3) * 16 + 8, cy = (tile / 3) * 16 + 8;
        uint32_t want = src[cy * 48 + cx];
        if (c.grey) want = want * 0x010101u;
        for (unsigned dy = 0; dy < 4; ++dy) {
            for (unsigned dx = 0; dx < 4; ++dx) {
                uint32_t got = px[(cy - 2 + dy) * 48 + cx - 2 + dx];
                EXPECT_EQ(0xffu, got >> 24);
                for (int shift = 0; shift < 24; shift += 8) {
                    int diff = int((got >> shift) & 0xff) - int((want >> shift) & 0xff);
                    EXPECT_LE(std::abs(diff), 12) << "tile " << tile << " channel shift " << shift;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllKinds, JpegDecode, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<JpegCase>& i) { return i.param.name; });

TEST(JpegDecodeErrors, CorruptEntropyDataFailsInsteadOfComingBackGrey) {
    Bytes file = writeJpeg(48, 32, tileImage(), false, false, 95);
    // Cut the file in the middle of the scan data and close it with EOI.
    file.resize(file.size() / 2);
    file.push_back(0xff);
    file.push_back(0xd9);
    DecodedImage img;
    EXPECT_EQ(D3DXERR_INVALIDDATA,
              d3dximage::decodeImage(file.data(), file.size(), DecodeMode::Pixels, &img));
}

}  // namespace
