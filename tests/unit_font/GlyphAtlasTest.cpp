// Packing glyph boxes into the atlas image: shelves, the gutter, row pitch,
// growth that keeps earlier texels, and glyphs that cannot fit.
#include <gtest/gtest.h>

#include <vector>

#include "d3dx9/font/GlyphAtlas.h"

using d3dxfont::GlyphAtlas;
using d3dxfont::GlyphBox;

namespace {

// Stores a w x h glyph whose every texel is `value` (advance w + 2).
bool storeBlock(GlyphAtlas& atlas, unsigned char c, int w, int h, uint8_t value) {
    const std::vector<uint8_t> coverage(static_cast<size_t>(w) * h, value);
    return atlas.store(c, GlyphBox{w + 2, 0, h, w, h, -1, -1}, coverage.data(), w);
}

// True when every texel of c's box holds `value`.
bool holds(const GlyphAtlas& atlas, unsigned char c, uint8_t value) {
    const GlyphBox& box = *atlas.find(c);
    for (int y = 0; y < box.height; ++y)
        for (int x = 0; x < box.width; ++x)
            if (atlas.image()[(box.y + y) * atlas.width() + box.x + x] != value) return false;
    return true;
}

}  // namespace

TEST(GlyphAtlas, PacksShelvesWithAGutter) {
    GlyphAtlas atlas(32, 32, 32);
    EXPECT_EQ(nullptr, atlas.find('A'));
    // Boxes go left to right with one free texel between them; a box that
    // does not fit the row starts a shelf below the tallest box so far.
    const struct {
        unsigned char c;
        int w, h, x, y;
    } steps[] = {{'A', 10, 6, 0, 0}, {'B', 10, 8, 11, 0}, {'C', 12, 4, 0, 9}, {'D', 5, 5, 13, 9}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.c);
        EXPECT_TRUE(storeBlock(atlas, s.c, s.w, s.h, s.c));
        ASSERT_NE(nullptr, atlas.find(s.c));
        EXPECT_EQ(s.x, atlas.find(s.c)->x);
        EXPECT_EQ(s.y, atlas.find(s.c)->y);
        EXPECT_EQ(s.w + 2, atlas.find(s.c)->advance);
    }
    for (const auto& s : steps) EXPECT_TRUE(holds(atlas, s.c, s.c)) << s.c;
    for (int y = 0; y < 6; ++y) EXPECT_EQ(0, atlas.image()[y * 32 + 10]) << "gutter after 'A'";
    EXPECT_TRUE(atlas.dirty());

    // Coverage rows are read `pitch` bytes apart: two rows of 3 in rows of 5.
    const uint8_t source[] = {1, 2, 3, 99, 99, 4, 5, 6, 99, 99};
    ASSERT_TRUE(atlas.store('x', GlyphBox{5, 0, 2, 3, 2, -1, -1}, source, 5));
    const uint8_t* at = atlas.image() + atlas.find('x')->y * 32 + atlas.find('x')->x;
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3, 0}), std::vector<uint8_t>(at, at + 4));
    EXPECT_EQ((std::vector<uint8_t>{4, 5, 6, 0}), std::vector<uint8_t>(at + 32, at + 36));
}

TEST(GlyphAtlas, GrowsDownwardKeepingPlacedTexelsUntilFull) {
    GlyphAtlas atlas(16, 8, 32);
    ASSERT_TRUE(storeBlock(atlas, 'a', 10, 6, 7));
    EXPECT_EQ(8, atlas.height());
    ASSERT_TRUE(storeBlock(atlas, 'b', 10, 12, 9));
    EXPECT_EQ(32, atlas.height()) << "rows 7 to 19 (gutter included): doubled twice";
    EXPECT_TRUE(holds(atlas, 'a', 7));
    EXPECT_TRUE(holds(atlas, 'b', 9));
    EXPECT_FALSE(storeBlock(atlas, 'c', 10, 12, 1)) << "no room left at the largest height";
    EXPECT_EQ(32, atlas.height());
    EXPECT_TRUE(holds(atlas, 'a', 7));
}

TEST(GlyphAtlas, BlankAndUnplaceableGlyphsKeepTheirAdvance) {
    const struct {
        const char* name;
        int startHeight, maxHeight, w, h;
        bool placed;
    } cases[] = {
        {"blank glyph", 8, 8, 0, 0, true},
        {"wider than the atlas (gutter included)", 8, 64, 16, 4, false},
        {"taller than the largest atlas", 8, 16, 4, 16, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GlyphAtlas atlas(16, c.startHeight, c.maxHeight);
        const std::vector<uint8_t> coverage(static_cast<size_t>(c.w) * c.h, 200);
        EXPECT_EQ(c.placed, atlas.store('q', GlyphBox{7, 1, 2, c.w, c.h, 5, 5}, coverage.data(), c.w));
        const GlyphBox* box = atlas.find('q');
        ASSERT_NE(nullptr, box);
        EXPECT_TRUE(box->advance == 7 && box->width == 0 && box->height == 0);
        EXPECT_FALSE(atlas.dirty());
        EXPECT_LE(atlas.height(), c.maxHeight);
    }
}
