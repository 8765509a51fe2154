#include "UiKit.h"

#include "Palette.h"
#include "Shapes.h"

#include <cmath>
#include <sstream>

namespace ui {

void panel(Image& img, float cx, float cy, float hw, float hh, float radius, const Rgba& edge,
           float opacity) {
    const int w = img.width(), h = img.height();
    Distance shape = roundedRect(cx, cy, hw, hh, radius);
    Mask body = shapeMask(w, h, shape);
    // Kept within 8 pixels of the panel, so it fades out inside the picture.
    fillMask(img, shifted(blurred(body, 2.5f), 0, 2), solid(palette::ink()), 0.55f);
    fillMask(img, body, linear(0, cy - hh, palette::panelTop(), 0, cy + hh, palette::panelBottom()),
             opacity);
    // A faint sheen that fades out towards the middle.
    fillMask(img, body, linear(0, cy - hh, hexColor(0x9fb8ff, 0.10f), 0, cy, hexColor(0x9fb8ff, 0.0f)));
    fillMask(img, strokeMask(w, h, grown(shape, -0.75f), 1.5f), solid(edge), 0.75f);
}

void text(Image& img, const std::string& utf8, float x, float y, Align align, const TextStyle& st) {
    const Font& font = Font::get("DejaVu Sans", st.style);
    Mask glyphs = textMask(img.width(), img.height(), font, utf8, st.size, x, y, align, st.tracking);
    if (st.shadow > 0)
        fillMask(img, shifted(blurred(glyphs, st.shadow), 0, static_cast<int>(std::ceil(st.shadow))),
                 solid(palette::ink()), st.shadowAlpha);
    if (st.outline > 0) fillMask(img, dilated(glyphs, st.outline), solid(palette::ink()), st.outlineAlpha);
    fillMask(img, glyphs, st.fill);
}

float textWidth(const std::string& utf8, const TextStyle& st) {
    return Font::get("DejaVu Sans", st.style).measure(utf8, st.size, st.tracking);
}

std::vector<std::string> wrap(const std::string& text, float maxWidth, const TextStyle& st) {
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word, line;
    while (words >> word) {
        std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && textWidth(candidate, st) > maxWidth) {
            lines.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

float keyCapWidth(const std::string& key, float size) {
    TextStyle st;
    st.size = size;
    return std::max(textWidth(key, st) + size * 0.9f, size * 1.7f);
}

float keyCap(Image& img, const std::string& key, float x, float y, float size) {
    float width = keyCapWidth(key, size);
    float hh = size * 0.85f;
    Distance cap = roundedRect(x + width * 0.5f, y, width * 0.5f, hh, size * 0.35f);
    fillShape(img, cap, solid(hexColor(0x26356b)), 0.85f);
    fillMask(img, strokeMask(img.width(), img.height(), grown(cap, -0.5f), 1.0f), solid(palette::label()),
             0.8f);
    TextStyle st;
    st.size = size;
    st.fill = solid(palette::text());
    text(img, key, x + width * 0.5f, y, Align::Centre, st);
    return width;
}

void hintLine(Image& img, const std::vector<std::string>& items, float cx, float cy, float size) {
    TextStyle words;
    words.style = "Book";
    words.size = size;
    words.fill = solid(palette::dimText());
    words.shadow = 1.2f;
    const float gap = size * 0.45f, groupGap = size * 1.6f;
    auto isKey = [](const std::string& s) { return !s.empty() && s[0] == '['; };
    auto keyName = [](const std::string& s) { return s.substr(1, s.size() - 2); };
    // Measure first to centre the whole line.
    float total = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        total += isKey(items[i]) ? keyCapWidth(keyName(items[i]), size * 0.85f) : textWidth(items[i], words);
        if (i + 1 < items.size()) total += (!isKey(items[i]) && isKey(items[i + 1])) ? groupGap : gap;
    }
    float x = cx - total * 0.5f;
    for (size_t i = 0; i < items.size(); ++i) {
        if (isKey(items[i])) {
            x += keyCap(img, keyName(items[i]), x, cy, size * 0.85f);
        } else {
            text(img, items[i], x, cy, Align::Left, words);
            x += textWidth(items[i], words);
        }
        if (i + 1 < items.size()) x += (!isKey(items[i]) && isKey(items[i + 1])) ? groupGap : gap;
    }
}

Paint amberFill(float top, float bottom) {
    return [=](float, float y) {
        float t = (y - top) / (bottom - top);
        return t < 0.5f ? mix(palette::amberLight(), palette::amber(), t * 2)
                        : mix(palette::amber(), palette::amberDeep(), (t - 0.5f) * 2);
    };
}

Paint creamFill(float top, float bottom) {
    return linear(0, top, hexColor(0xffffff), 0, bottom, hexColor(0xffe6b8));
}

}  // namespace ui
