// Test images made in memory: PNG and JPEG through libpng and libjpeg, BMP
// and DDS byte by byte, DXT blocks by hand. Pixels are 0xAARRGGBB, top row
// first, as the decoders return them. Shared with the image fuzz target, so
// free of the test framework.
#ifndef ZV_TESTS_IMAGE_IMAGEWRITERS_H
#define ZV_TESTS_IMAGE_IMAGEWRITERS_H

#include <cstdint>
#include <string>
#include <vector>

namespace imgtest {

using Bytes = std::vector<uint8_t>;

// A deterministic, position-dependent pattern with varied channels.
uint32_t patternPixel(unsigned x, unsigned y, unsigned seed);
std::vector<uint32_t> patternImage(unsigned w, unsigned h, unsigned seed);

// An 8-bit channel stored in `mask`'s bits and read back: cut to the mask's
// width, then widened by bit replication (0xff where the mask is empty).
uint32_t throughMask(uint32_t v8, uint32_t mask);

// --- PNG ---------------------------------------------------------------------
// `samples` holds width * height * channels values of `bitDepth` bits
// (channels from the colour type). `palette` (RGB triples) and `trns` are
// written when not empty; trns is the palette alpha table for palette
// images, or one grey value / one RGB triple (16-bit each) for the others.
struct PngSpec {
    unsigned width = 0, height = 0;
    int colorType = 0;  // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<uint16_t> samples;
    std::vector<uint8_t> palette;
    std::vector<uint16_t> trns;
};
Bytes writePng(const PngSpec& shape);

// --- JPEG --------------------------------------------------------------------
// `pixels` 0x00RRGGBB; grey uses the blue channel.
Bytes writeJpeg(unsigned w, unsigned h, const std::vector<uint32_t>& pixels, bool grey, bool progressive,
                int quality = 95);

// --- BMP and DDS ---------------------------------------------------------------
// Appends a little-endian value of `bytes` bytes.
void put(Bytes* b, uint32_t v, int bytes = 4);

struct BmpSpec {
    int width = 0, height = 0;  // negative height: top-down
    unsigned bits = 24;
    uint32_t compression = 0;        // BI_RGB, BI_RLE8 1, BI_RLE4 2, BI_BITFIELDS 3
    unsigned headerBytes = 40;       // 12, 40, 108, 124
    std::vector<uint32_t> masks;     // R, G, B[, A]: in the header (V4/V5) or after it (BI_BITFIELDS)
    std::vector<uint32_t> palette;   // 0x00RRGGBB
    Bytes pixelData;                 // already laid out as the file stores it
};
Bytes writeBmp(const BmpSpec& shape);
// Row stride of an uncompressed BMP row.
size_t bmpStride(int width, unsigned bits);

constexpr uint32_t kDdpfAlphaPixels = 0x1, kDdpfFourCC = 0x4, kDdpfRgb = 0x40, kDdpfLuminance = 0x20000;
constexpr uint32_t kRgbMasks[4] = {0x00ff0000, 0x0000ff00, 0x000000ff, 0};

struct DdsSpec {
    unsigned width = 0, height = 0;
    unsigned mipCount = 0;  // written with DDSD_MIPMAPCOUNT when > 0
    bool cube = false;      // all six faces
    uint32_t pfFlags = kDdpfRgb;
    uint32_t fourCC = 0;    // with kDdpfFourCC; bits and masks are then 0
    unsigned bits = 32;
    uint32_t masks[4] = {0x00ff0000, 0x0000ff00, 0x000000ff, 0};  // R G B A
    Bytes payload;          // every level of every face as stored
};
Bytes writeDds(const DdsSpec& shape);
DdsSpec dxtSpec(uint32_t fourCC, unsigned w, unsigned h, const Bytes& blocks, unsigned mips = 0);

// Packs 0xAARRGGBB pixels as the masks say (unpadded rows).
Bytes packPixels(const std::vector<uint32_t>& pixels, unsigned bits, const uint32_t masks[4]);

// 565 colour expanded to 8 bits per channel as decoders do (bit replication).
uint32_t expand565(uint16_t c);
// DXT blocks; indices are 16 values, row by row.
Bytes dxtColourBlock(uint16_t c0, uint16_t c1, const unsigned indices[16]);
Bytes dxt3AlphaBlock(const unsigned alpha4[16]);
Bytes dxt5AlphaBlock(uint8_t a0, uint8_t a1, const unsigned indices[16]);
Bytes operator+(Bytes a, const Bytes& b);

// --- Files -------------------------------------------------------------------
// A fresh directory under the working directory, for removeTree to remove.
std::string makeTempDir(const std::string& tag);
void removeTree(const std::string& path);
void writeFile(const std::string& path, const Bytes& bytes);
Bytes readFile(const std::string& path);

}  // namespace imgtest

#endif
