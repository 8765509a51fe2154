#include "QNBaseRend.h"

#include <cstring>
#include <new>

#include "QNMemory.h"
#include "QNModelMesh.h"
#include "QNModelSprite.h"
#include "QNModelSpriteParticle.h"
#include "QNScriptHelper.h"

// The transform is handed to models as nine consecutive floats.
static_assert(sizeof(QNVector3) == 3 * sizeof(float), "QNVector3 must be three packed floats");

namespace {
template <class T>
CQNModel* makeModel() {
    setOwner(__FILE__, __LINE__, "??");
    return new (std::nothrow) T;
}

struct ModelType {
    const char* name;
    // Null while that model is not part of the engine: the type then
    // creates nothing, as a failed allocation would.
    CQNModel* (*create)();
};

// The "[MODEL_TYPE]" words that create a model ("NONE" and any other word
// change nothing).
const ModelType kModelTypes[] = {
    {"SPRITE", makeModel<CQNModelSprite>},
    {"MESH", makeModel<CQNModelMesh>},
    {"SPRITE_PARTICLE", makeModel<CQNModelSpriteParticle>},
};

const ModelType* findModelType(const char* word) {
    for (const ModelType& type : kModelTypes)
        if (std::strcmp(type.name, word) == 0) return &type;
    return nullptr;
}
}  // namespace

CQNBaseRend::CQNBaseRend() : m_model(nullptr) {}

CQNBaseRend::~CQNBaseRend() { CQNBaseRend::release(); }

QNRESULT CQNBaseRend::parseScript(const char* path) {
    char* text = nullptr;
    QNRESULT r = CScriptHelper::readScript(path, &text);
    if (r > QNRSLT_OK) return r;
    char* modelScript = nullptr;
    for (char* token = std::strtok(text, QN_DELIMITERS_STANDARD); token;
         token = std::strtok(nullptr, QN_DELIMITERS_STANDARD)) {
        if (std::strcmp(token, "[MODEL_TYPE]") == 0) {
            const char* word = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
            const ModelType* type = word ? findModelType(word) : nullptr;
            if (!type) continue;
            // A second model type in one script replaces the first model
            // rather than leaking it.
            if (m_model) {
                setOwner(__FILE__, __LINE__, "??");
                delete m_model;
            }
            m_model = type->create ? type->create() : nullptr;
        } else if (std::strcmp(token, "[MODEL_SCRIPT]") == 0) {
            const char* v = std::strtok(nullptr, QN_DELIMITERS_PATH);
            if (!v) continue;
            if (modelScript) {
                setOwner(__FILE__, __LINE__, "??");
                delete[] modelScript;
            }
            size_t n = std::strlen(v) + 1;
            setOwner(__FILE__, __LINE__, "??");
            modelScript = new char[n];
            std::memcpy(modelScript, v, n);
        }
    }
    CScriptHelper::freeScript(text);
    // Only now: the model's own parse must not interleave with this walk.
    if (m_model && modelScript) m_model->initialize(modelScript);
    if (modelScript) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] modelScript;
    }
    return QNRSLT_OK;
}

QNRESULT CQNBaseRend::initialize(const char* path) {
    CQNBaseRend::parseScript(path);
    return CQNBase::initialize(path);
}

QNRESULT CQNBaseRend::update() {
    if (!m_model) return QNRSLT_OK;
    QNRESULT r = m_model->update(transform());
    return r > QNRSLT_OK ? r : QNRSLT_OK;
}

QNRESULT CQNBaseRend::render() {
    if (m_model) m_model->render(transform());
    return QNRSLT_OK;
}

uint32_t CQNBaseRend::materialCount() { return m_model ? m_model->materialCount() : 1; }

QNRESULT CQNBaseRend::renderMaterial(uint32_t material) {
    if (m_model) m_model->renderMaterial(transform(), material);
    return QNRSLT_OK;
}

QNRESULT CQNBaseRend::release() {
    if (m_model) {
        setOwner(__FILE__, __LINE__, "??");
        delete m_model;
        m_model = nullptr;
    }
    return QNRSLT_OK;
}

const char* CQNBaseRend::getTextureName() { return m_model ? m_model->m_textureName : nullptr; }

QNRESULT CQNBaseRend::resetModel() { return m_model ? m_model->reset() : QNRSLT_OK; }
