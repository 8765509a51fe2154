// The D3DX font on a recording device: creation rules, what DrawTextA draws
// (resolved to pixels in software), the states it sets and puts back, and
// the glyph texture it keeps.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <d3dx9core.h>

#include "FakeDevice.h"
#include "d3dx9/font/FontDeviceState.h"
#include "testing/FontTesting.h"

using fontfake::FakeDevice;
using fontfake::FakeTexture;
using fontfake::Frame;

namespace {

D3DXFONT_DESCA description(const char* face, INT height) {
    D3DXFONT_DESCA desc;
    std::memset(&desc, 0, sizeof desc);
    desc.Height = height;
    desc.Weight = FW_NORMAL;
    desc.MipLevels = D3DX_DEFAULT;
    desc.CharSet = DEFAULT_CHARSET;
    desc.Quality = PROOF_QUALITY;
    std::strncpy(desc.FaceName, face, LF_FACESIZE - 1);
    return desc;
}

class FontOnFakeDevice : public ::testing::Test {
protected:
    void SetUp() override {
        device = new FakeDevice;
        const D3DXFONT_DESCA desc = description("DejaVu Sans", 16);
        ASSERT_EQ(D3D_OK, D3DXCreateFontIndirectA(device, &desc, &font));
    }
    void TearDown() override {
        if (font) {
            EXPECT_EQ(0u, font->Release());
        }
        EXPECT_EQ(1u, device->refs);
        EXPECT_EQ(0, FakeTexture::alive);
        device->Release();
    }

    // Draws and resolves every recorded draw into an 800 x 600 frame.
    INT drawInto(Frame* frame, const char* text, RECT rect, D3DCOLOR color, DWORD format = 0,
                 INT count = -1) {
        const size_t before = device->draws.size();
        const INT height = font->DrawTextA(nullptr, text, count, &rect, format, color);
        for (size_t i = before; i < device->draws.size(); ++i) {
            const auto* texture = static_cast<const FakeTexture*>(device->draws[i].texture0);
            if (texture) fontfake::resolve(device->draws[i], *texture, frame);
        }
        return height;
    }

    FakeDevice* device = nullptr;
    ID3DXFont* font = nullptr;
};

// The smallest box holding every non-black pixel; empty when none.
struct Lit {
    int count = 0;
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

Lit litPixels(const Frame& frame) {
    Lit lit;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            if ((frame.at(x, y) & 0x00FFFFFFu) != 0) {
                ++lit.count;
                if (x < lit.left) lit.left = x;
                if (y < lit.top) lit.top = y;
                if (x > lit.right) lit.right = x;
                if (y > lit.bottom) lit.bottom = y;
            }
    return lit;
}

}  // namespace

TEST(FontCreation, RefusesWhatThisPlatformDoesNotTake) {
    FakeDevice* device = new FakeDevice;
    const D3DXFONT_DESCA good = description("DejaVu Sans", 16);
    struct Case {
        const char* name;
        bool nullDevice, nullDesc, nullOut;
        D3DXFONT_DESCA desc;
    };
    D3DXFONT_DESCA zeroHeight = good, width = good, charset = good;
    zeroHeight.Height = 0;
    width.Width = 8;
    charset.CharSet = 2;  // SYMBOL_CHARSET
    const Case cases[] = {
        {"null device", true, false, false, good}, {"null description", false, true, false, good},
        {"null result", false, false, true, good}, {"height 0", false, false, false, zeroHeight},
        {"explicit width", false, false, false, width}, {"symbol charset", false, false, false, charset},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ID3DXFont* sentinel = reinterpret_cast<ID3DXFont*>(0x1);
        ID3DXFont* font = sentinel;
        EXPECT_EQ(D3DERR_INVALIDCALL,
                  D3DXCreateFontIndirectA(c.nullDevice ? nullptr : device,
                                          c.nullDesc ? nullptr : &c.desc,
                                          c.nullOut ? nullptr : &font));
        EXPECT_EQ(sentinel, font);
        EXPECT_EQ(1u, device->refs);
    }
    device->Release();
}

TEST(FontCreation, CutsLongFaceNamesAndHoldsTheDevice) {
    FakeDevice* device = new FakeDevice;
    D3DXFONT_DESCA desc = description("", -20);
    // A face name filling the whole field, without a terminating zero.
    std::memset(desc.FaceName, 'x', LF_FACESIZE);
    desc.Italic = TRUE;
    desc.Weight = FW_BOLD;
    ID3DXFont* font = nullptr;
    ASSERT_EQ(D3D_OK, D3DXCreateFontIndirectA(device, &desc, &font));
    EXPECT_EQ(2u, device->refs);

    D3DXFONT_DESCA back;
    ASSERT_EQ(D3D_OK, font->GetDescA(&back));
    EXPECT_EQ(std::string(31, 'x'), std::string(back.FaceName));
    EXPECT_EQ(-20, back.Height);
    EXPECT_EQ(static_cast<UINT>(FW_BOLD), back.Weight);
    EXPECT_EQ(TRUE, back.Italic);
    EXPECT_STRNE("", zvtest::fontFacePath(font));

    IDirect3DDevice9* held = nullptr;
    ASSERT_EQ(D3D_OK, font->GetDevice(&held));
    EXPECT_EQ(device, held);
    EXPECT_EQ(3u, device->refs);
    held->Release();

    EXPECT_EQ(2u, font->AddRef());
    EXPECT_EQ(1u, font->Release());
    EXPECT_EQ(0u, font->Release());
    EXPECT_EQ(1u, device->refs);
    device->Release();
}

TEST_F(FontOnFakeDevice, TextStaysInsideItsRectangle) {
    struct Case {
        const char* name;
        const char* text;
        RECT rect;
        D3DCOLOR color;
        bool visible;
    };
    const Case cases[] = {
        {"FPS line at (5, 5)", "FPS: 60", RECT{5, 5, 800, 600}, 0xFFFFFFFFu, true},
        {"waiting line", "FPS: Waiting...", RECT{5, 5, 800, 600}, 0xFFFFFFFFu, true},
        {"particle line at (5, 25)", "Dead Particles: 12", RECT{5, 25, 800, 600}, 0xFFFFFFFFu, true},
        {"alpha 0 draws nothing visible", "FPS: 60", RECT{5, 5, 800, 600}, 0x00FFFFFFu, false},
        {"narrow rectangle", "FPS: 60", RECT{5, 5, 20, 600}, 0xFFFFFFFFu, true},
        {"short rectangle", "FPS: 60", RECT{5, 5, 800, 12}, 0xFFFFFFFFu, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Frame frame(800, 600);
        const INT height = drawInto(&frame, c.text, c.rect, c.color);
        EXPECT_EQ(16, height);
        const Lit lit = litPixels(frame);
        if (!c.visible) {
            EXPECT_EQ(0, lit.count);
            continue;
        }
        EXPECT_GT(lit.count, 20);
        EXPECT_GE(lit.left, c.rect.left);
        EXPECT_GE(lit.top, c.rect.top);
        EXPECT_LT(lit.right, c.rect.right);
        EXPECT_LT(lit.bottom, c.rect.bottom);
        EXPECT_LT(lit.bottom, c.rect.top + 16);
        // Text starts at the rectangle's corner, not somewhere inside it.
        EXPECT_LE(lit.left, c.rect.left + 3);
        EXPECT_LE(lit.top, c.rect.top + 6);
    }
}

TEST_F(FontOnFakeDevice, ColourComesFromTheArgumentAndCoverageFromTheFace) {
    Frame frame(800, 600);
    drawInto(&frame, "FPS: 60", RECT{5, 5, 800, 600}, 0xFFFF0000u);
    int full = 0;
    for (DWORD p : frame.pixels) {
        EXPECT_EQ(0u, p & 0x0000FFFFu);  // red text on black stays red
        if (p == 0xFFFF0000u) ++full;
    }
    EXPECT_GT(full, 10);
}

TEST_F(FontOnFakeDevice, GlyphsPastTheRightEdgeAreSkipped) {
    RECT all{5, 5, 800, 600};
    ASSERT_EQ(1u, (font->DrawTextA(nullptr, "FPS: 60", -1, &all, 0, 0xFFFFFFFFu), device->draws.size()));
    const UINT allPrimitives = device->draws.back().primitiveCount;
    RECT narrow{5, 5, 20, 600};
    font->DrawTextA(nullptr, "FPS: 60", -1, &narrow, 0, 0xFFFFFFFFu);
    ASSERT_EQ(2u, device->draws.size());
    EXPECT_LT(device->draws.back().primitiveCount, allPrimitives);
    EXPECT_LE(device->draws.back().primitiveCount, 6u);  // 'F', 'P' and a cropped 'S' at most
    // Without clipping everything is drawn.
    font->DrawTextA(nullptr, "FPS: 60", -1, &narrow, DT_NOCLIP, 0xFFFFFFFFu);
    EXPECT_EQ(allPrimitives, device->draws.back().primitiveCount);
}

TEST_F(FontOnFakeDevice, LinesSplitOnNewlines) {
    for (const char* text : {"FPS\n60", "FPS\r\n60"}) {
        SCOPED_TRACE(text);
        Frame frame(800, 600);
        EXPECT_EQ(32, drawInto(&frame, text, RECT{5, 5, 800, 600}, 0xFFFFFFFFu));
        Frame first(800, 600), second(800, 600);
        drawInto(&first, "FPS", RECT{5, 5, 800, 600}, 0xFFFFFFFFu);
        drawInto(&second, "60", RECT{5, 21, 800, 600}, 0xFFFFFFFFu);
        // The two lines are exactly the two single-line drawings.
        for (size_t i = 0; i < frame.pixels.size(); ++i)
            ASSERT_EQ(frame.pixels[i], first.pixels[i] | second.pixels[i]) << "pixel " << i;
    }
}

TEST_F(FontOnFakeDevice, CountLimitsTheText) {
    Frame three(800, 600), prefix(800, 600);
    drawInto(&three, "FPS: 60", RECT{5, 5, 800, 600}, 0xFFFFFFFFu, 0, 3);
    drawInto(&prefix, "FPS", RECT{5, 5, 800, 600}, 0xFFFFFFFFu);
    EXPECT_TRUE(three.pixels == prefix.pixels);
    EXPECT_GT(litPixels(three).count, 0);
}

TEST_F(FontOnFakeDevice, CalcRectMeasuresWithoutDrawing) {
    RECT one{5, 5, 6, 6};
    EXPECT_EQ(16, font->DrawTextA(nullptr, "FPS: 60", -1, &one, DT_CALCRECT, 0xFFFFFFFFu));
    EXPECT_EQ(5, one.left);
    EXPECT_EQ(5, one.top);
    EXPECT_EQ(21, one.bottom);
    EXPECT_GT(one.right, 5 + 7 * 4);
    RECT two{5, 5, 6, 6};
    EXPECT_EQ(32, font->DrawTextA(nullptr, "FPS: 60\nFPS", -1, &two, DT_CALCRECT, 0xFFFFFFFFu));
    EXPECT_EQ(one.right, two.right);
    EXPECT_EQ(37, two.bottom);
    EXPECT_TRUE(device->draws.empty());

    // The measured rectangle holds every drawn pixel.
    Frame frame(800, 600);
    drawInto(&frame, "FPS: 60", RECT{5, 5, 800, 600}, 0xFFFFFFFFu);
    EXPECT_LT(litPixels(frame).right, one.right + 1);
}

TEST_F(FontOnFakeDevice, RefusedCallsDrawNothing) {
    RECT rect{5, 5, 800, 600};
    struct Case {
        const char* name;
        LPD3DXSPRITE sprite;
        const char* text;
        INT count;
        LPRECT rect;
        DWORD format;
    };
    LPD3DXSPRITE someSprite = reinterpret_cast<LPD3DXSPRITE>(&rect);  // never dereferenced
    const Case cases[] = {
        {"null text", nullptr, nullptr, -1, &rect, 0},
        {"null rectangle", nullptr, "FPS", -1, nullptr, 0},
        {"count 0", nullptr, "FPS", 0, &rect, 0},
        {"empty text", nullptr, "", -1, &rect, 0},
        {"a sprite", someSprite, "FPS", -1, &rect, 0},
        {"DT_CENTER", nullptr, "FPS", -1, &rect, DT_CENTER},
        {"DT_RIGHT", nullptr, "FPS", -1, &rect, DT_RIGHT},
        {"DT_VCENTER", nullptr, "FPS", -1, &rect, DT_VCENTER},
        {"DT_BOTTOM", nullptr, "FPS", -1, &rect, DT_BOTTOM},
        {"DT_WORDBREAK", nullptr, "FPS", -1, &rect, DT_WORDBREAK},
        {"DT_SINGLELINE", nullptr, "FPS", -1, &rect, DT_SINGLELINE},
        {"DT_EXPANDTABS with DT_NOCLIP", nullptr, "FPS", -1, &rect, DT_EXPANDTABS | DT_NOCLIP},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(0, font->DrawTextA(c.sprite, c.text, c.count, c.rect, c.format, 0xFFFFFFFFu));
        EXPECT_TRUE(device->draws.empty());
    }
}

TEST_F(FontOnFakeDevice, DrawsWithItsOwnStatesAndPutsTheCallersBack) {
    using d3dxfont::FontDeviceState;
    // Give every state the font touches a value of the caller's own.
    for (int i = 0; i < FontDeviceState::renderStateCount(); ++i)
        device->SetRenderState(FontDeviceState::renderState(i), 0x1000u + i);
    for (int i = 0; i < FontDeviceState::stageStateCount(); ++i) {
        DWORD stage;
        D3DTEXTURESTAGESTATETYPE type;
        FontDeviceState::stageState(i, &stage, &type);
        device->SetTextureStageState(stage, type, 0x2000u + i);
    }
    for (int i = 0; i < FontDeviceState::samplerStateCount(); ++i)
        device->SetSamplerState(0, FontDeviceState::samplerState(i), 0x3000u + i);
    device->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2);
    FakeTexture* callerTexture = new FakeTexture(device, 4, 4, D3DFMT_X8R8G8B8);
    device->SetTexture(0, callerTexture);
    auto* callerBuffer = new fontfake::FakeVertexBuffer;
    device->SetStreamSource(0, callerBuffer, 4, 40);
    const auto render = device->render;
    const auto stage = device->stage;
    const auto sampler = device->sampler;

    RECT rect{5, 5, 800, 600};
    ASSERT_EQ(16, font->DrawTextA(nullptr, "FPS: 60", -1, &rect, 0, 0xFFFFFFFFu));
    ASSERT_EQ(1u, device->draws.size());

    const fontfake::RecordedDraw& draw = device->draws[0];
    EXPECT_EQ(static_cast<DWORD>(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1), draw.fvf);
    EXPECT_EQ(28u, draw.stride);
    EXPECT_EQ(static_cast<DWORD>(TRUE), draw.render.at(D3DRS_ALPHABLENDENABLE));
    EXPECT_EQ(static_cast<DWORD>(D3DBLEND_SRCALPHA), draw.render.at(D3DRS_SRCBLEND));
    EXPECT_EQ(static_cast<DWORD>(D3DBLEND_INVSRCALPHA), draw.render.at(D3DRS_DESTBLEND));
    EXPECT_EQ(static_cast<DWORD>(D3DBLENDOP_ADD), draw.render.at(D3DRS_BLENDOP));
    EXPECT_EQ(static_cast<DWORD>(FALSE), draw.render.at(D3DRS_LIGHTING));
    EXPECT_EQ(static_cast<DWORD>(D3DZB_FALSE), draw.render.at(D3DRS_ZENABLE));
    EXPECT_EQ(static_cast<DWORD>(FALSE), draw.render.at(D3DRS_ALPHATESTENABLE));
    EXPECT_EQ(static_cast<DWORD>(D3DTOP_MODULATE), (draw.stage.at({0, D3DTSS_COLOROP})));
    EXPECT_EQ(static_cast<DWORD>(D3DTOP_MODULATE), (draw.stage.at({0, D3DTSS_ALPHAOP})));
    EXPECT_EQ(static_cast<DWORD>(D3DTOP_DISABLE), (draw.stage.at({1, D3DTSS_COLOROP})));
    EXPECT_EQ(static_cast<DWORD>(D3DTEXF_POINT), draw.sampler0.at(D3DSAMP_MINFILTER));
    ASSERT_EQ(1u, device->createdTextures.size());
    EXPECT_EQ(device->createdTextures[0], draw.texture0);

    EXPECT_TRUE(render == device->render);
    EXPECT_TRUE(stage == device->stage);
    EXPECT_TRUE(sampler == device->sampler);
    EXPECT_EQ(static_cast<DWORD>(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2), device->fvf);
    EXPECT_EQ(callerTexture, device->textures[0]);
    EXPECT_EQ(2u, callerTexture->refs);  // the caller's and the device's, no more
    EXPECT_EQ(callerBuffer, device->stream);
    EXPECT_EQ(4u, device->streamOffset);
    EXPECT_EQ(40u, device->streamStride);
    EXPECT_EQ(2u, callerBuffer->refs);

    device->SetTexture(0, nullptr);
    device->SetStreamSource(0, nullptr, 0, 0);
    callerTexture->Release();
    callerBuffer->Release();
}

TEST_F(FontOnFakeDevice, GlyphTextureIsWhiteCoverageUploadedOnlyWhenGlyphsAreAdded) {
    RECT rect{5, 5, 800, 600};
    font->DrawTextA(nullptr, "FPS: 60", -1, &rect, 0, 0xFFFFFFFFu);
    ASSERT_EQ(1u, device->createdTextures.size());
    FakeTexture* texture = device->createdTextures[0];
    EXPECT_EQ(D3DFMT_A8R8G8B8, texture->format);
    EXPECT_EQ(static_cast<UINT>(zvtest::fontAtlasWidth(font)), texture->width);
    EXPECT_EQ(static_cast<UINT>(zvtest::fontAtlasHeight(font)), texture->height);
    int opaque = 0;
    for (DWORD p : texture->pixels) {
        ASSERT_EQ(0x00FFFFFFu, p & 0x00FFFFFFu);
        if ((p >> 24) == 0xFF) ++opaque;
    }
    EXPECT_GT(opaque, 10);
    EXPECT_EQ(1, texture->locks);

    // Cached glyphs: no upload, and the same vertex array is handed over.
    font->DrawTextA(nullptr, "60 :SPF", -1, &rect, 0, 0xFFFFFFFFu);
    EXPECT_EQ(1, texture->locks);
    EXPECT_EQ(device->draws[0].callerVertices, device->draws[1].callerVertices);
    // A new glyph is uploaded once.
    font->DrawTextA(nullptr, "FPS: 61", -1, &rect, 0, 0xFFFFFFFFu);
    EXPECT_EQ(2, texture->locks);
    EXPECT_FALSE(texture->locked);
}

TEST_F(FontOnFakeDevice, NoTextureMeansNoDrawing) {
    device->failCreateTexture = true;
    RECT rect{5, 5, 800, 600};
    EXPECT_EQ(16, font->DrawTextA(nullptr, "FPS: 60", -1, &rect, 0, 0xFFFFFFFFu));
    EXPECT_TRUE(device->draws.empty());
    device->failCreateTexture = false;
    font->DrawTextA(nullptr, "FPS: 60", -1, &rect, 0, 0xFFFFFFFFu);
    EXPECT_EQ(1u, device->draws.size());
}

TEST(FontGrowth, ALargeFontGrowsItsTextureAndKeepsEveryGlyph) {
    FakeDevice* device = new FakeDevice;
    const D3DXFONT_DESCA desc = description("DejaVu Sans", 48);
    ID3DXFont* font = nullptr;
    ASSERT_EQ(D3D_OK, D3DXCreateFontIndirectA(device, &desc, &font));
    std::string all;
    for (int c = 0x21; c <= 0xFF; ++c)
        if (c != 0x7F) all += static_cast<char>(c);
    RECT rect{0, 0, 100000, 100};
    font->DrawTextA(nullptr, "A", -1, &rect, 0, 0xFFFFFFFFu);
    const int firstHeight = zvtest::fontAtlasHeight(font);
    EXPECT_EQ(48, font->DrawTextA(nullptr, all.c_str(), -1, &rect, 0, 0xFFFFFFFFu));
    EXPECT_GT(zvtest::fontAtlasHeight(font), firstHeight);
    ASSERT_EQ(2u, device->draws.size());
    // The bound texture is the grown one; the first is gone.
    EXPECT_EQ(2u, device->createdTextures.size());
    EXPECT_EQ(device->createdTextures.back(), device->draws[1].texture0);
    EXPECT_EQ(static_cast<UINT>(zvtest::fontAtlasHeight(font)),
              device->createdTextures.back()->height);
    EXPECT_EQ(1, FakeTexture::alive);
    // Every byte that has a glyph in DejaVu got a box (two triangles each).
    EXPECT_GE(device->draws[1].primitiveCount, 2u * 180);
    EXPECT_EQ(0u, font->Release());
    EXPECT_EQ(0, FakeTexture::alive);
    device->Release();
}
