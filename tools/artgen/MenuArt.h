// Pictures of the main menu, the level select and the mouse cursor, and
// the particle sparkle.
#ifndef ARTGEN_MENUART_H
#define ARTGEN_MENUART_H

#include "Image.h"

#include <string>

namespace menu {

// 512 x 128: the game's name and a one-line promise of what it is.
Image paintTitle();
// 256 x 64: one menu line, its text starting 8 pixels from the left edge
// and its capitals centred on the middle row.
Image paintMenuLine(const std::string& text);
// 32 x 32: the pointer, a right-pointing arrow head whose tip is at x = 24.
Image paintPointer();
// 256 x 512 panels.
Image paintOptions();
Image paintCredits();
// 512 x 32: key hints under the menu and the level select.
Image paintMenuHint();
Image paintLevelSelectHint();
// 512 x 64 heading and 256 x 128 plate behind the level number.
Image paintLevelSelectTitle();
Image paintLevelPlate();
// 64 x 64: an arrow whose tip is at the picture's centre (the level sets
// the cursor picture's centre to the mouse position).
Image paintCursor();
// 64 x 64 white sparkle whose alpha is its brightness.
Image paintSparkle();

}  // namespace menu

#endif
