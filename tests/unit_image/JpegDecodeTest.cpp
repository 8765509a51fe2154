// JPEG decoding: grey and colour, baseline and progressive. JPEG is lossy, so
// the image is made of large flat areas and checked at their centres.
#include <cstdlib>

#include "ImageChecks.h"

using namespace imgtest;

namespace {

// 48x32: six 16x16 tiles of saturated colours, or (grey) of six grey levels.
std::vector<uint32_t> tiles(bool grey) {
    const uint32_t colours[6] = {0xff0000, 0x00ff00, 0x0000ff, 0xffff00, 0x00ffff, 0xffffff};
    std::vector<uint32_t> p(48 * 32);
    for (unsigned i = 0; i < p.size(); ++i) {
        const unsigned tile = (i / 48 / 16) * 3 + i % 48 / 16;
        p[i] = grey ? tile * 50 * 0x010101u : colours[tile];
    }
    return p;
}

TEST(JpegDecode, FlatAreasComeBackWithinTolerance) {
    for (bool grey : {false, true})
        for (bool progressive : {false, true}) {
            SCOPED_TRACE(std::string(grey ? "grey" : "colour") + (progressive ? " progressive" : " baseline"));
            const std::vector<uint32_t> src = tiles(grey);
            DecodedImage img;
            ASSERT_EQ(D3D_OK, decode(writeJpeg(48, 32, src, grey, progressive), DecodeMode::Pixels, &img));
            EXPECT_TRUE(img.info.Width == 48 && img.info.Height == 32 && img.info.MipLevels == 1);
            EXPECT_EQ(grey ? D3DFMT_L8 : D3DFMT_X8R8G8B8, img.info.Format);
            EXPECT_EQ(D3DXIFF_JPG, img.info.ImageFileFormat);
            EXPECT_FALSE(img.hasAlpha);
            const auto& px = img.faces.at(0).at(0).pixels;
            for (unsigned tile = 0; tile < 6; ++tile) {
                const unsigned cx = (tile % 3) * 16 + 8, cy = (tile / 3) * 16 + 8;
                for (unsigned i = 0; i < 16; ++i) {
                    const uint32_t got = px[(cy - 2 + i / 4) * 48 + cx - 2 + i % 4], want = src[cy * 48 + cx];
                    EXPECT_EQ(0xffu, got >> 24);
                    for (int shift = 0; shift < 24; shift += 8)
                        EXPECT_LE(std::abs(int((got >> shift) & 0xff) - int((want >> shift) & 0xff)), 12)
                            << "tile " << tile << " channel shift " << shift;
                }
            }
        }
}

TEST(JpegDecode, CorruptEntropyDataFailsInsteadOfComingBackGrey) {
    Bytes file = writeJpeg(48, 32, tiles(false), false, false);
    // Cut the file in the middle of the scan data and close it with EOI.
    file.resize(file.size() / 2);
    file.insert(file.end(), {0xff, 0xd9});
    EXPECT_EQ(D3DXERR_INVALIDDATA, decode(file));
}

}  // namespace
