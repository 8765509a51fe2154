#include "QNBase.h"

#include <cstdlib>
#include <cstring>

#include "QNScriptHelper.h"

CQNBase::CQNBase()
    : m_translation{0.0f, 0.0f, 0.0f},
      m_rotation{0.0f, 0.0f, 0.0f},
      m_scale{1.0f, 1.0f, 1.0f},
      m_remove(false) {}

CQNBase::~CQNBase() { CQNBase::release(); }

namespace {
// Three floats; a value missing at the end of the text reads as 0.
void readVector(QNVector3* v) {
    const char* t = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
    v->x = t ? static_cast<float>(std::atof(t)) : 0.0f;
    t = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
    v->y = t ? static_cast<float>(std::atof(t)) : 0.0f;
    t = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
    v->z = t ? static_cast<float>(std::atof(t)) : 0.0f;
}
}  // namespace

QNRESULT CQNBase::parseScript(const char* path) {
    char* text = nullptr;
    QNRESULT r = CScriptHelper::readScript(path, &text);
    if (r > QNRSLT_OK) return r;
    for (char* token = std::strtok(text, QN_DELIMITERS_STANDARD); token;
         token = std::strtok(nullptr, QN_DELIMITERS_STANDARD)) {
        if (std::strcmp(token, "[TRANSLATION]") == 0)
            readVector(&m_translation);
        else if (std::strcmp(token, "[ROTATION]") == 0)
            readVector(&m_rotation);
        else if (std::strcmp(token, "[SCALE]") == 0)
            readVector(&m_scale);
    }
    CScriptHelper::freeScript(text);
    return QNRSLT_OK;
}

QNRESULT CQNBase::initialize(const char* path) {
    CQNBase::parseScript(path);
    return QNRSLT_OK;
}

QNRESULT CQNBase::update() { return QNRSLT_OK; }

QNRESULT CQNBase::render() { return QNRSLT_OK; }

QNRESULT CQNBase::renderOverlay() { return QNRSLT_OK; }

QNRESULT CQNBase::release() { return QNRSLT_OK; }

const char* CQNBase::getTextureName() { return nullptr; }
