#include "ZVBaseLvlSelect.h"

#include <dinput.h>

#include <cstdio>
#include <new>

#include "DX_Input.h"
#include "QNBaseRend.h"
#include "QNGameState.h"
#include "QNMemory.h"
#include "QNSoundManager.h"

namespace {
const int kFirstLevel = 1;
const int kLastLevel = 40;
const float kDigitY = -30.0f;
const float kDigitScale = 3.0f;
const float kDigitAdvance = 40.0f;

void click() {
    CQNSoundManager* sounds = CQNSoundManager::getInstance();
    sounds->playSound(sounds->getSoundFromList("Assets\\Audio\\pellomir.beep.wav"));
}
}  // namespace

CZVBaseLvlSelect::CZVBaseLvlSelect() : m_digits(nullptr) {}

CZVBaseLvlSelect::~CZVBaseLvlSelect() { CZVBaseLvlSelect::release(); }

QNRESULT CZVBaseLvlSelect::parseScript(const char* path) { return QNRSLT_OK; }

QNRESULT CZVBaseLvlSelect::initialize(const char* path) {
    CZVBaseLvlSelect::release();
    setOwner(__FILE__, __LINE__, "??");
    m_digits = new (std::nothrow) CQNBaseRend[10];
    if (m_digits) {
        char script[64];
        for (int d = 0; d < 10; ++d) {
            std::snprintf(script, sizeof script, "Assets\\Scripts\\Base Objects\\zv.num%d.base", d);
            CQNBaseRend& digit = m_digits[d];
            digit.initialize(script);
            digit.m_translation.y = kDigitY;
            digit.m_scale.x *= kDigitScale;
            digit.m_scale.y *= kDigitScale;
            digit.m_scale.z *= kDigitScale;
        }
    }
    return CQNBase::initialize(path);
}

QNRESULT CZVBaseLvlSelect::update() {
    if (m_digits)
        for (int d = 0; d < 10; ++d) m_digits[d].update();

    // Both keys in one frame step down and back up, with two clicks.
    CDX_Input* input = CDX_Input::getInstance();
    int32_t& level = CQNGameState::getInstance()->m_level;
    if (input->isKeyPressed(DIK_LEFT)) {
        click();
        level -= 1;
        if (level < kFirstLevel) level = kLastLevel;
    }
    if (input->isKeyPressed(DIK_RIGHT)) {
        click();
        level += 1;
        if (level > kLastLevel) level = kFirstLevel;
    }
    return QNRSLT_OK;
}

QNRESULT CZVBaseLvlSelect::render() {
    if (!m_digits) return QNRSLT_OK;
    const int32_t level = CQNGameState::getInstance()->m_level;
    // One digit sits on the centre line, two straddle it.
    float x = level > 9 ? -20.0f : 0.0f;
    char text[16];
    std::snprintf(text, sizeof text, "%d", level);
    for (const char* c = text; *c; ++c) {
        // Only a hand-set record can hold a non-digit (a minus sign); its
        // place stays empty.
        if (*c >= '0' && *c <= '9') {
            CQNBaseRend& digit = m_digits[*c - '0'];
            digit.m_translation.x = x;
            digit.render();
        }
        x += kDigitAdvance;
    }
    return QNRSLT_OK;
}

QNRESULT CZVBaseLvlSelect::release() {
    if (m_digits) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] m_digits;
        m_digits = nullptr;
    }
    return QNRSLT_OK;
}
