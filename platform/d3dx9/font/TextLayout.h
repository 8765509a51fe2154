// Placing the glyphs of DT_TOP | DT_LEFT text in a rectangle: line breaks,
// the skip of glyphs that start past the right edge and the cropping of
// glyph boxes. Pure arithmetic on whole pixels.
#ifndef ZV_D3DX9_FONT_TEXTLAYOUT_H
#define ZV_D3DX9_FONT_TEXTLAYOUT_H

#include <vector>

#include <windows.h>

#include "GlyphAtlas.h"

namespace d3dxfont {

// One visible glyph box: its screen pixels [x, x + w) x [y, y + h) and the
// atlas texel (u, v) shown at its top-left pixel (after cropping).
struct TextQuad {
    int x, y, w, h;
    int u, v;
};

// Supplies the box of a byte, caching it on first use; null when the byte
// cannot be rendered (it then takes no room).
class GlyphSource {
public:
    virtual const GlyphBox* glyph(unsigned char c) = 0;

protected:
    ~GlyphSource() = default;
};

struct LayoutRequest {
    const char* text;
    int count;  // bytes to lay out; < 0: up to the terminating zero
    RECT rect;
    bool clip;       // false for DT_NOCLIP
    int ascent;      // baseline below a line's top
    int lineHeight;  // distance between line tops
};

struct LayoutExtent {
    int lines;  // 0 for empty text; each line break starts one more
    int width;  // the widest line's total advance
};

// Lays out the text. With `quads` non-null, appends the visible boxes to it
// (existing elements are kept, so a reserved vector is reused without
// allocating). Layout stops early at a zero byte.
LayoutExtent layoutText(const LayoutRequest& request, GlyphSource& glyphs,
                        std::vector<TextQuad>* quads);

}  // namespace d3dxfont

#endif
