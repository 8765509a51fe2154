// Finding faces through fontconfig, GDI-style sizes and glyph images from
// FreeType, and the ANSI code page.
#include <gtest/gtest.h>

#include <string>

#include <unistd.h>

#include "d3dx9/font/CodePage.h"
#include "d3dx9/font/FaceMatch.h"
#include "d3dx9/font/FaceRasterizer.h"

namespace {

bool exists(const std::string& path) { return access(path.c_str(), R_OK) == 0; }

std::string dejaVu(const char* file) { return std::string("/usr/share/fonts/truetype/dejavu/") + file; }

#define REQUIRE_DEJAVU() \
    if (!exists(dejaVu("DejaVuSans.ttf"))) GTEST_SKIP() << "fonts-dejavu-core is not installed"

// DejaVu Sans opened at `height` (GDI sign rules), optionally bold or 1-bit.
struct Face {
    explicit Face(int height, bool bold = false, bool mono = false) {
        d3dxfont::FaceStyle style;
        style.height = height;
        style.bold = bold;
        style.mono = mono;
        opened = rasterizer.open(dejaVu("DejaVuSans.ttf").c_str(), 0, style);
    }
    d3dxfont::GlyphImage render(char c) {
        d3dxfont::GlyphImage image;
        EXPECT_TRUE(rasterizer.render(c, &image)) << c;
        return image;
    }
    d3dxfont::FaceRasterizer rasterizer;
    bool opened;
};

}  // namespace

TEST(FaceMatch, FindsFamilyWeightAndSlantAndFallsBackForOtherNames) {
    REQUIRE_DEJAVU();
    const struct {
        const char* family;
        unsigned weight;
        bool italic;
        const char* file;  // null: any installed regular face
    } cases[] = {
        {"DejaVu Sans", 0, false, "DejaVuSans.ttf"},  // FW_DONTCARE
        {"DejaVu Sans", 700, false, "DejaVuSans-Bold.ttf"},
        {"DejaVu Sans", 400, true, "DejaVuSans-Oblique.ttf"},
        {"DejaVu Sans", 700, true, "DejaVuSans-BoldOblique.ttf"},
        {"DejaVu Sans Mono", 400, false, "DejaVuSansMono.ttf"},
        // Name syntax characters are part of the name, not properties.
        {"No Such Face At All", 400, false, nullptr},
        {"", 400, false, nullptr},
        {"DejaVu Sans:bold", 400, false, nullptr},
        {"Face-12", 400, false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.family) + " " + std::to_string(c.weight) + (c.italic ? " italic" : ""));
        d3dxfont::FaceFile face;
        ASSERT_TRUE(d3dxfont::matchFace(c.family, c.weight, c.italic, &face));
        EXPECT_TRUE(exists(face.path)) << face.path;
        EXPECT_EQ(0, face.index);
        if (c.file) {
            EXPECT_EQ(c.file, face.path.substr(face.path.rfind('/') + 1));
        } else {
            EXPECT_EQ(std::string::npos, face.path.find("Bold")) << face.path;
        }
    }
}

TEST(FaceRasterizer, HeightFollowsGdiSigns) {
    REQUIRE_DEJAVU();
    // A positive height is the whole cell; a negative one the em, to which
    // DejaVu's ascent and descent add about a fifth.
    Face cell(16), em(-16);
    ASSERT_TRUE(cell.opened && em.opened);
    EXPECT_EQ(16, cell.rasterizer.lineHeight());
    EXPECT_TRUE(cell.rasterizer.ascent() > 10 && cell.rasterizer.ascent() < 16) << cell.rasterizer.ascent();
    EXPECT_TRUE(em.rasterizer.lineHeight() >= 18 && em.rasterizer.lineHeight() <= 20) << em.rasterizer.lineHeight();
    const d3dxfont::GlyphImage small = cell.render('H'), large = em.render('H');
    EXPECT_LT(small.height, large.height);
    // The cap height sits on the baseline, below the cell's top.
    EXPECT_EQ(small.height, small.top);
    EXPECT_LE(small.top, cell.rasterizer.ascent());
}

TEST(FaceRasterizer, CoverageQualityBlankGlyphsBoldAndRefusals) {
    REQUIRE_DEJAVU();
    for (bool mono : {false, true}) {
        SCOPED_TRACE(mono ? "1-bit" : "antialiased");
        Face face(16, false, mono);
        ASSERT_TRUE(face.opened);
        const d3dxfont::GlyphImage image = face.render('O');
        ASSERT_TRUE(image.width > 4 && image.height > 4 && image.pitch >= image.width);
        int full = 0, greys = 0;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                const uint8_t v = image.coverage[y * image.pitch + x];
                full += v == 255;
                greys += v != 0 && v != 255;
            }
        EXPECT_GT(full, 0);
        EXPECT_EQ(!mono, greys > 0);
        EXPECT_GT(image.advance, image.width / 2);
    }
    Face regular(32), bold(32, true);
    const d3dxfont::GlyphImage space = regular.render(' ');
    EXPECT_TRUE(space.width == 0 && space.height == 0 && space.advance > 0);
    // A regular file asked for bold is emboldened, as GDI does.
    EXPECT_GT(bold.render('l').width, regular.render('l').width);

    // Nothing to size: height 0, or no face file.
    EXPECT_FALSE(Face(0).opened);
    d3dxfont::FaceStyle style;
    style.height = 16;
    d3dxfont::FaceRasterizer missing;
    d3dxfont::GlyphImage image;
    EXPECT_FALSE(missing.open("/nonexistent/face.ttf", 0, style));
    EXPECT_FALSE(missing.render('A', &image));
}

TEST(CodePage, MapsWindows1252) {
    // ASCII and Latin-1 pass through; 0x80..0x9F are the Windows additions,
    // with the five unassigned bytes kept as they are.
    const struct {
        unsigned char byte;
        uint32_t codePoint;
    } cases[] = {{'A', 'A'}, {0x7F, 0x7F}, {0x80, 0x20AC}, {0x81, 0x81}, {0x9F, 0x0178}, {0xA0, 0xA0}, {0xFF, 0xFF}};
    for (const auto& c : cases) EXPECT_EQ(c.codePoint, d3dxfont::codePointFromAnsi(c.byte)) << int(c.byte);
}
