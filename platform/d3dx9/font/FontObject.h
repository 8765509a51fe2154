// ID3DXFont on this platform: a FreeType face, its glyph atlas mirrored in
// one A8R8G8B8 texture of the device (white, coverage in alpha), and text
// drawn as pre-transformed quads with DrawPrimitiveUP.
#ifndef ZV_D3DX9_FONT_FONTOBJECT_H
#define ZV_D3DX9_FONT_FONTOBJECT_H

#include <string>
#include <vector>

#include <d3dx9core.h>

#include "FaceRasterizer.h"
#include "FontDeviceState.h"
#include "GlyphAtlas.h"
#include "TextLayout.h"

namespace d3dxfont {

class FontObject final : public ID3DXFont, private GlyphSource {
public:
    // Holds a reference on `device`. `desc` must already be validated.
    FontObject(IDirect3DDevice9* device, const D3DXFONT_DESCA& desc);

    // Opens the face file; false when FreeType cannot use it.
    bool open(const char* path, int index);
    const std::string& facePath() const { return m_facePath; }
    const GlyphAtlas& atlas() const { return m_atlas; }

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetDevice(IDirect3DDevice9** device) override;
    HRESULT GetDescA(D3DXFONT_DESCA* desc) override;
    INT DrawTextA(LPD3DXSPRITE sprite, LPCSTR text, INT count, LPRECT rect, DWORD format,
                  D3DCOLOR color) override;

private:
    ~FontObject() override;

    const GlyphBox* glyph(unsigned char c) override;
    // Mirrors the atlas into the texture when it changed; false on a device failure.
    bool _upload();
    void _draw(D3DCOLOR color);

    ULONG m_refs = 1;
    IDirect3DDevice9* m_device;
    D3DXFONT_DESCA m_desc;
    std::string m_facePath;
    FaceRasterizer m_raster;
    GlyphAtlas m_atlas;
    IDirect3DTexture9* m_texture = nullptr;
    int m_textureHeight = 0;
    // Kept between calls so drawing cached glyphs never allocates.
    std::vector<TextQuad> m_quads;
    std::vector<TextVertex> m_vertices;
    FontDeviceState m_state;
};

}  // namespace d3dxfont

#endif
