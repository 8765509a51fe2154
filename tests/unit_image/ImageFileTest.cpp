// The file-level D3DX calls that need no device: image descriptions from
// files, and BMP saving from a surface (a stand-in surface in system memory),
// read back byte by byte and by our reader. Also the box-filtered mip chain
// the texture loaders complete.
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ImageChecks.h"

using namespace imgtest;

namespace {

class TempDir : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE((m_dir = makeTempDir("file")).empty()); }
    void TearDown() override { removeTree(m_dir); }
    std::string path(const std::string& name) const { return m_dir + "/" + name; }
    std::string m_dir;
};

using ImageInfoFromFile = TempDir;

TEST_F(ImageInfoFromFile, DescribesEachKindOfFileAndFailsWithD3DXCodes) {
    PngSpec png;
    png.width = 5;
    png.height = 3;
    png.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    png.samples.assign(5 * 3 * 4, 200);
    writeFile(path("a.png"), writePng(png));
    writeFile(path("b.jpg"), writeJpeg(17, 9, patternImage(17, 9, 1), false, true));
    BmpSpec bmp;
    bmp.width = 6;
    bmp.height = -2;
    bmp.pixelData.assign(bmpStride(6, 24) * 2, 1);
    mkdir(path("Assets").c_str(), 0755);
    writeFile(path("Assets/c.bmp"), writeBmp(bmp));
    DdsSpec dds = dxtSpec(D3DFMT_DXT1, 8, 8, Bytes(6 * (4 + 1 + 1 + 1) * 8, 0), 4);
    dds.cube = true;
    writeFile(path("d.dds"), writeDds(dds));
    const struct {
        const char* name;
        UINT w, h, levels;
        D3DFORMAT format;
        D3DRESOURCETYPE type;
        D3DXIMAGE_FILEFORMAT kind;
    } rows[] = {
        {"a.png", 5, 3, 1, D3DFMT_A8R8G8B8, D3DRTYPE_TEXTURE, D3DXIFF_PNG},
        {"b.jpg", 17, 9, 1, D3DFMT_X8R8G8B8, D3DRTYPE_TEXTURE, D3DXIFF_JPG},
        {"Assets\\c.bmp", 6, 2, 1, D3DFMT_R8G8B8, D3DRTYPE_TEXTURE, D3DXIFF_BMP},  // a Windows path
        {"d.dds", 8, 8, 4, D3DFMT_DXT1, D3DRTYPE_CUBETEXTURE, D3DXIFF_DDS},
    };
    for (const auto& r : rows) {
        D3DXIMAGE_INFO info;
        std::memset(&info, 0xcd, sizeof info);
        ASSERT_EQ(D3D_OK, D3DXGetImageInfoFromFileA(path(r.name).c_str(), &info)) << r.name;
        EXPECT_TRUE(info.Width == r.w && info.Height == r.h && info.Depth == 1 && info.MipLevels == r.levels) << r.name;
        EXPECT_TRUE(info.Format == r.format && info.ResourceType == r.type && info.ImageFileFormat == r.kind) << r.name;
    }

    writeFile(path("text.png"), Bytes{'h', 'e', 'l', 'l', 'o'});
    writeFile(path("empty.bmp"), Bytes{});
    mkdir(path("dir.bmp").c_str(), 0755);
    D3DXIMAGE_INFO info{};
    // As in D3DX, a missing file is not a file error.
    for (const std::string& file :
         {path("missing.png"), std::string(), path("text.png"), path("empty.bmp"), path("dir.bmp")})
        EXPECT_EQ(D3DXERR_INVALIDDATA, D3DXGetImageInfoFromFileA(file.c_str(), &info)) << file;
    EXPECT_EQ(D3DERR_INVALIDCALL, D3DXGetImageInfoFromFileA(nullptr, &info));
    // Without an info block only the file's presence is checked, as in D3DX.
    EXPECT_EQ(D3D_OK, D3DXGetImageInfoFromFileA(path("text.png").c_str(), nullptr));
    EXPECT_EQ(D3DXERR_INVALIDDATA, D3DXGetImageInfoFromFileA(path("missing.png").c_str(), nullptr));
}

// A surface in system memory, laid out as the device's back buffer is, with
// padding at the end of each row.
class MemorySurface : public IDirect3DSurface9 {
public:
    MemorySurface(UINT w, UINT h, D3DFORMAT format, unsigned bytesPerPixel)
        : m_w(w), m_h(h), m_format(format), m_bpp(bytesPerPixel), m_pitch(static_cast<INT>(w * bytesPerPixel) + 12),
          m_bits(static_cast<size_t>(m_pitch) * h, 0xee) {}

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
        for (unsigned i = 0; i < m_bpp; ++i)
            m_bits[static_cast<size_t>(m_pitch) * y + x * m_bpp + i] = uint8_t(value >> (8 * i));
    }
    void fill(uint32_t value) {
        for (UINT i = 0; i < m_w * m_h; ++i) set(i % m_w, i / m_w, value);
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
    for (UINT i = 0; i < 15; ++i) surface.set(i % 5, i / 5, image[i]);
    ASSERT_EQ(D3D_OK, D3DXSaveSurfaceToFileA(path("shot.bmp").c_str(), D3DXIFF_BMP, &surface, nullptr, nullptr));
    EXPECT_FALSE(surface.locked());
    EXPECT_TRUE(surface.lastFlags & D3DLOCK_READONLY);

    const Bytes file = readFile(path("shot.bmp"));
    ASSERT_EQ(54u + 5 * 3 * 4, file.size());
    // The fixed headers, byte for byte, then the bottom-left pixel as B G R
    // and an unused 0.
    Bytes expected{'B', 'M'};
    for (uint32_t v : {54u + 60u, 0u, 54u, 40u, 5u, 3u, 1u | 32u << 16, 0u, 60u, 2835u, 2835u, 0u, 0u})
        put(&expected, v);
    put(&expected, image[2 * 5] & 0xffffff);
    EXPECT_EQ(expected, Bytes(file.begin(), file.begin() + 58));
    // Our reader sees the surface again, opaque.
    for (uint32_t& p : image) p |= 0xff000000u;
    expectImage(file, D3DXIFF_BMP, D3DFMT_X8R8G8B8, false, 5, 3, image);
}

TEST_F(SaveSurfaceToFile, SurfaceFormatsAndSourceRectangle) {
    const struct {
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
        surface.fill(r.background);
        surface.set(3, 2, r.stored);
        const RECT rect = {2, 1, 5, 4};  // 3x3 around (3, 2)
        ASSERT_EQ(D3D_OK, D3DXSaveSurfaceToFileA(path("rect.bmp").c_str(), D3DXIFF_BMP, &surface, nullptr, &rect))
            << r.name;
        DecodedImage img;
        ASSERT_EQ(D3D_OK, decode(readFile(path("rect.bmp")), DecodeMode::Pixels, &img)) << r.name;
        ASSERT_TRUE(img.info.Width == 3 && img.info.Height == 3) << r.name;
        EXPECT_EQ(r.expected, img.faces[0][0].pixels[1 * 3 + 1]) << r.name;
        EXPECT_EQ(0xff000000u, img.faces[0][0].pixels[0]) << r.name;
    }
}

TEST_F(SaveSurfaceToFile, RefusedCallsAndMissingFoldersWriteNothing) {
    MemorySurface surface(4, 4, D3DFMT_X8R8G8B8, 4);
    MemorySurface depth(4, 4, D3DFMT_D16, 2);
    const RECT outside = {0, 0, 5, 4}, empty = {2, 2, 2, 3}, negative = {-1, 0, 2, 2};
    const std::string file = path("no.bmp");
    const struct {
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

    // The engine never creates "Screen Shots": without it, the path's
    // error; with it, the same Windows-style path works.
    const std::string shot = path("Screen Shots\\Zarvel Image 0.bmp");
    EXPECT_EQ(static_cast<HRESULT>(0x80070003u),
              D3DXSaveSurfaceToFileA(shot.c_str(), D3DXIFF_BMP, &surface, nullptr, nullptr));
    EXPECT_NE(0, access(path("Screen Shots").c_str(), F_OK));
    EXPECT_FALSE(surface.locked());
    mkdir(path("Screen Shots").c_str(), 0755);
    EXPECT_EQ(D3D_OK, D3DXSaveSurfaceToFileA(shot.c_str(), D3DXIFF_BMP, &surface, nullptr, nullptr));
    EXPECT_EQ(0, access(path("Screen Shots/Zarvel Image 0.bmp").c_str(), F_OK));
}

TEST(MipChain, BoxFilterDownToOnePixel) {
    // Left 4x2: four distinct 2x2 blocks averaging to known values; the odd
    // last column and row are not sampled by a 2x2 box.
    std::vector<d3dximage::ImageLevel> levels{{5, 3, {
        0x00000000, 0xff000004, 0x10101010, 0x30303030, 0xffffffff,
        0x00000008, 0xff00000b, 0x20202020, 0x40404040, 0xffffffff,
        0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff,
    }}};
    d3dximage::completeMipChain(&levels);
    ASSERT_EQ(3u, levels.size());
    EXPECT_TRUE(levels[1].width == 2 && levels[1].height == 1 && levels[2].width == 1 && levels[2].height == 1);
    // (0 + 0xff + 0 + 0xff) / 4 = 0x7f.8 -> 0x80; blue (0 + 4 + 8 + 0xb) / 4 = 5.75 -> 6.
    EXPECT_EQ((std::vector<uint32_t>{0x80000006u, 0x28282828u}), levels[1].pixels);
    // A 2x1 level halves to 1x1 from its two pixels (the row is clamped).
    EXPECT_EQ(std::vector<uint32_t>{0x54141417u}, levels[2].pixels);

    std::vector<d3dximage::ImageLevel> tall{{1, 4, {0xff, 0xff, 0x01, 0x01}}};
    d3dximage::completeMipChain(&tall);
    ASSERT_EQ(3u, tall.size());
    EXPECT_EQ((std::vector<uint32_t>{0xff, 0x01}), tall[1].pixels);
    EXPECT_EQ(std::vector<uint32_t>{0x80}, tall[2].pixels);
}

}  // namespace
