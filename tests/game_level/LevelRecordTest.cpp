// Records written back into the level file: only strictly better runs, the
// unbeaten record kept, the layout that was played, and never a lost file.
#include <sys/stat.h>
#include <unistd.h>

#include "LevelFixture.h"
#include "QNGameState.h"
#include "ZVBaseLevel.h"

namespace {

const char kSaveLocation[] = "CZVBaseLevel::saveUpdatedLevel( )";

class LevelRecord : public LevelFixture {};

TEST_F(LevelRecord, OnlyStrictlyBetterRunsAreWritten) {
    const struct {
        float time;
        int moves;
        bool written;
        int savedTime, savedMoves;
    } rows[] = {
        {12.5f, 20, false, 0, 0},     // equal time (1250 hundredths) and equal moves
        {12.6f, 21, false, 0, 0},     // both worse
        {12.49f, 20, true, 1249, 20}, // only the time: the best moves stay
        {12.5f, 19, true, 1250, 19},  // only the moves: the best time stays
        {3.217f, 4, true, 321, 4},    // both; the time truncated to hundredths
        {40.0f, 2, true, 1250, 2},
    };
    const std::string stored = levelText(4, 3, "010110100101", 1250, 7, 20);
    for (const auto& row : rows) {
        writeLevel(1, stored);
        state->m_level = 1;
        nextLoadInverts(false);
        CZVBaseLevel level;
        ASSERT_EQ(level.loadLevel(), QNRSLT_OK);
        state->m_levelTime = row.time;
        state->m_moves = row.moves;
        EXPECT_EQ(level.saveUpdatedLevel(), QNRSLT_OK);
        const std::string expected =
            row.written ? levelText(4, 3, "010110100101", row.savedTime, 7, row.savedMoves) : stored;
        EXPECT_EQ(readLevel(1), expected) << row.time << "s " << row.moves << " moves";
        // The in-memory records stay for the HUD's new-record marks.
        EXPECT_EQ(state->m_levelData.m_bestTime, 1250);
        EXPECT_EQ(state->m_levelData.m_bestMoves, 20);
    }
    EXPECT_FALSE(zvtestsupport::fileExists("Assets/Scripts/Levels/zv.1.lvl.tmp"));
}

TEST_F(LevelRecord, RecordsOfZeroAreNeverBeaten) {
    const std::string stored = levelText(2, 1, "01", 0, 1, 0);
    writeLevel(1, stored);
    CZVBaseLevel level;
    ASSERT_EQ(level.loadLevel(), QNRSLT_OK);
    state->m_levelTime = 0.0f;
    state->m_moves = 0;
    EXPECT_EQ(level.saveUpdatedLevel(), QNRSLT_OK);
    EXPECT_EQ(readLevel(1), stored);
}

TEST_F(LevelRecord, TheSavedLayoutIsTheOnePlayed) {
    // The generator's files and the game's own are the same bytes: the
    // whole file round-trips, whichever way the load turned it.
    for (bool invert : {false, true}) {
        writeLevel(1, levelText(3, 3, "010111010", 599999, 1, 999));
        state->m_level = 1;
        nextLoadInverts(invert);
        CZVBaseLevel level;
        ASSERT_EQ(level.loadLevel(), QNRSLT_OK);
        state->m_levelPhase = LP_GET_READY;  // as the state machine starts a level
        pressEnter(level);  // start, then one frame of play
        clickBlock(level, 1, 1);
        ASSERT_EQ(state->m_levelPhase, LP_COMPLETED) << "moves " << state->m_moves << " invert " << invert;
        const int hundredths = static_cast<int>(state->m_levelTime * 100.0f);
        EXPECT_EQ(hundredths, 3);  // two frames of 1/60 s
        EXPECT_EQ(readLevel(1), levelText(3, 3, invert ? "101000101" : "010111010", hundredths, 1, 1))
            << (invert ? "inverted" : "as stored");
    }
}

TEST_F(LevelRecord, AShippedLevelFileRoundTripsByteForByte) {
    const std::string shipped =
        zvtestsupport::readFile(std::string(ZV_SOURCE_DIR) + "/Assets/Scripts/Levels/zv.40.lvl");
    ASSERT_NE(shipped, "<missing>");
    writeLevel(40, shipped);
    state->m_level = 40;
    nextLoadInverts(false);
    CZVBaseLevel level;
    ASSERT_EQ(level.loadLevel(), QNRSLT_OK);
    const CQNLevelData& data = state->m_levelData;
    // Beat the time by exactly one hundredth and keep the moves: only the
    // time line changes.
    state->m_levelTime = (data.m_bestTime - 1) / 100.0f;
    state->m_moves = data.m_bestMoves;
    ASSERT_EQ(level.saveUpdatedLevel(), QNRSLT_OK);
    const int written = static_cast<int>(state->m_levelTime * 100.0f);
    std::string expected = shipped;
    const std::string oldTime = "\n" + std::to_string(data.m_bestTime) + "\n";
    const size_t at = expected.find(oldTime);
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, oldTime.size(), "\n" + std::to_string(written) + "\n");
    EXPECT_EQ(readLevel(40), expected);
}

TEST_F(LevelRecord, AFailedSaveKeepsTheOldFileAndIsLogged) {
    const std::string stored = levelText(3, 3, "010111010", 599999, 1, 999);
    writeLevel(1, stored);
    CZVBaseLevel level;
    ASSERT_EQ(level.loadLevel(), QNRSLT_OK);
    // The replacement is written beside the file first; a folder in its way
    // makes that fail even for a user whom permissions do not stop.
    zvtestsupport::makeDirs("Assets/Scripts/Levels/zv.1.lvl.tmp");
    state->m_levelTime = 1.0f;
    state->m_moves = 1;
    EXPECT_EQ(level.saveUpdatedLevel(), QNRSLT_MISSINGSCRIPT);
    EXPECT_EQ(readLevel(1), stored);
    struct stat info;
    ASSERT_EQ(stat("Assets/Scripts/Levels/zv.1.lvl.tmp", &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));  // what was in the way is left alone
    const std::string text = log();
    EXPECT_EQ(count(text, kSaveLocation), 1);
    EXPECT_NE(text.find("Assets\\Scripts\\Levels\\zv.1.lvl"), std::string::npos);
}

TEST_F(LevelRecord, AReadOnlyFolderKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
    const std::string stored = levelText(3, 3, "010111010", 599999, 1, 999);
    writeLevel(1, stored);
    CZVBaseLevel level;
    ASSERT_EQ(level.loadLevel(), QNRSLT_OK);
    ASSERT_EQ(chmod("Assets/Scripts/Levels", 0555), 0);
    state->m_levelTime = 1.0f;
    state->m_moves = 1;
    EXPECT_EQ(level.saveUpdatedLevel(), QNRSLT_MISSINGSCRIPT);
    chmod("Assets/Scripts/Levels", 0755);
    EXPECT_EQ(readLevel(1), stored);
    EXPECT_EQ(count(log(), kSaveLocation), 1);
}

TEST_F(LevelRecord, ABoardFromAnotherLevelIsNeverSavedOverThisOne) {
    // Level 2's file failed to load after level 1 was solved: level 1's board
    // is still on show while the record names level 2.
    const std::string stored = levelText(3, 3, "111111111", 599999, 1, 999);
    writeLevel(1, stored);
    CZVBaseLevel level;
    ASSERT_EQ(level.loadLevel(), QNRSLT_OK);
    pressEnter(level);
    ASSERT_EQ(state->m_levelPhase, LP_COMPLETED);
    const std::string saved = readLevel(1);
    zvtestsupport::makeDirs("Assets/Scripts/Levels/zv.2.lvl");  // a folder: cannot be read as a level
    pressEnter(level);
    EXPECT_EQ(state->m_level, 2);
    EXPECT_EQ(state->m_levelPhase, LP_GET_READY);
    ASSERT_NE(level.m_blocks, nullptr);
    pressEnter(level);
    EXPECT_EQ(state->m_levelPhase, LP_COMPLETED);
    struct stat info;
    ASSERT_EQ(stat("Assets/Scripts/Levels/zv.2.lvl", &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(readLevel(1), saved);
    EXPECT_NE(log().find("not loaded from it"), std::string::npos);
}

}  // namespace
