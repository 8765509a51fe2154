// Building blocks of the interface pictures: panels, styled text lines,
// key caps and wrapped paragraphs, all in the shared palette.
#ifndef ARTGEN_UIKIT_H
#define ARTGEN_UIKIT_H

#include "Font.h"
#include "Image.h"

#include <string>
#include <vector>

namespace ui {

// A rounded, slightly translucent night-blue panel with a fine light edge
// and a soft shadow underneath. Centre, half extents and radius in pixels.
void panel(Image& img, float cx, float cy, float hw, float hh, float radius, const Rgba& edge,
           float opacity = 0.9f);

struct TextStyle {
    const char* style = "Bold";  // DejaVu Sans style
    float size = 14;
    Paint fill = solid(Rgba{1, 1, 1, 1});
    float outline = 0;          // pixels of dark edge around the glyphs
    float outlineAlpha = 0.9f;
    float shadow = 0;           // blur of a dark shadow one pixel below, 0 = none
    float shadowAlpha = 0.6f;
    float tracking = 0;
};

// One line of text, capitals centred on y, placed by align at x.
void text(Image& img, const std::string& utf8, float x, float y, Align align, const TextStyle& st);
float textWidth(const std::string& utf8, const TextStyle& st);

// Splits text into lines no wider than maxWidth.
std::vector<std::string> wrap(const std::string& text, float maxWidth, const TextStyle& st);

// A key cap: the key's name in a rounded outline; returns its width.
float keyCap(Image& img, const std::string& key, float x, float y, float size);
float keyCapWidth(const std::string& key, float size);

// A centred line of key caps and words: items starting with '[' are keys.
void hintLine(Image& img, const std::vector<std::string>& items, float cx, float cy, float size);

// Vertical gradient paints for headings.
Paint amberFill(float top, float bottom);
Paint creamFill(float top, float bottom);

}  // namespace ui

#endif
