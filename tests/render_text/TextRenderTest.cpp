// The engine's text drawer on the real device, offscreen: where the pixels
// land, colour and alpha, line breaks, the result log, and the face that
// "Comic Sans MS" finds.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "DX_Text.h"
#include "TextFixture.h"
#include "testing/FontTesting.h"

TEST_F(TextOnDevice, CounterTextLandsInItsBoxFromTheGivenCorner) {
    const struct {
        const char* text;
        float x, y;
    } cases[] = {{"FPS: 60", 5.0f, 5.0f}, {"Dead Particles: 12", 5.0f, 25.0f}, {"FPS: 60", 400.0f, 300.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " at " << c.x << "," << c.y);
        const LitBox box = litBox(textFrame(c.text, c.x, c.y));
        ASSERT_GT(box.count, 30);
        EXPECT_GE(box.left, static_cast<int>(c.x));  // nothing left of x
        EXPECT_GE(box.top, static_cast<int>(c.y));   // nothing above y
        EXPECT_LE(box.left, static_cast<int>(c.x) + 3);
        EXPECT_LT(box.bottom, static_cast<int>(c.y) + 16);  // one 16-pixel line
        EXPECT_GT(box.right - box.left, static_cast<int>(std::strlen(c.text)) * 3);
    }
    // Fractional positions are truncated.
    EXPECT_TRUE(textFrame("FPS: 60", 5.9f, 5.9f) == textFrame("FPS: 60", 5.0f, 5.0f));
}

TEST_F(TextOnDevice, ColourAndAlphaComeFromTheArguments) {
    const struct {
        const char* name;
        int r, g, b, a;
        DWORD mask;  // channels allowed to light up
        bool visible;
    } cases[] = {
        {"red", 255, 0, 0, 255, 0xFF0000, true},
        {"green, only the low 8 bits used", 0x100, 0x1FF, 0x200, 0x1FF, 0x00FF00, true},
        {"alpha 0", 255, 255, 255, 0, 0, false},
        {"alpha 256 counts as 0", 255, 255, 255, 256, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<DWORD> pixels = textFrame("FPS: 60", 5.0f, 5.0f, c.r, c.g, c.b, c.a);
        ASSERT_FALSE(pixels.empty());
        int visible = 0, stray = 0;
        for (DWORD p : pixels) {
            stray += (p & 0x00FFFFFFu & ~c.mask) != 0;
            visible += litPixel(p);
        }
        EXPECT_EQ(0, stray);
        EXPECT_EQ(c.visible, visible > 0) << visible;
    }
}

TEST_F(TextOnDevice, LinesSplitOnNewlines) {
    // Text on black: the two-line frame is the two one-line frames together.
    const std::vector<DWORD> both = textFrame("FPS\n60", 5.0f, 5.0f);
    const std::vector<DWORD> first = textFrame("FPS", 5.0f, 5.0f);
    const std::vector<DWORD> second = textFrame("60", 5.0f, 21.0f);
    ASSERT_EQ(both.size(), first.size());
    ASSERT_EQ(both.size(), second.size());
    EXPECT_GE(litBox(both).bottom, 21);
    int differing = 0;
    for (size_t i = 0; i < both.size(); ++i) differing += both[i] != (first[i] | second[i]);
    EXPECT_EQ(0, differing);
}

TEST_F(TextOnDevice, NullArgumentsAreLoggedAndDrawNothing) {
    const float position[2] = {5.0f, 5.0f};
    const LitBox box = litBox(frame([&] {
        EXPECT_EQ(QNRSLT_INVALIDPARAM, CDX_Text::getInstance()->drawText(nullptr, position, 255, 255, 255, 255, 0));
        EXPECT_EQ(QNRSLT_INVALIDPARAM, CDX_Text::getInstance()->drawText("FPS: 60", nullptr, 255, 255, 255, 255, 0));
    }));
    EXPECT_EQ(0, box.count);
    std::vector<LogRow> rows = logRows();
    ASSERT_EQ(2u, rows.size());
    for (const LogRow& row : rows) {
        EXPECT_EQ("QNRSLT_INVALIDPARAM", row.define);
        EXPECT_EQ("CDX_Text::drawText( )", row.location);
        EXPECT_EQ("--", row.info);
    }
}

TEST_F(TextOnDevice, FaceIsComicSansOrTheClosestInstalledAndNamesAreCutTo31) {
    ID3DXFont* font = CDX_Text::getInstance()->m_pFont;
    ASSERT_NE(nullptr, font);
    D3DXFONT_DESCA desc;
    ASSERT_EQ(D3D_OK, font->GetDescA(&desc));
    EXPECT_EQ(16, desc.Height);
    EXPECT_STREQ("Comic Sans MS", desc.FaceName);
    const std::string file = zvtest::fontFacePath(font);
    const char* const comicNeue = "/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf";
    const char* const dejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (access(comicNeue, R_OK) == 0) {
        EXPECT_EQ(comicNeue, file);
    } else if (access(dejaVuSans, R_OK) == 0) {
        EXPECT_EQ(dejaVuSans, file);
    }

    for (size_t length : {40, 31}) {
        SCOPED_TRACE(length);
        ASSERT_EQ(QNRSLT_OK, CDX_Text::getInstance()->initialize(std::string(length, 'Q').c_str()));
        ASSERT_NE(nullptr, CDX_Text::getInstance()->m_pFont);
        ASSERT_EQ(D3D_OK, CDX_Text::getInstance()->m_pFont->GetDescA(&desc));
        EXPECT_EQ(std::string(31, 'Q'), desc.FaceName);
        EXPECT_GT(litBox(textFrame("FPS: 60", 5.0f, 5.0f)).count, 30) << "a face is still found";
    }
    EXPECT_TRUE(logRows().empty());
}

// Without a device: creation fails and is logged with the face name; the
// drawer then draws nothing and reports nothing more.
class TextWithoutDevice : public EngineTestBase {};

TEST_F(TextWithoutDevice, CreationFailureIsLoggedAndDrawingIsSkipped) {
    EXPECT_EQ(QNRSLT_D3DFAILED, CDX_Text::getInstance()->initialize("Some Face"));
    EXPECT_EQ(QNRSLT_D3DFAILED, CDX_Text::getInstance()->initialize(nullptr));
    EXPECT_EQ(nullptr, CDX_Text::getInstance()->m_pFont);
    const float position[2] = {5.0f, 5.0f};
    EXPECT_EQ(QNRSLT_OK, CDX_Text::getInstance()->drawText("FPS: 60", position, 255, 255, 255, 255, 0));
    std::vector<LogRow> rows = logRows();
    ASSERT_EQ(2u, rows.size());
    for (const LogRow& row : rows) {
        EXPECT_EQ("QNRSLT_D3DFAILED", row.define);
        EXPECT_EQ("CDX_Text::initialize( )", row.location);
    }
    EXPECT_EQ("Some Face", rows[0].info);
    EXPECT_EQ("--", rows[1].info);
}
