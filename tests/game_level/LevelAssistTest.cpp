// Help while playing, through the level's frame step and real key presses:
// undo, restart, hints and play with the keyboard alone.
#include <dinput.h>

#include <vector>

#include "LevelFixture.h"
#include "QNGameState.h"
#include "ZVBaseLevel.h"
#include "ZVSolver.h"
#include "testing/ControllerTesting.h"
#include "testing/PlatformTesting.h"

namespace {

const char kPlaySound[] = "CQNSoundManager::playSound( )";
// 4 x 3 checker board: seven clicks at the fewest, fresh records.
const std::string kChecker = levelText(4, 3, "010110100101", 599999, 5, 999);

class LevelAssist : public LevelFixture {
protected:
    std::vector<int> states(const CZVBaseLevel& level) {
        std::vector<int> s;
        for (int k = 0; k < level.m_boardWidth * level.m_boardHeight; ++k) s.push_back(level.m_blocks[k].m_state);
        return s;
    }

    void startPlaying(CZVBaseLevel& level, const std::string& text) {
        ASSERT_NO_FATAL_FAILURE(load(level, text));
        state->m_levelPhase = LP_GET_READY;
        pressEnter(level);
        ASSERT_EQ(state->m_levelPhase, LP_PLAYING);
    }

    // Backspace, or Ctrl+Z.
    void undo(CZVBaseLevel& level, bool control) {
        if (!control) return pressKey(level, DIK_BACK);
        zvtest::setKey(DIK_LCONTROL, true);
        pressKey(level, DIK_Z);
        zvtest::setKey(DIK_LCONTROL, false);
    }

    // Moves the keyboard highlight to (i, j) with the arrow keys.
    void highlight(CZVBaseLevel& level, int i, int j) {
        if (!level.m_highlightShown) pressKey(level, DIK_LEFT);
        while (level.m_highlightColumn > i) pressKey(level, DIK_LEFT);
        while (level.m_highlightColumn < i) pressKey(level, DIK_RIGHT);
        while (level.m_highlightRow > j) pressKey(level, DIK_DOWN);
        while (level.m_highlightRow < j) pressKey(level, DIK_UP);
    }

    // Plays the board to completion with the hints, clicking each hinted block.
    void solveWithHints(CZVBaseLevel& level) {
        for (int guard = 0; state->m_levelPhase == LP_PLAYING && guard < 30; ++guard) {
            pressKey(level, DIK_H);
            ASSERT_GE(level.m_hintCell, 0);
            clickBlock(level, level.m_hintCell % level.m_boardWidth, level.m_hintCell / level.m_boardWidth);
            EXPECT_EQ(level.m_hintCell, -1) << "the hint outlives the flip";
        }
    }
};

TEST_F(LevelAssist, UndoTakesBackEachFlipAsAMoveDownToTheBoardAsLoaded) {
    CZVBaseLevel level;
    startPlaying(level, kChecker);
    const std::vector<int> loaded = states(level);
    clickBlock(level, 1, 1);
    const std::vector<int> afterOne = states(level);
    clickBlock(level, 3, 2);
    clickBlock(level, 0, 0);
    ASSERT_EQ(state->m_moves, 3);

    undo(level, false);
    undo(level, true);
    EXPECT_EQ(states(level), afterOne);
    undo(level, false);
    EXPECT_EQ(states(level), loaded);
    EXPECT_EQ(state->m_moves, 6) << "each undo counts as a move";
    // Nothing is left to take back: no flip, no move, no sound.
    const size_t sounds = count(log(), kPlaySound);
    undo(level, false);
    EXPECT_EQ(states(level), loaded);
    EXPECT_EQ(state->m_moves, 6);
    EXPECT_EQ(count(log(), kPlaySound), static_cast<int>(sounds));
    // Z without Ctrl is no undo.
    clickBlock(level, 2, 1);
    pressKey(level, DIK_Z);
    EXPECT_NE(states(level), loaded);

    // Far more flips than the undo keeps in order still undo to the board
    // as loaded.
    for (int k = 0; k < CZVBaseLevel::kUndoCapacity + 40; ++k) level.playFlip(k % 4, (k / 4) % 3);
    while (level.undoFlip()) {
    }
    EXPECT_EQ(states(level), loaded);
}

TEST_F(LevelAssist, RestartReturnsToTheLoadedBoardAndGetReady) {
    CZVBaseLevel level;
    startPlaying(level, kChecker);
    const std::vector<int> loaded = states(level);
    clickBlock(level, 2, 1);
    clickBlock(level, 0, 2);
    pressKey(level, DIK_H);
    frame(level, 2.0);
    pressKey(level, DIK_R);
    EXPECT_EQ(states(level), loaded);
    EXPECT_EQ(state->m_moves, 0);
    EXPECT_EQ(state->m_levelTime, 0.0f);
    EXPECT_EQ(state->m_levelPhase, LP_GET_READY);
    EXPECT_FALSE(state->m_hinted);
    EXPECT_EQ(level.m_hintCell, -1);
    EXPECT_FALSE(level.undoFlip()) << "a restart empties the undo";
}

TEST_F(LevelAssist, AHintedRunKeepsNoRecordWhileAnUnhintedOneDoes) {
    // The hints lead to the solution in par clicks.
    {
        CZVBaseLevel level;
        startPlaying(level, kChecker);
        ASSERT_NO_FATAL_FAILURE(solveWithHints(level));
        EXPECT_EQ(state->m_levelPhase, LP_COMPLETED);
        EXPECT_EQ(state->m_moves, 7);
        EXPECT_TRUE(state->m_hinted);
        EXPECT_EQ(readLevel(1), kChecker) << "a hinted run wrote a record";
    }
    // The same clicks without asking: the record is written.
    {
        CZVBaseLevel level;
        startPlaying(level, kChecker);
        const ZVSolver solver(4, 3);
        ZVSolver::Cells clicks = 0;
        ASSERT_EQ(solver.minimumClicks(level.boardMask(), &clicks), 7);
        for (int k = 0; k < 12; ++k)
            if (clicks & (ZVSolver::Cells(1) << k)) clickBlock(level, k % 4, k / 4);
        EXPECT_EQ(state->m_levelPhase, LP_COMPLETED);
        EXPECT_FALSE(state->m_hinted);
        EXPECT_NE(readLevel(1), kChecker);
        EXPECT_EQ(count(readLevel(1), "\n5\n7\n"), 1) << readLevel(1);
    }
}

TEST_F(LevelAssist, ABoardWithoutSolutionGetsAMessageInsteadOfAHint) {
    // One front corner on a 4 x 4 board can never be evened out.
    ASSERT_FALSE(ZVSolver(4, 4).isSolvable(1));
    CZVBaseLevel level;
    startPlaying(level, levelText(4, 4, "1000000000000000", 599999, 1, 999));
    pressKey(level, DIK_H);
    EXPECT_EQ(level.m_hintCell, -1);
    EXPECT_FALSE(state->m_hinted);
    EXPECT_GT(state->m_noSolutionTime, 0.0f);
    frame(level, 5.0);
    EXPECT_EQ(state->m_noSolutionTime, 0.0f) << "the message stays up";
}

TEST_F(LevelAssist, TheKeyboardAloneSolvesALevel) {
    CZVBaseLevel level;
    startPlaying(level, kChecker);
    // Enter during play flips only once the highlight shows.
    pressEnter(level);
    EXPECT_EQ(state->m_moves, 0);
    const ZVSolver solver(4, 3);
    ZVSolver::Cells clicks = 0;
    ASSERT_EQ(solver.minimumClicks(level.boardMask(), &clicks), 7);
    bool space = true;
    for (int k = 0; k < 12; ++k) {
        if (!(clicks & (ZVSolver::Cells(1) << k))) continue;
        highlight(level, k % 4, k / 4);
        pressKey(level, space ? DIK_SPACE : DIK_RETURN);
        space = !space;
    }
    EXPECT_EQ(state->m_levelPhase, LP_COMPLETED);
    EXPECT_EQ(state->m_moves, 7);
    // The highlight stops at the edges; moving the mouse shows the pointer.
    CZVBaseLevel other;
    startPlaying(other, kChecker);
    for (int k = 0; k < 6; ++k) pressKey(other, DIK_LEFT);
    EXPECT_TRUE(other.m_highlightShown);
    EXPECT_EQ(other.m_highlightColumn, 0);
    zvtest::setPointer(10, 10);
    frame(other);
    EXPECT_FALSE(other.m_highlightShown);
}

TEST_F(LevelAssist, AControllerPluggedInDuringPlayMovesFlipsUndoesAndHints) {
    CZVBaseLevel level;
    startPlaying(level, kChecker);
    ASSERT_TRUE(zvtest::plugController()) << "SDL made no virtual controller";
    const auto tap = [&](int button) {
        zvtest::setControllerButton(button, true);
        frame(level);
        zvtest::setControllerButton(button, false);
        frame(level);
    };
    const int kA = 0, kX = 2, kY = 3, kDpadUp = 11, kDpadLeft = 13;
    const std::vector<int> loaded = states(level);
    tap(kDpadLeft);  // shows the highlight on the middle block (2, 1)
    tap(kDpadLeft);
    tap(kDpadUp);
    EXPECT_TRUE(level.m_highlightShown);
    EXPECT_EQ(level.m_highlightColumn, 1);
    EXPECT_EQ(level.m_highlightRow, 2);
    tap(kA);
    EXPECT_EQ(state->m_moves, 1);
    EXPECT_NE(states(level), loaded);
    tap(kX);
    EXPECT_EQ(states(level), loaded);
    EXPECT_EQ(state->m_moves, 2);
    tap(kY);
    EXPECT_GE(level.m_hintCell, 0);
    // The left stick pushed right moves the highlight as the D-pad does.
    zvtest::setControllerAxis(0, 30000);
    frame(level);
    zvtest::setControllerAxis(0, 0);
    frame(level);
    EXPECT_EQ(level.m_highlightColumn, 2);
    // Unplugged, the pad's buttons are gone and play goes on with the keys.
    zvtest::setControllerButton(kA, true);
    zvtest::unplugController();
    frame(level);
    frame(level);
    EXPECT_EQ(state->m_moves, 2);
    pressKey(level, DIK_SPACE);
    EXPECT_EQ(state->m_moves, 3);
}

}  // namespace
