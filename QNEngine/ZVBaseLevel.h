// The puzzle itself: one board loaded from a level file, shown as a grid of
// blocks, played with the mouse, timed and counted, its records written back
// into the level file, and the next level loaded when it is solved. The
// numbers the HUD shows live in the game-state record.
#ifndef ZV_BASE_LEVEL_H
#define ZV_BASE_LEVEL_H

#include <cstdint>

#include "QNBase.h"
#include "ZVBlock.h"
#include "ZVMouse.h"

// The board sizes a level file may hold: the level cameras frame boards up
// to this size; larger, empty or negative sizes are refused at load.
#define ZV_MAX_BOARD_WIDTH 6
#define ZV_MAX_BOARD_HEIGHT 5

class CZVBaseLevel : public CQNBase {
public:
    // No board yet; the board size reads 3 x 3 until a level file is loaded.
    CZVBaseLevel();

    // Reads nothing.
    QNRESULT parseScript(const char* path) override;
    ~CZVBaseLevel() override;
    // Loads the level the game-state record names (a failure is logged and
    // leaves no board), creates the cursor, then reads the object's own
    // transform keys from path.
    QNRESULT initialize(const char* path) override;
    // One frame of play, by the record's level phase. Without a board (its
    // file could not be loaded) only the cursor moves.
    QNRESULT update() override;
    // The blocks, then the cursor on top.
    QNRESULT render() override;
    // Deletes the board.
    QNRESULT release() override;

    // Loads "Assets\Scripts\Levels\zv.<m_level>.lvl".
    QNRESULT loadLevel();
    // Replaces the board with the file's, resets time and moves and re-reads
    // the records, placing the camera by the board size. A file that cannot
    // be read, or holds too few numbers or a board size outside 1..6 x 1..5,
    // is reported and changes nothing: the previous board, if any, stays.
    QNRESULT loadLevelFromFile(const char* path);
    // Rewrites the current level file when the finished run beat its best
    // time or best moves. The file is replaced whole or not at all.
    QNRESULT saveUpdatedLevel();
    // One left click during play: every block whose centre the line through
    // the pointer passes closer than 16 units flips with its cross, each as
    // one move with its click sound.
    QNRESULT handleClick();
    // Every block shows the same face (either one); a board of fewer than
    // two blocks always is. False without a board.
    bool isLevelComplete();
    // Flips the block and its four neighbours that lie on the board.
    QNRESULT flipCross(int32_t column, int32_t row);
    // Flips the block if (column, row) lies on the board.
    QNRESULT flipBlockAt(int32_t column, int32_t row);

    // Block of column i, row j is element j * m_boardWidth + i; null until a
    // level file has been loaded.
    ZVBlock* m_blocks;
    ZVMouse m_mouse;
    int32_t m_boardWidth;
    int32_t m_boardHeight;

private:
    void _animateBoard();
    void _refuse(const char* path, const char* reason);
    // "the file" or "its folder" when the level file at fileName, or the
    // folder that holds it, is read-only; null when a save may go ahead.
    static const char* _readOnlyPart(const char* fileName);

    // The file the board on show came from: records are written back only
    // into that file, never into another level's.
    char m_boardFile[256];
};

#endif
