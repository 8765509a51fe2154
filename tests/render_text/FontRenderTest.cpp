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

D3DXFONT_DESCA description(INT height) {
    D3DXFONT_DESCA desc;
    std::memset(&desc, 0, sizeof desc);
    desc.Height = height;
    desc.Weight = FW_NORMAL;
    desc.MipLevels = D3DX_DEFAULT;
    desc.CharSet = DEFAULT_CHARSET;
    desc.Quality = PROOF_QUALITY;
    std::strcpy(desc.FaceName, "DejaVu Sans");
    return desc;
}

ULONG references(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

const RECT kScreen{5, 5, 800, 600};

}  // namespace

TEST_F(TextOnDevice, FontCreationRefusesWhatThisPlatformDoesNotTakeAndHoldsTheDevice) {
    const D3DXFONT_DESCA good = description(16);
    D3DXFONT_DESCA zeroHeight = good, width = good, charset = good;
    zeroHeight.Height = 0;
    width.Width = 8;
    charset.CharSet = 2;  // SYMBOL_CHARSET
    const struct {
        const char* name;
        bool nullDevice;
        D3DXFONT_DESCA desc;
    } cases[] = {
        {"null device", true, good},
        {"height 0", false, zeroHeight},
        {"explicit width", false, width},
        {"symbol charset", false, charset},
    };
    const ULONG deviceRefs = references(m_device);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ID3DXFont* const sentinel = reinterpret_cast<ID3DXFont*>(0x1);
        ID3DXFont* font = sentinel;
        EXPECT_EQ(D3DERR_INVALIDCALL, D3DXCreateFontIndirectA(c.nullDevice ? nullptr : m_device, &c.desc, &font));
        EXPECT_EQ(sentinel, font);
        EXPECT_EQ(deviceRefs, references(m_device));
    }
    // A full face field without its terminating zero reads as 31 characters.
    D3DXFONT_DESCA unterminated = good, back;
    std::memset(unterminated.FaceName, 'x', LF_FACESIZE);
    ID3DXFont* font = nullptr;
    ASSERT_EQ(D3D_OK, D3DXCreateFontIndirectA(m_device, &unterminated, &font));
    ASSERT_EQ(D3D_OK, font->GetDescA(&back));
    EXPECT_EQ(std::string(31, 'x'), back.FaceName);
    EXPECT_EQ(deviceRefs + 1, references(m_device));
    EXPECT_EQ(0u, font->Release());
    EXPECT_EQ(deviceRefs, references(m_device));
}

TEST_F(TextOnDevice, RefusedDrawCallsReturn0AndDrawNothing) {
    ID3DXFont* font = CDX_Text::getInstance()->m_pFont;
    ASSERT_NE(nullptr, font);
    RECT rect = kScreen;
    LPD3DXSPRITE someSprite = reinterpret_cast<LPD3DXSPRITE>(&rect);  // never dereferenced
    const struct {
        const char* name;
        LPD3DXSPRITE sprite;
        const char* text;
        INT count;
        LPRECT rect;
        DWORD format;
    } cases[] = {
        {"null text", nullptr, nullptr, -1, &rect, 0},
        {"null rectangle", nullptr, "FPS", -1, nullptr, 0},
        {"count 0", nullptr, "FPS", 0, &rect, 0},
        {"a sprite", someSprite, "FPS", -1, &rect, 0},
        {"DT_CENTER", nullptr, "FPS", -1, &rect, DT_CENTER},
        {"DT_WORDBREAK", nullptr, "FPS", -1, &rect, DT_WORDBREAK},
        {"DT_EXPANDTABS with DT_NOCLIP", nullptr, "FPS", -1, &rect, DT_EXPANDTABS | DT_NOCLIP},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        INT result = -1;
        EXPECT_EQ(0, litBox(frame([&] { result = font->DrawTextA(c.sprite, c.text, c.count, c.rect, c.format, ~0u); }))
                         .count);
        EXPECT_EQ(0, result);
    }
}

TEST_F(TextOnDevice, CountLimitsAndCalcRectMeasuresWithoutDrawing) {
    ID3DXFont* font = CDX_Text::getInstance()->m_pFont;
    ASSERT_NE(nullptr, font);
    RECT rect = kScreen;
    EXPECT_TRUE(frame([&] { font->DrawTextA(nullptr, "FPS: 60", 3, &rect, 0, ~0u); }) == fontFrame("FPS", kScreen));

    RECT one{5, 5, 6, 6}, two{5, 5, 6, 6};
    INT oneHeight = 0, twoHeight = 0;
    EXPECT_EQ(0, litBox(frame([&] {
                            oneHeight = font->DrawTextA(nullptr, "FPS: 60", -1, &one, DT_CALCRECT, ~0u);
                            twoHeight = font->DrawTextA(nullptr, "FPS: 60\nFPS", -1, &two, DT_CALCRECT, ~0u);
                        })).count);
    EXPECT_EQ(16, oneHeight);
    EXPECT_EQ(32, twoHeight);
    EXPECT_EQ(5, one.left);
    EXPECT_EQ(21, one.bottom);
    EXPECT_EQ(37, two.bottom);
    EXPECT_EQ(one.right, two.right);  // the widest line
    // The measured rectangle holds every pixel of the drawn text.
    const LitBox drawn = litBox(fontFrame("FPS: 60", kScreen));
    EXPECT_GT(drawn.count, 30);
    EXPECT_LT(drawn.right, one.right + 1);
    EXPECT_GT(drawn.right, one.right - 4);
}

TEST_F(TextOnDevice, GlyphsPastTheRightEdgeAreSkipped) {
    const LitBox whole = litBox(fontFrame("FPS: 60 FPS: 60", kScreen));
    const LitBox clipped = litBox(fontFrame("FPS: 60 FPS: 60", RECT{5, 5, 40, 600}));
    EXPECT_GT(clipped.count, 5);
    EXPECT_LE(clipped.right, 39);
    EXPECT_EQ(whole.right, litBox(fontFrame("FPS: 60 FPS: 60", RECT{5, 5, 20, 600}, DT_NOCLIP)).right);
}

TEST_F(TextOnDevice, DrawingLeavesEveryDeviceStateAsItFoundIt) {
    // Values a scene might leave behind, unlike anything the font sets.
    const struct {
        D3DRENDERSTATETYPE state;
        DWORD value;
    } renderStates[] = {
        {D3DRS_ZENABLE, D3DZB_TRUE},        {D3DRS_ZWRITEENABLE, TRUE},       {D3DRS_ALPHATESTENABLE, TRUE},
        {D3DRS_SRCBLEND, D3DBLEND_ONE},     {D3DRS_DESTBLEND, D3DBLEND_ZERO}, {D3DRS_CULLMODE, D3DCULL_CW},
        {D3DRS_ALPHAFUNC, D3DCMP_GREATER},  {D3DRS_ALPHABLENDENABLE, FALSE},  {D3DRS_LIGHTING, TRUE},
    };
    const struct {
        DWORD stage;
        D3DTEXTURESTAGESTATETYPE type;
        DWORD value;
    } stageStates[] = {{0, D3DTSS_COLOROP, D3DTOP_SELECTARG1}, {0, D3DTSS_COLORARG1, D3DTA_DIFFUSE},
                       {0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2}, {1, D3DTSS_COLOROP, D3DTOP_MODULATE}};
    for (const auto& s : renderStates) m_device->SetRenderState(s.state, s.value);
    for (const auto& s : stageStates) m_device->SetTextureStageState(s.stage, s.type, s.value);
    m_device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    m_device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_MIRROR);
    m_device->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3D_OK, m_device->CreateTexture(4, 4, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr));
    m_device->SetTexture(0, texture);
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(D3D_OK, m_device->CreateVertexBuffer(4 * 40, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, &buffer, nullptr));
    m_device->SetStreamSource(0, buffer, 40, 40);
    const ULONG textureRefs = references(texture), bufferRefs = references(buffer);

    EXPECT_GT(litBox(fontFrame("FPS: 60", kScreen)).count, 30);  // drawn, despite the caller's states

    DWORD v = 0;
    for (const auto& s : renderStates) {
        m_device->GetRenderState(s.state, &v);
        EXPECT_EQ(v, s.value) << "render state " << s.state;
    }
    for (const auto& s : stageStates) {
        m_device->GetTextureStageState(s.stage, s.type, &v);
        EXPECT_EQ(v, s.value) << "stage " << s.stage << " state " << s.type;
    }
    m_device->GetSamplerState(0, D3DSAMP_MINFILTER, &v);
    EXPECT_EQ(v, DWORD(D3DTEXF_LINEAR));
    m_device->GetSamplerState(0, D3DSAMP_ADDRESSU, &v);
    EXPECT_EQ(v, DWORD(D3DTADDRESS_MIRROR));
    m_device->GetFVF(&v);
    EXPECT_EQ(v, DWORD(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2));
    IDirect3DBaseTexture9* bound = nullptr;
    m_device->GetTexture(0, &bound);
    EXPECT_EQ(bound, texture);
    if (bound) bound->Release();
    IDirect3DVertexBuffer9* stream = nullptr;
    UINT offset = 0, stride = 0;
    m_device->GetStreamSource(0, &stream, &offset, &stride);
    EXPECT_EQ(stream, buffer);
    EXPECT_EQ(offset, 40u);
    if (stream) stream->Release();
    EXPECT_EQ(references(texture), textureRefs) << "references on the caller's objects: no more, no fewer";
    EXPECT_EQ(references(buffer), bufferRefs);

    m_device->SetTexture(0, nullptr);
    m_device->SetStreamSource(0, nullptr, 0, 0);
    texture->Release();
    buffer->Release();
}

TEST_F(TextOnDevice, GlyphTextureGrowsAndIsUploadedOnlyWhenGlyphsAreAdded) {
    fontFrame("FPS: 60", kScreen);
    zvtest::resetDeviceCounters();
    fontFrame("60 :SPF", kScreen);  // cached glyphs only
    const uint64_t cached = zvtest::deviceCounters().uploads;
    zvtest::resetDeviceCounters();
    fontFrame("FPS: 61", kScreen);  // one new glyph
    EXPECT_GT(zvtest::deviceCounters().uploads, cached);

    const D3DXFONT_DESCA desc = description(48);
    ID3DXFont* font = nullptr;
    ASSERT_EQ(D3D_OK, D3DXCreateFontIndirectA(m_device, &desc, &font));
    auto draw = [&](const char* text) {
        RECT rect{0, 0, 800, 600};
        return frame([&] { font->DrawTextA(nullptr, text, -1, &rect, 0, ~0u); });
    };
    const std::vector<DWORD> before = draw("Ag");
    const int startHeight = zvtest::fontAtlasHeight(font);
    std::string all;
    for (int c = 0x21; c <= 0xFF; ++c) {
        if (c != 0x7F) all += static_cast<char>(c);
        if (c % 16 == 0) all += '\n';
    }
    EXPECT_GT(litBox(draw(all.c_str())).bottom, 400);
    EXPECT_GT(zvtest::fontAtlasHeight(font), startHeight);
    EXPECT_TRUE(before == draw("Ag")) << "glyphs cached before the texture grew still draw the same";
    EXPECT_EQ(0u, font->Release());
}
