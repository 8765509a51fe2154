#include "DX_Texture.h"

#include <cstring>

#include "DX_D3DWrapper.h"
#include "QNMemory.h"

CDX_Texture::CDX_Texture() : m_pTexture(nullptr), m_name(nullptr), m_id(-1) {
    std::memset(&m_imageInfo, 0, sizeof m_imageInfo);
}

CDX_Texture::~CDX_Texture() {
    if (m_pTexture) {
        m_pTexture->Release();
        m_pTexture = nullptr;
    }
    if (m_name) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] m_name;
        m_name = nullptr;
    }
}

QNRESULT CDX_Texture::loadTexture(const char* name, int32_t id) {
    if (!name || id < 0)
        return logResult(QNRSLT_INVALIDPARAM, "CDX_Texture::loadTexture( )", nullptr, 0);
    IDirect3DDevice9* device = CDX_D3DWrapper::getInstance()->getDevice();
    // Without a device there is nothing to create the texture on; that is the
    // same failure as a file Direct3D cannot read.
    if (!device || FAILED(D3DXCreateTextureFromFileA(device, name, &m_pTexture))) {
        m_pTexture = nullptr;
        return logResult(QNRSLT_D3DFAILED, "CDX_Texture::loadTexture( )", name, 0);
    }
    size_t n = std::strlen(name) + 1;
    if (m_name) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] m_name;
    }
    setOwner(__FILE__, __LINE__, "??");
    m_name = new char[n];
    std::memcpy(m_name, name, n);
    m_id = id;
    if (FAILED(D3DXGetImageInfoFromFileA(name, &m_imageInfo)))
        return logResult(QNRSLT_D3DFAILED, "CDX_Texture::loadTexture( )", nullptr, 0);
    return QNRSLT_OK;
}
