// The byte-to-character mapping of the ANSI font functions.
#ifndef ZV_D3DX9_FONT_CODEPAGE_H
#define ZV_D3DX9_FONT_CODEPAGE_H

#include <cstdint>

namespace d3dxfont {

// Windows-1252 (the ANSI code page of Western Windows, which DEFAULT_CHARSET
// selects there): Latin-1 except 0x80 to 0x9F; the five bytes 1252 leaves
// undefined map to the C1 controls of the same value, as Windows does.
uint32_t codePointFromAnsi(unsigned char c);

}  // namespace d3dxfont

#endif
