#include "ZVBaseLvlSelect.h"

#include <dinput.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "DX_D3DWrapper.h"
#include "DX_Input.h"
#include "DX_Text.h"
#include "QNBaseRend.h"
#include "QNGameState.h"
#include "QNGameTimer.h"
#include "QNMemory.h"
#include "QNScriptHelper.h"
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

CZVBaseLvlSelect::CZVBaseLvlSelect() : m_digits(nullptr), m_progressLevel(0), m_progressRead(false), m_progress() {}

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
    if (level != m_progressLevel) _readProgress();
    return QNRSLT_OK;
}

void CZVBaseLvlSelect::_readProgress() {
    m_progressLevel = CQNGameState::getInstance()->m_level;
    m_progressRead = false;
    char path[64];
    std::snprintf(path, sizeof path, "Assets\\Scripts\\Levels\\zv.%d.lvl", m_progressLevel);
    uint32_t size = 0;
    if (CScriptHelper::getFileSize(path, &size) > QNRSLT_OK) return;
    setOwner(__FILE__, __LINE__, "??");
    char* text = new (std::nothrow) char[size];
    if (!text) return;
    std::memset(text, 0, size);
    if (CScriptHelper::extractContectsFromFile(path, text, size) <= QNRSLT_OK) m_progressRead = m_progress.parse(text);
    setOwner(__FILE__, __LINE__, "??");
    delete[] text;
}

void CZVBaseLvlSelect::progressText(char* out, size_t size) {
    if (!out || size == 0) return;
    out[0] = '\0';
    if (!m_progressRead) return;
    if (!m_progress.isSolved()) {
        std::snprintf(out, size, "NOT SOLVED YET\nPAR %d", m_progress.m_parMoves);
        return;
    }
    char time[16];
    getTimeText(time, m_progress.m_bestTime);
    // The timer's digits as the HUD shows them: a colon before each pair
    // counted from the right.
    char shown[32];
    size_t n = 0;
    const size_t length = std::strlen(time);
    for (size_t i = 0; i < length && n + 2 < sizeof shown; ++i) {
        if (i > 0 && (length - 1 - i) % 2 == 1) shown[n++] = ':';
        shown[n++] = time[i];
    }
    shown[n] = '\0';
    std::snprintf(out, size, "SOLVED%s\nBEST MOVES %d  PAR %d\nBEST TIME %s",
                  m_progress.isSolvedAtPar() ? "  -  PAR!" : "", m_progress.m_bestMoves, m_progress.m_parMoves,
                  shown);
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

    char progress[128];
    progressText(progress, sizeof progress);
    const float width = CDX_D3DWrapper::getInstance()->getWidth();
    const float height = CDX_D3DWrapper::getInstance()->getHeight();
    float y = height * 0.5f + 80.0f;
    for (char* line = progress; *line;) {
        char* end = std::strchr(line, '\n');
        if (end) *end = '\0';
        // About 8 pixels a character: each line centred by its length.
        const float at[2] = {width * 0.5f - 4.0f * static_cast<float>(std::strlen(line)), y};
        const bool mark = std::strstr(line, "PAR!") != nullptr;
        CDX_Text::getInstance()->drawText(line, at, 255, mark ? 215 : 255, mark ? 90 : 255, 255, 0);
        y += 22.0f;
        if (!end) break;
        line = end + 1;
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
