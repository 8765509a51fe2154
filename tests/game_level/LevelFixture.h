// A scratch game folder with level files, an offscreen window at a known
// place, the device wrapper's size and projection (no device: picking needs
// only the matrices), the camera, input and timer, driven frame by frame
// with a test clock and injected keys and buttons.
#ifndef ZV_LEVEL_FIXTURE_H
#define ZV_LEVEL_FIXTURE_H

#include <d3dx9.h>

#include <string>

#include "engine/EngineTestBase.h"

class CQNGameState;
class CZVBaseLevel;

class LevelFixture : public EngineTestBase {
protected:
    static constexpr int kWindowX = 100;
    static constexpr int kWindowY = 50;

    void SetUp() override;

    // One frame as the game runs it for a level: clock, timer, input, the
    // level's update, then the camera applied.
    void frame(CZVBaseLevel& level, double seconds = 1.0 / 60.0);
    // A frame in which the key (a DIK code) goes down, then one in which it
    // is up again; pressEnter presses Enter.
    void pressKey(CZVBaseLevel& level, int key);
    void pressEnter(CZVBaseLevel& level);
    // A frame in which the left button goes down at client pixel (x, y),
    // then one in which it is up again.
    void clickAt(CZVBaseLevel& level, int x, int y);
    // A frame with the pointer over the centre of block (i, j).
    void clickBlock(CZVBaseLevel& level, int i, int j);

    // Where block (i, j)'s centre lies on the screen, in client pixels
    // (unrounded), through the camera's current view.
    D3DXVECTOR2 blockPixel(CZVBaseLevel& level, int i, int j);

    // Makes the next level load show its file's layout (false) or the
    // inversion (true): the load decides with one rand().
    static void nextLoadInverts(bool invert);
    // Writes level n as `text` and loads it as the game does (as stored, or
    // inverted); a fatal failure when the load fails.
    void load(CZVBaseLevel& level, const std::string& text, bool invert = false, int n = 1);

    // "Assets\Scripts\Levels\zv.<n>.lvl"
    static std::string levelPath(int n);
    void writeLevel(int n, const std::string& text);
    std::string readLevel(int n);

    CQNGameState* state = nullptr;
};

// "W H\n", one "c " per cell of each row, row 0 first, then the records.
std::string levelText(int width, int height, const std::string& cells, int bestTime, int par,
                      int bestMoves);

#endif
