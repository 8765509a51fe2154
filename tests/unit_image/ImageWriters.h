// Test images made in memory: PNG and JPEG through libpng and libjpeg, BMP
// and DDS byte by byte, DXT blocks by hand. Pixels are 0xAARRGGBB, top row
// first, as the decoders return them.
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

// --- PNG ---------------------------------------------------------------------
// `samples` holds width * height * channels values of `bitDepth` bits
// (channels from the colour type: 1 grey, 2 grey+alpha, 3 RGB, 4 RGBA,
// 1 palette index). `palette` (RGB triples) and `trns` are written when not
// empty; trns is the palette alpha table for palette images, or one grey
// value / one RGB triple (16-bit each) for the others.
struct PngSpec {
    unsigned width = 0;
    unsigned height = 0;
    int colorType = 0;  // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<uint16_t> samples;
    std::vector<uint8_t> palette;
    std::vector<uint16_t> trns;
};
Bytes writePng(const PngSpec& spec);
// Rewrites a chunk's data in place and fixes its CRC (first chunk of the type).
void patchPngChunk(Bytes* png, const char type[4], size_t offset, const Bytes& newBytes);

// --- JPEG --------------------------------------------------------------------
// `pixels` 0x00RRGGBB; grey uses the blue channel.
Bytes writeJpeg(unsigned w, unsigned h, const std::vector<uint32_t>& pixels, bool grey,
                bool progressive, int quality);
// Sets the frame's width and height in the SOF0/SOF2 segment.
void patchJpegSize(Bytes* jpeg, unsigned w, unsigned h);

// --- BMP ---------------------------------------------------------------------
// Appends little-endian values.
void put16(Bytes* b, uint32_t v);
void put32(Bytes* b, uint32_t v);

struct BmpSpec {
    int width = 0;
    int height = 0;  // negative: top-down
    unsigned bits = 24;
    uint32_t compression = 0;        // BI_RGB, BI_RLE8 1, BI_RLE4 2, BI_BITFIELDS 3
    unsigned headerBytes = 40;       // 12, 40, 108, 124
    std::vector<uint32_t> masks;     // R, G, B[, A] for BI_BITFIELDS
    std::vector<uint32_t> palette;   // 0x00RRGGBB
    Bytes pixelData;                 // already laid out as the file stores it
};
Bytes writeBmp(const BmpSpec& spec);
// Row stride of an uncompressed BMP row.
size_t bmpStride(int width, unsigned bits);

// --- DDS ---------------------------------------------------------------------
constexpr uint32_t kDdpfAlphaPixels = 0x1;
constexpr uint32_t kDdpfFourCC = 0x4;
constexpr uint32_t kDdpfRgb = 0x40;
constexpr uint32_t kDdpfLuminance = 0x20000;

struct DdsSpec {
    unsigned width = 0;
    unsigned height = 0;
    unsigned mipCount = 0;     // written with DDSD_MIPMAPCOUNT when > 0
    bool cube = false;         // all six faces
    uint32_t pfFlags = kDdpfRgb;
    uint32_t fourCC = 0;
    unsigned bits = 32;
    uint32_t masks[4] = {0x00ff0000, 0x0000ff00, 0x000000ff, 0};  // R G B A
    Bytes payload;             // every level of every face as stored
};
Bytes writeDds(const DdsSpec& spec);

// Packs 0xAARRGGBB pixels as the DDS spec's masks say (unpadded rows).
Bytes packPixels(const std::vector<uint32_t>& pixels, unsigned bits, const uint32_t masks[4]);

// --- DXT blocks ----------------------------------------------------------------
uint16_t rgb565(unsigned r, unsigned g, unsigned b);
// 565 colour expanded to 8 bits per channel as decoders do (bit replication).
uint32_t expand565(uint16_t c);
// indices: 16 two-bit values, row by row.
Bytes dxtColourBlock(uint16_t c0, uint16_t c1, const unsigned indices[16]);
Bytes dxt3AlphaBlock(const unsigned alpha4[16]);
Bytes dxt5AlphaBlock(uint8_t a0, uint8_t a1, const unsigned indices[16]);

// --- Files -------------------------------------------------------------------
// A fresh directory under the test's working directory; removed by the caller.
std::string makeTempDir(const std::string& tag);
void writeFile(const std::string& path, const Bytes& bytes);
Bytes readFile(const std::string& path);
void removeTree(const std::string& path);

}  // namespace imgtest

#endif
