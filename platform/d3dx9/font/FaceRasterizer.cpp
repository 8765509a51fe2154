#include "FaceRasterizer.h"

#include <cmath>
#include <cstdlib>

#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include "FontReport.h"

namespace d3dxfont {

FaceRasterizer::~FaceRasterizer() {
    if (m_face) FT_Done_Face(m_face);
    if (m_library) FT_Done_FreeType(m_library);
}

bool FaceRasterizer::open(const char* path, int index, const FaceStyle& style) {
    if (style.height == 0 || m_face) return false;
    if (!m_library && FT_Init_FreeType(&m_library) != 0) return false;
    if (FT_New_Face(m_library, path, index, &m_face) != 0) {
        m_face = nullptr;
        return false;
    }
    if (!FT_IS_SCALABLE(m_face) || m_face->units_per_EM == 0) return false;
    m_style = style;

    // GDI measures a TrueType cell with the OS/2 table's Windows ascent and
    // descent; other faces fall back to their own ascender and descender.
    double ascentUnits = m_face->ascender;
    double descentUnits = -m_face->descender;
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(m_face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        ascentUnits = os2->usWinAscent;
        descentUnits = os2->usWinDescent;
    }
    if (ascentUnits + descentUnits <= 0) return false;

    const double upem = m_face->units_per_EM;
    const double em =
        style.height < 0 ? -style.height : style.height * upem / (ascentUnits + descentUnits);
    // Fractional em sizes (26.6) keep a positive height's cell exact.
    const FT_F26Dot6 em26 = static_cast<FT_F26Dot6>(std::lround(em * 64.0));
    if (em26 <= 0 || FT_Set_Char_Size(m_face, 0, em26, 72, 72) != 0) return false;

    m_ascent = static_cast<int>(std::lround(ascentUnits * em / upem));
    if (style.height > 0) {
        m_lineHeight = style.height;
    } else {
        m_lineHeight = m_ascent + static_cast<int>(std::lround(descentUnits * em / upem));
    }
    return true;
}

bool FaceRasterizer::render(uint32_t codePoint, GlyphImage* out) {
    if (!m_face) return false;
    const FT_UInt glyphIndex = FT_Get_Char_Index(m_face, codePoint);
    FT_Int32 flags = m_style.mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL;
    if (FT_Load_Glyph(m_face, glyphIndex, flags) != 0) return false;

    FT_GlyphSlot slot = m_face->glyph;
    // GDI synthesises what the matched face lacks; so do we.
    if (m_style.italic && !(m_face->style_flags & FT_STYLE_FLAG_ITALIC)) FT_GlyphSlot_Oblique(slot);
    if (m_style.bold && !(m_face->style_flags & FT_STYLE_FLAG_BOLD)) FT_GlyphSlot_Embolden(slot);
    if (FT_Render_Glyph(slot, m_style.mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
        return false;

    const FT_Bitmap& bitmap = slot->bitmap;
    out->width = static_cast<int>(bitmap.width);
    out->height = static_cast<int>(bitmap.rows);
    out->left = slot->bitmap_left;
    out->top = slot->bitmap_top;
    out->advance = static_cast<int>((slot->advance.x + 32) >> 6);
    out->coverage = nullptr;
    out->pitch = 0;
    if (out->width == 0 || out->height == 0) {
        out->width = out->height = 0;
        return true;
    }

    switch (bitmap.pixel_mode) {
        case FT_PIXEL_MODE_GRAY:
            if (bitmap.num_grays == 256 && bitmap.pitch > 0) {
                out->coverage = bitmap.buffer;
                out->pitch = bitmap.pitch;
                return true;
            }
            break;
        case FT_PIXEL_MODE_MONO:
            if (bitmap.pitch > 0) {
                m_expanded.assign(static_cast<size_t>(out->width) * out->height, 0);
                for (int y = 0; y < out->height; ++y) {
                    const uint8_t* row = bitmap.buffer + y * bitmap.pitch;
                    for (int x = 0; x < out->width; ++x)
                        if (row[x >> 3] & (0x80 >> (x & 7))) m_expanded[y * out->width + x] = 255;
                }
                out->coverage = m_expanded.data();
                out->pitch = out->width;
                return true;
            }
            break;
        default:
            break;
    }
    reportUnhandled("glyph bitmap mode", bitmap.pixel_mode);
    // Keep the pen movement but draw no box.
    out->width = out->height = 0;
    return true;
}

}  // namespace d3dxfont
