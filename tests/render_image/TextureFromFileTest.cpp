// Textures, cube textures and screenshots on the real device (OpenGL,
// offscreen): mip chains and formats as created, pixels as uploaded, images
// drawn the right way up, DXT1 transparency, and the back buffer saved as BMP.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <string>

#include "ImageWriters.h"
#include "TestDevice.h"
#include "d3dx9/image/ImageDecode.h"

using namespace imgtest;
using d3dximage::DecodedImage;
using d3dximage::DecodeMode;

namespace {

constexpr UINT kSize = 64;  // back buffer edge
const uint32_t kMasks[4] = {0xff0000, 0xff00, 0xff, 0};

class ImageDevice : public zvtestsupport::SuiteDeviceTest {
protected:
    static void SetUpTestSuite() { openSuiteDevice("ZarvelImageTest", kSize); }

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(SuiteDeviceTest::SetUp());
        m_dir = makeTempDir("render");
    }
    void TearDown() override { removeTree(m_dir); }

    std::string save(const std::string& name, const Bytes& bytes) {
        writeFile(m_dir + "/" + name, bytes);
        return m_dir + "/" + name;
    }

    // The texels of one level (of one face of a cube texture), top row first.
    template <typename Texture, typename... Face>
    static std::vector<uint32_t> readLevel(Texture* t, UINT level, Face... face) {
        D3DSURFACE_DESC desc;
        EXPECT_EQ(D3D_OK, t->GetLevelDesc(level, &desc));
        std::vector<uint32_t> out;
        D3DLOCKED_RECT lr;
        if (t->LockRect(face..., level, &lr, nullptr, D3DLOCK_READONLY) != D3D_OK) {
            ADD_FAILURE() << "lock failed";
            return out;
        }
        for (UINT y = 0; y < desc.Height; ++y) {
            const uint32_t* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(lr.pBits) + lr.Pitch * y);
            out.insert(out.end(), row, row + desc.Width);
        }
        EXPECT_EQ(D3D_OK, t->UnlockRect(face..., level));
        return out;
    }

    // Draws `texture` over the whole back buffer with point sampling, after
    // clearing to `clear`, blending SRCALPHA / INVSRCALPHA, and presents;
    // returns the frame read back.
    static std::vector<uint32_t> drawFullScreen(IDirect3DTexture9* texture, D3DCOLOR clear) {
        IDirect3DDevice9* d = s_device;
        struct Vertex {
            float x, y, z, rhw, u, v;
        };
        const float e = kSize - 0.5f;
        const Vertex quad[4] = {{-0.5f, -0.5f, 0, 1, 0, 0}, {e, -0.5f, 0, 1, 1, 0},
                                {-0.5f, e, 0, 1, 0, 1}, {e, e, 0, 1, 1, 1}};
        std::vector<uint32_t> pixels;
        EXPECT_EQ(D3D_OK, d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clear, 1.0f, 0));
        EXPECT_EQ(D3D_OK, d->BeginScene());
        d->SetRenderState(D3DRS_LIGHTING, FALSE);
        d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        d->SetTexture(0, texture);
        d->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1);
        EXPECT_EQ(D3D_OK, d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex)));
        d->SetTexture(0, nullptr);
        EXPECT_EQ(D3D_OK, d->EndScene());
        EXPECT_EQ(D3D_OK, d->Present(nullptr, nullptr, nullptr, nullptr));
        zvtestsupport::readBackBuffer(d, kSize, kSize, pixels);
        return pixels;
    }

    std::string m_dir;
};

// A 2x2 BMP: red, green on top; blue, white below.
Bytes quadrantBmp() {
    BmpSpec shape;
    shape.width = shape.height = 2;
    shape.bits = 24;
    shape.pixelData = {0xff, 0, 0, 0xff, 0xff, 0xff, 0, 0,   // bottom row: blue, white
                      0, 0, 0xff, 0, 0xff, 0, 0, 0};        // top row: red, green
    return writeBmp(shape);
}

bool near(uint32_t a, uint32_t b, int tolerance = 4) {
    for (int s = 0; s < 24; s += 8)
        if (std::abs(int((a >> s) & 0xff) - int((b >> s) & 0xff)) > tolerance) return false;
    return true;
}

TEST_F(ImageDevice, TextureHasTheFullChainWithTheFileAsLevelZero) {
    PngSpec shape;
    shape.width = 13;
    shape.height = 7;
    shape.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    const std::vector<uint32_t> src = patternImage(13, 7, 4);
    for (uint32_t p : src)
        shape.samples.insert(shape.samples.end(), {uint16_t(p >> 16 & 0xff), uint16_t(p >> 8 & 0xff),
                                                 uint16_t(p & 0xff), uint16_t(p >> 24)});
    save("p.png", writePng(shape));
    IDirect3DTexture9* tex = nullptr;
    // Windows separators in the path load too.
    ASSERT_EQ(D3D_OK, D3DXCreateTextureFromFileA(s_device, (m_dir + "\\p.png").c_str(), &tex));
    ASSERT_EQ(4u, tex->GetLevelCount());  // 13x7, 6x3, 3x1, 1x1

    DecodedImage img;
    Bytes bytes = readFile(m_dir + "/p.png");
    ASSERT_EQ(D3D_OK, d3dximage::decodeImage(bytes.data(), bytes.size(), DecodeMode::Pixels, &img));
    d3dximage::completeMipChain(&img.faces[0]);
    const UINT widths[4] = {13, 6, 3, 1};
    for (UINT l = 0; l < 4; ++l) {
        D3DSURFACE_DESC desc;
        ASSERT_EQ(D3D_OK, tex->GetLevelDesc(l, &desc));
        EXPECT_EQ(widths[l], desc.Width) << "level " << l;
        EXPECT_EQ(D3DPOOL_MANAGED, desc.Pool);
        EXPECT_EQ(img.faces[0][l].pixels, readLevel(tex, l)) << "level " << l;
    }
    EXPECT_EQ(src, readLevel(tex, 0));  // level 0 is the file itself
    tex->Release();
}

TEST_F(ImageDevice, TextureFormatFollowsWhetherTheFileHasAlpha) {
    PngSpec rgb;
    rgb.width = rgb.height = 4;
    rgb.colorType = PNG_COLOR_TYPE_RGB;
    rgb.samples.assign(48, 9);
    PngSpec pal = rgb;
    pal.colorType = PNG_COLOR_TYPE_PALETTE;
    pal.samples.assign(16, 0);
    pal.palette = {1, 2, 3};
    pal.trns = {128};
    BmpSpec bmp32;
    bmp32.width = bmp32.height = 2;
    bmp32.bits = 32;
    bmp32.pixelData = {1, 2, 3, 0x80, 1, 2, 3, 0xff, 1, 2, 3, 0, 1, 2, 3, 0};
    DdsSpec dxt1;
    dxt1.width = dxt1.height = 4;
    dxt1.pfFlags = kDdpfFourCC;
    dxt1.fourCC = D3DFMT_DXT1;
    dxt1.payload.assign(8, 0);
    const struct {
        const char* name;
        Bytes file;
        D3DFORMAT format;
    } rows[] = {
        {"rgb.png", writePng(rgb), D3DFMT_X8R8G8B8},
        {"pal_trns.png", writePng(pal), D3DFMT_A8R8G8B8},
        {"c.jpg", writeJpeg(8, 8, patternImage(8, 8, 2), false, false, 90), D3DFMT_X8R8G8B8},
        {"a.bmp", writeBmp(bmp32), D3DFMT_A8R8G8B8},
        {"d1.dds", writeDds(dxt1), D3DFMT_A8R8G8B8},
    };
    for (const auto& r : rows) {
        IDirect3DTexture9* tex = nullptr;
        ASSERT_EQ(D3D_OK, D3DXCreateTextureFromFileA(s_device, save(r.name, r.file).c_str(), &tex)) << r.name;
        D3DSURFACE_DESC desc;
        ASSERT_EQ(D3D_OK, tex->GetLevelDesc(0, &desc));
        EXPECT_EQ(r.format, desc.Format) << r.name;
        tex->Release();
    }
}

TEST_F(ImageDevice, DdsLevelsAreKeptAndOnlyTheMissingOnesGenerated) {
    DdsSpec shape;
    shape.width = 8;
    shape.height = 4;
    shape.mipCount = 2;  // 8x4 and 4x2 stored; 2x1 and 1x1 to generate
    shape.payload = packPixels(std::vector<uint32_t>(32, 0xff204060), 32, kMasks);
    Bytes b = packPixels(std::vector<uint32_t>(8, 0xffc0a080), 32, kMasks);
    shape.payload.insert(shape.payload.end(), b.begin(), b.end());
    IDirect3DTexture9* tex = nullptr;
    ASSERT_EQ(D3D_OK, D3DXCreateTextureFromFileA(s_device, save("m.dds", writeDds(shape)).c_str(), &tex));
    ASSERT_EQ(4u, tex->GetLevelCount());
    EXPECT_EQ(std::vector<uint32_t>(32, 0xff204060), readLevel(tex, 0));
    // Level 1 is the file's own (not a filtered level 0), and so its children.
    EXPECT_EQ(std::vector<uint32_t>(8, 0xffc0a080), readLevel(tex, 1));
    EXPECT_EQ(std::vector<uint32_t>(1, 0xffc0a080), readLevel(tex, 3));
    tex->Release();
}

TEST_F(ImageDevice, FailuresLeaveTheOutPointerAlone) {
    DdsSpec cube;
    cube.width = cube.height = 2;
    cube.cube = true;
    cube.payload.assign(6 * 16, 0);
    Bytes corrupt = quadrantBmp();
    corrupt.resize(corrupt.size() - 1);
    const std::string cubeFile = save("cube.dds", writeDds(cube)), flatFile = save("flat.bmp", quadrantBmp());
    const struct {
        const char* what;
        bool cube;
        IDirect3DDevice9* device;
        std::string path;
        HRESULT expected;
    } rows[] = {
        {"missing file", false, s_device, m_dir + "/none.png", D3DXERR_INVALIDDATA},
        {"corrupt file", false, s_device, save("bad.bmp", corrupt), D3DXERR_INVALIDDATA},
        {"cube map as a texture", false, s_device, cubeFile, D3DXERR_INVALIDDATA},
        {"no device", false, nullptr, flatFile, D3DERR_INVALIDCALL},
        {"flat image as a cube", true, s_device, flatFile, D3DXERR_INVALIDDATA},
        {"missing cube", true, s_device, m_dir + "/none.dds", D3DXERR_INVALIDDATA},
    };
    for (const auto& r : rows) {
        void* const sentinel = reinterpret_cast<void*>(0x1234);
        void* out = sentinel;
        EXPECT_EQ(r.expected, r.cube ? D3DXCreateCubeTextureFromFileA(r.device, r.path.c_str(),
                                                                      reinterpret_cast<IDirect3DCubeTexture9**>(&out))
                                     : D3DXCreateTextureFromFileA(r.device, r.path.c_str(),
                                                                  reinterpret_cast<IDirect3DTexture9**>(&out)))
            << r.what;
        EXPECT_EQ(sentinel, out) << r.what;
    }
    EXPECT_EQ(D3DERR_INVALIDCALL, D3DXCreateTextureFromFileA(s_device, flatFile.c_str(), nullptr));
}

TEST_F(ImageDevice, CubeTextureFacesInFileOrderWithFullChains) {
    const uint32_t colours[6] = {0xffff0000, 0xff00ffff, 0xff00ff00, 0xffff00ff, 0xff0000ff, 0xffffff00};
    DdsSpec shape;
    shape.width = shape.height = 4;
    shape.cube = true;  // one level per face in the file
    for (uint32_t c : colours) {
        std::vector<uint32_t> face(16, c);
        face[0] = 0xff808080;  // top-left marks the face's orientation
        Bytes b = packPixels(face, 32, kMasks);
        shape.payload.insert(shape.payload.end(), b.begin(), b.end());
    }
    IDirect3DCubeTexture9* cube = nullptr;
    ASSERT_EQ(D3D_OK, D3DXCreateCubeTextureFromFileA(s_device, save("env.dds", writeDds(shape)).c_str(), &cube));
    ASSERT_EQ(3u, cube->GetLevelCount());  // 4, 2, 1
    D3DSURFACE_DESC desc;
    ASSERT_EQ(D3D_OK, cube->GetLevelDesc(0, &desc));
    EXPECT_EQ(D3DFMT_X8R8G8B8, desc.Format);
    for (UINT face = 0; face < 6; ++face) {
        std::vector<uint32_t> top = readLevel(cube, 0, D3DCUBEMAP_FACES(face));
        ASSERT_EQ(16u, top.size());
        EXPECT_EQ(0xff808080u, top[0]) << "face " << face << " unflipped";
        EXPECT_EQ(colours[face], top[15]) << "face " << face;
        std::vector<uint32_t> last = readLevel(cube, 2, D3DCUBEMAP_FACES(face));
        ASSERT_EQ(1u, last.size());
        EXPECT_TRUE(near(colours[face], last[0], 40)) << "face " << face;
    }
    cube->Release();
}

TEST_F(ImageDevice, TextureDrawsTheRightWayUpAndTheScreenshotMatches) {
    IDirect3DTexture9* tex = nullptr;
    ASSERT_EQ(D3D_OK, D3DXCreateTextureFromFileA(s_device, save("q.bmp", quadrantBmp()).c_str(), &tex));
    drawFullScreen(tex, 0xff000000);
    tex->Release();
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(D3D_OK, s_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back));
    ASSERT_EQ(D3D_OK, D3DXSaveSurfaceToFileA((m_dir + "\\shot.bmp").c_str(), D3DXIFF_BMP, back, nullptr, nullptr));
    back->Release();

    Bytes file = readFile(m_dir + "/shot.bmp");
    DecodedImage img;
    ASSERT_EQ(D3D_OK, d3dximage::decodeImage(file.data(), file.size(), DecodeMode::Pixels, &img));
    ASSERT_EQ(kSize, img.info.Width);
    ASSERT_EQ(kSize, img.info.Height);
    // The centre of each quadrant: top left, top right, bottom left, bottom right.
    const uint32_t quadrants[4] = {0xffff0000, 0xff00ff00, 0xff0000ff, 0xffffffff};
    for (int q = 0; q < 4; ++q) {
        const uint32_t got = img.faces[0][0].pixels[((q / 2) * 32 + 16) * kSize + (q % 2) * 32 + 16];
        EXPECT_TRUE(near(quadrants[q], got)) << "quadrant " << q << std::hex << ": 0x" << got;
    }
}

TEST_F(ImageDevice, Dxt1TransparentBlackLetsTheBackgroundThrough) {
    // One 4x4 block, three-colour mode: the left half index 0 (blue), the
    // right half index 3 (transparent black).
    const unsigned idx[16] = {0, 0, 3, 3, 0, 0, 3, 3, 0, 0, 3, 3, 0, 0, 3, 3};
    DdsSpec shape;
    shape.width = shape.height = 4;
    shape.pfFlags = kDdpfFourCC;
    shape.fourCC = D3DFMT_DXT1;
    shape.payload = dxtColourBlock(0x001f, 0xf800, idx);
    IDirect3DTexture9* tex = nullptr;
    ASSERT_EQ(D3D_OK, D3DXCreateTextureFromFileA(s_device, save("t.dds", writeDds(shape)).c_str(), &tex));
    const std::vector<uint32_t> frame = drawFullScreen(tex, 0xffff0000);
    tex->Release();
    EXPECT_TRUE(near(0xff0000ff, frame[32 * kSize + 16])) << "texture: " << std::hex << frame[32 * kSize + 16];
    EXPECT_TRUE(near(0xffff0000, frame[32 * kSize + 48])) << "background: " << std::hex << frame[32 * kSize + 48];
}

}  // namespace
