#include "DX_Camera.h"

#include "DX_D3DWrapper.h"
#include "QNMemory.h"

CDX_Camera* CDX_Camera::s_instance = nullptr;

// The vectors start with the values initialize() gives them: the device's
// start-up applies the camera once before the camera is initialised.
CDX_Camera::CDX_Camera() : m_eyePos(0.0f, 0.0f, 190.0f), m_lookPos(0.0f, 0.0f, 0.0f), m_upVec(0.0f, 1.0f, 0.0f) {
    D3DXMatrixLookAtRH(&m_view, &m_eyePos, &m_lookPos, &m_upVec);
}

CDX_Camera::~CDX_Camera() {}

CDX_Camera* CDX_Camera::getInstance() {
    if (!s_instance) {
        setOwner(__FILE__, __LINE__, "??");
        s_instance = new CDX_Camera;
    }
    return s_instance;
}

QNRESULT CDX_Camera::destroyInstance() {
    if (s_instance) {
        setOwner(__FILE__, __LINE__, "??");
        delete s_instance;
        s_instance = nullptr;
    }
    return QNRSLT_OK;
}

QNRESULT CDX_Camera::initialize() {
    m_eyePos = D3DXVECTOR3(0.0f, 0.0f, 190.0f);
    m_lookPos = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    m_upVec = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    _applyTransforms();
    return QNRSLT_OK;
}

QNRESULT CDX_Camera::setEyePos(const D3DXVECTOR3* eye) {
    if (!eye) return logResult(QNRSLT_INVALIDPARAM, "CDX_Camera::setEyePos( )", nullptr, 0);
    m_eyePos = *eye;
    return QNRSLT_OK;
}

QNRESULT CDX_Camera::setLookPos(const D3DXVECTOR3* look) {
    if (!look) return logResult(QNRSLT_INVALIDPARAM, "CDX_Camera::setLookPos( )", nullptr, 0);
    m_lookPos = *look;
    return QNRSLT_OK;
}

QNRESULT CDX_Camera::applyTransforms() {
    _applyTransforms();
    return QNRSLT_OK;
}

QNRESULT CDX_Camera::_applyTransforms() {
    D3DXMatrixLookAtRH(&m_view, &m_eyePos, &m_lookPos, &m_upVec);
    IDirect3DDevice9* device = CDX_D3DWrapper::getInstance()->getDevice();
    if (!device || FAILED(device->SetTransform(D3DTS_VIEW, &m_view)))
        return logResult(QNRSLT_D3DFAILED, "CDX_Camera::_applyTransforms()", nullptr, 0);
    return QNRSLT_OK;
}
