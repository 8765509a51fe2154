#include <cstring>

#include <d3dx9core.h>

#include "FaceMatch.h"
#include "FontObject.h"
#include "FontReport.h"

HRESULT WINAPI D3DXCreateFontIndirectA(IDirect3DDevice9* device, const D3DXFONT_DESCA* desc,
                                       LPD3DXFONT* font) {
    if (!device || !desc || !font) return D3DERR_INVALIDCALL;
    // Height 0 (GDI's "default size") and explicit widths are not available here.
    if (desc->Height == 0 || desc->Width != 0) {
        d3dxfont::reportUnhandled(desc->Height == 0 ? "font height" : "font width",
                                  desc->Height == 0 ? 0ul : desc->Width);
        return D3DERR_INVALIDCALL;
    }
    if (desc->CharSet != ANSI_CHARSET && desc->CharSet != DEFAULT_CHARSET) {
        d3dxfont::reportUnhandled("font character set", desc->CharSet);
        return D3DERR_INVALIDCALL;
    }

    D3DXFONT_DESCA kept = *desc;
    // The field holds 31 characters and the terminating zero; a name that
    // fills it is cut rather than read past its end.
    kept.FaceName[LF_FACESIZE - 1] = '\0';
    const size_t nameLength = std::strlen(kept.FaceName);
    std::memset(kept.FaceName + nameLength, 0, LF_FACESIZE - nameLength);

    d3dxfont::FaceFile face;
    if (!d3dxfont::matchFace(kept.FaceName, kept.Weight, kept.Italic != FALSE, &face))
        return E_FAIL;
    d3dxfont::FontObject* object = new d3dxfont::FontObject(device, kept);
    if (!object->open(face.path.c_str(), face.index)) {
        object->Release();
        return E_FAIL;
    }
    *font = object;
    return D3D_OK;
}
