// The engine's start-up, per-frame and shut-down orders.
#ifndef QN_ENGINE_CORE_H
#define QN_ENGINE_CORE_H

#include <windows.h>

#include "QNResults.h"

class CQNEngineCore {
public:
    virtual ~CQNEngineCore();

    static CQNEngineCore* getInstance();

    // Starts every manager in a fixed order. When no device could be made the
    // start-up stops after the critical report (nothing can be drawn) and
    // isRunning() answers false.
    QNRESULT initialize(HWND hWnd, const char* configPath);
    // Clears *quit, then advances the timer, the input and the scene objects.
    void update(bool* quit);
    // Draws one frame and presents it.
    void render();
    // Releases every manager, the result log last, then the engine core.
    void shutdown();

    // False before start-up, after shut-down, or when start-up found no device.
    static bool isRunning();

private:
    CQNEngineCore();

    static CQNEngineCore* s_instance;
};

// Draws the frame counter at (5, 5) while the FPS text is switched on.
void drawFps();

#endif
