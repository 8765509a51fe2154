// Packing glyph boxes into the atlas image: shelves, the gutter, growth
// that keeps earlier texels, and glyphs that cannot fit.
#include <gtest/gtest.h>

#include <vector>

#include "d3dx9/font/GlyphAtlas.h"

using d3dxfont::GlyphAtlas;
using d3dxfont::GlyphBox;

namespace {

// A w x h coverage block whose every texel is `value`.
std::vector<uint8_t> block(int w, int h, uint8_t value) {
    return std::vector<uint8_t>(static_cast<size_t>(w) * h, value);
}

GlyphBox sized(int w, int h) { return GlyphBox{w + 2, 0, h, w, h, -1, -1}; }

// True when every texel of the box holds `value`.
bool holds(const GlyphAtlas& atlas, const GlyphBox& box, uint8_t value) {
    for (int y = 0; y < box.height; ++y)
        for (int x = 0; x < box.width; ++x)
            if (atlas.image()[(box.y + y) * atlas.width() + box.x + x] != value) return false;
    return true;
}

}  // namespace

TEST(GlyphAtlas, PacksShelvesWithAGutter) {
    GlyphAtlas atlas(32, 32, 32);
    EXPECT_EQ(nullptr, atlas.find('A'));
    struct Step {
        unsigned char c;
        int w, h;
        int x, y;
    };
    // Boxes go left to right with one free texel between them; a box that
    // does not fit the row starts a shelf below the tallest box so far.
    const Step steps[] = {
        {'A', 10, 6, 0, 0},
        {'B', 10, 8, 11, 0},
        {'C', 12, 4, 0, 9},
        {'D', 5, 5, 13, 9},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.c);
        auto cov = block(s.w, s.h, s.c);
        EXPECT_TRUE(atlas.store(s.c, sized(s.w, s.h), cov.data(), s.w));
        const GlyphBox* box = atlas.find(s.c);
        ASSERT_NE(nullptr, box);
        EXPECT_EQ(s.x, box->x);
        EXPECT_EQ(s.y, box->y);
        EXPECT_EQ(s.w + 2, box->advance);
    }
    for (const Step& s : steps) EXPECT_TRUE(holds(atlas, *atlas.find(s.c), s.c)) << s.c;
    // The gutter column after 'A' is untouched.
    for (int y = 0; y < 6; ++y) EXPECT_EQ(0, atlas.image()[y * 32 + 10]);
    EXPECT_TRUE(atlas.dirty());
}

TEST(GlyphAtlas, CopiesRowsByPitch) {
    GlyphAtlas atlas(16, 16, 16);
    // Two rows of 3 texels inside rows of 5 bytes.
    const uint8_t source[] = {1, 2, 3, 99, 99, 4, 5, 6, 99, 99};
    ASSERT_TRUE(atlas.store('x', sized(3, 2), source, 5));
    const uint8_t* img = atlas.image();
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3, 0}), std::vector<uint8_t>(img, img + 4));
    EXPECT_EQ((std::vector<uint8_t>{4, 5, 6, 0}), std::vector<uint8_t>(img + 16, img + 20));
}

TEST(GlyphAtlas, GrowsDownwardKeepingPlacedTexels) {
    GlyphAtlas atlas(16, 8, 64);
    auto first = block(10, 6, 7);
    auto second = block(10, 12, 9);
    ASSERT_TRUE(atlas.store('a', sized(10, 6), first.data(), 10));
    EXPECT_EQ(8, atlas.height());
    ASSERT_TRUE(atlas.store('b', sized(10, 12), second.data(), 10));
    // Needs rows 7 to 19 (gutter included): doubled twice.
    EXPECT_EQ(32, atlas.height());
    EXPECT_TRUE(holds(atlas, *atlas.find('a'), 7));
    EXPECT_TRUE(holds(atlas, *atlas.find('b'), 9));
}

TEST(GlyphAtlas, BlankAndUnplaceableGlyphsKeepTheirAdvance) {
    struct Case {
        const char* name;
        int atlasWidth, startHeight, maxHeight;
        int w, h;
        bool placed;
    };
    const Case cases[] = {
        {"blank glyph", 16, 8, 8, 0, 0, true},
        {"wider than the atlas (gutter included)", 16, 8, 64, 16, 4, false},
        {"taller than the largest atlas", 16, 8, 16, 4, 16, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GlyphAtlas atlas(c.atlasWidth, c.startHeight, c.maxHeight);
        auto cov = block(c.w, c.h, 200);
        EXPECT_EQ(c.placed, atlas.store('q', GlyphBox{7, 1, 2, c.w, c.h, 5, 5}, cov.data(), c.w));
        const GlyphBox* box = atlas.find('q');
        ASSERT_NE(nullptr, box);
        EXPECT_EQ(7, box->advance);
        EXPECT_EQ(0, box->width);
        EXPECT_EQ(0, box->height);
        EXPECT_FALSE(atlas.dirty());
        EXPECT_LE(atlas.height(), c.maxHeight);
    }
}

TEST(GlyphAtlas, FullAtlasRefusesFurtherBoxes) {
    GlyphAtlas atlas(16, 8, 8);
    auto cov = block(14, 6, 1);
    EXPECT_TRUE(atlas.store('a', sized(14, 6), cov.data(), 14));
    EXPECT_FALSE(atlas.store('b', sized(14, 6), cov.data(), 14));
    EXPECT_TRUE(holds(atlas, *atlas.find('a'), 1));
    EXPECT_EQ(8, atlas.height());
}
