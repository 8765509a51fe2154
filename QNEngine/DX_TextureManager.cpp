#include "DX_TextureManager.h"

#include <cstring>

#include "QNMemory.h"

CDX_TextureManager* CDX_TextureManager::s_instance = nullptr;

CDX_TextureManager::CDX_TextureManager()
    : m_nextId(0),
      m_lastMeshTextureName(nullptr),
      m_envMapTexture(nullptr) {}

CDX_TextureManager::~CDX_TextureManager() {}

CDX_TextureManager* CDX_TextureManager::getInstance() {
    if (!s_instance) {
        setOwner(__FILE__, __LINE__, "??");
        s_instance = new CDX_TextureManager;
    }
    return s_instance;
}

QNRESULT CDX_TextureManager::destroyInstance() {
    if (!s_instance) return QNRSLT_OK;
    CDX_TextureManager* m = s_instance;
    m->m_textures.clear();
    if (m->m_lastMeshTextureName) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] m->m_lastMeshTextureName;
        m->m_lastMeshTextureName = nullptr;
    }
    // The cube map belongs to the device, which is released after this.
    if (m->m_envMapTexture) {
        m->m_envMapTexture->Release();
        m->m_envMapTexture = nullptr;
    }
    setOwner(__FILE__, __LINE__, "??");
    delete m;
    s_instance = nullptr;
    return QNRSLT_OK;
}

QNRESULT CDX_TextureManager::loadTexture(const char* name, int32_t* id) {
    if (!name) {
        if (id) *id = -1;
        return logResult(QNRSLT_INVALIDPARAM, "CDX_TextureManager::loadTexture( )", nullptr, 0);
    }
    if (CDX_Texture* existing = getTextureByName(name)) {
        if (id) *id = existing->m_id;
        return QNRSLT_OK;
    }
    setOwner(__FILE__, __LINE__, "??");
    CDX_Texture* texture = new CDX_Texture;
    // A failed load has been reported by the texture; the entry still takes
    // its id so that ids stay equal to list positions.
    texture->loadTexture(name, m_nextId);
    m_textures.append(texture);
    if (id) *id = m_nextId;
    ++m_nextId;
    return QNRSLT_OK;
}

CDX_Texture* CDX_TextureManager::getTextureByName(const char* name) {
    if (!name) {
        logResult(QNRSLT_INVALIDPARAM, "CDX_TextureManager::getTextureByName( )", nullptr, 0);
        return nullptr;
    }
    for (auto* node = m_textures.head(); node; node = node->next)
        if (node->item->m_name && std::strcmp(node->item->m_name, name) == 0)
            return node->item;
    return nullptr;
}

CDX_Texture* CDX_TextureManager::getTextureByID(int32_t id) {
    // Entries whose load failed keep id -1; a caller holding -1 (no texture
    // named) must not be handed one of them.
    if (id < 0) return nullptr;
    for (auto* node = m_textures.head(); node; node = node->next)
        if (node->item->m_id == id) return node->item;
    return nullptr;
}
