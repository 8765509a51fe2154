#include "QNBaseHud.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "DX_D3DWrapper.h"
#include "DX_Text.h"
#include "QNBaseRend.h"
#include "QNGameState.h"
#include "QNGameTimer.h"
#include "QNMemory.h"

int32_t CQNBaseHud::s_lastPhase = 3;
float CQNBaseHud::s_getReadySpeed = 0.0f;
float CQNBaseHud::s_pulseSpeed = 2.0f;

namespace {
const float kCharAdvance = 10.0f;

CQNBaseRend* makePicture(const char* script) {
    setOwner(__FILE__, __LINE__, "??");
    CQNBaseRend* picture = new (std::nothrow) CQNBaseRend;
    // A picture whose script or model fails simply draws nothing.
    if (picture) picture->initialize(script);
    return picture;
}

void deletePicture(CQNBaseRend** picture) {
    if (!*picture) return;
    setOwner(__FILE__, __LINE__, "??");
    delete *picture;
    *picture = nullptr;
}

// The HUD's left screen edge in centred units: the width is truncated and
// halved as integers, so an odd width keeps the panel on whole pixels.
float leftEdge() {
    int width = static_cast<int>(CDX_D3DWrapper::getInstance()->getWidth());
    return static_cast<float>(-(width / 2));
}

void place(CQNBaseRend* picture, float x, float y) {
    picture->m_translation.x = x;
    picture->m_translation.y = y;
}
}  // namespace

CQNBaseHud::CQNBaseHud()
    : m_digits(nullptr),
      m_colon(nullptr),
      m_background(nullptr),
      m_getReady(nullptr),
      m_completed(nullptr),
      m_newRecord(nullptr) {}

CQNBaseHud::~CQNBaseHud() { CQNBaseHud::release(); }

QNRESULT CQNBaseHud::parseScript(const char* path) { return QNRSLT_OK; }

QNRESULT CQNBaseHud::initialize(const char* path) {
    CQNBaseHud::release();
    m_background = makePicture("Assets\\Scripts\\Base Objects\\zv.hudbg.base");
    if (m_background) place(m_background, 128.0f - CDX_D3DWrapper::getInstance()->getWidth() * 0.5f, 0.0f);

    setOwner(__FILE__, __LINE__, "??");
    m_digits = new (std::nothrow) CQNBaseRend[10];
    if (m_digits) {
        char script[64];
        for (int d = 0; d < 10; ++d) {
            std::snprintf(script, sizeof script, "Assets\\Scripts\\Base Objects\\zv.num%d.base", d);
            m_digits[d].initialize(script);
        }
    }
    m_colon = makePicture("Assets\\Scripts\\Base Objects\\zv.colon.base");
    m_getReady = makePicture("Assets\\Scripts\\Base Objects\\zv.getready.base");
    m_completed = makePicture("Assets\\Scripts\\Base Objects\\zv.completed.base");
    m_newRecord = makePicture("Assets\\Scripts\\Base Objects\\zv.newrec.base");
    return CQNBase::initialize(path);
}

QNRESULT CQNBaseHud::update() {
    if (m_digits)
        for (int d = 0; d < 10; ++d) m_digits[d].update();
    if (m_colon) m_colon->update();
    if (m_background) m_background->update();
    if (m_newRecord) m_newRecord->update();
    if (m_getReady) m_getReady->update();
    if (m_completed) m_completed->update();

    const int32_t phase = CQNGameState::getInstance()->m_levelPhase;
    if (phase == LP_GET_READY) _dropGetReady();
    s_lastPhase = phase;
    return QNRSLT_OK;
}

void CQNBaseHud::_dropGetReady() {
    if (!m_getReady) return;
    const float dt = CQNGameTimer::getInstance()->getFrameTime();
    QNVector3& position = m_getReady->m_translation;
    float& tilt = m_getReady->m_rotation.z;
    if (s_lastPhase != LP_GET_READY) {
        // The phase has just begun: start at the top edge, tilted.
        position.y = CDX_D3DWrapper::getInstance()->getHeight() * 0.5f;
        s_getReadySpeed = 0.0f;
        tilt = -35.0f;
    }
    // The pull is per frame, not per second: a faster machine drops faster.
    s_getReadySpeed -= 5.8f;
    position.y += s_getReadySpeed * dt;
    tilt += 45.0f * dt;
    if (position.y < 0.0f) {
        // Landed on the centre line: the tilt runs down to level and stays.
        position.y = 0.0f;
        tilt -= 360.0f * dt;
        if (tilt < 0.0f) tilt = 0.0f;
    }
}

QNRESULT CQNBaseHud::render() {
    const float left = leftEdge();
    switch (CQNGameState::getInstance()->m_levelPhase) {
        case LP_GET_READY:
            if (m_getReady) m_getReady->render();
            if (m_background) m_background->render();
            _drawNumbers(left);
            break;
        case LP_PLAYING:
            if (m_background) m_background->render();
            _drawNumbers(left);
            break;
        case LP_COMPLETED:
            if (m_background) m_background->render();
            if (m_completed) m_completed->render();
            _drawNumbers(left);
            _drawNewRecordMarks(left);
            break;
        default:
            break;
    }
    _drawNotes();
    return QNRSLT_OK;
}

void CQNBaseHud::_drawNotes() {
    const CQNGameState* state = CQNGameState::getInstance();
    const CDX_D3DWrapper* d3d = CDX_D3DWrapper::getInstance();
    CDX_Text* text = CDX_Text::getInstance();
    const float width = d3d->getWidth(), height = d3d->getHeight();
    if (state->m_hinted) {
        const float at[2] = {12.0f, height - 30.0f};
        text->drawText(state->m_levelPhase == LP_COMPLETED ? "SOLVED WITH A HINT: NO RECORD" : "HINT USED: NO RECORD",
                       at, 255, 220, 120, 255, 0);
    }
    if (state->m_noSolutionTime > 0.0f) {
        const float at[2] = {width * 0.5f - 20.0f, 40.0f};
        text->drawText("NO SOLUTION", at, 255, 120, 100, 255, 0);
    }
    if (state->m_muted) {
        const float at[2] = {width - 70.0f, 10.0f};
        text->drawText("MUTED", at, 200, 200, 200, 255, 0);
    }
}

void CQNBaseHud::_drawNumbers(float left) {
    CQNGameState* state = CQNGameState::getInstance();
    const CQNLevelData& level = state->m_levelData;
    // Room for any 32-bit number and for the longest time text (15 + 1).
    char text[16];

    std::snprintf(text, sizeof text, "%d", state->m_level);
    _drawText(text, left + 70.0f, -150.0f, false);
    state->getLevelTimeText(text);
    _drawText(text, left + 35.0f, 127.0f, true);
    getTimeText(text, level.m_bestTime);
    _drawText(text, left + 35.0f, 70.0f, true);
    std::snprintf(text, sizeof text, "%d", state->m_moves);
    _drawText(text, left + 65.0f, 10.0f, false);
    std::snprintf(text, sizeof text, "%d", level.m_parMoves);
    _drawText(text, left + 65.0f, -45.0f, false);
    std::snprintf(text, sizeof text, "%d", level.m_bestMoves);
    _drawText(text, left + 65.0f, -100.0f, false);
}

void CQNBaseHud::_drawText(const char* text, float x, float y, bool colons) {
    const int length = static_cast<int>(std::strlen(text));
    for (int i = 0; i < length; ++i) {
        if (colons && i > 0 && (length - 1 - i) % 2 == 1) {
            if (m_colon) {
                place(m_colon, x, y);
                m_colon->render();
            }
            x += kCharAdvance;
        }
        // A character without a digit picture (a minus sign from a
        // hand-edited level file) leaves its place empty, so the digits
        // after it stay where they belong.
        const char c = text[i];
        if (m_digits && c >= '0' && c <= '9') {
            CQNBaseRend& digit = m_digits[c - '0'];
            place(&digit, x, y);
            digit.render();
        }
        x += kCharAdvance;
    }
}

void CQNBaseHud::_drawNewRecordMarks(float left) {
    if (!m_newRecord) return;
    CQNGameState* state = CQNGameState::getInstance();
    const CQNLevelData& level = state->m_levelData;
    QNVector3& scale = m_newRecord->m_scale;

    // Strictly better only, as the level's record save decides.
    if (level.m_bestTime > state->m_levelTime * 100) {
        place(m_newRecord, left + 100.0f, 150.0f);
        const float dt = CQNGameTimer::getInstance()->getFrameTime();
        const float s = scale.z + dt * s_pulseSpeed;
        // z carries the pulse from frame to frame (it does not show on a
        // flat sprite), so the mark swells and shrinks between the ends.
        scale.x = scale.y = scale.z = s;
        if (s >= 1.5f) {
            s_pulseSpeed = -s_pulseSpeed;
            scale.x = scale.y = scale.z = 1.5f;
        } else if (s <= 1.0f) {
            s_pulseSpeed = -s_pulseSpeed;
            scale.x = scale.y = scale.z = 1.0f;
        }
        m_newRecord->render();
    }
    if (state->m_moves < level.m_bestMoves) {
        // Same mark, same scale: only the time record advances the pulse.
        place(m_newRecord, left + 100.0f, 30.0f);
        m_newRecord->render();
    }
}

QNRESULT CQNBaseHud::release() {
    if (m_digits) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] m_digits;
        m_digits = nullptr;
    }
    deletePicture(&m_colon);
    deletePicture(&m_background);
    deletePicture(&m_getReady);
    deletePicture(&m_completed);
    deletePicture(&m_newRecord);
    return QNRSLT_OK;
}
