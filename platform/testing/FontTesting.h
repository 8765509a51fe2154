// Test hooks of the D3DX font (platform/d3dx9/font). The game never calls them.
#ifndef ZV_PLATFORM_FONT_TESTING_H
#define ZV_PLATFORM_FONT_TESTING_H

#include <d3dx9core.h>

namespace zvtest {

// The font file fontconfig matched for a font made by
// D3DXCreateFontIndirectA ("" for any other object).
const char* fontFacePath(ID3DXFont* font);
// The size of its glyph atlas in texels (0 for any other object).
int fontAtlasWidth(ID3DXFont* font);
int fontAtlasHeight(ID3DXFont* font);

}  // namespace zvtest

#endif
