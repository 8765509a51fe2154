#include "MenuArt.h"

#include "Palette.h"
#include "Shapes.h"
#include "UiKit.h"

#include <cmath>
#include <vector>

namespace menu {

namespace {

const float kPi = 3.14159265358979f;

// Small sun and star emblems, the two faces of a block.
void sunEmblem(Image& img, float cx, float cy, float r) {
    Distance sun = circle(cx, cy, r * 0.5f);
    for (int i = 0; i < 8; ++i) {
        float a = i * kPi / 4;
        sun = unite(sun, capsule(cx + r * 0.68f * std::sin(a), cy - r * 0.68f * std::cos(a),
                                 cx + r * std::sin(a), cy - r * std::cos(a), r * 0.09f));
    }
    Mask m = shapeMask(img.width(), img.height(), sun);
    fillMask(img, dilated(m, 1.2f), solid(palette::ink()), 0.8f);
    fillMask(img, m, radial(cx, cy, r, palette::amberLight(), palette::amber()));
}

void starEmblem(Image& img, float cx, float cy, float r) {
    Mask m = shapeMask(img.width(), img.height(), polygon(starPoints(cx, cy + r * 0.05f, r, r * 0.42f, 5, 0), 0.4f));
    fillMask(img, dilated(m, 1.2f), solid(palette::ink()), 0.8f);
    fillMask(img, m, radial(cx, cy, r, palette::blueLight(), palette::blue()));
}

ui::TextStyle heading(float size, float top, float bottom) {
    ui::TextStyle st;
    st.size = size;
    st.fill = ui::amberFill(top, bottom);
    st.outline = 1.4f;
    st.tracking = 1.2f;
    return st;
}

ui::TextStyle section() {
    ui::TextStyle st;
    st.size = 10;
    st.fill = solid(palette::label());
    st.tracking = 0.9f;
    return st;
}

ui::TextStyle body() {
    ui::TextStyle st;
    st.style = "Book";
    st.size = 11.5f;
    st.fill = solid(palette::dimText());
    return st;
}

ui::TextStyle strong(float size = 11.5f) {
    ui::TextStyle st;
    st.size = size;
    st.fill = solid(palette::text());
    return st;
}

}  // namespace

Image paintTitle() {
    Image img(512, 128);
    ui::TextStyle title;
    title.size = 66;
    title.fill = ui::amberFill(22, 76);
    title.outline = 3.0f;
    title.shadow = 4.0f;
    title.shadowAlpha = 0.7f;
    title.tracking = 4;
    ui::text(img, "ZARVEL", 256, 50, Align::Centre, title);
    ui::TextStyle tag;
    tag.style = "Book";
    tag.size = 15;
    tag.fill = solid(palette::label());
    tag.shadow = 1.5f;
    tag.tracking = 1.5f;
    ui::text(img, "flip the tiles  \xc2\xb7  match the faces", 256, 108, Align::Centre, tag);
    return img;
}

Image paintMenuLine(const std::string& text) {
    // Taller than the 28-unit line spacing so the shadow below descenders
    // fades out inside the picture; the rest is transparent.
    Image img(256, 64);
    ui::TextStyle st;
    st.size = 21;
    st.fill = ui::creamFill(24, 40);
    st.outline = 1.6f;
    st.shadow = 2.0f;
    st.tracking = 0.6f;
    ui::text(img, text, 8, 32, Align::Left, st);
    return img;
}

Image paintPointer() {
    Image img(32, 32);
    // A rounded, right-pointing arrow head with a notch: tip at (24, 16).
    std::vector<Pt> head = {{24, 16}, {8, 8}, {11.5f, 16}, {8, 24}};
    Mask m = shapeMask(32, 32, polygon(head, 1.2f));
    fillMask(img, shifted(blurred(m, 1.0f), 0, 1), solid(palette::ink()), 0.6f);
    fillMask(img, dilated(m, 1.2f), solid(palette::ink()), 0.85f);
    fillMask(img, m, linear(0, 8, palette::amberLight(), 0, 24, palette::amberDeep()));
    Mask shine = multiply(m, shapeMask(32, 32, polygon({{22, 15}, {10, 9.5f}, {12, 14}}, 0.5f)));
    fillMask(img, blurred(shine, 0.6f), solid(hexColor(0xffffff)), 0.45f);
    return img;
}

Image paintOptions() {
    Image img(256, 512);
    ui::panel(img, 128, 256, 116, 244, 14, palette::panelEdge(), 0.96f);
    ui::text(img, "OPTIONS", 128, 34, Align::Centre, heading(20, 26, 42));

    float y = 62;
    ui::text(img, "CONTROLS", 24, y, Align::Left, section());
    y += 18;
    const char* controls[][2] = {
        {"Click", "Flip a tile and its four neighbours"},
        {"\xe2\x86\x90\xe2\x86\x91\xe2\x86\x92\xe2\x86\x93", "Menu line, level, tile to flip"},
        {"Space", "Flip the highlighted tile"},
        {"Enter", "Take a line, start, go on"},
        {"Bksp", "Undo a flip (Ctrl+Z): a move"},
        {"H", "Hint: next tile, no record"},
        {"R", "Restart the level"},
        {"M", "Sound off or on"},
        {"Esc", "Back: level select, menu"},
        {"F1 F2", "Frame counter, screenshot"},
    };
    const float descX = 76, descW = 256 - descX - 16;
    for (auto& row : controls) {
        ui::keyCap(img, row[0], 24, y, 10);
        std::vector<std::string> lines = ui::wrap(row[1], descW, body());
        for (size_t i = 0; i < lines.size(); ++i) ui::text(img, lines[i], descX, y + i * 14, Align::Left, body());
        y += 14 * lines.size() + 7;
    }
    // The game controller, in words: its buttons have no key caps.
    y += 2;
    ui::text(img, "GAME CONTROLLER", 24, y, Align::Left, section());
    y += 16;
    for (const std::string& line : ui::wrap("D-pad or stick move, A flips or takes, B back, X undo, Y hint, Back restart",
                                            256 - 24 - 18, body())) {
        ui::text(img, line, 24, y, Align::Left, body());
        y += 14;
    }

    y += 8;
    ui::text(img, "CONFIGURATION FILE", 24, y, Align::Left, section());
    y += 15;
    ui::TextStyle path = body();
    path.size = 10;
    ui::text(img, "Assets/Scripts/Config/qnengine.cfg", 24, y, Align::Left, path);
    y += 17;
    const char* config[][2] = {
        {"[RESOLUTION] 800 600", "Window size"},
        {"[FULLSCREEN] TRUE", "Full screen"},
        {"[ENV_MAPS] FALSE", "No sheen"},
        {"[CDPLAYBACK] TRUE", "Music from CD"},
        {"[MUTE] TRUE", "No sound (M)"},
    };
    for (auto& row : config) {
        ui::TextStyle key = strong(10);
        key.fill = solid(palette::amberLight());
        ui::text(img, row[0], 24, y, Align::Left, key);
        ui::text(img, row[1], 232, y, Align::Right, path);
        y += 16;
    }
    return img;
}

Image paintCredits() {
    Image img(256, 512);
    ui::panel(img, 128, 256, 116, 244, 14, palette::panelEdge(), 0.96f);
    ui::text(img, "CREDITS", 128, 34, Align::Centre, heading(20, 26, 42));

    sunEmblem(img, 92, 84, 15);
    starEmblem(img, 164, 84, 16);
    ui::TextStyle name = heading(26, 112, 134);
    ui::text(img, "Zarvel", 128, 126, Align::Centre, name);
    ui::TextStyle centred = body();
    ui::text(img, "a puzzle of flipping tiles", 128, 150, Align::Centre, centred);

    float y = 188;
    auto block = [&](const char* title, const char* text) {
        ui::text(img, title, 128, y, Align::Centre, section());
        y += 18;
        for (const std::string& line : ui::wrap(text, 196, body())) {
            ui::text(img, line, 128, y, Align::Centre, body());
            y += 15;
        }
        y += 16;
    };
    block("ENGINE", "QNEngine, a small scene engine driven by plain-text scripts");
    block("MADE WITH", "SDL2, OpenGL, FreeType, fontconfig, libpng, libjpeg, zlib, SDL2_mixer and libcdio");
    block("TYPE", "DejaVu Sans");
    block("PICTURES, SOUND AND LEVELS", "Generated by the game's own tools");
    ui::TextStyle thanks = strong(13);
    thanks.fill = ui::creamFill(y - 6, y + 6);
    ui::text(img, "Thanks for playing!", 128, y + 8, Align::Centre, thanks);
    return img;
}

Image paintMenuHint() {
    Image img(512, 32);
    ui::hintLine(img, {"[\xe2\x86\x91]", "[\xe2\x86\x93]", "choose", "[Enter]", "select"}, 256, 16, 13);
    return img;
}

Image paintLevelSelectHint() {
    Image img(512, 32);
    ui::hintLine(img, {"[\xe2\x86\x90]", "[\xe2\x86\x92]", "choose a level", "[Enter]", "play", "[Esc]", "back"},
                 256, 16, 13);
    return img;
}

Image paintLevelSelectTitle() {
    Image img(512, 64);
    ui::TextStyle st = heading(34, 18, 46);
    st.outline = 2.4f;
    st.shadow = 3.0f;
    st.tracking = 3;
    ui::text(img, "SELECT LEVEL", 256, 32, Align::Centre, st);
    return img;
}

Image paintLevelPlate() {
    Image img(256, 128);
    ui::panel(img, 128, 64, 104, 52, 18, palette::panelEdge(), 0.8f);
    ui::TextStyle lab = section();
    lab.size = 11;
    lab.tracking = 2;
    ui::text(img, "LEVEL", 128, 27, Align::Centre, lab);
    // Chevrons for the arrow keys, level with the digits' centre.
    for (int side = -1; side <= 1; side += 2) {
        float cx = 128 + side * 82, cy = 72;
        std::vector<Pt> tri = {{cx + side * 9, cy}, {cx - side * 6, cy - 11}, {cx - side * 6, cy + 11}};
        Mask m = shapeMask(256, 128, polygon(tri, 1.5f));
        fillMask(img, dilated(m, 1.2f), solid(palette::ink()), 0.8f);
        fillMask(img, m, linear(0, cy - 12, palette::amberLight(), 0, cy + 12, palette::amberDeep()));
    }
    return img;
}

Image paintCursor() {
    Image img(64, 64);
    // Tip at the centre (32, 32); the arrow points up and to the left.
    std::vector<Pt> arrow = {{32, 32}, {32, 51}, {36.5f, 47}, {40, 54.5f}, {43, 53}, {39.5f, 45.5f}, {45.5f, 45}};
    Mask m = shapeMask(64, 64, polygon(arrow, 0.4f));
    fillMask(img, shifted(blurred(m, 1.5f), 1, 2), solid(palette::ink()), 0.55f);
    fillMask(img, dilated(m, 1.4f), solid(palette::ink()), 0.95f);
    fillMask(img, m, linear(0, 32, hexColor(0xffffff), 0, 56, palette::amberLight()));
    return img;
}

Image paintSparkle() {
    Image img(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            float dx = (x + 0.5f - 32) / 32, dy = (y + 0.5f - 32) / 32;
            float r2 = dx * dx + dy * dy;
            float glow = std::exp(-r2 / (2 * 0.16f * 0.16f)) * 0.9f + std::exp(-r2 / (2 * 0.38f * 0.38f)) * 0.25f;
            // Four thin rays that fade towards the edge.
            float ray = std::exp(-(dx * dx) / (2 * 0.03f * 0.03f)) * std::max(0.0f, 1 - std::fabs(dy)) +
                        std::exp(-(dy * dy) / (2 * 0.03f * 0.03f)) * std::max(0.0f, 1 - std::fabs(dx));
            float a = std::min(1.0f, glow + 0.6f * ray * ray);
            // Nothing may show at the quad's border.
            a *= std::max(0.0f, 1 - std::pow(std::sqrt(r2), 6.0f));
            img.set(x, y, Rgba{1, 1, 1, a});
        }
    return img;
}

}  // namespace menu
