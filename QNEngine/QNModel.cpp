#include "QNModel.h"

#include <d3dx9.h>

#include <cstring>

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "QNScriptHelper.h"

namespace {
// Single-precision pi / 180, the factor the models have always used.
const float kDegreesToRadians = 0.0174533f;
}  // namespace

CQNModel::CQNModel() : m_zWriteEnable(true), m_textureName(nullptr) {
    std::memset(&m_material, 0, sizeof m_material);
}

CQNModel::~CQNModel() { CQNModel::release(); }

QNRESULT CQNModel::initialize(const char* path) {
    CQNModel::parseScript(path);
    return QNRSLT_OK;
}

QNRESULT CQNModel::reset() { return QNRSLT_OK; }

QNRESULT CQNModel::update(float* transform) { return QNRSLT_OK; }

QNRESULT CQNModel::render(float* transform) { return QNRSLT_OK; }

QNRESULT CQNModel::release() { return QNRSLT_OK; }

QNRESULT CQNModel::setAnimation(uint32_t index) { return QNRSLT_OK; }

QNRESULT CQNModel::parseScript(const char* path) {
    char* text = nullptr;
    QNRESULT r = CScriptHelper::readScript(path, &text);
    if (r > QNRSLT_OK) return r;
    for (char* token = std::strtok(text, QN_DELIMITERS_STANDARD); token;
         token = std::strtok(nullptr, QN_DELIMITERS_STANDARD)) {
        if (std::strcmp(token, "[ZWRITEENABLE]") == 0) {
            const char* v = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
            if (v && std::strcmp(v, "FALSE") == 0) m_zWriteEnable = false;
        }
    }
    CScriptHelper::freeScript(text);
    return QNRSLT_OK;
}

uint32_t CQNModel::materialCount() { return 1; }

QNRESULT CQNModel::renderMaterial(float* transform, uint32_t material) {
    return material == 0 ? render(transform) : QNRSLT_OK;
}

QNRESULT CQNModel::_applyTransforms(const float* transform) {
    const float* t = transform + QN_TRANSFORM_TRANSLATION;
    const float* r = transform + QN_TRANSFORM_ROTATION;
    const float* s = transform + QN_TRANSFORM_SCALE;
    D3DXMATRIX translation, rotX, rotY, rotZ, scaling, world;
    D3DXMatrixTranslation(&translation, t[0], t[1], t[2]);
    D3DXMatrixRotationX(&rotX, r[0] * kDegreesToRadians);
    D3DXMatrixRotationY(&rotY, r[1] * kDegreesToRadians);
    D3DXMatrixRotationZ(&rotZ, r[2] * kDegreesToRadians);
    D3DXMatrixScaling(&scaling, s[0], s[1], s[2]);
    D3DXMatrixMultiply(&world, &rotX, &rotY);
    D3DXMatrixMultiply(&world, &world, &rotZ);
    D3DXMatrixMultiply(&world, &world, &scaling);
    D3DXMatrixMultiply(&world, &world, &translation);
    IDirect3DDevice9* device = CDX_D3DWrapper::getInstance()->getDevice();
    if (device) device->SetTransform(D3DTS_WORLD, &world);
    return QNRSLT_OK;
}

QNRESULT CQNModel::_applyTransformsBillboard(const float* transform) {
    if (!transform)
        return logResult(QNRSLT_INVALIDPARAM, "_applyTransformsBillboard( )", nullptr, 0);
    const float* t = transform + QN_TRANSFORM_TRANSLATION;
    const float* s = transform + QN_TRANSFORM_SCALE;
    // The view's rotation transposed is its inverse: the camera's own axes.
    D3DXMATRIX billboard;
    D3DXMatrixTranspose(&billboard, CDX_Camera::getInstance()->getViewMatrix());
    billboard._14 = billboard._24 = billboard._34 = 0.0f;
    billboard._41 = billboard._42 = billboard._43 = 0.0f;
    billboard._44 = 1.0f;
    D3DXMATRIX translation, scaling, world;
    D3DXMatrixTranslation(&translation, t[0], t[1], t[2]);
    D3DXMatrixScaling(&scaling, s[0], s[1], s[2]);
    D3DXMatrixMultiply(&world, &scaling, &billboard);
    D3DXMatrixMultiply(&world, &world, &translation);
    IDirect3DDevice9* device = CDX_D3DWrapper::getInstance()->getDevice();
    if (device) device->SetTransform(D3DTS_WORLD, &world);
    return QNRSLT_OK;
}
