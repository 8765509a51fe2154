#include "QNGameState.h"

#include "QNGameTimer.h"
#include "QNMemory.h"

CQNGameState* CQNGameState::s_instance = nullptr;

CQNGameState::CQNGameState()
    : m_envMaps(true),
      m_state(GS_MAIN_MENU),
      m_showFps(false),
      m_level(1),
      m_levelTime(0.0f),
      m_moves(0),
      m_levelPhase(LP_GET_READY),
      m_menuSelection(0),
      m_showOptions(false),
      m_showCredits(false),
      m_cdPlayback(false),
      m_hinted(false),
      m_noSolutionTime(0.0f),
      m_muted(false) {}

CQNGameState::~CQNGameState() {}

CQNGameState* CQNGameState::getInstance() {
    // Made without an owner: the leak report shows it as "??".
    if (!s_instance) s_instance = new CQNGameState;
    return s_instance;
}

int CQNGameState::destroyInstance() {
    if (s_instance) {
        s_instance->m_levelData.freeCells();
        delete s_instance;
        s_instance = nullptr;
    }
    return 0;
}

int CQNGameState::initialize() { return 0; }

void CQNGameState::getLevelTimeText(char* out) const {
    // Truncated toward zero; kept inside int so an absurd time cannot overflow.
    float hundredths = m_levelTime * 100.0f;
    int t = hundredths >= 2147483520.0f    ? 2147483647
            : hundredths <= -2147483520.0f ? -2147483647
                                           : static_cast<int>(hundredths);
    getTimeText(out, t);
}
