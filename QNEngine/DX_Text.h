// Plain screen text in one font for the whole run: the engine's diagnostic
// overlays (frame rate, particle count).
#ifndef DX_TEXT_H
#define DX_TEXT_H

#include <d3dx9.h>

#include "QNResults.h"

class CDX_Text {
public:
    virtual ~CDX_Text();

    static CDX_Text* getInstance();
    // Releases the font and deletes the instance. Always QNRSLT_OK.
    static QNRESULT destroyInstance();

    // Creates the font (cell height 16, normal weight) on the wrapper's
    // device, with `a_faceName` or "Comic Sans MS" when null; names longer
    // than 31 characters are cut. QNRSLT_D3DFAILED (reported) when the font
    // cannot be made; drawText then draws nothing.
    QNRESULT initialize(const char* a_faceName);

    // Draws zero-terminated `a_text` from `a_position` (x, y in pixels,
    // truncated) to the lower-right corner of the back buffer, in the colour
    // given by the low 8 bits of each component, with DT_* `a_format` flags.
    // Must be called between the device's BeginScene and EndScene.
    // QNRSLT_INVALIDPARAM (reported) for a null text or position.
    QNRESULT drawText(const char* a_text, const float* a_position, int a_r, int a_g, int a_b,
                      int a_a, DWORD a_format);

    ID3DXFont* m_pFont;

private:
    CDX_Text();

    static CDX_Text* s_instance;
};

#endif
