#include "HudArt.h"

#include "Font.h"
#include "Layout.h"
#include "Palette.h"
#include "Shapes.h"
#include "UiKit.h"

#include <cmath>

namespace hud {

using namespace layout;

Image paintGlyph(char ch) {
    const int size = 32;
    Image img(size, size);
    const Font& font = Font::get("DejaVu Sans", "Bold");
    // Digits 21 texels high (10.5 pixels on the HUD); DejaVu's digits are
    // 0.729 em high and 0.696 em wide, so one lands on the 10-unit pitch.
    const float em = 21.0f / 0.729f;
    std::string s(1, ch);
    Mask glyph(size, size);
    float advance = font.measure(s, em);
    font.render(glyph, s, em, (size - advance) * 0.5f, size * 0.5f + 10.5f);
    fillMask(img, shifted(blurred(glyph, 1.2f), 0, 1), solid(palette::ink()), 0.6f);
    fillMask(img, dilated(glyph, 1.5f), solid(palette::ink()), 0.9f);
    fillMask(img, glyph, ui::creamFill(size * 0.5f - 10.5f, size * 0.5f + 10.5f));
    return img;
}

Image paintPanel() {
    Image img(kHudPanelW, kHudPanelH);
    auto px = [](float x) { return toPictureX(x, kHudPanelX, kHudPanelW); };
    auto py = [](float y) { return toPictureY(y, kHudPanelY, kHudPanelH); };
    // The visible panel keeps to the left 130 pixels: the board reaches
    // almost to x = -240 on the largest boards, and the rest stays clear.
    const float left = 10, right = 130, top = 28, bottom = 432;
    ui::panel(img, (left + right) * 0.5f, (top + bottom) * 0.5f, (right - left) * 0.5f, (bottom - top) * 0.5f,
              12, palette::panelEdge(), 0.88f);

    ui::TextStyle head;
    head.size = 17;
    head.fill = ui::amberFill(44, 58);
    head.outline = 1.2f;
    head.tracking = 1.5f;
    ui::text(img, "ZARVEL", (left + right) * 0.5f, 51, Align::Centre, head);

    auto divider = [&](float y) {
        fillShape(img, roundedRect((left + right) * 0.5f, y, 47, 0.5f, 0.5f), solid(palette::panelEdge()), 0.4f);
    };
    divider(74);

    ui::TextStyle label;
    label.size = 9.5f;
    label.fill = solid(palette::label());
    label.tracking = 0.8f;
    const float slotRight = px(kLeft + 35 + 7 * kDigitPitch) + 9;
    for (const NumberLine& line : kHudLines) {
        float x0 = px(line.firstX), y0 = py(line.y);
        Distance slot = roundedRect((x0 - 8 + slotRight) * 0.5f, y0, (slotRight - (x0 - 8)) * 0.5f, 11, 5);
        fillShape(img, slot, solid(palette::slot()), 0.85f);
        fillMask(img, strokeMask(img.width(), img.height(), grown(slot, -0.5f), 1.0f), solid(hexColor(0x3b4f8f)),
                 0.7f);
        ui::text(img, line.label, 22, y0 - 21, Align::Left, label);
    }
    // Group the lines: times, move counts, level; each divider sits between
    // one group's last slot (11 below its line) and the next label (21 above).
    divider((py(kHudLines[1].y) + 11 + py(kHudLines[2].y) - 26) * 0.5f);
    divider((py(kHudLines[4].y) + 11 + py(kHudLines[5].y) - 26) * 0.5f);
    return img;
}

Image paintSign(const std::string& title, const std::string& subtitle, bool warm) {
    Image img(512, 128);
    ui::panel(img, 256, 62, 236, 50, 22, warm ? palette::amber() : palette::blueLight(), 0.9f);
    ui::TextStyle big;
    big.size = 42;
    // Long titles shrink to keep clear of the plate's rounded ends.
    big.tracking = 1;
    while (ui::textWidth(title, big) > 400) big.size -= 1;
    big.fill = ui::amberFill(30, 62);
    big.outline = 2.2f;
    big.shadow = 2.5f;
    ui::text(img, title, 256, 47, Align::Centre, big);
    ui::TextStyle small;
    small.style = "Book";
    small.size = 15;
    small.fill = solid(palette::dimText());
    small.shadow = 1.2f;
    ui::text(img, subtitle, 256, 89, Align::Centre, small);
    return img;
}

Image paintRecordMark() {
    Image img(64, 32);
    Distance pill = roundedRect(32, 16, 22, 10, 10);
    Mask body = shapeMask(64, 32, pill);
    fillMask(img, shifted(blurred(body, 1.5f), 0, 1), solid(palette::ink()), 0.6f);
    fillMask(img, body, linear(0, 6, palette::amberLight(), 0, 26, palette::amberDeep()));
    fillMask(img, strokeMask(64, 32, grown(pill, -0.6f), 1.2f), solid(palette::cream()), 0.9f);
    ui::TextStyle st;
    st.size = 11;
    st.fill = solid(hexColor(0x3a1a00));
    st.tracking = 0.5f;
    ui::text(img, "NEW!", 32, 16, Align::Centre, st);
    return img;
}

}  // namespace hud
