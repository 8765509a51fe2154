#include "TextLayout.h"

namespace d3dxfont {

namespace {

// Crops a box to the rectangle; false when nothing of it is left.
bool cropToRect(const RECT& rect, TextQuad* q) {
    if (q->x < rect.left) {
        q->u += rect.left - q->x;
        q->w -= rect.left - q->x;
        q->x = rect.left;
    }
    if (q->y < rect.top) {
        q->v += rect.top - q->y;
        q->h -= rect.top - q->y;
        q->y = rect.top;
    }
    if (q->x + q->w > rect.right) q->w = rect.right - q->x;
    if (q->y + q->h > rect.bottom) q->h = rect.bottom - q->y;
    return q->w > 0 && q->h > 0;
}

}  // namespace

LayoutExtent layoutText(const LayoutRequest& request, GlyphSource& glyphs,
                        std::vector<TextQuad>* quads) {
    const RECT& rect = request.rect;
    const char* text = request.text;
    LayoutExtent extent{0, 0};
    int pen = rect.left;
    int lineTop = rect.top;

    for (int i = 0; request.count < 0 || i < request.count; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == 0) break;
        if (extent.lines == 0) extent.lines = 1;
        if (c == '\r' || c == '\n') {
            // "\r\n" is one break, as in GDI's DrawText.
            if (c == '\r' && (request.count < 0 || i + 1 < request.count) && text[i + 1] == '\n')
                ++i;
            if (pen - rect.left > extent.width) extent.width = pen - rect.left;
            pen = rect.left;
            lineTop += request.lineHeight;
            ++extent.lines;
            continue;
        }
        const GlyphBox* box = glyphs.glyph(c);
        if (!box) continue;
        if (quads && box->width > 0 && (!request.clip || pen < rect.right)) {
            TextQuad q{pen + box->left, lineTop + request.ascent - box->top,
                       box->width,      box->height,
                       box->x,          box->y};
            if (!request.clip || cropToRect(rect, &q)) quads->push_back(q);
        }
        pen += box->advance;
    }
    if (pen - rect.left > extent.width) extent.width = pen - rect.left;
    return extent;
}

}  // namespace d3dxfont
