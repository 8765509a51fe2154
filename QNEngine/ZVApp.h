// The game's application object: starts the engine and the music, and runs
// the top-level state machine each frame.
#ifndef ZV_APP_H
#define ZV_APP_H

#include <windows.h>

#include "QNResults.h"

class CZVApp {
public:
    virtual ~CZVApp();

    QNRESULT startup(HWND hWnd, const char* configPath);
    // One frame of logic; sets *quit to ask for the end of the program.
    void update(bool* quit);
    void render();
    void shutdown();
    // M: music and clicks silent or back, kept as [MUTE] in the configuration
    // the game started with (its other lines unchanged).
    void toggleMute();
    // Main menu -> level select -> start of a level -> playing; Escape goes back.
    void updateGameState(bool* quit);
};

#endif
