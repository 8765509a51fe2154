// One texture loaded from an image file, with the file's own description.
#ifndef DX_TEXTURE_H
#define DX_TEXTURE_H

#include <d3d9.h>
#include <d3dx9.h>

#include <cstdint>

#include "QNResults.h"

class CDX_Texture {
public:
    CDX_Texture();
    // Releases the texture and frees the name.
    virtual ~CDX_Texture();

    // Loads the file with every D3DX default (size and format from the file,
    // full mip chain, managed pool) on the wrapper's device. Name and id are
    // stored only when the texture could be created; a failure is reported
    // (not critically) and returned.
    QNRESULT loadTexture(const char* name, int32_t id);

    // Null until loaded, and after a failed load. The texture stays owned here.
    IDirect3DTexture9* getTexture() const { return m_pTexture; }
    const D3DXIMAGE_INFO& getImageInfo() const { return m_imageInfo; }

    IDirect3DTexture9* m_pTexture;
    D3DXIMAGE_INFO m_imageInfo;
    // Copy of the file name; null until a load has succeeded.
    char* m_name;
    // -1 until a load has succeeded.
    int32_t m_id;
};

#endif
