// The one record through which engine and game share settings and progress.
#ifndef QN_GAME_STATE_H
#define QN_GAME_STATE_H

#include <cstdint>

#include "QNLevelData.h"

// Top-level game states.
#define GS_MAIN_MENU 0
#define GS_LEVEL_SELECT 1
#define GS_START_LEVEL 2
#define GS_PLAYING 3

// Phases of the level being played.
#define LP_GET_READY 0
#define LP_PLAYING 1
#define LP_COMPLETED 2

class CQNGameState {
public:
    virtual ~CQNGameState();

    static CQNGameState* getInstance();
    // Frees the level cells, then the record. Returns 0.
    static int destroyInstance();

    int initialize();
    // m_levelTime as digit text (see getTimeText); out needs 16 bytes.
    void getLevelTimeText(char* out) const;

    bool m_envMaps;
    int32_t m_state;
    bool m_showFps;
    int32_t m_level;
    float m_levelTime;
    CQNLevelData m_levelData;
    int32_t m_moves;
    int32_t m_levelPhase;
    int32_t m_menuSelection;
    bool m_showOptions;
    bool m_showCredits;
    bool m_cdPlayback;
    // The run on show asked for a hint: its completion keeps no record.
    bool m_hinted;
    // Seconds the level still shows that its board has no solution.
    float m_noSolutionTime;
    // Music and clicks are silent ([MUTE] TRUE in the configuration).
    bool m_muted;

private:
    CQNGameState();

    static CQNGameState* s_instance;
};

#endif
