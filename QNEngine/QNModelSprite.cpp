#include "QNModelSprite.h"

#include <cstdlib>
#include <cstring>

#include "DX_D3DWrapper.h"
#include "DX_TextureManager.h"
#include "QNGameState.h"
#include "QNMemory.h"
#include "QNScriptHelper.h"

namespace {
const UINT kVertexBufferSize = sizeof(QNSpriteVertex) * 4;

float nextFloat() {
    const char* t = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
    return t ? static_cast<float>(std::atof(t)) : 0.0f;
}

QNRESULT renderFailure(const char* info) {
    return logResult(QNRSLT_D3DFAILED, "CQNModelSprite::render( )", info, 0);
}
}  // namespace

CQNModelSprite::CQNModelSprite()
    : m_vertexBuffer(nullptr),
      m_textureId(-1),
      m_sizing(SIZING_NONE),
      m_dimensions(0.0f, 0.0f),
      m_billboarding(true),
      m_ortho(false) {
    std::memset(m_vertices, 0, sizeof m_vertices);
    m_material.Emissive.r = 1.0f;
    m_material.Emissive.g = 1.0f;
    m_material.Emissive.b = 1.0f;
    m_material.Diffuse.a = 1.0f;
}

CQNModelSprite::~CQNModelSprite() {
    CQNModelSprite::release();
    if (m_vertexBuffer) {
        m_vertexBuffer->Release();
        m_vertexBuffer = nullptr;
    }
}

QNRESULT CQNModelSprite::parseScript(const char* path) {
    char* text = nullptr;
    QNRESULT r = CScriptHelper::readScript(path, &text);
    if (r > QNRSLT_OK) return r;
    for (char* token = std::strtok(text, QN_DELIMITERS_STANDARD); token;
         token = std::strtok(nullptr, QN_DELIMITERS_STANDARD)) {
        if (std::strcmp(token, "[MATERIAL]") == 0) {
            m_material.Emissive.r = nextFloat();
            m_material.Emissive.g = nextFloat();
            m_material.Emissive.b = nextFloat();
            m_material.Diffuse.a = nextFloat();
        } else if (std::strcmp(token, "[TEXTURE]") == 0) {
            const char* v = std::strtok(nullptr, QN_DELIMITERS_PATH);
            if (v) {
                if (m_textureName) {
                    setOwner(__FILE__, __LINE__, "??");
                    delete[] m_textureName;
                }
                size_t n = std::strlen(v) + 1;
                setOwner(__FILE__, __LINE__, "??");
                m_textureName = new char[n];
                std::memcpy(m_textureName, v, n);
            }
        } else if (std::strcmp(token, "[SIZING]") == 0) {
            const char* v = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
            if (!v) continue;
            if (std::strcmp(v, "ACTUAL_NORM") == 0)
                m_sizing = SIZING_ACTUAL_NORM;
            else if (std::strcmp(v, "ACTUAL") == 0)
                m_sizing = SIZING_ACTUAL;
            else if (std::strcmp(v, "USER_DEFINED") == 0)
                m_sizing = SIZING_USER_DEFINED;
        } else if (std::strcmp(token, "[DIMENSIONS]") == 0) {
            m_dimensions.x = nextFloat();
            m_dimensions.y = nextFloat();
        } else if (std::strcmp(token, "[BILLBOARDING]") == 0) {
            const char* v = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
            if (v && std::strcmp(v, "FALSE") == 0) m_billboarding = false;
        } else if (std::strcmp(token, "[ORTHO]") == 0) {
            const char* v = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
            if (v && std::strcmp(v, "TRUE") == 0) m_ortho = true;
        }
    }
    CScriptHelper::freeScript(text);
    return QNRSLT_OK;
}

QNRESULT CQNModelSprite::initialize(const char* path) {
    CQNModelSprite::parseScript(path);
    CDX_TextureManager* textures = CDX_TextureManager::getInstance();
    textures->loadTexture(m_textureName, &m_textureId);
    const CDX_Texture* texture = textures->getTextureByID(m_textureId);

    D3DXVECTOR2 half(0.0f, 0.0f);
    float imageWidth = 0.0f, imageHeight = 0.0f;
    if (texture) {
        imageWidth = static_cast<float>(texture->getImageInfo().Width);
        imageHeight = static_cast<float>(texture->getImageInfo().Height);
    }
    switch (m_sizing) {
    case SIZING_NONE:
        half = D3DXVECTOR2(1.0f, 1.0f);
        break;
    case SIZING_ACTUAL_NORM: {
        D3DXVECTOR2 size(imageWidth, imageHeight);
        D3DXVec2Normalize(&half, &size);
        break;
    }
    case SIZING_ACTUAL:
        half = D3DXVECTOR2(imageWidth * 0.5f, imageHeight * 0.5f);
        break;
    case SIZING_USER_DEFINED:
        half = m_dimensions;
        break;
    default:
        break;
    }
    m_dimensions = half;

    const float w = half.x, h = half.y;
    const QNSpriteVertex quad[4] = {
        {-w, h, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f},
        {-w, -h, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f, 1.0f},
        {w, h, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f, 0.0f},
        {w, -h, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f},
    };
    std::memcpy(m_vertices, quad, sizeof quad);

    // A second initialize builds a new buffer rather than leaking the first.
    if (m_vertexBuffer) {
        m_vertexBuffer->Release();
        m_vertexBuffer = nullptr;
    }
    IDirect3DDevice9* device = CDX_D3DWrapper::getInstance()->getDevice();
    if (!device || FAILED(device->CreateVertexBuffer(kVertexBufferSize, D3DUSAGE_WRITEONLY,
                                                     QN_SPRITE_FVF, D3DPOOL_MANAGED,
                                                     &m_vertexBuffer, nullptr))) {
        m_vertexBuffer = nullptr;
        return logResult(QNRSLT_D3DFAILED, "CQNModelSprite::initialize( )",
                         "Could not create vert buffer", 0);
    }
    _fillVertexBuffer();
    return CQNModel::initialize(path);
}

QNRESULT CQNModelSprite::_fillVertexBuffer() {
    void* data = nullptr;
    m_vertexBuffer->Lock(0, 0, &data, 0);
    // A failed lock leaves nothing to copy into.
    if (data) std::memcpy(data, m_vertices, kVertexBufferSize);
    m_vertexBuffer->Unlock();
    return QNRSLT_OK;
}

QNRESULT CQNModelSprite::update(float* transform) { return QNRSLT_OK; }

QNRESULT CQNModelSprite::render(float* transform) {
    CDX_D3DWrapper* d3d = CDX_D3DWrapper::getInstance();
    IDirect3DDevice9* device = d3d->getDevice();
    if (!device) return renderFailure("Could not set material");

    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    // No environment map on sprites.
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    if (m_ortho) d3d->setOrthographic();
    // The billboard uses the camera's view even for a screen-space sprite.
    if (m_billboarding)
        _applyTransformsBillboard(transform);
    else
        _applyTransforms(transform);

    if (FAILED(device->SetMaterial(&m_material))) return renderFailure("Could not set material");
    // Without a texture (none named, or its load failed) stage 0 is emptied,
    // so the sprite never shows the texture of whatever was drawn before it.
    CDX_Texture* texture = CDX_TextureManager::getInstance()->getTextureByID(m_textureId);
    device->SetTexture(0, texture ? texture->getTexture() : nullptr);
    device->SetTexture(1, nullptr);

    if (!m_zWriteEnable && FAILED(device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE)))
        return renderFailure("Could not disable z-writing");
    // Without a buffer of its own (its creation failed) the draw would take
    // whatever stream 0 held before: count it as a stream that cannot be set.
    if (!m_vertexBuffer ||
        FAILED(device->SetStreamSource(0, m_vertexBuffer, 0, sizeof(QNSpriteVertex))))
        return renderFailure("Could not set stream source");
    if (FAILED(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2)))
        return renderFailure("Could not draw primative");
    if (!m_zWriteEnable && FAILED(device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE)))
        return renderFailure("Could not re-enable z-writing");

    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    if (CQNGameState::getInstance()->m_envMaps) {
        device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_BLENDCURRENTALPHA);
        device->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
        device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        device->SetTextureStageState(1, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    }
    if (m_ortho) d3d->setPerspective(60.0f, 1.0f, 8000.0f);
    return QNRSLT_OK;
}

QNRESULT CQNModelSprite::release() {
    if (m_textureName) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] m_textureName;
        m_textureName = nullptr;
    }
    return QNRSLT_OK;
}
