// Truncated, corrupt and oversized files of every kind: each fails cleanly
// with D3DXERR_INVALIDDATA, reads nothing outside the buffer (run these under
// a sanitizer to see that) and allocates nothing a header alone asked for.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>

#include <cstdio>
#include <functional>

#include "ImageWriters.h"
#include "d3dx9/image/ImageDecode.h"

using namespace imgtest;
using d3dximage::DecodedImage;
using d3dximage::DecodeMode;

namespace {

struct Sample {
    const char* name;
    Bytes file;
    bool infoChecksData;  // BMP and DDS check the data size even for the description
};

std::vector<Sample> samples() {
    std::vector<Sample> s;

    PngSpec png;
    png.width = 9;
    png.height = 6;
    png.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    png.interlaced = true;
    for (uint32_t p : patternImage(9, 6, 1)) {
        png.samples.insert(png.samples.end(), {uint16_t(p >> 16 & 0xff), uint16_t(p >> 8 & 0xff),
                                               uint16_t(p & 0xff), uint16_t(p >> 24)});
    }
    s.push_back({"png", writePng(png), false});

    s.push_back({"jpeg_baseline", writeJpeg(24, 16, patternImage(24, 16, 2), false, false, 90), false});
    s.push_back({"jpeg_progressive", writeJpeg(24, 16, patternImage(24, 16, 3), false, true, 90), false});

    BmpSpec bmp;
    bmp.width = 7;
    bmp.height = 3;
    bmp.bits = 24;
    bmp.pixelData.assign(bmpStride(7, 24) * 3, 0x5a);
    s.push_back({"bmp24", writeBmp(bmp), true});

    BmpSpec rle;
    rle.width = 4;
    rle.height = 2;
    rle.bits = 8;
    rle.compression = 1;
    rle.palette = {0xff0000, 0x00ff00};
    rle.pixelData = {4, 1, 0, 0, 0, 4, 0, 1, 1, 0, 0, 1};
    s.push_back({"bmp_rle8", writeBmp(rle), false});

    DdsSpec dxt;
    dxt.width = 8;
    dxt.height = 8;
    dxt.mipCount = 4;
    dxt.pfFlags = kDdpfFourCC;
    dxt.fourCC = D3DFMT_DXT5;
    dxt.payload.assign((4 + 1 + 1 + 1) * 16, 0x37);
    s.push_back({"dds_dxt5_mips", writeDds(dxt), true});

    DdsSpec cube;
    cube.width = cube.height = 2;
    cube.cube = true;
    cube.payload.assign(6 * 2 * 2 * 4, 0x80);
    s.push_back({"dds_cube", writeDds(cube), true});
    return s;
}

TEST(CorruptFiles, SamplesThemselvesDecode) {
    for (const Sample& s : samples()) {
        DecodedImage img;
        EXPECT_EQ(D3D_OK, d3dximage::decodeImage(s.file.data(), s.file.size(), DecodeMode::Pixels, &img))
            << s.name;
    }
}

TEST(CorruptFiles, EveryTruncationFails) {
    for (const Sample& s : samples()) {
        for (size_t len = 0; len < s.file.size(); ++len) {
            // An exact-size copy, so a read past the end is a read past the buffer.
            Bytes cut(s.file.begin(), s.file.begin() + len);
            DecodedImage img;
            HRESULT hr = d3dximage::decodeImage(cut.data(), cut.size(), DecodeMode::Pixels, &img);
            ASSERT_EQ(D3DXERR_INVALIDDATA, hr) << s.name << " cut to " << len << " bytes";
            EXPECT_TRUE(img.faces.empty()) << s.name << " cut to " << len;
            if (s.infoChecksData) {
                hr = d3dximage::decodeImage(cut.data(), cut.size(), DecodeMode::InfoOnly, &img);
                ASSERT_EQ(D3DXERR_INVALIDDATA, hr) << s.name << " info, cut to " << len;
            }
        }
    }
}

TEST(CorruptFiles, FlippedBytesNeverCrashAndSuccessIsConsistent) {
    uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (const Sample& s : samples()) {
        for (int round = 0; round < 1500; ++round) {
            Bytes bad = s.file;
            int flips = 1 + next() % 4;
            for (int i = 0; i < flips; ++i) bad[next() % bad.size()] ^= uint8_t(1 + next() % 255);
            DecodedImage img;
            HRESULT hr = d3dximage::decodeImage(bad.data(), bad.size(), DecodeMode::Pixels, &img);
            ASSERT_TRUE(hr == D3D_OK || hr == D3DXERR_INVALIDDATA) << s.name << " round " << round;
            if (hr != D3D_OK) continue;
            ASSERT_FALSE(img.faces.empty());
            for (const auto& face : img.faces) {
                ASSERT_EQ(img.info.MipLevels, face.size()) << s.name;
                for (size_t l = 0; l < face.size(); ++l) {
                    UINT w = std::max(1u, img.info.Width >> l), h = std::max(1u, img.info.Height >> l);
                    ASSERT_EQ(w, face[l].width);
                    ASSERT_EQ(h, face[l].height);
                    ASSERT_EQ(size_t(w) * h, face[l].pixels.size());
                }
            }
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
        if (getrlimit(RLIMIT_AS, &m_old) != 0) return;
        unsigned long pages = 0;
        std::FILE* f = std::fopen("/proc/self/statm", "r");
        if (!f) return;
        bool read = std::fscanf(f, "%lu", &pages) == 1;
        std::fclose(f);
        if (!read) return;
        rlimit cap = m_old;
        cap.rlim_cur = pages * 4096ul + headroom;
        if (m_old.rlim_cur != RLIM_INFINITY && m_old.rlim_cur < cap.rlim_cur) return;
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

struct Giant {
    const char* name;
    std::function<Bytes(unsigned w, unsigned h)> make;
};

std::vector<Giant> giants() {
    return {
        {"png",
         [](unsigned w, unsigned h) {
             PngSpec spec;
             spec.width = spec.height = 2;
             spec.colorType = PNG_COLOR_TYPE_RGB;
             spec.samples.assign(12, 7);
             Bytes file = writePng(spec);
             patchPngChunk(&file, "IHDR", 0,
                           {uint8_t(w >> 24), uint8_t(w >> 16), uint8_t(w >> 8), uint8_t(w),
                            uint8_t(h >> 24), uint8_t(h >> 16), uint8_t(h >> 8), uint8_t(h)});
             return file;
         }},
        {"jpeg",
         [](unsigned w, unsigned h) {
             Bytes file = writeJpeg(16, 16, patternImage(16, 16, 4), false, false, 80);
             patchJpegSize(&file, w, h);
             return file;
         }},
        {"jpeg_progressive",
         [](unsigned w, unsigned h) {
             Bytes file = writeJpeg(16, 16, patternImage(16, 16, 4), false, true, 80);
             patchJpegSize(&file, w, h);
             return file;
         }},
        {"bmp",
         [](unsigned w, unsigned h) {
             BmpSpec spec;
             spec.width = int(w);
             spec.height = int(h);
             spec.bits = 32;
             spec.pixelData.assign(4096, 1);
             return writeBmp(spec);
         }},
        {"bmp_rle8",
         [](unsigned w, unsigned h) {
             BmpSpec spec;
             spec.width = int(w);
             spec.height = int(h);
             spec.bits = 8;
             spec.compression = 1;
             spec.palette = {0xffffff};
             spec.pixelData = {255, 0, 0, 0};  // one run, then nothing
             return writeBmp(spec);
         }},
        {"dds",
         [](unsigned w, unsigned h) {
             DdsSpec spec;
             spec.width = w;
             spec.height = h;
             spec.payload.assign(4096, 1);
             return writeDds(spec);
         }},
        {"dds_dxt1_cube",
         [](unsigned w, unsigned h) {
             DdsSpec spec;
             spec.width = w;
             spec.height = w;
             spec.cube = true;
             spec.mipCount = 15;
             spec.pfFlags = kDdpfFourCC;
             spec.fourCC = D3DFMT_DXT1;
             spec.payload.assign(4096, 1);
             return writeDds(spec);
         }},
    };
}

TEST(CorruptFiles, HeaderClaiming65535SquareFailsWithoutAllocating) {
    AddressSpaceCap cap(64u << 20);
    for (const Giant& g : giants()) {
        Bytes file = g.make(65535, 65535);
        for (DecodeMode mode : {DecodeMode::InfoOnly, DecodeMode::Pixels}) {
            DecodedImage img;
            HRESULT hr = E_FAIL;
            try {
                hr = d3dximage::decodeImage(file.data(), file.size(), mode, &img);
            } catch (const std::bad_alloc&) {
                ADD_FAILURE() << g.name << ": tried to allocate for the claimed size";
            }
            EXPECT_EQ(D3DXERR_INVALIDDATA, hr) << g.name;
        }
    }
}

TEST(CorruptFiles, LargestAcceptedSizeWithoutItsDataFailsWithoutAllocating) {
    // 16384 x 16384 is within the edge limit, but a few kilobytes cannot hold
    // it: the decoders must notice before reserving a gigabyte of pixels.
    AddressSpaceCap cap(64u << 20);
    if (!cap.active()) GTEST_SKIP() << "address-space limit not available";
    for (const Giant& g : giants()) {
        Bytes file = g.make(16384, 16384);
        DecodedImage img;
        HRESULT hr = E_FAIL;
        try {
            hr = d3dximage::decodeImage(file.data(), file.size(), DecodeMode::Pixels, &img);
        } catch (const std::bad_alloc&) {
            ADD_FAILURE() << g.name << ": tried to allocate for the claimed size";
        }
        EXPECT_EQ(D3DXERR_INVALIDDATA, hr) << g.name;
    }
}

TEST(CorruptFiles, UnknownSignaturesAndEmptyInput) {
    const Bytes files[] = {{}, {'B'}, {'D', 'D', 'S'}, {'G', 'I', 'F', '8', '9', 'a', 0, 0},
                           {0x89, 'P', 'N', 'G'}, {0xff, 0xd8}};
    for (const Bytes& f : files) {
        DecodedImage img;
        EXPECT_EQ(D3DXERR_INVALIDDATA, d3dximage::decodeImage(f.data(), f.size(), DecodeMode::Pixels, &img))
            << f.size() << " bytes";
    }
    DecodedImage img;
    EXPECT_EQ(D3DXERR_INVALIDDATA, d3dximage::decodeImage(nullptr, 0, DecodeMode::Pixels, &img));
}

}  // namespace
