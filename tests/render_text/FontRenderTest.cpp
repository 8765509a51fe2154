// The D3DX font on the real device, offscreen: creation rules, refused
// calls, measuring, the right edge, the device state around a draw and the
// glyph texture it keeps.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "DX_Text.h"
#include "TextFixture.h"
#include "testing/DeviceTesting.h"
#include "testing/FontTesting.h"

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

ULONG references(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

}  // namespace

TEST_F(TextOnDevice, FontCreationRefusesWhatThisPlatformDoesNotTake) {
    const D3DXFONT_DESCA good = description("DejaVu Sans", 16);
    D3DXFONT_DESCA zeroHeight = good, width = good, charset = good;
    zeroHeight.Height = 0;
    width.Width = 8;
    charset.CharSet = 2;  // SYMBOL_CHARSET
    struct Case {
        const char* name;
        bool nullDevice, nullDesc, nullOut;
        D3DXFONT_DESCA desc;
    };
    const Case cases[] = {
        {"null device", true, false, false, good},
        {"null description", false, true, false, good},
        {"null result", false, false, true, good},
        {"height 0", false, false, false, zeroHeight},
        {"explicit width", false, false, false, width},
        {"symbol charset", false, false, false, charset},
    };
    const ULONG deviceRefs = references(m_device);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ID3DXFont* const sentinel = reinterpret_cast<ID3DXFont*>(0x1);
        ID3DXFont* font = sentinel;
        EXPECT_EQ(D3DERR_INVALIDCALL, D3DXCreateFontIndirectA(c.nullDevice ? nullptr : m_device,
                                                              c.nullDesc ? nullptr : &c.desc,
                                                              c.nullOut ? nullptr : &font));
        EXPECT_EQ(sentinel, font);
        EXPECT_EQ(deviceRefs, references(m_device));
    }
}

TEST_F(TextOnDevice, FontReadsAFullFaceFieldAs31CharactersAndHoldsTheDevice) {
    D3DXFONT_DESCA desc = description("", -20);
    std::memset(desc.FaceName, 'x', LF_FACESIZE);  // no terminating zero
    desc.Italic = TRUE;
    desc.Weight = FW_BOLD;
    const ULONG deviceRefs = references(m_device);
    ID3DXFont* font = nullptr;
    ASSERT_EQ(D3D_OK, D3DXCreateFontIndirectA(m_device, &desc, &font));
    EXPECT_EQ(deviceRefs + 1, references(m_device));

    D3DXFONT_DESCA back;
    ASSERT_EQ(D3D_OK, font->GetDescA(&back));
    EXPECT_EQ(std::string(31, 'x'), std::string(back.FaceName));
    EXPECT_EQ(-20, back.Height);
    EXPECT_EQ(static_cast<UINT>(FW_BOLD), back.Weight);
    EXPECT_EQ(TRUE, back.Italic);
    IDirect3DDevice9* held = nullptr;
    ASSERT_EQ(D3D_OK, font->GetDevice(&held));
    EXPECT_EQ(m_device, held);
    held->Release();

    RECT rect{5, 5, 800, 600};
    const LitBox box =
        litBox(frame([&] { font->DrawTextA(nullptr, "FPS", -1, &rect, 0, 0xFFFFFFFFu); }));
    EXPECT_GT(box.count, 30);
    EXPECT_GE(box.top, 5);
    EXPECT_EQ(0u, font->Release());
    EXPECT_EQ(deviceRefs, references(m_device));
}

TEST_F(TextOnDevice, RefusedDrawCallsReturn0AndDrawNothing) {
    ID3DXFont* font = CDX_Text::getInstance()->m_pFont;
    ASSERT_NE(nullptr, font);
    RECT rect{5, 5, 800, 600};
    LPD3DXSPRITE someSprite = reinterpret_cast<LPD3DXSPRITE>(&rect);  // never dereferenced
    struct Case {
        const char* name;
        LPD3DXSPRITE sprite;
        const char* text;
        INT count;
        LPRECT rect;
        DWORD format;
    };
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
        INT result = -1;
        const LitBox box = litBox(frame([&] {
            result = font->DrawTextA(c.sprite, c.text, c.count, c.rect, c.format, 0xFFFFFFFFu);
        }));
        EXPECT_EQ(0, result);
        EXPECT_EQ(0, box.count);
    }
}

TEST_F(TextOnDevice, CountLimitsTheText) {
    ID3DXFont* font = CDX_Text::getInstance()->m_pFont;
    ASSERT_NE(nullptr, font);
    RECT rect{5, 5, 800, 600};
    const std::vector<DWORD> three =
        frame([&] { font->DrawTextA(nullptr, "FPS: 60", 3, &rect, 0, 0xFFFFFFFFu); });
    EXPECT_GT(litBox(three).count, 20);
    EXPECT_TRUE(three == fontFrame("FPS", rect));
}

TEST_F(TextOnDevice, CalcRectMeasuresWithoutDrawing) {
    ID3DXFont* font = CDX_Text::getInstance()->m_pFont;
    ASSERT_NE(nullptr, font);
    RECT one{5, 5, 6, 6}, two{5, 5, 6, 6};
    INT oneHeight = 0, twoHeight = 0;
    const LitBox nothing = litBox(frame([&] {
        oneHeight = font->DrawTextA(nullptr, "FPS: 60", -1, &one, DT_CALCRECT, 0xFFFFFFFFu);
        twoHeight = font->DrawTextA(nullptr, "FPS: 60\nFPS", -1, &two, DT_CALCRECT, 0xFFFFFFFFu);
    }));
    EXPECT_EQ(0, nothing.count);
    EXPECT_EQ(16, oneHeight);
    EXPECT_EQ(32, twoHeight);
    EXPECT_EQ(5, one.left);
    EXPECT_EQ(5, one.top);
    EXPECT_EQ(21, one.bottom);
    EXPECT_EQ(37, two.bottom);
    EXPECT_EQ(one.right, two.right);  // the widest line
    // The measured rectangle holds every pixel of the drawn text.
    const LitBox drawn = litBox(fontFrame("FPS: 60", RECT{5, 5, 800, 600}));
    EXPECT_GT(drawn.count, 30);
    EXPECT_LT(drawn.right, one.right + 1);
    EXPECT_GT(drawn.right, one.right - 4);
}

TEST_F(TextOnDevice, GlyphsPastTheRightEdgeAreSkipped) {
    struct Case {
        const char* name;
        RECT rect;
        DWORD format;
        int maxRight;  // rightmost column allowed to light
    };
    const Case cases[] = {
        {"clipped at x = 20", RECT{5, 5, 20, 600}, 0, 19},
        {"clipped at x = 40", RECT{5, 5, 40, 600}, 0, 39},
        {"not clipped", RECT{5, 5, 20, 600}, DT_NOCLIP, kFrameWidth},
    };
    const LitBox whole = litBox(fontFrame("FPS: 60 FPS: 60", RECT{5, 5, 800, 600}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LitBox box = litBox(fontFrame("FPS: 60 FPS: 60", c.rect, c.format));
        EXPECT_GT(box.count, 5);
        EXPECT_LE(box.right, c.maxRight);
        if (c.format & DT_NOCLIP) {
            EXPECT_EQ(whole.right, box.right);
        }
    }
}

TEST_F(TextOnDevice, DrawingLeavesEveryDeviceStateAsItFoundIt) {
    // Values a scene might leave behind, unlike anything the font sets.
    m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    m_device->SetRenderState(D3DRS_LIGHTING, TRUE);
    m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    m_device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    m_device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    m_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    m_device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
    m_device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    m_device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    m_device->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3D_OK, m_device->CreateTexture(4, 4, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED,
                                              &texture, nullptr));
    m_device->SetTexture(0, texture);
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(D3D_OK, m_device->CreateVertexBuffer(4 * 40, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED,
                                                   &buffer, nullptr));
    m_device->SetStreamSource(0, buffer, 40, 40);

    const D3DRENDERSTATETYPE renderStates[] = {
        D3DRS_ZENABLE,          D3DRS_ZWRITEENABLE,     D3DRS_ALPHATESTENABLE, D3DRS_SRCBLEND,
        D3DRS_DESTBLEND,        D3DRS_CULLMODE,         D3DRS_ZFUNC,           D3DRS_ALPHAREF,
        D3DRS_ALPHAFUNC,        D3DRS_ALPHABLENDENABLE, D3DRS_LIGHTING,        D3DRS_AMBIENT,
        D3DRS_NORMALIZENORMALS, D3DRS_BLENDOP,
    };
    const D3DTEXTURESTAGESTATETYPE stageStates[] = {
        D3DTSS_COLOROP,   D3DTSS_COLORARG1, D3DTSS_COLORARG2,     D3DTSS_ALPHAOP,
        D3DTSS_ALPHAARG1, D3DTSS_ALPHAARG2, D3DTSS_TEXCOORDINDEX,
    };
    const D3DSAMPLERSTATETYPE samplerStates[] = {
        D3DSAMP_ADDRESSU, D3DSAMP_ADDRESSV, D3DSAMP_MAGFILTER, D3DSAMP_MINFILTER, D3DSAMP_MIPFILTER,
    };
    auto snapshot = [&] {
        std::vector<std::string> values;
        DWORD v = 0;
        for (D3DRENDERSTATETYPE s : renderStates) {
            EXPECT_EQ(D3D_OK, m_device->GetRenderState(s, &v));
            values.push_back("render " + std::to_string(s) + " = " + std::to_string(v));
        }
        for (DWORD stage = 0; stage < 3; ++stage) {
            for (D3DTEXTURESTAGESTATETYPE s : stageStates) {
                EXPECT_EQ(D3D_OK, m_device->GetTextureStageState(stage, s, &v));
                values.push_back("stage " + std::to_string(stage) + " " + std::to_string(s) +
                                 " = " + std::to_string(v));
            }
            for (D3DSAMPLERSTATETYPE s : samplerStates) {
                EXPECT_EQ(D3D_OK, m_device->GetSamplerState(stage, s, &v));
                values.push_back("sampler " + std::to_string(stage) + " " + std::to_string(s) +
                                 " = " + std::to_string(v));
            }
        }
        m_device->GetFVF(&v);
        values.push_back("fvf = " + std::to_string(v));
        IDirect3DBaseTexture9* bound = nullptr;
        m_device->GetTexture(0, &bound);
        values.push_back(bound == texture ? "texture 0 = the caller's" : "texture 0 = other");
        if (bound) bound->Release();
        IDirect3DVertexBuffer9* stream = nullptr;
        UINT offset = 0, stride = 0;
        m_device->GetStreamSource(0, &stream, &offset, &stride);
        values.push_back((stream == buffer ? "stream 0 = the caller's" : "stream 0 = other") +
                         std::string(" at ") + std::to_string(offset) + " by " +
                         std::to_string(stride));
        if (stream) stream->Release();
        // References held on the caller's objects: no more, no fewer.
        values.push_back("texture refs " + std::to_string(texture->AddRef()));
        texture->Release();
        values.push_back("buffer refs " + std::to_string(buffer->AddRef()));
        buffer->Release();
        return values;
    };

    const std::vector<std::string> before = snapshot();
    const LitBox box = litBox(fontFrame("FPS: 60", RECT{5, 5, 800, 600}));
    EXPECT_GT(box.count, 30);  // drawn, despite the caller's states
    const std::vector<std::string> after = snapshot();
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(before[i], after[i]);

    m_device->SetTexture(0, nullptr);
    m_device->SetStreamSource(0, nullptr, 0, 0);
    texture->Release();
    buffer->Release();
}

TEST_F(TextOnDevice, GlyphTextureIsUploadedOnlyWhenGlyphsAreAdded) {
    fontFrame("FPS: 60", RECT{5, 5, 800, 600});
    zvtest::resetDeviceCounters();
    fontFrame("60 :SPF", RECT{5, 5, 800, 600});  // cached glyphs only
    const uint64_t cached = zvtest::deviceCounters().uploads;
    zvtest::resetDeviceCounters();
    fontFrame("FPS: 61", RECT{5, 5, 800, 600});  // one new glyph
    EXPECT_GT(zvtest::deviceCounters().uploads, cached);
}

TEST_F(TextOnDevice, ALargeFontGrowsItsTextureAndKeepsEveryGlyph) {
    const D3DXFONT_DESCA desc = description("DejaVu Sans", 48);
    ID3DXFont* font = nullptr;
    ASSERT_EQ(D3D_OK, D3DXCreateFontIndirectA(m_device, &desc, &font));
    auto draw = [&](const char* text) {
        RECT rect{0, 0, 800, 600};
        return frame([&] { font->DrawTextA(nullptr, text, -1, &rect, 0, 0xFFFFFFFFu); });
    };
    const std::vector<DWORD> before = draw("Ag");
    const int startHeight = zvtest::fontAtlasHeight(font);
    std::string all;
    for (int c = 0x21; c <= 0xFF; ++c) {
        if (c != 0x7F) all += static_cast<char>(c);
        if (c % 16 == 0) all += '\n';
    }
    const LitBox many = litBox(draw(all.c_str()));
    EXPECT_GT(zvtest::fontAtlasHeight(font), startHeight);
    EXPECT_GT(many.bottom, 400);
    // Glyphs cached before the texture grew still draw the same.
    EXPECT_TRUE(before == draw("Ag"));
    EXPECT_EQ(0u, font->Release());
}
