// The HUD's pictures: digits and colon (shared with the level select), the
// panel with its labels, the get-ready and completed signs and the
// new-record mark.
#ifndef ARTGEN_HUDART_H
#define ARTGEN_HUDART_H

#include "Image.h"

#include <string>

namespace hud {

// 32 x 32, drawn as 16 x 16 quads (twice the resolution keeps the level
// select's threefold digits sharp). ch is '0'..'9' or ':'.
Image paintGlyph(char ch);
// 256 x 512, its left edge on the screen's left edge.
Image paintPanel();
// 512 x 128 signs.
Image paintSign(const std::string& title, const std::string& subtitle, bool warm);
// 64 x 32 "NEW!" badge.
Image paintRecordMark();

}  // namespace hud

#endif
