#include "Font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace {

FT_Library library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) {
            std::fprintf(stderr, "artgen: FreeType did not start\n");
            std::exit(1);
        }
        return l;
    }();
    return lib;
}

std::vector<unsigned> decodeUtf8(const std::string& s) {
    std::vector<unsigned> out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        unsigned cp;
        int extra;
        if (c < 0x80) {
            cp = c, extra = 0;
        } else if ((c & 0xe0) == 0xc0) {
            cp = c & 0x1f, extra = 1;
        } else if ((c & 0xf0) == 0xe0) {
            cp = c & 0x0f, extra = 2;
        } else {
            cp = c & 0x07, extra = 3;
        }
        ++i;
        for (int k = 0; k < extra && i < s.size(); ++k, ++i)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3f);
        out.push_back(cp);
    }
    return out;
}

std::string matchFile(const char* family, const char* style) {
    FcInit();
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddString(pattern, FC_STYLE, reinterpret_cast<const FcChar8*>(style));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string file;
    bool exact = false;
    if (match) {
        FcChar8 *f = nullptr, *fam = nullptr, *sty = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &f) == FcResultMatch) file = reinterpret_cast<char*>(f);
        // A face may list several family and style names; any may match.
        bool famOk = false, styOk = false;
        for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &fam) == FcResultMatch; ++i)
            famOk = famOk || std::strcmp(reinterpret_cast<char*>(fam), family) == 0;
        for (int i = 0; FcPatternGetString(match, FC_STYLE, i, &sty) == FcResultMatch; ++i)
            styOk = styOk || std::strcmp(reinterpret_cast<char*>(sty), style) == 0;
        exact = famOk && styOk;
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    if (!exact || file.empty()) {
        std::fprintf(stderr, "artgen: font \"%s\" style \"%s\" is not installed (closest: %s)\n",
                     family, style, file.empty() ? "none" : file.c_str());
        std::exit(1);
    }
    return file;
}

}  // namespace

const Font& Font::get(const char* family, const char* style) {
    static std::map<std::string, std::unique_ptr<Font>> cache;
    std::string key = std::string(family) + "/" + style;
    auto it = cache.find(key);
    if (it != cache.end()) return *it->second;
    std::string file = matchFile(family, style);
    FT_Face face = nullptr;
    if (FT_New_Face(library(), file.c_str(), 0, &face) != 0) {
        std::fprintf(stderr, "artgen: cannot open %s\n", file.c_str());
        std::exit(1);
    }
    Font* font = new Font(face, file);
    cache[key].reset(font);
    return *font;
}

void Font::setSize(float size) const {
    FT_Set_Char_Size(m_face, 0, static_cast<FT_F26Dot6>(std::lround(size * 64)), 72, 72);
}

float Font::measure(const std::string& utf8, float size, float tracking) const {
    setSize(size);
    std::vector<unsigned> cps = decodeUtf8(utf8);
    float x = 0;
    FT_UInt prev = 0;
    for (size_t i = 0; i < cps.size(); ++i) {
        FT_UInt g = FT_Get_Char_Index(m_face, cps[i]);
        if (prev && g) {
            FT_Vector k;
            FT_Get_Kerning(m_face, prev, g, FT_KERNING_UNFITTED, &k);
            x += k.x / 64.0f;
        }
        if (FT_Load_Glyph(m_face, g, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) == 0)
            x += m_face->glyph->linearHoriAdvance / 65536.0f;
        if (i + 1 < cps.size()) x += tracking;
        prev = g;
    }
    return x;
}

void Font::render(Mask& m, const std::string& utf8, float size, float x, float baseline,
                  float tracking) const {
    setSize(size);
    std::vector<unsigned> cps = decodeUtf8(utf8);
    float pen = x;
    int base = static_cast<int>(std::lround(baseline));
    FT_UInt prev = 0;
    for (unsigned cp : cps) {
        FT_UInt g = FT_Get_Char_Index(m_face, cp);
        if (g == 0) {
            std::fprintf(stderr, "artgen: %s has no glyph U+%04X\n", m_file.c_str(), cp);
            std::exit(1);
        }
        if (prev) {
            FT_Vector k;
            FT_Get_Kerning(m_face, prev, g, FT_KERNING_UNFITTED, &k);
            pen += k.x / 64.0f;
        }
        // Light hinting snaps stems vertically only, so the fractional pen
        // position is kept by moving the outline before it is rendered.
        if (FT_Load_Glyph(m_face, g, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0) continue;
        FT_GlyphSlot slot = m_face->glyph;
        int whole = static_cast<int>(std::floor(pen));
        FT_Outline_Translate(&slot->outline, static_cast<FT_Pos>(std::lround((pen - whole) * 64)), 0);
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0) {
            const FT_Bitmap& bm = slot->bitmap;
            int ox = whole + slot->bitmap_left, oy = base - slot->bitmap_top;
            for (unsigned r = 0; r < bm.rows; ++r)
                for (unsigned c = 0; c < bm.width; ++c) {
                    int px = ox + static_cast<int>(c), py = oy + static_cast<int>(r);
                    if (px < 0 || py < 0 || px >= m.w || py >= m.h) continue;
                    float v = bm.buffer[r * bm.pitch + c] / 255.0f;
                    float& dst = m.at(px, py);
                    dst = dst + v - dst * v;
                }
        }
        pen += slot->linearHoriAdvance / 65536.0f + tracking;
        prev = g;
    }
}

float Font::capHeight(float size) const {
    setSize(size);
    FT_UInt g = FT_Get_Char_Index(m_face, 'H');
    if (FT_Load_Glyph(m_face, g, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) != 0) return size * 0.73f;
    return m_face->glyph->metrics.height / 64.0f;
}

Mask textMask(int w, int h, const Font& font, const std::string& utf8, float size, float x, float y,
              Align align, float tracking) {
    Mask m(w, h);
    float width = font.measure(utf8, size, tracking);
    float left = align == Align::Left ? x : (align == Align::Centre ? x - width * 0.5f : x - width);
    font.render(m, utf8, size, left, y + font.capHeight(size) * 0.5f, tracking);
    return m;
}
