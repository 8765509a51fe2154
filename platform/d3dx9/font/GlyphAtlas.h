// The glyph cache of one font: a coverage image into which glyph boxes are
// packed row by row (shelves), and the placement of each of the 256 byte
// values. Pure memory; the font uploads the image to a texture.
#ifndef ZV_D3DX9_FONT_GLYPHATLAS_H
#define ZV_D3DX9_FONT_GLYPHATLAS_H

#include <cstdint>
#include <vector>

namespace d3dxfont {

// Where a cached glyph's box lies and how it sits on the pen position.
struct GlyphBox {
    int advance = 0;  // pen movement, pixels
    int left = 0;     // box left edge from the pen, pixels
    int top = 0;      // box top edge above the baseline, pixels
    int width = 0;    // box size; 0 for blank glyphs (space)
    int height = 0;
    int x = 0;  // box position in the atlas image
    int y = 0;
};

class GlyphAtlas {
public:
    // `width` is fixed; the image starts `initialHeight` rows high and
    // doubles as needed up to `maxHeight`. Sizes must be positive.
    GlyphAtlas(int width, int initialHeight, int maxHeight);

    // The box of byte `c` once stored, else null.
    const GlyphBox* find(unsigned char c) const { return m_cached[c] ? &m_boxes[c] : nullptr; }

    // Stores the glyph of byte `c`: copies its coverage (`box.width` x
    // `box.height` bytes, rows `pitch` apart) into free space and records
    // `box` with its atlas position. A glyph that cannot fit (wider than the
    // image, or the image at maxHeight is full) is stored without a box, so
    // it advances the pen but draws nothing; the call then returns false.
    bool store(unsigned char c, GlyphBox box, const uint8_t* coverage, int pitch);

    int width() const { return m_width; }
    int height() const { return m_height; }
    // One byte per texel, `width()` bytes per row, top row first.
    const uint8_t* image() const { return m_image.data(); }

    // Set by every store that changed the image; the uploader clears it.
    bool dirty() const { return m_dirty; }
    void clearDirty() { m_dirty = false; }

private:
    // Reserves w x h texels (plus a one-texel gutter so filtering never reads
    // a neighbour); false when no room is left.
    bool _reserve(int w, int h, int* x, int* y);

    int m_width;
    int m_height;
    int m_maxHeight;
    int m_shelfY = 0;       // top of the current shelf
    int m_shelfHeight = 0;  // tallest box on it, gutter included
    int m_cursorX = 0;      // next free column on it
    std::vector<uint8_t> m_image;
    GlyphBox m_boxes[256];
    bool m_cached[256] = {};
    bool m_dirty = false;
};

}  // namespace d3dxfont

#endif
