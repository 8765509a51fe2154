// The engine's one viewer: eye, look-at point and up vector, turned into the
// device's view transform once per frame.
#ifndef DX_CAMERA_H
#define DX_CAMERA_H

#include <d3dx9.h>

#include "QNResults.h"

class CDX_Camera {
public:
    virtual ~CDX_Camera();

    static CDX_Camera* getInstance();
    static QNRESULT destroyInstance();

    QNRESULT initialize();
    // The setters only store; the next applyTransforms uses the values.
    QNRESULT setEyePos(const D3DXVECTOR3* eye);
    QNRESULT setLookPos(const D3DXVECTOR3* look);
    QNRESULT applyTransforms();
    // The matrix itself, valid while the camera lives.
    D3DXMATRIX* getViewMatrix() { return &m_view; }
    D3DXVECTOR3 getEyePos() const { return m_eyePos; }

    D3DXVECTOR3 m_eyePos;
    D3DXVECTOR3 m_lookPos;
    D3DXVECTOR3 m_upVec;
    D3DXMATRIX m_view;

private:
    CDX_Camera();
    QNRESULT _applyTransforms();

    static CDX_Camera* s_instance;
};

#endif
