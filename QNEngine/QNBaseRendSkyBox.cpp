#include "QNBaseRendSkyBox.h"

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "QNGameState.h"

QNRESULT CQNBaseRendSkyBox::parseScript(const char* path) { return QNRSLT_OK; }

CQNBaseRendSkyBox::~CQNBaseRendSkyBox() { CQNBaseRendSkyBox::release(); }

QNRESULT CQNBaseRendSkyBox::release() { return QNRSLT_OK; }

QNRESULT CQNBaseRendSkyBox::render() {
    IDirect3DDevice9* device = CDX_D3DWrapper::getInstance()->getDevice();
    if (!device) return QNRSLT_OK;
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);

    const D3DXVECTOR3 eye = CDX_Camera::getInstance()->getEyePos();
    m_translation.x = eye.x;
    m_translation.y = eye.y;
    m_translation.z = eye.z;
    QNRESULT r = CQNBaseRend::render();

    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    if (CQNGameState::getInstance()->m_envMaps) {
        device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_BLENDCURRENTALPHA);
        device->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
        device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        device->SetTextureStageState(1, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    }
    return r;
}
