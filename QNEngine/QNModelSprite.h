// One textured, alpha-blended quad: placed in the scene, turned towards the
// camera (billboard, the default), or drawn in screen space with an
// orthographic projection for HUDs and menus.
#ifndef QN_MODEL_SPRITE_H
#define QN_MODEL_SPRITE_H

#include <d3d9.h>
#include <d3dx9.h>

#include <cstdint>

#include "QNModel.h"

// How the quad's half extents are found.
#define SIZING_NONE 0          // 1 x 1: a 2 x 2 quad
#define SIZING_ACTUAL_NORM 1   // the image's pixel size normalised to length 1
#define SIZING_ACTUAL 2        // one unit per image pixel
#define SIZING_USER_DEFINED 3  // "[DIMENSIONS]"

// Position, normal and two texture-coordinate sets: the engine's default
// vertex format, which the sprite relies on being current when it draws.
#define QN_SPRITE_FVF (D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2)

struct QNSpriteVertex {
    float x, y, z;
    float nx, ny, nz;
    float u0, v0;
    float u1, v1;
};

class CQNModelSprite : public CQNModel {
public:
    CQNModelSprite();
    // Frees the texture name and releases the vertex buffer.
    virtual ~CQNModelSprite();

    // Reads the sprite keys, loads the texture through the texture manager,
    // builds the quad and its vertex buffer, then reads "[ZWRITEENABLE]".
    // QNRSLT_D3DFAILED (reported) when the buffer cannot be created.
    virtual QNRESULT initialize(const char* path) override;
    virtual QNRESULT update(float* transform) override;
    // Draws the quad with alpha blending and puts back every device state it
    // changed (projection after an orthographic draw, depth writes, stage 1).
    // A failing device call is reported and returns QNRSLT_D3DFAILED at once,
    // leaving the states changed so far as they are.
    virtual QNRESULT render(float* transform) override;
    // Frees the texture name; the texture belongs to the texture manager.
    virtual QNRESULT release() override;

    // The sprite keys of the model script; the reader's failure or 0.
    QNRESULT parseScript(const char* path);

    QNSpriteVertex m_vertices[4];
    IDirect3DVertexBuffer9* m_vertexBuffer;
    int32_t m_textureId;
    int32_t m_sizing;
    // Half width and half height: as read, then as used after initialize.
    D3DXVECTOR2 m_dimensions;
    bool m_billboarding;
    bool m_ortho;

protected:
    QNRESULT _fillVertexBuffer();
};

#endif
