// Where the game puts its screen pictures, in centred screen units (x right,
// y up, origin at the screen centre, one unit per pixel) for an 800 x 600
// back buffer. The HUD, menu and level-select code place these pictures;
// the pictures are drawn to line up with them.
#ifndef ARTGEN_LAYOUT_H
#define ARTGEN_LAYOUT_H

namespace layout {

constexpr int kScreenW = 800, kScreenH = 600;
// The HUD's left edge: -(width / 2).
constexpr float kLeft = -kScreenW / 2;

// HUD digits: 16 x 16 quads, one every 10 units along a line.
constexpr float kDigitPitch = 10;
constexpr float kDigitQuad = 16;

struct NumberLine {
    const char* label;
    float firstX;  // centre of the first character
    float y;
    int places;    // characters the panel leaves room for
};

// The six numbers of the HUD: elapsed time and best time as mm:ss:hh,
// then moves, par, best moves and the level number.
constexpr NumberLine kHudLines[6] = {
    {"TIME", kLeft + 35, 127, 8},   {"BEST TIME", kLeft + 35, 70, 8}, {"MOVES", kLeft + 65, 10, 5},
    {"PAR", kLeft + 65, -45, 5},    {"BEST MOVES", kLeft + 65, -100, 5}, {"LEVEL", kLeft + 70, -150, 2},
};

// The HUD background's centre: (128 - width / 2, 0), so a 256-wide panel
// starts at the left screen edge.
constexpr float kHudPanelX = 128 - kScreenW / 2, kHudPanelY = 0;
constexpr int kHudPanelW = 256, kHudPanelH = 512;

// New-record marks beside the time and the moves.
constexpr float kRecordX = kLeft + 100, kTimeRecordY = 150, kMovesRecordY = 30;

// Main menu pointer: x stays at -100; one height per menu line.
constexpr float kPointerX = -100;
constexpr float kMenuLineY[4] = {43, 14, -14, -43};

// Level select: digits scaled by 3 at y = -30, 40 apart.
constexpr float kLevelDigitsY = -30, kLevelDigitScale = 3, kLevelDigitPitch = 40;

// Pixel position in a picture centred at (cx, cy) of size w x h.
inline float toPictureX(float x, float cx, int w) { return x - (cx - w * 0.5f); }
inline float toPictureY(float y, float cy, int h) { return (cy + h * 0.5f) - y; }

}  // namespace layout

#endif
