// Text rendered into coverage masks with FreeType, from faces found by name
// through fontconfig. Only the exact family and style asked for is used:
// a substitute face would make the pictures differ from machine to machine.
#ifndef ARTGEN_FONT_H
#define ARTGEN_FONT_H

#include "Image.h"

#include <string>

struct FT_FaceRec_;

class Font {
public:
    // The face of that family and style; ends the program with a message
    // when fontconfig has no such face installed.
    static const Font& get(const char* family, const char* style);

    // Advance width of the text in pixels at the given pixel size, with
    // `tracking` extra pixels after every glyph but the last.
    float measure(const std::string& utf8, float size, float tracking = 0) const;
    // Adds the text's coverage to the mask, the pen starting at x on the
    // baseline y.
    void render(Mask& m, const std::string& utf8, float size, float x, float baseline,
                float tracking = 0) const;
    // Height of capital letters (of "H") at the size, in pixels.
    float capHeight(float size) const;
    const std::string& file() const { return m_file; }

private:
    Font(FT_FaceRec_* face, std::string file) : m_face(face), m_file(std::move(file)) {}
    void setSize(float size) const;

    FT_FaceRec_* m_face;
    std::string m_file;
};

enum class Align { Left, Centre, Right };

// Convenience: a mask of the image's size holding one line of text, placed
// by `align` relative to x, its capitals vertically centred on y.
Mask textMask(int w, int h, const Font& font, const std::string& utf8, float size, float x,
              float y, Align align, float tracking = 0);

#endif
