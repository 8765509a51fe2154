// Records written back into the level file: only strictly better runs, the
// unbeaten record kept, the layout that was played, and never a lost file.
#include <sys/stat.h>

#include "LevelFixture.h"
#include "QNGameState.h"
#include "ZVBaseLevel.h"

namespace {

const char kSaveLocation[] = "CZVBaseLevel::saveUpdatedLevel( )";

class LevelRecord : public LevelFixture {
protected:
    // Loads level 1 as stored, and saves after a run of `time` and `moves`.
    QNRESULT saveRun(const std::string& stored, float time, int moves) {
        CZVBaseLevel level;
        load(level, stored);
        state->m_levelTime = time;
        state->m_moves = moves;
        return level.saveUpdatedLevel();
    }
};

TEST_F(LevelRecord, OnlyStrictlyBetterRunsAreWritten) {
    const struct {
        int bestTime, bestMoves;
        float time;
        int moves;
        bool written;
        int savedTime, savedMoves;
    } rows[] = {
        {1250, 20, 12.5f, 20, false, 0, 0},     // equal time (1250 hundredths) and equal moves
        {1250, 20, 12.6f, 21, false, 0, 0},     // both worse
        {1250, 20, 12.49f, 20, true, 1249, 20}, // only the time: the best moves stay
        {1250, 20, 12.5f, 19, true, 1250, 19},  // only the moves: the best time stays
        {1250, 20, 3.217f, 4, true, 321, 4},    // both; the time truncated to hundredths
        {0, 0, 0.0f, 0, false, 0, 0},           // records of zero are never beaten
    };
    // A stored "2" shows the front face but is written back as "0": an
    // equal run must leave the file exactly as it was.
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.time << "s " << row.moves << " moves");
        const std::string stored = levelText(4, 3, "010110100102", row.bestTime, 7, row.bestMoves);
        EXPECT_EQ(saveRun(stored, row.time, row.moves), QNRSLT_OK);
        EXPECT_EQ(readLevel(1), row.written ? levelText(4, 3, "010110100100", row.savedTime, 7, row.savedMoves)
                                            : stored);
        // The in-memory records stay for the HUD's new-record marks.
        EXPECT_EQ(state->m_levelData.m_bestTime, row.bestTime);
        EXPECT_EQ(state->m_levelData.m_bestMoves, row.bestMoves);
    }
    EXPECT_FALSE(zvtestsupport::fileExists("Assets/Scripts/Levels/zv.1.lvl.tmp"));
}

TEST_F(LevelRecord, TheSavedLayoutIsTheOnePlayed) {
    // The whole file round-trips, whichever way the load turned it.
    for (bool invert : {false, true}) {
        SCOPED_TRACE(invert ? "inverted" : "as stored");
        CZVBaseLevel level;
        ASSERT_NO_FATAL_FAILURE(load(level, levelText(3, 3, "010111010", 599999, 1, 999), invert));
        state->m_levelPhase = LP_GET_READY;  // as the state machine starts a level
        pressEnter(level);  // start, then one frame of play
        clickBlock(level, 1, 1);
        ASSERT_EQ(state->m_levelPhase, LP_COMPLETED);
        EXPECT_EQ(readLevel(1), levelText(3, 3, invert ? "101000101" : "010111010", 3, 1, 1))
            << "two frames of 1/60 s, one move";
    }
}

TEST_F(LevelRecord, AShippedLevelFileRoundTripsByteForByte) {
    const std::string shipped =
        zvtestsupport::readFile(std::string(ZV_SOURCE_DIR) + "/Assets/Scripts/Levels/zv.40.lvl");
    ASSERT_NE(shipped, "<missing>");
    CZVBaseLevel level;
    ASSERT_NO_FATAL_FAILURE(load(level, shipped, false, 40));
    const CQNLevelData& data = state->m_levelData;
    // Beat the time by exactly one hundredth and keep the moves: only the
    // time line changes.
    const int oldTime = data.m_bestTime;
    state->m_levelTime = (oldTime - 1) / 100.0f;
    state->m_moves = data.m_bestMoves;
    ASSERT_EQ(level.saveUpdatedLevel(), QNRSLT_OK);
    std::string expected = shipped;
    const std::string line = "\n" + std::to_string(oldTime) + "\n";
    const size_t at = expected.find(line);
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, line.size(), "\n" + std::to_string(static_cast<int>(state->m_levelTime * 100.0f)) + "\n");
    EXPECT_EQ(readLevel(40), expected);
}

TEST_F(LevelRecord, AFailedSaveKeepsTheOldFileAndIsLogged) {
    // The replacement is written beside the file first; a folder in its way
    // makes that fail even for a user whom permissions do not stop.
    const std::string stored = levelText(3, 3, "010111010", 599999, 1, 999);
    zvtestsupport::makeDirs("Assets/Scripts/Levels/zv.1.lvl.tmp");
    EXPECT_EQ(saveRun(stored, 1.0f, 1), QNRSLT_MISSINGSCRIPT);
    EXPECT_EQ(readLevel(1), stored);
    struct stat info;
    ASSERT_EQ(stat("Assets/Scripts/Levels/zv.1.lvl.tmp", &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode)) << "what was in the way is left alone";
    const std::string text = log();
    EXPECT_EQ(count(text, kSaveLocation), 1);
    EXPECT_NE(text.find("Assets\\Scripts\\Levels\\zv.1.lvl"), std::string::npos);
}

TEST_F(LevelRecord, ABoardFromAnotherLevelIsNeverSavedOverThisOne) {
    // Level 2's file failed to load after level 1 was solved: level 1's board
    // is still on show while the record names level 2.
    CZVBaseLevel level;
    ASSERT_NO_FATAL_FAILURE(load(level, levelText(3, 3, "111111111", 599999, 1, 999)));
    pressEnter(level);
    ASSERT_EQ(state->m_levelPhase, LP_COMPLETED);
    const std::string saved = readLevel(1);
    zvtestsupport::makeDirs("Assets/Scripts/Levels/zv.2.lvl");  // a folder: cannot be read as a level
    pressEnter(level);
    EXPECT_EQ(state->m_level, 2);
    ASSERT_NE(level.m_blocks, nullptr);
    pressEnter(level);
    EXPECT_EQ(state->m_levelPhase, LP_COMPLETED);
    EXPECT_EQ(readLevel(1), saved);
    EXPECT_NE(log().find("not loaded from it"), std::string::npos);
}

}  // namespace
