// Layout of DT_TOP | DT_LEFT text: line breaks, the right-edge skip and
// cropping, with glyph boxes from a fixed table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "d3dx9/font/TextLayout.h"

using d3dxfont::GlyphBox;
using d3dxfont::LayoutExtent;
using d3dxfont::LayoutRequest;
using d3dxfont::TextQuad;

namespace {

// Every glyph advances 10 with an 8x10 box one pixel right of the pen and
// 8 above the baseline, except: space (blank, advance 5), 'j' (box starts
// 2 left of the pen) and 'T' (box top 14 above the baseline, i.e. above
// the line's top with an ascent of 12). Atlas positions differ per byte.
class TableGlyphs : public d3dxfont::GlyphSource {
public:
    const GlyphBox* glyph(unsigned char c) override {
        box = GlyphBox{10, 1, 8, 8, 10, atlasX(c), atlasY(c)};
        if (c == ' ') box = GlyphBox{5, 0, 0, 0, 0, 0, 0};
        if (c == 'j') box.left = -2;
        if (c == 'T') box.top = 14;
        return &box;
    }
    static int atlasX(unsigned char c) { return (c % 16) * 10; }
    static int atlasY(unsigned char c) { return (c / 16) * 12; }
    GlyphBox box;
};

constexpr int kAscent = 12;
constexpr int kLine = 16;

TextQuad full(unsigned char c, int pen, int lineTop) {
    return TextQuad{pen + 1, lineTop + kAscent - 8, 8, 10, TableGlyphs::atlasX(c), TableGlyphs::atlasY(c)};
}

std::string describe(const std::vector<TextQuad>& quads) {
    std::string out;
    for (const TextQuad& q : quads) {
        out += "(x y w h u v:";
        for (int v : {q.x, q.y, q.w, q.h, q.u, q.v}) out += " " + std::to_string(v);
        out += ") ";
    }
    return out;
}

}  // namespace

TEST(TextLayout, PlacesClipsAndMeasures) {
    const RECT big{0, 0, 100, 100};
    const TextQuad bCropped{11, 4, 4, 10, TableGlyphs::atlasX('B'), TableGlyphs::atlasY('B')};
    const TextQuad aBottom{1, 4, 8, 6, TableGlyphs::atlasX('A'), TableGlyphs::atlasY('A')};
    const TextQuad jLeft{5, 9, 6, 10, TableGlyphs::atlasX('j') + 2, TableGlyphs::atlasY('j')};
    const TextQuad tTop{1, 0, 8, 8, TableGlyphs::atlasX('T'), TableGlyphs::atlasY('T') + 2};
    const struct {
        const char* name;
        std::string text;
        int count;
        RECT rect;
        bool clip;
        std::vector<TextQuad> quads;
        int lines, width;
    } cases[] = {
        {"one line", "AB", -1, big, true, {full('A', 0, 0), full('B', 10, 0)}, 1, 20},
        {"widest line, LF break", "ABC\nD", -1, big, true,
         {full('A', 0, 0), full('B', 10, 0), full('C', 20, 0), full('D', 0, kLine)}, 2, 30},
        {"CRLF is one break", "A\r\nB", -1, big, true, {full('A', 0, 0), full('B', 0, kLine)}, 2, 10},
        {"CR break", "A\rB", -1, big, true, {full('A', 0, 0), full('B', 0, kLine)}, 2, 10},
        {"blank glyph advances", "A B", -1, big, true, {full('A', 0, 0), full('B', 15, 0)}, 1, 25},
        {"rect origin", "A", -1, RECT{5, 7, 100, 100}, true, {full('A', 5, 7)}, 1, 10},
        {"count limits", "AB", 1, big, true, {full('A', 0, 0)}, 1, 10},
        {"zero byte ends a counted text", std::string("A\0B", 3), 3, big, true,
         {full('A', 0, 0)}, 1, 10},
        {"CR at the count's end", "A\rB", 2, big, true, {full('A', 0, 0)}, 2, 10},
        {"empty", "", -1, big, true, {}, 0, 0},
        {"past the right edge skipped, straddler cropped", "ABC", -1, RECT{0, 0, 15, 100}, true,
         {full('A', 0, 0), bCropped}, 1, 30},
        {"pen exactly on the right edge skipped", "AB", -1, RECT{0, 0, 10, 100}, true,
         {full('A', 0, 0)}, 1, 20},
        // 'j' reaches back over the edge, yet starts past it.
        {"skipped even when its box reaches back in", "Aj", -1, RECT{0, 0, 10, 100}, true,
         {full('A', 0, 0)}, 1, 20},
        {"cropped at the bottom, lines below dropped", "A\nB", -1, RECT{0, 0, 100, 10}, true,
         {aBottom}, 2, 10},
        {"cropped at the left", "j", -1, RECT{5, 5, 100, 100}, true, {jLeft}, 1, 10},
        {"cropped at the top", "T", -1, big, true, {tTop}, 1, 10},
        {"no clipping", "ABC\nD", -1, RECT{0, 0, 15, 10}, false,
         {full('A', 0, 0), full('B', 10, 0), full('C', 20, 0), full('D', 0, kLine)}, 2, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TableGlyphs glyphs;
        std::vector<TextQuad> quads;
        const LayoutRequest request{c.text.data(), c.count, c.rect, c.clip, kAscent, kLine};
        const LayoutExtent extent = d3dxfont::layoutText(request, glyphs, &quads);
        EXPECT_EQ(describe(c.quads), describe(quads));
        EXPECT_EQ(c.lines, extent.lines);
        EXPECT_EQ(c.width, extent.width);
    }
}

TEST(TextLayout, MeasuringAloneGivesTheSameExtentAndAppendingKeepsQuads) {
    TableGlyphs glyphs;
    std::vector<TextQuad> quads{TextQuad{1, 2, 3, 4, 5, 6}};
    const LayoutRequest request{"AB\nC", -1, RECT{0, 0, 12, 12}, true, kAscent, kLine};
    const LayoutExtent measured = d3dxfont::layoutText(request, glyphs, nullptr);
    EXPECT_EQ(2, measured.lines);
    EXPECT_EQ(20, measured.width);
    d3dxfont::layoutText(request, glyphs, &quads);
    ASSERT_GE(quads.size(), 2u);
    EXPECT_EQ(1, quads[0].x);
}
