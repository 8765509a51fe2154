#include "DX_Text.h"

#include <cstring>

#include "DX_D3DWrapper.h"
#include "QNMemory.h"

CDX_Text* CDX_Text::s_instance = nullptr;

namespace {
const char* const kDefaultFace = "Comic Sans MS";
}  // namespace

CDX_Text::CDX_Text() : m_pFont(nullptr) {}

CDX_Text::~CDX_Text() {}

CDX_Text* CDX_Text::getInstance() {
    if (!s_instance) {
        setOwner(__FILE__, __LINE__, "??");
        s_instance = new CDX_Text;
    }
    return s_instance;
}

QNRESULT CDX_Text::destroyInstance() {
    if (!s_instance) return QNRSLT_OK;
    if (s_instance->m_pFont) {
        s_instance->m_pFont->Release();
        s_instance->m_pFont = nullptr;
    }
    setOwner(__FILE__, __LINE__, "??");
    delete s_instance;
    s_instance = nullptr;
    return QNRSLT_OK;
}

QNRESULT CDX_Text::initialize(const char* a_faceName) {
    // A second initialize replaces the font rather than leaking the first.
    if (m_pFont) {
        m_pFont->Release();
        m_pFont = nullptr;
    }

    D3DXFONT_DESCA desc;
    std::memset(&desc, 0, sizeof desc);
    desc.Height = 16;
    desc.Width = 0;
    desc.Weight = FW_NORMAL;
    desc.MipLevels = D3DX_DEFAULT;
    desc.Italic = FALSE;
    desc.CharSet = DEFAULT_CHARSET;
    desc.OutputPrecision = OUT_DEFAULT_PRECIS;
    desc.Quality = PROOF_QUALITY;
    desc.PitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    // The field holds 31 characters and the terminating zero; longer names
    // are cut, and the rest of the field stays zero.
    std::strncpy(desc.FaceName, a_faceName ? a_faceName : kDefaultFace, LF_FACESIZE - 1);

    IDirect3DDevice9* device = CDX_D3DWrapper::getInstance()->getDevice();
    if (FAILED(D3DXCreateFontIndirectA(device, &desc, &m_pFont))) {
        m_pFont = nullptr;
        return logResult(QNRSLT_D3DFAILED, "CDX_Text::initialize( )", a_faceName, 0);
    }
    return QNRSLT_OK;
}

QNRESULT CDX_Text::drawText(const char* a_text, const float* a_position, int a_r, int a_g, int a_b,
                            int a_a, DWORD a_format) {
    if (!a_text || !a_position)
        return logResult(QNRSLT_INVALIDPARAM, "CDX_Text::drawText( )", nullptr, 0);
    // Without a font (its creation failure is already in the log) there is
    // nothing to draw; reporting every frame would flood the log.
    if (!m_pFont) return QNRSLT_OK;

    const CDX_D3DWrapper* wrapper = CDX_D3DWrapper::getInstance();
    RECT rect;
    rect.left = static_cast<LONG>(a_position[0]);
    rect.top = static_cast<LONG>(a_position[1]);
    rect.right = static_cast<LONG>(wrapper->getWidth());
    rect.bottom = static_cast<LONG>(wrapper->getHeight());

    const D3DCOLOR color = (static_cast<DWORD>(a_a & 0xFF) << 24) |
                           (static_cast<DWORD>(a_r & 0xFF) << 16) |
                           (static_cast<DWORD>(a_g & 0xFF) << 8) | static_cast<DWORD>(a_b & 0xFF);
    m_pFont->DrawTextA(nullptr, a_text, -1, &rect, a_format, color);
    return QNRSLT_OK;
}
