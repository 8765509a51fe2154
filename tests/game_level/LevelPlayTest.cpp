// Playing a level through its frame step: phases, clicks turned into flips
// and moves, completion, the next level, and level files it refuses.
#include <dinput.h>

#include <cstdlib>
#include <vector>

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "LevelFixture.h"
#include "QNBaseRend.h"
#include "QNGameState.h"
#include "QNMemory.h"
#include "QNSceneManager.h"
#include "ZVBaseLevel.h"
#include "testing/PlatformTesting.h"

namespace {

const char kPlaySound[] = "CQNSoundManager::playSound( )";
// A checker board: no single cross makes it uniform.
const std::string kChecker = levelText(4, 3, "010110100101", 599999, 5, 999);

class LevelPlay : public LevelFixture {
protected:
    std::vector<int> states(const CZVBaseLevel& level) {
        std::vector<int> s;
        for (int k = 0; k < level.m_boardWidth * level.m_boardHeight; ++k) s.push_back(level.m_blocks[k].m_state);
        return s;
    }

    // Loads level 1 from text as the game would, then Enter starts play.
    void startPlaying(CZVBaseLevel& level, const std::string& text, bool invert = false) {
        ASSERT_NO_FATAL_FAILURE(load(level, text, invert));
        state->m_levelPhase = LP_GET_READY;
        pressEnter(level);
        ASSERT_EQ(state->m_levelPhase, LP_PLAYING);
    }
};

TEST_F(LevelPlay, AClickFlipsTheCrossOnTheBoardAsOneMove) {
    const struct {
        int i, j, flips;
    } rows[] = {{3, 2, 3}, {1, 0, 4}, {2, 1, 5}};  // a corner, an edge, an inner block
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "click " << row.i << "," << row.j);
        CZVBaseLevel level;
        startPlaying(level, kChecker);
        const std::vector<int> before = states(level);
        clickBlock(level, row.i, row.j);
        const std::vector<int> after = states(level);
        int flipped = 0;
        for (int k = 0; k < 12; ++k) {
            const int i = k % 4, j = k / 4;
            const bool inCross = (i == row.i && std::abs(j - row.j) <= 1) || (j == row.j && std::abs(i - row.i) <= 1);
            EXPECT_EQ(after[k] != before[k], inCross) << "cell " << i << "," << j;
            flipped += after[k] != before[k];
        }
        EXPECT_EQ(flipped, row.flips);
        EXPECT_EQ(state->m_moves, 1);
        EXPECT_EQ(state->m_levelPhase, LP_PLAYING);
    }
    // Each hit played the click sound once (none is loaded here, so the
    // sound manager reports each attempt).
    EXPECT_EQ(count(log(), kPlaySound), 3);
}

TEST_F(LevelPlay, AClickBesideTheBoardOrEnterDuringPlayDoesNothing) {
    CZVBaseLevel level;
    startPlaying(level, kChecker);
    const std::vector<int> before = states(level);
    const float time = state->m_levelTime;
    const int misses[][2] = {{20, 20}, {780, 580}, {400, 40}};
    for (const auto& m : misses) clickAt(level, m[0], m[1]);
    // 17 units diagonally off block (1, 1) on the board, further from every
    // other centre: the line through it passes beyond the 16-unit reach.
    const D3DXVECTOR2 c = blockPixel(level, 1, 1);
    const D3DXVECTOR2 off = c + (blockPixel(level, 2, 1) - c + blockPixel(level, 1, 2) - c) * (12.0f / 32.0f);
    clickAt(level, static_cast<int>(off.x + 0.5f), static_cast<int>(off.y + 0.5f));
    pressEnter(level);
    EXPECT_EQ(state->m_levelPhase, LP_PLAYING);
    EXPECT_EQ(states(level), before);
    EXPECT_EQ(state->m_moves, 0);
    EXPECT_GT(state->m_levelTime, time) << "the clock runs while playing";
    EXPECT_EQ(count(log(), kPlaySound), 0);
}

TEST_F(LevelPlay, AClickWhileGettingReadyOnlyStartsPlay) {
    CZVBaseLevel level;
    ASSERT_NO_FATAL_FAILURE(load(level, kChecker));
    const std::vector<int> before = states(level);
    frame(level, 0.5);
    EXPECT_EQ(state->m_levelTime, 0.0f) << "the clock stands while getting ready";
    const D3DXVECTOR2 p = blockPixel(level, 1, 1);
    zvtest::setPointer(static_cast<int>(p.x + 0.5f), static_cast<int>(p.y + 0.5f));
    zvtest::setMouseButton(0, true);
    frame(level);
    EXPECT_EQ(state->m_levelPhase, LP_PLAYING);
    EXPECT_EQ(states(level), before);
    EXPECT_EQ(state->m_levelTime, 0.0f) << "no time in the frame that starts play";
    frame(level);  // still held: not a new press
    EXPECT_EQ(state->m_moves, 0);
    zvtest::setMouseButton(0, false);
    frame(level);
    clickBlock(level, 1, 1);
    EXPECT_EQ(state->m_moves, 1);
}

TEST_F(LevelPlay, UniformBoardsAreCompleteInTheFirstFrameOfPlay) {
    const struct {
        int width, height;
        const char* cells;
    } rows[] = {{1, 1, "1"}, {3, 3, "111111111"}, {3, 3, "000000000"}, {2, 1, "22"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << "x" << row.height << " " << row.cells);
        CZVBaseLevel level;
        ASSERT_NO_FATAL_FAILURE(load(level, levelText(row.width, row.height, row.cells, 599999, 5, 999)));
        state->m_levelPhase = LP_GET_READY;
        zvtest::setKey(DIK_RETURN, true);
        frame(level);
        zvtest::setKey(DIK_RETURN, false);
        EXPECT_EQ(state->m_levelPhase, LP_PLAYING);
        frame(level, 0.25);
        EXPECT_EQ(state->m_levelPhase, LP_COMPLETED);
        EXPECT_EQ(state->m_levelTime, 0.25f);
        // One frame's time and no move beat both records.
        std::string cells(row.cells);
        for (char& c : cells) c = c == '1' ? '1' : '0';
        EXPECT_EQ(readLevel(1), levelText(row.width, row.height, cells, 25, 5, 0));
        frame(level, 1.0);
        EXPECT_EQ(state->m_levelTime, 0.25f) << "the clock stands once solved";
    }
}

TEST_F(LevelPlay, SolvingEndsOnEitherFace) {
    // The plus sign, solved by one click on its centre: to all back faces
    // as stored, to all front faces when the load inverted it.
    for (bool invert : {false, true}) {
        CZVBaseLevel level;
        startPlaying(level, levelText(3, 3, "010111010", 599999, 1, 999), invert);
        clickBlock(level, 1, 1);
        EXPECT_EQ(state->m_levelPhase, LP_COMPLETED);
        EXPECT_EQ(states(level), std::vector<int>(9, invert ? BLOCK_FRONT : BLOCK_BACK));
    }
}

TEST_F(LevelPlay, TheNextLevelFollowsASolvedBoardAndFortyWrapsToOne) {
    writeLevel(41, levelText(2, 2, "0000", 1, 1, 1));  // never played
    writeLevel(1, levelText(5, 4, "01011010010110100101", 7, 8, 9));
    CZVBaseLevel level;
    ASSERT_NO_FATAL_FAILURE(load(level, levelText(3, 3, "111111111", 599999, 1, 999), false, 40));
    pressEnter(level);
    ASSERT_EQ(state->m_levelPhase, LP_COMPLETED);
    frame(level, 2.0);
    EXPECT_EQ(state->m_levelPhase, LP_COMPLETED) << "waits for Enter or a click";
    clickAt(level, 10, 10);
    EXPECT_EQ(state->m_levelPhase, LP_GET_READY);
    EXPECT_EQ(state->m_level, 1);
    EXPECT_EQ(level.m_boardWidth, 5);
    EXPECT_EQ(state->m_levelData.m_bestMoves, 9);
    EXPECT_EQ(state->m_levelTime, 0.0f);
    EXPECT_EQ(state->m_moves, 0);
    EXPECT_EQ(CDX_Camera::getInstance()->m_eyePos, D3DXVECTOR3(-17, 0, 130));
}

TEST_F(LevelPlay, BadLevelFilesAreRefusedAndTheBoardStays) {
    const struct {
        const char* text;
        const char* why;
    } rows[] = {
        {"3", "the file does not start with a width and a height"},
        {"0 3\n599999 1 999\n", "a board of 0 x 3"},
        {"3 -1\n599999 1 999\n", "a board of 3 x -1"},
        {"7 5\n", "a board of 7 x 5"},
        {"100000 100000\n", "a board of 100000 x 100000"},
        {"2 2\n0 1\n1 0\n599999 4\n", "too few numbers for a 2 x 2 board"},
    };
    CZVBaseLevel level;
    ASSERT_NO_FATAL_FAILURE(load(level, levelText(4, 3, "010110100101", 1234, 5, 67)));
    ZVBlock* board = level.m_blocks;
    const std::vector<int> before = states(level);
    state->m_levelTime = 3.5f;
    state->m_moves = 4;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        writeLevel(2, row.text);
        EXPECT_EQ(level.loadLevelFromFile(levelPath(2).c_str()), QNRSLT_INVALIDPARAM);
        EXPECT_EQ(level.m_blocks, board);
        EXPECT_EQ(level.m_boardWidth, 4);
        EXPECT_EQ(states(level), before);
        EXPECT_EQ(state->m_levelData.m_height, 3);
        EXPECT_EQ(state->m_levelData.m_bestTime, 1234);
        EXPECT_EQ(state->m_levelTime, 3.5f);
        EXPECT_EQ(state->m_moves, 4);
    }
    // A missing file is reported by the script reader and changes nothing.
    EXPECT_EQ(level.loadLevelFromFile(levelPath(3).c_str()), QNRSLT_MISSINGSCRIPT);
    EXPECT_EQ(level.m_blocks, board);
    const std::string text = log();
    for (const auto& row : rows) EXPECT_NE(text.find(row.why), std::string::npos) << row.why;
    EXPECT_EQ(count(text, "CZVBaseLevel::loadLevelFromFile( )"), 6);
    EXPECT_NE(text.find("Script: Assets\\Scripts\\Levels\\zv.3.lvl"), std::string::npos);
}

TEST_F(LevelPlay, ALevelWithoutABoardCanOnlyBeLeft) {
    // No level file at all: the level object is made by its scene as usual.
    zvtestsupport::writeFile("Assets\\Scripts\\Base Objects\\zv.level.base", "[CLASS_TYPE] CZVBaseLevel\n");
    CQNSceneManager* scenes = CQNSceneManager::getInstance();
    ASSERT_EQ(scenes->doItAll("Assets\\Scripts\\Base Objects\\zv.level.base"), QNRSLT_OK);
    CZVBaseLevel* level = dynamic_cast<CZVBaseLevel*>(scenes->getObject(0));
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->m_blocks, nullptr);
    for (int phase : {LP_GET_READY, LP_PLAYING, LP_COMPLETED}) {
        state->m_levelPhase = phase;
        pressEnter(*level);
        clickAt(*level, 400, 300);
        EXPECT_EQ(level->render(), QNRSLT_OK);
        EXPECT_EQ(state->m_levelPhase, phase);
        EXPECT_EQ(state->m_moves, 0);
        EXPECT_EQ(state->m_level, 1);
    }
    EXPECT_FALSE(zvtestsupport::fileExists(levelPath(1)));
}

TEST_F(LevelPlay, FramesOfPlayAllocateNothing) {
    CZVBaseLevel level;
    level.initialize("Assets\\Scripts\\Base Objects\\zv.level.base");
    ASSERT_NO_FATAL_FAILURE(load(level, levelText(6, 5, "010110100101010110100101011010", 599999, 5, 999)));
    frame(level);  // the first frame may set up what the layer keeps
    const unsigned before = getAllocationCount();
    for (int f = 0; f < 30; ++f) frame(level);
    pressEnter(level);
    // Three crosses and the same three again: the board never comes out
    // uniform, so no level change (which loads) takes place.
    const int clicks[][2] = {{0, 0}, {2, 1}, {4, 3}, {0, 0}, {2, 1}, {4, 3}};
    for (const auto& c : clicks) {
        clickBlock(level, c[0], c[1]);
        for (int f = 0; f < 10; ++f) frame(level);
        level.render();
    }
    EXPECT_EQ(getAllocationCount() - before, 0u);
    EXPECT_EQ(state->m_moves, 6);
}

TEST_F(LevelPlay, WithTheGameDeviceEveryBlockTakesItsClick) {
    // The device as the game starts it: its projection is what picking uses.
    zvtestsupport::writeFile("Assets\\Scripts\\Config\\qnengine.cfg", "[RESOLUTION] 800 600\n");
    CDX_D3DWrapper* d3d = CDX_D3DWrapper::getInstance();
    ASSERT_EQ(d3d->initialize(m_hWnd, "Assets\\Scripts\\Config\\qnengine.cfg"), QNRSLT_OK);
    CZVBaseLevel level;
    startPlaying(level, levelText(5, 4, "01011010010110100101", 599999, 5, 999));
    for (int k = 0; k < 20 && state->m_levelPhase == LP_PLAYING; ++k) {
        const int i = k % 5, j = k / 5, moves = state->m_moves;
        const std::vector<int> before = states(level);
        clickBlock(level, i, j);
        EXPECT_EQ(state->m_moves, moves + 1) << "block " << i << "," << j;
        EXPECT_NE(states(level)[k], before[k]) << "block " << i << "," << j;
        d3d->clearScreen(0, 0, 0);
        d3d->getDevice()->BeginScene();
        EXPECT_EQ(level.render(), QNRSLT_OK);
        d3d->getDevice()->EndScene();
        d3d->renderScreen();
    }
}

}  // namespace
