// Once-only reports of font corners this layer does not implement, so an
// unexpected flag or glyph format is visible without flooding the output.
#ifndef ZV_D3DX9_FONT_FONTREPORT_H
#define ZV_D3DX9_FONT_FONTREPORT_H

namespace d3dxfont {

// Writes "d3dx9 font: unhandled <what> <value>" to stderr the first time a
// given (what, value) pair is seen.
void reportUnhandled(const char* what, unsigned long value);

}  // namespace d3dxfont

#endif
