#include "QNModelMesh.h"

#include <d3dx9.h>

#include <cstring>

#include "DX_D3DWrapper.h"
#include "DX_ModelManager.h"
#include "DX_TextureManager.h"
#include "QNGameTimer.h"
#include "QNMemory.h"
#include "QNScriptHelper.h"
#include "QNXModel.h"

namespace {
const char* const kEnvMapFile = "Assets\\Textures\\envmap.dds";

void replaceText(char** target, const char* text) {
    if (*target) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] *target;
        *target = nullptr;
    }
    if (!text) return;
    size_t n = std::strlen(text) + 1;
    setOwner(__FILE__, __LINE__, "??");
    *target = new char[n];
    std::memcpy(*target, text, n);
}
}  // namespace

CQNModelMesh::CQNModelMesh() : m_xFileName(nullptr) {}

CQNModelMesh::~CQNModelMesh() { CQNModelMesh::release(); }

QNRESULT CQNModelMesh::initialize(const char* path) {
    char* text = nullptr;
    if (CScriptHelper::readScript(path, &text) <= QNRSLT_OK) {
        for (char* token = std::strtok(text, QN_DELIMITERS_STANDARD); token;
             token = std::strtok(nullptr, QN_DELIMITERS_STANDARD)) {
            if (std::strcmp(token, "[XFILE]") != 0) continue;
            const char* file = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
            if (!file) break;
            // Loading reads no script, so the walk's position survives it.
            CDX_ModelManager* models = CDX_ModelManager::getInstance();
            if (!models->hasModel(file)) {
                setOwner(__FILE__, __LINE__, "??");
                CQNXModel* model = new CQNXModel;
                model->loadXFile(file);
                model->setAnimationSet(0);
                models->addModel(model);
            }
            replaceText(&m_xFileName, file);
        }
        CScriptHelper::freeScript(text);
    }
    // The last texture any mesh load created, which need not be this file's.
    const char* lastTexture = CDX_TextureManager::getInstance()->m_lastMeshTextureName;
    if (lastTexture) replaceText(&m_textureName, lastTexture);
    return CQNModel::initialize(path);
}

QNRESULT CQNModelMesh::update(float* transform) {
    if (!m_xFileName) return QNRSLT_OK;
    if (CQNXModel* model = CDX_ModelManager::getInstance()->getModelByName(m_xFileName))
        model->update(static_cast<double>(CQNGameTimer::getInstance()->getFrameTime()));
    return QNRSLT_OK;
}

QNRESULT CQNModelMesh::render(float* transform) { return _render(transform, -1); }

uint32_t CQNModelMesh::materialCount() {
    CQNXModel* model = m_xFileName ? CDX_ModelManager::getInstance()->getModelByName(m_xFileName) : nullptr;
    return model ? model->materialCount() : 1;
}

QNRESULT CQNModelMesh::renderMaterial(float* transform, uint32_t material) {
    return _render(transform, static_cast<int32_t>(material));
}

QNRESULT CQNModelMesh::_render(float* transform, int32_t material) {
    if (!m_xFileName) return QNRSLT_OK;
    _applyTransforms(transform);
    IDirect3DDevice9* device = CDX_D3DWrapper::getInstance()->getDevice();
    CDX_TextureManager* textures = CDX_TextureManager::getInstance();
    // Unexamined: a missing map is tried again at the next draw.
    if (!textures->m_envMapTexture && device)
        D3DXCreateCubeTextureFromFileA(device, kEnvMapFile, &textures->m_envMapTexture);
    if (device) device->SetTexture(1, textures->m_envMapTexture);
    if (CQNXModel* model = CDX_ModelManager::getInstance()->getModelByName(m_xFileName))
        model->render(material);
    return QNRSLT_OK;
}

QNRESULT CQNModelMesh::release() {
    replaceText(&m_xFileName, nullptr);
    replaceText(&m_textureName, nullptr);
    return QNRSLT_OK;
}

QNRESULT CQNModelMesh::setAnimation(uint32_t index) {
    if (!m_xFileName) return QNRSLT_OK;
    if (CQNXModel* model = CDX_ModelManager::getInstance()->getModelByName(m_xFileName))
        model->setAnimationSet(index);
    return QNRSLT_OK;
}
