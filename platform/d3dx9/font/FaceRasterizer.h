// One FreeType face at one pixel size: GDI-style line metrics and coverage
// bitmaps of single characters.
#ifndef ZV_D3DX9_FONT_FACERASTERIZER_H
#define ZV_D3DX9_FONT_FACERASTERIZER_H

#include <cstdint>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace d3dxfont {

struct FaceStyle {
    // GDI's LOGFONT height: < 0 the em height in pixels, > 0 the cell height
    // (ascent + descent); must not be 0.
    int height = 0;
    bool mono = false;    // 1-bit glyphs (coverage 0 or 255)
    bool bold = false;    // embolden when the face itself is not bold
    bool italic = false;  // slant when the face itself is not italic
};

// A rendered glyph. `coverage` points into the rasterizer and stays valid
// until its next render call.
struct GlyphImage {
    int width = 0;
    int height = 0;
    int pitch = 0;
    const uint8_t* coverage = nullptr;  // 0 to 255, top row first
    int left = 0;                       // box left edge from the pen position, pixels
    int top = 0;                        // box top edge above the baseline, pixels
    int advance = 0;                    // pen movement, whole pixels
};

class FaceRasterizer {
public:
    FaceRasterizer() = default;
    ~FaceRasterizer();
    FaceRasterizer(const FaceRasterizer&) = delete;
    FaceRasterizer& operator=(const FaceRasterizer&) = delete;

    // Opens face `index` of the file and sizes it. False when the file is
    // not a scalable font FreeType can read, or the height is 0.
    bool open(const char* path, int index, const FaceStyle& style);

    // GDI's TEXTMETRIC ascent and height: the baseline lies `ascent` pixels
    // below a line's top; lines are `lineHeight` apart.
    int ascent() const { return m_ascent; }
    int lineHeight() const { return m_lineHeight; }

    // Renders the character with Unicode code point `codePoint` (the face's
    // missing-glyph box when it has none). False when FreeType fails.
    bool render(uint32_t codePoint, GlyphImage* out);

private:
    FT_Library m_library = nullptr;
    FT_Face m_face = nullptr;
    FaceStyle m_style;
    int m_ascent = 0;
    int m_lineHeight = 0;
    std::vector<uint8_t> m_expanded;  // 1-bit rows widened to bytes
};

}  // namespace d3dxfont

#endif
