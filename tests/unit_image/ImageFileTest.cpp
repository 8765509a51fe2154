// The file-level D3DX calls that need no device: image descriptions from
// files, and BMP saving from a surface (a stand-in surface in system memory),
// read back by our reader and, where installed, by ImageMagick. Also the
// box-filtered mip chain the texture loaders complete.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ImageWriters.h"
#include "d3dx9/image/ImageDecode.h"

using namespace imgtest;
using d3dximage::DecodedImage;
using d3dximage::DecodeMode;

namespace {

class TempDir : public ::testing::Test {
protected:
    void SetUp() override { m_dir = makeTempDir("file"); }
    void TearDown() override { removeTree(m_dir); }
    std::string path(const std::string& name) const { return m_dir + "/" + name; }
    std::string m_dir;
};

// --- D3DXGetImageInfoFromFileA --------------------------------------------------

using ImageInfoFromFile = TempDir;

TEST_F(ImageInfoFromFile, DescribesEachKindOfFile) {
    PngSpec png;
    png.width = 5;
    png.height = 3;
    png.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    png.samples.assign(5 * 3 * 4, 200);
    writeFile(path("a.png"), writePng(png));
    writeFile(path("b.jpg"), writeJpeg(17, 9, patternImage(17, 9, 1), false, true, 80));
    BmpSpec bmp;
    bmp.width = 6;
    bmp.height = -2;
    bmp.bits = 24;
    bmp.pixelData.assign(bmpStride(6, 24) * 2, 1);
    writeFile(path("c.bmp"), writeBmp(bmp));
    DdsSpec dds;
    dds.width = dds.height = 8;
    dds.mipCount = 4;
    dds.cube = true;
    dds.pfFlags = kDdpfFourCC;
    dds.fourCC = D3DFMT_DXT1;
    dds.payload.assign(6 * (4 + 1 + 1 + 1) * 8, 0);
    writeFile(path("d.dds"), writeDds(dds));

    struct {
        const char* name;
        UINT w, h, levels;
        D3DFORMAT format;
        D3DRESOURCETYPE type;
        D3DXIMAGE_FILEFORMAT kind;
    } rows[] = {
        {"a.png", 5, 3, 1, D3DFMT_A8R8G8B8, D3DRTYPE_TEXTURE, D3DXIFF_PNG},
        {"b.jpg", 17, 9, 1, D3DFMT_X8R8G8B8, D3DRTYPE_TEXTURE, D3DXIFF_JPG},
        {"c.bmp", 6, 2, 1, D3DFMT_R8G8B8, D3DRTYPE_TEXTURE, D3DXIFF_BMP},
        {"d.dds", 8, 8, 4, D3DFMT_DXT1, D3DRTYPE_CUBETEXTURE, D3DXIFF_DDS},
    };
    for (const auto& r : rows) {
        D3DXIMAGE_INFO info;
        std::memset(&info, 0xcd, sizeof info);
        ASSERT_EQ(D3D_OK, D3DXGetImageInfoFromFileA(path(r.name).c_str(), &info)) << r.name;
        EXPECT_EQ(r.w, info.Width) << r.name;
        EXPECT_EQ(r.h, info.Height) << r.name;
        EXPECT_EQ(1u, info.Depth) << r.name;
        EXPECT_EQ(r.levels, info.MipLevels) << r.name;
        EXPECT_EQ(r.format, info.Format) << r.name;
        EXPECT_EQ(r.type, info.ResourceType) << r.name;
        EXPECT_EQ(r.kind, info.ImageFileFormat) << r.name;
    }
}

TEST_F(ImageInfoFromFile, BackslashPathsAreMappedToSlashes) {
    mkdir(path("Assets").c_str(), 0755);
    mkdir(path("Assets/Textures").c_str(), 0755);
    BmpSpec bmp;
    bmp.width = 2;
    bmp.height = 2;
    bmp.bits = 32;
    bmp.pixelData.assign(16, 0);
    writeFile(path("Assets/Textures/x.bmp"), writeBmp(bmp));
    D3DXIMAGE_INFO info{};
    std::string windowsPath = m_dir + "\\Assets\\Textures\\x.bmp";
    ASSERT_EQ(D3D_OK, D3DXGetImageInfoFromFileA(windowsPath.c_str(), &info));
    EXPECT_EQ(D3DFMT_X8R8G8B8, info.Format);
}

TEST_F(ImageInfoFromFile, FailuresUseD3DXCodes) {
    D3DXIMAGE_INFO info{};
    writeFile(path("text.png"), Bytes{'h', 'e', 'l', 'l', 'o'});
    writeFile(path("empty.bmp"), Bytes{});
    mkdir(path("dir.bmp").c_str(), 0755);
    struct {
        std::string file;
        HRESULT expected;
    } rows[] = {
        {path("missing.png"), D3DXERR_INVALIDDATA},  // as D3DX: not a file error
        {"", D3DXERR_INVALIDDATA},
        {path("text.png"), D3DXERR_INVALIDDATA},
        {path("empty.bmp"), D3DXERR_INVALIDDATA},
        {path("dir.bmp"), D3DXERR_INVALIDDATA},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(r.expected, D3DXGetImageInfoFromFileA(r.file.c_str(), &info)) << r.file;
    }
    EXPECT_EQ(D3DERR_INVALIDCALL, D3DXGetImageInfoFromFileA(nullptr, &info));
    // Without an info block only the file's presence is checked, as in D3DX.
    EXPECT_EQ(D3D_OK, D3DXGetImageInfoFromFileA(path("text.png").c_str(), nullptr));
    EXPECT_EQ(D3DXERR_INVALIDDATA, D3DXGetImageInfoFromFileA(path("missing.png").c_str(), nullptr));
}

// --- D3DXSaveSurfaceToFileA ---------------------------------------------------------

// A surface in system memory, laid out as the device's back buffer is.
class MemorySurface : public IDirect3DSurface9 {
public:
    MemorySurface(UINT w, UINT h, D3DFORMAT format, unsigned bytesPerPixel, INT pitchPadding = 12)
        : m_w(w), m_h(h), m_format(format), m_bpp(bytesPerPixel),
          m_pitch(static_cast<INT>(w * bytesPerPixel) + pitchPadding),
          m_bits(static_cast<size_t>(m_pitch) * h, 0xee) {}
    ~MemorySurface() override = default;

    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT GetDevice(IDirect3DDevice9**) override { return D3DERR_INVALIDCALL; }
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_SURFACE; }
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override {
        std::memset(desc, 0, sizeof *desc);
        desc->Format = m_format;
        desc->Type = D3DRTYPE_SURFACE;
        desc->Width = m_w;
        desc->Height = m_h;
        return D3D_OK;
    }
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override {
        if (rect || m_locked) return D3DERR_INVALIDCALL;
        lastFlags = flags;
        m_locked = true;
        locked->Pitch = m_pitch;
        locked->pBits = m_bits.data();
        return D3D_OK;
    }
    HRESULT UnlockRect() override {
        if (!m_locked) return D3DERR_INVALIDCALL;
        m_locked = false;
        return D3D_OK;
    }

    void set(UINT x, UINT y, uint32_t value) {
        uint8_t* p = m_bits.data() + static_cast<size_t>(m_pitch) * y + x * m_bpp;
        for (unsigned i = 0; i < m_bpp; ++i) p[i] = uint8_t(value >> (8 * i));
    }
    bool locked() const { return m_locked; }
    DWORD lastFlags = 0;

private:
    UINT m_w, m_h;
    D3DFORMAT m_format;
    unsigned m_bpp;
    INT m_pitch;
    Bytes m_bits;
    bool m_locked = false;
};

using SaveSurfaceToFile = TempDir;

TEST_F(SaveSurfaceToFile, WritesA32BitBottomUpBmpOfTheWholeSurface) {
    MemorySurface surface(5, 3, D3DFMT_X8R8G8B8, 4);
    std::vector<uint32_t> image = patternImage(5, 3, 9);
    for (UINT y = 0; y < 3; ++y) {
        for (UINT x = 0; x < 5; ++x) surface.set(x, y, image[y * 5 + x]);
    }
    ASSERT_EQ(D3D_OK, D3DXSaveSurfaceToFileA(path("shot.bmp").c_str(), D3DXIFF_BMP, &surface,
                                             nullptr, nullptr));
    EXPECT_FALSE(surface.locked());
    EXPECT_TRUE(surface.lastFlags & D3DLOCK_READONLY);

    Bytes file = readFile(path("shot.bmp"));
    ASSERT_EQ(54u + 5 * 3 * 4, file.size());
    // The fixed headers, byte for byte.
    Bytes expectedHeader{'B', 'M'};
    for (uint32_t v : {54u + 60u, 0u, 54u, 40u, 5u, 3u}) put32(&expectedHeader, v);
    put16(&expectedHeader, 1);
    put16(&expectedHeader, 32);
    for (uint32_t v : {0u, 60u, 2835u, 2835u, 0u, 0u}) put32(&expectedHeader, v);
    EXPECT_EQ(expectedHeader, Bytes(file.begin(), file.begin() + 54));
    // First stored pixel: bottom-left, as B G R and an unused 0.
    uint32_t bottomLeft = image[2 * 5];
    EXPECT_EQ(uint8_t(bottomLeft), file[54]);
    EXPECT_EQ(uint8_t(bottomLeft >> 8), file[55]);
    EXPECT_EQ(uint8_t(bottomLeft >> 16), file[56]);
    EXPECT_EQ(0, file[57]);

    // Our reader sees the surface again, opaque.
    DecodedImage img;
    ASSERT_EQ(D3D_OK, d3dximage::decodeImage(file.data(), file.size(), DecodeMode::Pixels, &img));
    EXPECT_EQ(D3DFMT_X8R8G8B8, img.info.Format);
    for (uint32_t& p : image) p |= 0xff000000u;
    EXPECT_EQ(image, img.faces[0][0].pixels);
}

TEST_F(SaveSurfaceToFile, SurfaceFormatsAndSourceRectangle) {
    struct {
        const char* name;
        D3DFORMAT format;
        unsigned bpp;
        uint32_t background;  // every other pixel (opaque black)
        uint32_t stored;      // the surface's pixel value at (3, 2)
        uint32_t expected;    // what reading the BMP back gives
    } rows[] = {
        {"a8r8g8b8 keeps alpha", D3DFMT_A8R8G8B8, 4, 0xff000000, 0x80123456, 0x80123456},
        {"x8r8g8b8", D3DFMT_X8R8G8B8, 4, 0, 0x00abcdef, 0xffabcdef},
        {"r5g6b5 widened", D3DFMT_R5G6B5, 2, 0, 0xf800 | 0x07e0, 0xffffff00},
        {"x1r5g5b5", D3DFMT_X1R5G5B5, 2, 0, 0x001f, 0xff0000ff},
        {"a1r5g5b5 transparent", D3DFMT_A1R5G5B5, 2, 0x8000, 0x7c00, 0x00ff0000},
    };
    for (const auto& r : rows) {
        MemorySurface surface(8, 6, r.format, r.bpp);
        for (UINT y = 0; y < 6; ++y) {
            for (UINT x = 0; x < 8; ++x) surface.set(x, y, r.background);
        }
        surface.set(3, 2, r.stored);
        RECT rect = {2, 1, 5, 4};  // 3x3 around (3, 2)
        std::string file = path("rect.bmp");
        ASSERT_EQ(D3D_OK, D3DXSaveSurfaceToFileA(file.c_str(), D3DXIFF_BMP, &surface, nullptr, &rect))
            << r.name;
        Bytes bytes = readFile(file);
        DecodedImage img;
        ASSERT_EQ(D3D_OK, d3dximage::decodeImage(bytes.data(), bytes.size(), DecodeMode::Pixels, &img))
            << r.name;
        ASSERT_EQ(3u, img.info.Width) << r.name;
        ASSERT_EQ(3u, img.info.Height) << r.name;
        EXPECT_EQ(r.expected, img.faces[0][0].pixels[1 * 3 + 1]) << r.name;
    }
}

TEST_F(SaveSurfaceToFile, RefusedCallsWriteNothing) {
    MemorySurface surface(4, 4, D3DFMT_X8R8G8B8, 4);
    MemorySurface depth(4, 4, D3DFMT_D16, 2);
    RECT outside = {0, 0, 5, 4}, empty = {2, 2, 2, 3}, negative = {-1, 0, 2, 2};
    std::string file = path("no.bmp");
    struct {
        const char* what;
        HRESULT hr;
    } rows[] = {
        {"png requested", D3DXSaveSurfaceToFileA(file.c_str(), D3DXIFF_PNG, &surface, nullptr, nullptr)},
        {"no surface", D3DXSaveSurfaceToFileA(file.c_str(), D3DXIFF_BMP, nullptr, nullptr, nullptr)},
        {"no path", D3DXSaveSurfaceToFileA(nullptr, D3DXIFF_BMP, &surface, nullptr, nullptr)},
        {"depth surface", D3DXSaveSurfaceToFileA(file.c_str(), D3DXIFF_BMP, &depth, nullptr, nullptr)},
        {"rect outside", D3DXSaveSurfaceToFileA(file.c_str(), D3DXIFF_BMP, &surface, nullptr, &outside)},
        {"rect empty", D3DXSaveSurfaceToFileA(file.c_str(), D3DXIFF_BMP, &surface, nullptr, &empty)},
        {"rect negative", D3DXSaveSurfaceToFileA(file.c_str(), D3DXIFF_BMP, &surface, nullptr, &negative)},
    };
    for (const auto& r : rows) EXPECT_EQ(D3DERR_INVALIDCALL, r.hr) << r.what;
    EXPECT_NE(0, access(file.c_str(), F_OK));
    EXPECT_FALSE(surface.locked());
}

TEST_F(SaveSurfaceToFile, UncreatableFileFailsAndLeavesNothing) {
    MemorySurface surface(4, 4, D3DFMT_X8R8G8B8, 4);
    // The folder does not exist (the engine never creates "Screen Shots").
    std::string inMissingDir = path("Screen Shots\\Zarvel Image 0.bmp");
    HRESULT hr = D3DXSaveSurfaceToFileA(inMissingDir.c_str(), D3DXIFF_BMP, &surface, nullptr, nullptr);
    EXPECT_EQ(static_cast<HRESULT>(0x80070003u), hr);
    EXPECT_NE(0, access(path("Screen Shots").c_str(), F_OK));
    EXPECT_FALSE(surface.locked());

    // With the folder present the same Windows-style path works.
    mkdir(path("Screen Shots").c_str(), 0755);
    EXPECT_EQ(D3D_OK, D3DXSaveSurfaceToFileA(inMissingDir.c_str(), D3DXIFF_BMP, &surface, nullptr, nullptr));
    EXPECT_EQ(0, access(path("Screen Shots/Zarvel Image 0.bmp").c_str(), F_OK));
}

// An independent reader of the written file, when ImageMagick is installed.
TEST_F(SaveSurfaceToFile, ImageMagickReadsTheSamePixels) {
    const char* convert = "/usr/bin/convert";
    if (access(convert, X_OK) != 0) GTEST_SKIP() << "ImageMagick's convert is not installed";
    MemorySurface surface(7, 4, D3DFMT_X8R8G8B8, 4);
    std::vector<uint32_t> image = patternImage(7, 4, 21);
    for (UINT y = 0; y < 4; ++y) {
        for (UINT x = 0; x < 7; ++x) surface.set(x, y, image[y * 7 + x]);
    }
    std::string bmp = path("im.bmp"), raw = path("im.rgb");
    ASSERT_EQ(D3D_OK, D3DXSaveSurfaceToFileA(bmp.c_str(), D3DXIFF_BMP, &surface, nullptr, nullptr));
    std::string cmd = std::string(convert) + " '" + bmp + "' -depth 8 'rgb:" + raw + "' 2>/dev/null";
    ASSERT_EQ(0, std::system(cmd.c_str()));
    Bytes rgb = readFile(raw);
    ASSERT_EQ(7u * 4 * 3, rgb.size());
    for (size_t i = 0; i < image.size(); ++i) {
        uint32_t got = (uint32_t(rgb[3 * i]) << 16) | (rgb[3 * i + 1] << 8) | rgb[3 * i + 2];
        EXPECT_EQ(image[i] & 0xffffff, got) << "pixel " << i % 7 << "," << i / 7;
    }
}

// --- Mip chain ------------------------------------------------------------------------

TEST(MipChain, BoxFilterDownToOnePixel) {
    d3dximage::ImageLevel top;
    top.width = 5;
    top.height = 3;
    // Left 4x2: four distinct 2x2 blocks averaging to known values; the odd
    // last column and row are not sampled by a 2x2 box.
    top.pixels = {
        0x00000000, 0xff000004, 0x10101010, 0x30303030, 0xffffffff,
        0x00000008, 0xff00000b, 0x20202020, 0x40404040, 0xffffffff,
        0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff,
    };
    std::vector<d3dximage::ImageLevel> levels{top};
    d3dximage::completeMipChain(&levels);
    ASSERT_EQ(3u, levels.size());
    EXPECT_EQ(2u, levels[1].width);
    EXPECT_EQ(1u, levels[1].height);
    // (0 + 0xff + 0 + 0xff) / 4 = 0x7f.8 -> 0x80; blue (0 + 4 + 8 + 0xb) / 4 = 5.75 -> 6.
    EXPECT_EQ(0x80000006u, levels[1].pixels[0]);
    EXPECT_EQ(0x28282828u, levels[1].pixels[1]);
    EXPECT_EQ(1u, levels[2].width);
    EXPECT_EQ(1u, levels[2].height);
    // A 2x1 level halves to 1x1 from its two pixels (the row is clamped).
    EXPECT_EQ(0x54141417u, levels[2].pixels[0]);

    std::vector<d3dximage::ImageLevel> tall{{1, 4, {0xff, 0xff, 0x01, 0x01}}};
    d3dximage::completeMipChain(&tall);
    ASSERT_EQ(3u, tall.size());
    EXPECT_EQ(std::vector<uint32_t>({0xff, 0x01}), tall[1].pixels);
    EXPECT_EQ(std::vector<uint32_t>({0x80}), tall[2].pixels);
}

}  // namespace
