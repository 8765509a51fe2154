// The colours every picture shares: a night-blue interface, warm amber for
// the block's sun face and cool blue for its star face. The two faces also
// differ in lightness and in symbol, so they stay apart without colour.
#ifndef ARTGEN_PALETTE_H
#define ARTGEN_PALETTE_H

#include "Image.h"

namespace palette {

inline Rgba ink() { return hexColor(0x070b1c); }           // outlines and shadows
inline Rgba panelTop() { return hexColor(0x1d2b58); }
inline Rgba panelBottom() { return hexColor(0x111a3c); }
inline Rgba panelEdge() { return hexColor(0x6f8fd8); }
inline Rgba slot() { return hexColor(0x080d22); }           // wells behind numbers
inline Rgba label() { return hexColor(0xa9bde6); }
inline Rgba text() { return hexColor(0xf4f1e8); }
inline Rgba dimText() { return hexColor(0xc3cde6); }
inline Rgba amber() { return hexColor(0xffb547); }
inline Rgba amberLight() { return hexColor(0xffd98a); }
inline Rgba amberDeep() { return hexColor(0xe07a12); }
inline Rgba blue() { return hexColor(0x3d8ef5); }
inline Rgba blueLight() { return hexColor(0x8cc4ff); }
inline Rgba blueDeep() { return hexColor(0x1c4fc2); }
inline Rgba cream() { return hexColor(0xfff4dc); }
inline Rgba ice() { return hexColor(0xeaf4ff); }
inline Rgba pearl() { return hexColor(0xeee8dc); }
inline Rgba pearlShade() { return hexColor(0xc9c0ae); }

}  // namespace palette

namespace fonts {

inline const char* sans() { return "DejaVu Sans"; }
inline const char* bold() { return "Bold"; }
inline const char* book() { return "Book"; }

}  // namespace fonts

#endif
