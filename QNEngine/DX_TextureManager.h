// The process-wide registry of textures loaded by file name. A texture is
// loaded once and then handed out by the small integer id its loader keeps;
// everything lives until shut-down.
#ifndef DX_TEXTURE_MANAGER_H
#define DX_TEXTURE_MANAGER_H

#include <d3d9.h>

#include <cstdint>

#include "DX_Texture.h"
#include "QNOwnedList.h"
#include "QNResults.h"

class CDX_TextureManager {
public:
    virtual ~CDX_TextureManager();

    static CDX_TextureManager* getInstance();
    // Deletes every texture in creation order, frees the last mesh texture
    // name and releases the environment cube map, then the manager. Must run
    // before CDX_D3DWrapper::destroyInstance releases the device. Returns
    // QNRSLT_OK; nothing happens without an instance.
    static QNRESULT destroyInstance();

    // Writes the id of the texture loaded from `name` to *id: the existing
    // one when that exact name was loaded before, else a new id (0, 1, 2, ...
    // in creation order). A new texture joins the list even when its file
    // cannot be loaded (the texture reports that); such an entry has no name,
    // so the next request for the file tries again under another id, and
    // getTextureByID answers null for it. A null name writes -1 and returns
    // QNRSLT_INVALIDPARAM. `id` may be null when the caller needs no id.
    QNRESULT loadTexture(const char* name, int32_t* id);
    // First texture loaded from exactly this name (byte-wise), or null.
    CDX_Texture* getTextureByName(const char* name);
    // The texture with this id whose load succeeded, or null. No report.
    CDX_Texture* getTextureByID(int32_t id);

    uint32_t getCount() const { return m_textures.count(); }

    CQNOwnedList<CDX_Texture> m_textures;
    int32_t m_nextId;
    // Kept here for the mesh model: the file name of the last material
    // texture a mesh load created (owned, freed at shut-down), and the
    // environment cube map it creates on first use (released at shut-down).
    char* m_lastMeshTextureName;
    IDirect3DCubeTexture9* m_envMapTexture;

private:
    CDX_TextureManager();

    static CDX_TextureManager* s_instance;
};

#endif
