// The puzzle itself: one board loaded from a level file, shown as a grid of
// blocks, played with the mouse or the keyboard, timed and counted, with
// undo, restart and hints, its records written back
// into the level file, and the next level loaded when it is solved. The
// numbers the HUD shows live in the game-state record.
#ifndef ZV_BASE_LEVEL_H
#define ZV_BASE_LEVEL_H

#include <cstdint>

#include "QNBase.h"
#include "ZVBlock.h"
#include "ZVLevelFile.h"
#include "ZVMouse.h"

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
    // file could not be loaded) only the cursor moves. During play: arrows
    // move the highlight, Space or Enter flips the highlighted block while
    // the highlight shows, Backspace or Ctrl+Z undoes, H hints, and in play
    // or after completion R restarts. A moved pointer or a click hides the
    // highlight again.
    QNRESULT update() override;
    // The blocks.
    QNRESULT render() override;
    // Over everything the scene drew: the cursor, or, while the highlight
    // shows, the marker beside the highlighted block.
    QNRESULT renderOverlay() override;
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

    // A player's flip of the cross at (column, row): its click sound, one
    // move, a step the undo can take back; it ends a shown hint.
    void playFlip(int32_t column, int32_t row);
    // Takes back the last flip not yet taken back, as a flip of its own
    // (sound, animation, one move). False, changing nothing, when the board
    // is as loaded or every flip since has been taken back.
    bool undoFlip();
    // The board as loaded (the blocks that differ turn back), no hint, an
    // empty undo, time and moves 0 and the get-ready phase.
    void restart();
    // Points at the next block to click on a shortest solution from the
    // board as it is (m_hintCell), marking the run as hinted; a board with
    // no solution sets the record's no-solution time instead. Nothing for a
    // board that is already solved.
    void showHint();
    // The board as a bit mask, bit (row * width + column) set for a block
    // showing the front face.
    uint64_t boardMask() const;

    // Undo keeps this many flips in order; beyond it the oldest are folded
    // into the shortest equivalent set (flips commute), so undo still ends
    // exactly at the board as loaded.
    static constexpr int32_t kUndoCapacity = 256;

    // Block of column i, row j is element j * m_boardWidth + i; null until a
    // level file has been loaded.
    ZVBlock* m_blocks;
    ZVMouse m_mouse;
    // The menu's pointer, shown beside the highlighted block.
    CQNBaseRend* m_marker;
    int32_t m_boardWidth;
    int32_t m_boardHeight;
    // The hinted block (row * width + column), pulsing until the next flip;
    // -1 for none.
    int32_t m_hintCell;
    // The keyboard's highlight and whether it shows (the keyboard was used
    // after the mouse).
    int32_t m_highlightColumn;
    int32_t m_highlightRow;
    bool m_highlightShown;
    // Flips that undo can take back, oldest first.
    int32_t m_undo[kUndoCapacity];
    int32_t m_undoCount;

private:
    void _animateBoard();
    void _handleKeys();
    void _flipAsMove(int32_t column, int32_t row);
    void _pushUndo(int32_t cell);
    void _clearRun();
    void _refuse(const char* path, const char* reason);
    // "the file" or "its folder" when the level file at fileName, or the
    // folder that holds it, is read-only; null when a save may go ahead.
    static const char* _readOnlyPart(const char* fileName);

    // The file the board on show came from: records are written back only
    // into that file, never into another level's.
    char m_boardFile[256];
    float m_blockZ;
    QNVector3 m_blockScale;
    float m_pulseClock;
    float m_lastPointerX;
    float m_lastPointerY;
};

#endif
