// Truncated and oversized files of every kind: each fails cleanly with
// D3DXERR_INVALIDDATA, reads nothing outside the buffer (run these under a
// sanitizer to see that) and allocates nothing a header alone asked for.
// Randomly corrupted files are the fuzz target's (tests/fuzz/fuzz_image).
#include <png.h>
#include <sys/resource.h>
#include <zlib.h>

#include <cstdio>

#include "ImageChecks.h"

using namespace imgtest;

namespace {

struct Sample {
    const char* name;
    Bytes file;
    bool infoChecksData;  // BMP and DDS check the data size even for the description
};

std::vector<Sample> samples() {
    PngSpec png;
    png.width = 9;
    png.height = 6;
    png.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    png.interlaced = true;
    for (uint32_t p : patternImage(9 * 4, 6, 1)) png.samples.push_back(p & 0xff);
    BmpSpec bmp;
    bmp.width = 7;
    bmp.height = 3;
    bmp.pixelData.assign(bmpStride(7, 24) * 3, 0x5a);
    BmpSpec rle;
    rle.width = 4;
    rle.height = 2;
    rle.bits = 8;
    rle.compression = 1;
    rle.palette = {0xff0000, 0x00ff00};
    rle.pixelData = {4, 1, 0, 0, 0, 4, 0, 1, 1, 0, 0, 1};
    DdsSpec mips;  // odd sizes: 5x3, 2x1, 1x1
    mips.width = 5;
    mips.height = 3;
    mips.mipCount = 3;
    mips.payload = packPixels(patternImage(15 + 2 + 1, 1, 3), 32, kRgbMasks);
    DdsSpec cube;  // each face its own chain
    cube.width = cube.height = 2;
    cube.mipCount = 2;
    cube.cube = true;
    cube.payload.assign(6 * (2 * 2 + 1) * 4, 0x80);
    return {
        {"png", writePng(png), false},
        {"jpeg baseline", writeJpeg(24, 16, patternImage(24, 16, 2), false, false), false},
        {"jpeg progressive", writeJpeg(24, 16, patternImage(24, 16, 3), false, true), false},
        {"bmp24", writeBmp(bmp), true},
        {"bmp rle8", writeBmp(rle), false},
        {"dds with mips", writeDds(mips), true},
        {"dds dxt5 with mips", writeDds(dxtSpec(D3DFMT_DXT5, 8, 8, Bytes((4 + 1 + 1 + 1) * 16, 0x37), 4)), true},
        {"dds cube with mips", writeDds(cube), true},
    };
}

TEST(CorruptFiles, EveryTruncationFails) {
    for (const Sample& s : samples()) {
        ASSERT_EQ(D3D_OK, decode(s.file)) << s.name;
        for (size_t len = 0; len < s.file.size(); ++len) {
            // An exact-size copy, so a read past the end is a read past the buffer.
            const Bytes cut(s.file.begin(), s.file.begin() + len);
            DecodedImage img;
            ASSERT_EQ(D3DXERR_INVALIDDATA, decode(cut, DecodeMode::Pixels, &img)) << s.name << " cut to " << len;
            EXPECT_TRUE(img.faces.empty()) << s.name << " cut to " << len;
            const HRESULT info = s.infoChecksData ? decode(cut, DecodeMode::InfoOnly) : D3DXERR_INVALIDDATA;
            ASSERT_EQ(D3DXERR_INVALIDDATA, info) << s.name << " info, cut to " << len;
        }
    }
}

// Lowers the process's address-space limit to what it uses now plus
// `headroom` while it lives, so an allocation sized by a lying header fails
// (bad_alloc) instead of quietly succeeding on an overcommitting system.
class AddressSpaceCap {
public:
    explicit AddressSpaceCap(size_t headroom) {
#if defined(__SANITIZE_ADDRESS__)
        return;  // the sanitizer maps its own memory as it goes
#endif
        unsigned long pages = 0;
        std::FILE* f = std::fopen("/proc/self/statm", "r");
        if (getrlimit(RLIMIT_AS, &m_old) != 0 || !f) return;
        const bool read = std::fscanf(f, "%lu", &pages) == 1;
        std::fclose(f);
        rlimit cap = m_old;
        cap.rlim_cur = pages * 4096ul + headroom;
        if (!read || (m_old.rlim_cur != RLIM_INFINITY && m_old.rlim_cur < cap.rlim_cur)) return;
        m_active = setrlimit(RLIMIT_AS, &cap) == 0;
    }
    ~AddressSpaceCap() {
        if (m_active) setrlimit(RLIMIT_AS, &m_old);
    }
    bool active() const { return m_active; }

private:
    rlimit m_old{};
    bool m_active = false;
};

// Small files whose headers claim w x h pixels.
std::vector<std::pair<const char*, Bytes>> giants(uint32_t w, uint32_t h) {
    PngSpec png;
    png.width = png.height = 2;
    png.colorType = PNG_COLOR_TYPE_RGB;
    png.samples.assign(12, 7);
    Bytes pngFile = writePng(png);
    // IHDR is the first chunk: its size fields at 16, its CRC (over type and data) at 29.
    for (int i = 0; i < 4; ++i) {
        pngFile[16 + i] = uint8_t(w >> (24 - 8 * i));
        pngFile[20 + i] = uint8_t(h >> (24 - 8 * i));
    }
    const uLong crc = crc32(0, pngFile.data() + 12, 17);
    for (int i = 0; i < 4; ++i) pngFile[29 + i] = uint8_t(crc >> (24 - 8 * i));
    // The frame header (SOF0 or SOF2) holds the height, then the width.
    auto jpeg = [&](bool progressive) {
        Bytes file = writeJpeg(16, 16, patternImage(16, 16, 4), false, progressive);
        for (size_t i = 2; i + 9 < file.size(); ++i)
            if (file[i] == 0xff && (file[i + 1] == 0xc0 || file[i + 1] == 0xc2)) {
                file[i + 5] = uint8_t(h >> 8);
                file[i + 6] = uint8_t(h);
                file[i + 7] = uint8_t(w >> 8);
                file[i + 8] = uint8_t(w);
                break;
            }
        return file;
    };
    BmpSpec bmp;
    bmp.width = int(w);
    bmp.height = int(h);
    bmp.bits = 32;
    bmp.pixelData.assign(4096, 1);
    BmpSpec rle = bmp;
    rle.bits = 8;
    rle.compression = 1;
    rle.palette = {0xffffff};
    rle.pixelData = {255, 0, 0, 0};  // one run, then nothing
    DdsSpec dds;
    dds.width = w;
    dds.height = h;
    dds.payload.assign(4096, 1);
    DdsSpec cube = dxtSpec(D3DFMT_DXT1, w, w, Bytes(4096, 1), 15);
    cube.cube = true;
    return {{"png", pngFile},       {"jpeg", jpeg(false)},  {"jpeg progressive", jpeg(true)},
            {"bmp", writeBmp(bmp)}, {"bmp rle8", writeBmp(rle)}, {"dds", writeDds(dds)},
            {"dds dxt1 cube", writeDds(cube)}};
}

TEST(CorruptFiles, HugeClaimedSizesFailWithoutAllocating) {
    // 65535 square is past the edge limit; 16384 square is within it, but a
    // few kilobytes cannot hold it: the decoders must notice before
    // reserving a gigabyte of pixels.
    AddressSpaceCap cap(64u << 20);
    for (uint32_t edge : {65535u, 16384u}) {
        // Without the cap a decoder that reserved the gigabyte would go unseen.
        if (edge == 16384 && !cap.active()) continue;
        for (const auto& g : giants(edge, edge)) {
            for (DecodeMode mode : {DecodeMode::InfoOnly, DecodeMode::Pixels}) {
                if (edge == 16384 && mode == DecodeMode::InfoOnly) continue;  // a header alone may describe it
                SCOPED_TRACE(::testing::Message() << g.first << " " << edge
                                                  << (mode == DecodeMode::Pixels ? "" : " info"));
                HRESULT hr = E_FAIL;
                try {
                    hr = decode(g.second, mode);
                } catch (const std::bad_alloc&) {
                    ADD_FAILURE() << "tried to allocate for the claimed size";
                }
                EXPECT_EQ(D3DXERR_INVALIDDATA, hr);
            }
        }
    }
}

TEST(CorruptFiles, UnknownSignaturesAndEmptyInput) {
    const Bytes files[] = {
        {}, {'B'}, {'D', 'D', 'S'}, {'G', 'I', 'F', '8', '9', 'a', 0, 0}, {0x89, 'P', 'N', 'G'}, {0xff, 0xd8}};
    for (const Bytes& f : files) EXPECT_EQ(D3DXERR_INVALIDDATA, decode(f)) << f.size() << " bytes";
    DecodedImage img;
    EXPECT_EQ(D3DXERR_INVALIDDATA, d3dximage::decodeImage(nullptr, 0, DecodeMode::Pixels, &img));
}

}  // namespace
