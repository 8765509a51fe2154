// Models drawn by the tests themselves, for what no engine model can show
// yet: geometry around a sky box's origin.
#ifndef ZV_RENDER_SPRITES_TEST_MODELS_H
#define ZV_RENDER_SPRITES_TEST_MODELS_H

#include <d3d9.h>

#include <vector>

#include "DX_D3DWrapper.h"
#include "QNModel.h"
#include "QNModelSprite.h"

// Quads around the model's origin, each given by its centre and two
// half-axes, drawn with one texture and culling off (put back afterwards).
class FacesModel : public CQNModel {
public:
    struct Face {
        float centre[3], right[3], up[3];
        float extent = 1000.0f;  // half height the texture spans
    };
    FacesModel(IDirect3DTexture9* texture, std::vector<Face> faces)
        : m_texture(texture), m_faces(std::move(faces)) {}

    QNRESULT render(float* transform) override {
        seenTranslation[0] = transform[0];
        seenTranslation[1] = transform[1];
        seenTranslation[2] = transform[2];
        ++renders;
        IDirect3DDevice9* device = CDX_D3DWrapper::getInstance()->getDevice();
        _applyTransforms(transform);
        device->SetTexture(0, m_texture);
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        for (const Face& f : m_faces) {
            QNSpriteVertex v[4];
            const float corner[4][2] = {{-1, 1}, {-1, -1}, {1, 1}, {1, -1}};
            for (int i = 0; i < 4; ++i) {
                float* p = &v[i].x;
                for (int k = 0; k < 3; ++k)
                    p[k] = f.centre[k] + corner[i][0] * f.right[k] + corner[i][1] * f.up[k];
                v[i].nx = v[i].ny = 0.0f;
                v[i].nz = 1.0f;
                v[i].u0 = v[i].u1 = corner[i][0] < 0 ? 0.0f : 1.0f;
                // The texture runs top to bottom with height, kept off its
                // first and last rows, which wrap into each other.
                float t = 0.5f - 0.5f * p[1] / f.extent;
                v[i].v0 = v[i].v1 = 0.02f + 0.96f * t;
            }
            device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(QNSpriteVertex));
        }
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
        return QNRSLT_OK;
    }

    float seenTranslation[3] = {0, 0, 0};
    int renders = 0;

private:
    IDirect3DTexture9* m_texture;
    std::vector<Face> m_faces;
};

#endif
