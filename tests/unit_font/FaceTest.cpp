// Finding faces through fontconfig, GDI-style sizes and glyph images from
// FreeType, and the ANSI code page.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include <unistd.h>

#include "d3dx9/font/CodePage.h"
#include "d3dx9/font/FaceMatch.h"
#include "d3dx9/font/FaceRasterizer.h"

namespace {

const char* const kDejaVuDir = "/usr/share/fonts/truetype/dejavu/";
const char* const kComicNeue = "/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf";

bool exists(const std::string& path) { return access(path.c_str(), R_OK) == 0; }

std::string dejaVu(const char* file) { return std::string(kDejaVuDir) + file; }

std::string baseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

#define REQUIRE_DEJAVU() \
    if (!exists(dejaVu("DejaVuSans.ttf"))) GTEST_SKIP() << "fonts-dejavu-core is not installed"

}  // namespace

TEST(FaceMatch, FindsFamilyWeightAndSlantByFile) {
    REQUIRE_DEJAVU();
    struct Case {
        const char* family;
        unsigned weight;
        bool italic;
        const char* file;
    };
    const Case cases[] = {
        {"DejaVu Sans", 400, false, "DejaVuSans.ttf"},
        {"DejaVu Sans", 0, false, "DejaVuSans.ttf"},  // FW_DONTCARE
        {"DejaVu Sans", 700, false, "DejaVuSans-Bold.ttf"},
        {"DejaVu Sans", 400, true, "DejaVuSans-Oblique.ttf"},
        {"DejaVu Sans", 700, true, "DejaVuSans-BoldOblique.ttf"},
        {"DejaVu Sans Mono", 400, false, "DejaVuSansMono.ttf"},
        {"DejaVu Serif", 400, false, "DejaVuSerif.ttf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.family) + " " + std::to_string(c.weight) +
                     (c.italic ? " italic" : ""));
        d3dxfont::FaceFile face;
        ASSERT_TRUE(d3dxfont::matchFace(c.family, c.weight, c.italic, &face));
        EXPECT_EQ(c.file, baseName(face.path));
        EXPECT_EQ(0, face.index);
    }
}

TEST(FaceMatch, ComicSansFallsBackToTheClosestInstalledFace) {
    REQUIRE_DEJAVU();
    d3dxfont::FaceFile face;
    ASSERT_TRUE(d3dxfont::matchFace("Comic Sans MS", 400, false, &face));
    if (exists(kComicNeue)) {
        EXPECT_EQ(kComicNeue, face.path);
    } else {
        EXPECT_EQ(dejaVu("DejaVuSans.ttf"), face.path);
    }
}

TEST(FaceMatch, UnknownOrOddNamesStillGiveAFace) {
    // Name syntax characters are part of the name, not properties.
    for (const char* name : {"No Such Face At All", "", "DejaVu Sans:bold", "Face-12"}) {
        SCOPED_TRACE(name);
        d3dxfont::FaceFile face;
        ASSERT_TRUE(d3dxfont::matchFace(name, 400, false, &face));
        EXPECT_TRUE(exists(face.path)) << face.path;
        EXPECT_EQ(std::string::npos, face.path.find("Bold")) << face.path;
    }
}

TEST(FaceRasterizer, HeightFollowsGdiSigns) {
    REQUIRE_DEJAVU();
    const std::string path = dejaVu("DejaVuSans.ttf");
    d3dxfont::FaceRasterizer cell, em;
    d3dxfont::FaceStyle style;
    style.height = 16;
    ASSERT_TRUE(cell.open(path.c_str(), 0, style));
    style.height = -16;
    ASSERT_TRUE(em.open(path.c_str(), 0, style));

    // A positive height is the whole cell; a negative one the em, to which
    // DejaVu's ascent and descent add about a fifth.
    EXPECT_EQ(16, cell.lineHeight());
    EXPECT_GT(cell.ascent(), 10);
    EXPECT_LT(cell.ascent(), 16);
    EXPECT_GE(em.lineHeight(), 18);
    EXPECT_LE(em.lineHeight(), 20);
    EXPECT_GT(em.ascent(), cell.ascent());

    d3dxfont::GlyphImage small, large;
    ASSERT_TRUE(cell.render('H', &small));
    ASSERT_TRUE(em.render('H', &large));
    EXPECT_LT(small.height, large.height);
    // The cap height sits on the baseline, below the cell's top.
    EXPECT_EQ(small.height, small.top);
    EXPECT_LE(small.top, cell.ascent());
}

TEST(FaceRasterizer, RendersCoverageInTheRequestedQuality) {
    REQUIRE_DEJAVU();
    const std::string path = dejaVu("DejaVuSans.ttf");
    struct Case {
        const char* name;
        bool mono;
        bool expectGreys;
    };
    for (const Case& c : {Case{"antialiased", false, true}, Case{"1-bit", true, false}}) {
        SCOPED_TRACE(c.name);
        d3dxfont::FaceRasterizer face;
        d3dxfont::FaceStyle style;
        style.height = 16;
        style.mono = c.mono;
        ASSERT_TRUE(face.open(path.c_str(), 0, style));
        d3dxfont::GlyphImage image;
        ASSERT_TRUE(face.render('O', &image));
        ASSERT_GT(image.width, 4);
        ASSERT_GT(image.height, 4);
        ASSERT_GE(image.pitch, image.width);
        int full = 0, greys = 0;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                const uint8_t v = image.coverage[y * image.pitch + x];
                if (v == 255) ++full;
                if (v != 0 && v != 255) ++greys;
            }
        EXPECT_GT(full, 0);
        EXPECT_EQ(c.expectGreys, greys > 0);
        EXPECT_GT(image.advance, image.width / 2);
    }
}

TEST(FaceRasterizer, BlankGlyphsAndSynthesisedBold) {
    REQUIRE_DEJAVU();
    const std::string path = dejaVu("DejaVuSans.ttf");
    d3dxfont::FaceStyle style;
    style.height = 32;
    d3dxfont::FaceRasterizer regular;
    ASSERT_TRUE(regular.open(path.c_str(), 0, style));
    style.bold = true;
    d3dxfont::FaceRasterizer bold;
    ASSERT_TRUE(bold.open(path.c_str(), 0, style));

    d3dxfont::GlyphImage space;
    ASSERT_TRUE(regular.render(' ', &space));
    EXPECT_EQ(0, space.width);
    EXPECT_EQ(0, space.height);
    EXPECT_GT(space.advance, 0);

    // A regular file asked for bold is emboldened, as GDI does.
    d3dxfont::GlyphImage thin, thick;
    ASSERT_TRUE(regular.render('l', &thin));
    ASSERT_TRUE(bold.render('l', &thick));
    EXPECT_GT(thick.width, thin.width);
}

TEST(FaceRasterizer, RefusesWhatItCannotSize) {
    REQUIRE_DEJAVU();
    d3dxfont::FaceStyle style;
    d3dxfont::FaceRasterizer zero;
    EXPECT_FALSE(zero.open(dejaVu("DejaVuSans.ttf").c_str(), 0, style));  // height 0
    style.height = 16;
    d3dxfont::FaceRasterizer missing;
    EXPECT_FALSE(missing.open("/nonexistent/face.ttf", 0, style));
    d3dxfont::GlyphImage image;
    EXPECT_FALSE(missing.render('A', &image));
}

TEST(CodePage, MapsWindows1252) {
    const struct {
        unsigned char byte;
        uint32_t codePoint;
    } cases[] = {
        {'A', 'A'},     {0x20, 0x20},   {0x7F, 0x7F}, {0x80, 0x20AC}, {0x81, 0x81}, {0x8A, 0x0160},
        {0x96, 0x2013}, {0x9F, 0x0178}, {0xA0, 0xA0}, {0xE9, 0xE9},   {0xFF, 0xFF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.codePoint, d3dxfont::codePointFromAnsi(c.byte)) << int(c.byte);
}
