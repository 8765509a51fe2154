// The engine's text drawer on the real device, offscreen: where the pixels
// land, colour and alpha, line breaks, the result log, and the face that
// "Comic Sans MS" finds.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "DX_D3DWrapper.h"
#include "DX_Text.h"
#include "QNResults.h"
#include "TextFixture.h"
#include "testing/FontTesting.h"

namespace {
const char* const kComicNeue = "/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf";
const char* const kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}  // namespace

TEST_F(TextOnDevice, FpsTextLandsInItsBoxFromTheGivenCorner) {
    struct Case {
        const char* name;
        const char* text;
        float x, y;
    };
    const Case cases[] = {
        {"frame rate", "FPS: 60", 5.0f, 5.0f},
        {"waiting", "FPS: Waiting...", 5.0f, 5.0f},
        {"particle count", "Dead Particles: 12", 5.0f, 25.0f},
        {"middle of the screen", "FPS: 60", 400.0f, 300.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LitBox box = litBox(textFrame(c.text, c.x, c.y));
        ASSERT_GT(box.count, 30);
        EXPECT_GE(box.left, static_cast<int>(c.x));  // nothing left of x
        EXPECT_GE(box.top, static_cast<int>(c.y));   // nothing above y
        EXPECT_LE(box.left, static_cast<int>(c.x) + 3);
        EXPECT_LT(box.bottom, static_cast<int>(c.y) + 16);  // one 16-pixel line
        EXPECT_GT(box.right - box.left, static_cast<int>(std::strlen(c.text)) * 3);
    }
}

TEST_F(TextOnDevice, ColourAndAlphaComeFromTheArguments) {
    struct Case {
        const char* name;
        int r, g, b, a;
        DWORD mask;  // channels allowed to light up
        bool visible;
    };
    const Case cases[] = {
        {"white", 255, 255, 255, 255, 0xFFFFFF, true},
        {"red", 255, 0, 0, 255, 0xFF0000, true},
        {"green, only the low 8 bits used", 0x100, 0x1FF, 0x200, 0x1FF, 0x00FF00, true},
        {"alpha 0", 255, 255, 255, 0, 0, false},
        {"alpha 256 counts as 0", 255, 255, 255, 256, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<DWORD> pixels = textFrame("FPS: 60", 5.0f, 5.0f, c.r, c.g, c.b, c.a);
        ASSERT_FALSE(pixels.empty());
        int visible = 0;
        for (DWORD p : pixels) {
            EXPECT_EQ(0u, p & 0x00FFFFFFu & ~c.mask);
            if (litPixel(p)) ++visible;
        }
        EXPECT_EQ(c.visible, visible > 0) << visible;
    }
}

TEST_F(TextOnDevice, FractionalPositionsAreTruncated) {
    EXPECT_TRUE(textFrame("FPS: 60", 5.9f, 5.9f) == textFrame("FPS: 60", 5.0f, 5.0f));
}

TEST_F(TextOnDevice, LinesSplitOnNewlines) {
    const std::vector<DWORD> both = textFrame("FPS\n60", 5.0f, 5.0f);
    const std::vector<DWORD> first = textFrame("FPS", 5.0f, 5.0f);
    const std::vector<DWORD> second = textFrame("60", 5.0f, 21.0f);
    ASSERT_EQ(both.size(), first.size());
    ASSERT_EQ(both.size(), second.size());
    const LitBox box = litBox(both);
    EXPECT_GE(box.bottom, 21);
    EXPECT_LT(box.bottom, 37);
    // Text on black: the two-line frame is the two one-line frames together.
    int differing = 0;
    for (size_t i = 0; i < both.size(); ++i)
        if (both[i] != (first[i] | second[i])) ++differing;
    EXPECT_EQ(0, differing);
}

TEST_F(TextOnDevice, NullArgumentsAreLoggedAndDrawNothing) {
    const float position[2] = {5.0f, 5.0f};
    const LitBox box = litBox(frame([&] {
        EXPECT_EQ(QNRSLT_INVALIDPARAM,
                  CDX_Text::getInstance()->drawText(nullptr, position, 255, 255, 255, 255, 0));
        EXPECT_EQ(QNRSLT_INVALIDPARAM,
                  CDX_Text::getInstance()->drawText("FPS: 60", nullptr, 255, 255, 255, 255, 0));
    }));
    EXPECT_EQ(0, box.count);
    const std::string text = log();
    EXPECT_EQ(2, occurrences(text, "color=\"Purple\">QNRSLT_INVALIDPARAM</font>"));
    EXPECT_EQ(2,
              occurrences(text,
                          "<td><font size=\"2\" face=\"Arial\">CDX_Text::drawText( )</font></td>\n"
                          "\t<td><font size=\"2\" face=\"Arial\">--</font></td>"));
}

TEST_F(TextOnDevice, DefaultFaceIsComicSansOrTheClosestInstalledFace) {
    ID3DXFont* font = CDX_Text::getInstance()->m_pFont;
    ASSERT_NE(nullptr, font);
    D3DXFONT_DESCA desc;
    ASSERT_EQ(D3D_OK, font->GetDescA(&desc));
    EXPECT_EQ(16, desc.Height);
    EXPECT_EQ(0u, desc.Width);
    EXPECT_EQ(400u, desc.Weight);
    EXPECT_EQ(D3DX_DEFAULT, desc.MipLevels);
    EXPECT_EQ(FALSE, desc.Italic);
    EXPECT_EQ(DEFAULT_CHARSET, desc.CharSet);
    EXPECT_EQ(OUT_DEFAULT_PRECIS, desc.OutputPrecision);
    EXPECT_EQ(PROOF_QUALITY, desc.Quality);
    EXPECT_EQ(DEFAULT_PITCH | FF_DONTCARE, desc.PitchAndFamily);
    char expectedName[LF_FACESIZE] = "Comic Sans MS";  // the rest zero
    EXPECT_EQ(0, std::memcmp(expectedName, desc.FaceName, LF_FACESIZE));

    const std::string file = zvtest::fontFacePath(font);
    if (access(kComicNeue, R_OK) == 0) {
        EXPECT_EQ(kComicNeue, file);
    } else if (access(kDejaVuSans, R_OK) == 0) {
        EXPECT_EQ(kDejaVuSans, file);
    }
}

TEST_F(TextOnDevice, FaceNamesAreCutTo31CharactersAndStillGiveAFont) {
    struct Case {
        const char* name;
        std::string face;
        std::string kept;
    };
    const Case cases[] = {
        {"40 characters", std::string(40, 'Q'), std::string(31, 'Q')},
        {"exactly 31", std::string(31, 'R'), std::string(31, 'R')},
        {"short name over the default", "Sans", "Sans"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(QNRSLT_OK, CDX_Text::getInstance()->initialize(c.face.c_str()));
        ID3DXFont* font = CDX_Text::getInstance()->m_pFont;
        ASSERT_NE(nullptr, font);
        D3DXFONT_DESCA desc;
        ASSERT_EQ(D3D_OK, font->GetDescA(&desc));
        char expected[LF_FACESIZE] = {};
        std::memcpy(expected, c.kept.data(), c.kept.size());
        EXPECT_EQ(0, std::memcmp(expected, desc.FaceName, LF_FACESIZE));
        EXPECT_GT(litBox(textFrame("FPS: 60", 5.0f, 5.0f)).count, 30);
    }
    EXPECT_EQ(std::string::npos, log().find("QNRSLT_"));
}

// Without a device: creation fails and is logged with the face name; the
// drawer then draws nothing and reports nothing more.
TEST(TextWithoutDevice, CreationFailureIsLoggedAndDrawingIsSkipped) {
    zvtestsupport::ScratchDir dir;
    zvtestsupport::makeDirs("Logs");
    CQNResults::getInstance()->open("Logs\\QNResultLog.htm", "QN Engine Result Log");
    EXPECT_EQ(QNRSLT_D3DFAILED, CDX_Text::getInstance()->initialize("Some Face"));
    EXPECT_EQ(QNRSLT_D3DFAILED, CDX_Text::getInstance()->initialize(nullptr));
    EXPECT_EQ(nullptr, CDX_Text::getInstance()->m_pFont);
    const float position[2] = {5.0f, 5.0f};
    EXPECT_EQ(QNRSLT_OK,
              CDX_Text::getInstance()->drawText("FPS: 60", position, 255, 255, 255, 255, 0));
    EXPECT_EQ(QNRSLT_OK, CDX_Text::destroyInstance());
    CDX_D3DWrapper::destroyInstance();
    CQNResults::destroyInstance();
    const std::string log = zvtestsupport::readFile("Logs/QNResultLog.htm");
    const std::string cells =
        "<td><font size=\"2\" face=\"Arial\">CDX_Text::initialize( )</font></td>\n"
        "\t<td><font size=\"2\" face=\"Arial\">";
    EXPECT_EQ(1, occurrences(log, cells + "Some Face</font></td>"));
    EXPECT_EQ(1, occurrences(log, cells + "--</font></td>"));
    EXPECT_EQ(2, occurrences(log, "QNRSLT_D3DFAILED"));
}
