#include "FontObject.h"

#include <cstdlib>
#include <cstring>

#include "CodePage.h"
#include "FontReport.h"

namespace d3dxfont {

namespace {

int nextPowerOfTwo(int v) {
    int p = 1;
    while (p < v) p *= 2;
    return p;
}

int clampInt(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

constexpr int kMaxAtlasSize = 4096;

// Sixteen cells to a row holds most of a code page in a few shelves.
int atlasWidthFor(const D3DXFONT_DESCA& desc) {
    const int cell = std::abs(desc.Height) + 2;
    return clampInt(nextPowerOfTwo(cell * 16), 128, kMaxAtlasSize);
}

int atlasStartHeightFor(const D3DXFONT_DESCA& desc) {
    const int cell = std::abs(desc.Height) + 2;
    return clampInt(nextPowerOfTwo(cell * 2), 32, kMaxAtlasSize);
}

}  // namespace

FontObject::FontObject(IDirect3DDevice9* device, const D3DXFONT_DESCA& desc)
    : m_device(device),
      m_desc(desc),
      m_atlas(atlasWidthFor(desc), atlasStartHeightFor(desc), kMaxAtlasSize) {
    m_device->AddRef();
    m_quads.reserve(64);
    m_vertices.reserve(64 * 6);
}

FontObject::~FontObject() {
    if (m_texture) m_texture->Release();
    m_device->Release();
}

bool FontObject::open(const char* path, int index) {
    FaceStyle style;
    style.height = m_desc.Height;
    style.mono = m_desc.Quality == NONANTIALIASED_QUALITY;
    style.bold = m_desc.Weight >= FW_SEMIBOLD;
    style.italic = m_desc.Italic != FALSE;
    if (!m_raster.open(path, index, style)) return false;
    m_facePath = path;
    return true;
}

ULONG FontObject::AddRef() { return ++m_refs; }

ULONG FontObject::Release() {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

HRESULT FontObject::GetDevice(IDirect3DDevice9** device) {
    if (!device) return D3DERR_INVALIDCALL;
    m_device->AddRef();
    *device = m_device;
    return D3D_OK;
}

HRESULT FontObject::GetDescA(D3DXFONT_DESCA* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = m_desc;
    return D3D_OK;
}

const GlyphBox* FontObject::glyph(unsigned char c) {
    if (const GlyphBox* cached = m_atlas.find(c)) return cached;
    GlyphImage image;
    GlyphBox box;
    if (m_raster.render(codePointFromAnsi(c), &image)) {
        box.advance = image.advance;
        box.left = image.left;
        box.top = image.top;
        box.width = image.width;
        box.height = image.height;
    } else {
        // Cached as blank so a failing byte costs one attempt, not one per draw.
        reportUnhandled("glyph FreeType cannot render, byte", c);
    }
    if (!m_atlas.store(c, box, image.coverage, image.pitch))
        reportUnhandled("glyph too large for the atlas, byte", c);
    return m_atlas.find(c);
}

bool FontObject::_upload() {
    if (m_texture && !m_atlas.dirty() && m_textureHeight == m_atlas.height()) return true;
    if (!m_texture || m_textureHeight != m_atlas.height()) {
        if (m_texture) m_texture->Release();
        m_texture = nullptr;
        if (FAILED(m_device->CreateTexture(m_atlas.width(), m_atlas.height(), 1, 0, D3DFMT_A8R8G8B8,
                                           D3DPOOL_MANAGED, &m_texture, nullptr))) {
            m_texture = nullptr;
            return false;
        }
        m_textureHeight = m_atlas.height();
    }
    D3DLOCKED_RECT locked;
    if (FAILED(m_texture->LockRect(0, &locked, nullptr, 0))) return false;
    const uint8_t* src = m_atlas.image();
    for (int y = 0; y < m_atlas.height(); ++y) {
        DWORD* row =
            reinterpret_cast<DWORD*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch);
        for (int x = 0; x < m_atlas.width(); ++x)
            row[x] = (static_cast<DWORD>(*src++) << 24) | 0x00FFFFFFu;
    }
    m_texture->UnlockRect(0);
    m_atlas.clearDirty();
    return true;
}

void FontObject::_draw(D3DCOLOR color) {
    const float invW = 1.0f / static_cast<float>(m_atlas.width());
    const float invH = 1.0f / static_cast<float>(m_atlas.height());
    m_vertices.resize(m_quads.size() * 6);
    TextVertex* v = m_vertices.data();
    for (const TextQuad& q : m_quads) {
        // Pixel centres lie on integer coordinates: edges half a pixel off
        // map each texel onto exactly one pixel.
        const float x0 = static_cast<float>(q.x) - 0.5f;
        const float y0 = static_cast<float>(q.y) - 0.5f;
        const float x1 = x0 + static_cast<float>(q.w);
        const float y1 = y0 + static_cast<float>(q.h);
        const float u0 = static_cast<float>(q.u) * invW;
        const float v0 = static_cast<float>(q.v) * invH;
        const float u1 = static_cast<float>(q.u + q.w) * invW;
        const float v1 = static_cast<float>(q.v + q.h) * invH;
        const TextVertex corners[6] = {
            {x0, y0, 0.0f, 1.0f, color, u0, v0}, {x1, y0, 0.0f, 1.0f, color, u1, v0},
            {x0, y1, 0.0f, 1.0f, color, u0, v1}, {x1, y0, 0.0f, 1.0f, color, u1, v0},
            {x1, y1, 0.0f, 1.0f, color, u1, v1}, {x0, y1, 0.0f, 1.0f, color, u0, v1},
        };
        std::memcpy(v, corners, sizeof corners);
        v += 6;
    }
    m_state.apply(m_device, m_texture);
    m_device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(m_quads.size() * 2),
                              m_vertices.data(), sizeof(TextVertex));
    m_state.restore(m_device);
}

INT FontObject::DrawTextA(LPD3DXSPRITE sprite, LPCSTR text, INT count, LPRECT rect, DWORD format,
                          D3DCOLOR color) {
    if (sprite) {
        reportUnhandled("DrawTextA with a sprite (not available here)", 1);
        return 0;
    }
    if (!text || !rect || count == 0) return 0;
    const DWORD unsupported = format & ~static_cast<DWORD>(DT_NOCLIP | DT_CALCRECT);
    if (unsupported) {
        reportUnhandled("DrawTextA format flags", unsupported);
        return 0;
    }

    const bool measureOnly = (format & DT_CALCRECT) != 0;
    const LayoutRequest request{
        text, count, *rect, (format & DT_NOCLIP) == 0, m_raster.ascent(), m_raster.lineHeight()};
    m_quads.clear();
    const LayoutExtent extent = layoutText(request, *this, measureOnly ? nullptr : &m_quads);
    const INT height = extent.lines * m_raster.lineHeight();
    if (measureOnly) {
        rect->right = rect->left + extent.width;
        rect->bottom = rect->top + height;
        return height;
    }
    if (!m_quads.empty() && _upload()) _draw(color);
    return height;
}

}  // namespace d3dxfont
