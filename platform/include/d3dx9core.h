// The D3DX 9 font subset: a font made from a GDI-style description and text
// drawn with it on a device. Names, types and constant values are those of
// the DirectX and Windows SDKs.
//
// On this platform the face is found by name through fontconfig (an unknown
// name falls back to fontconfig's closest match, as GDI's font mapper does)
// and glyphs are rendered with FreeType into a texture of the device.
#ifndef ZV_PLATFORM_D3DX9CORE_H
#define ZV_PLATFORM_D3DX9CORE_H

#include <d3d9.h>

#ifndef D3DX_DEFAULT
#define D3DX_DEFAULT ((UINT)-1)
#endif

// --- wingdi.h values of the font description -------------------------------
// Here rather than in windows.h: only the font uses them on this platform.
#ifndef LF_FACESIZE
#define LF_FACESIZE 32
#endif

#ifndef FW_DONTCARE
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_EXTRALIGHT 200
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_REGULAR 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_EXTRABOLD 800
#define FW_HEAVY 900
#endif

#ifndef ANSI_CHARSET
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#endif

#ifndef OUT_DEFAULT_PRECIS
#define OUT_DEFAULT_PRECIS 0
#define OUT_TT_PRECIS 4
#endif

#ifndef DEFAULT_QUALITY
#define DEFAULT_QUALITY 0
#define DRAFT_QUALITY 1
#define PROOF_QUALITY 2
#define NONANTIALIASED_QUALITY 3
#define ANTIALIASED_QUALITY 4
#define CLEARTYPE_QUALITY 5
#endif

#ifndef DEFAULT_PITCH
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#endif

#ifndef FF_DONTCARE
#define FF_DONTCARE (0 << 4)
#define FF_ROMAN (1 << 4)
#define FF_SWISS (2 << 4)
#define FF_MODERN (3 << 4)
#define FF_SCRIPT (4 << 4)
#define FF_DECORATIVE (5 << 4)
#endif

// --- winuser.h DrawText format flags ---------------------------------------
// This layer draws DT_TOP | DT_LEFT (0) text, optionally with DT_NOCLIP, and
// measures with DT_CALCRECT. Every other flag is refused (DrawTextA returns 0
// and draws nothing); the values are here so callers compile and can be told.
#ifndef DT_TOP
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_TABSTOP 0x00000080
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_INTERNAL 0x00001000
#define DT_RTLREADING 0x00020000
#endif

// --- The font ------------------------------------------------------------------
typedef struct _D3DXFONT_DESCA {
    // < 0: the character (em) height in pixels; > 0: the cell height
    // (ascent + descent) in pixels, as GDI reads it; 0 is refused here.
    INT Height;
    // 0 only on this platform (the width follows from the height).
    UINT Width;
    // FW_* (0 to 1000); picks the face's weight through fontconfig.
    UINT Weight;
    // Ignored: text is drawn texel for texel, so the glyph texture has one level.
    UINT MipLevels;
    BOOL Italic;
    // ANSI_CHARSET or DEFAULT_CHARSET (bytes are Windows-1252); others refused.
    BYTE CharSet;
    // Hints to the font mapper that this platform ignores.
    BYTE OutputPrecision;
    // NONANTIALIASED_QUALITY renders 1-bit glyphs; every other value antialiases.
    BYTE Quality;
    // Hint to the font mapper that this platform ignores.
    BYTE PitchAndFamily;
    // Zero-terminated within the field; a full field is read as 31 characters.
    CHAR FaceName[LF_FACESIZE];
} D3DXFONT_DESCA, *LPD3DXFONT_DESCA;
typedef D3DXFONT_DESCA D3DXFONT_DESC;

// Drawing through a caller's sprite batch is not available on this platform;
// the type exists for DrawTextA's signature.
class ID3DXSprite;
typedef ID3DXSprite* LPD3DXSPRITE;

class ID3DXFont : public IUnknown {
public:
    // The device the font draws on, with one reference added.
    virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
    // The description as the font holds it (face name cut to 31 characters).
    virtual HRESULT GetDescA(D3DXFONT_DESCA* desc) = 0;

    // Draws `count` bytes of `text` (-1: up to its terminating zero; drawing
    // also stops at a zero byte) in `rect` with `color` (0xAARRGGBB; alpha
    // scales the glyphs' coverage). Must be called between BeginScene and
    // EndScene. `sprite` must be null and `rect` non-null on this platform.
    //
    // Layout (format DT_TOP | DT_LEFT): lines split at "\r\n", '\n' or '\r';
    // the first line's cell starts at (rect->left, rect->top) and each line
    // is one cell height below the previous. Unless DT_NOCLIP is given,
    // glyphs whose pen position lies at or past rect->right are skipped and
    // glyph boxes are cropped to the rectangle. Glyph coverage is blended
    // SRCALPHA / INVSRCALPHA, unlit, without depth test or write, and every
    // device state the font changes is put back before the call returns.
    //
    // DT_CALCRECT draws nothing and sets rect->right and rect->bottom to
    // bound the text (right = left + the widest line's advance).
    //
    // Returns the height of the text (lines x cell height); 0 when nothing
    // could be laid out: null text or rect, count 0, a sprite, or a format
    // flag other than DT_NOCLIP and DT_CALCRECT.
    virtual INT DrawTextA(LPD3DXSPRITE sprite, LPCSTR text, INT count, LPRECT rect, DWORD format,
                          D3DCOLOR color) = 0;
};
typedef ID3DXFont* LPD3DXFONT;

// Creates a font on `device` from `desc`. On success *font holds one
// reference that the caller releases; the font holds one on the device.
// D3DERR_INVALIDCALL for null arguments or a description this platform does
// not take (Height 0, Width other than 0, another character set);
// E_FAIL when no face can be found or opened.
HRESULT WINAPI D3DXCreateFontIndirectA(IDirect3DDevice9* device, const D3DXFONT_DESCA* desc,
                                       LPD3DXFONT* font);

#define D3DXCreateFontIndirect D3DXCreateFontIndirectA

#endif
