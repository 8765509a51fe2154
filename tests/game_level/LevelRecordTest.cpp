// Records written back into the level file: only strictly better runs, the
// unbeaten record kept, the layout that was played, and never a lost file.
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <iterator>
#include <cstdio>
#include <random>
#include <thread>

#include "LevelFixture.h"
#include "QNGameState.h"
#include "ZVBaseLevel.h"
#include "testing/PlatformTesting.h"

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

TEST_F(LevelRecord, AFailedOrRefusedSaveKeepsTheOldFileLogsOnceAndPlayGoesOn) {
    const char* file = "Assets/Scripts/Levels/zv.1.lvl";
    const char* folder = "Assets/Scripts/Levels";
    const struct {
        const char* fault;
        const char* logged;  // besides the file's name
    } rows[] = {
        // A folder where the replacement goes: a user whom permissions do not
        // stop fails too. It is left alone.
        {"something in the way", ""},
        {"disk full", ""},
        {"read-only file", "the file is read-only"},
        {"read-only folder", "its folder is read-only"},
    };
    const std::string stored = levelText(3, 3, "010111010", 599999, 1, 999);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fault);
        const std::string fault = row.fault;
        writeLevel(1, stored);
        if (fault == "something in the way") zvtestsupport::makeDirs(std::string(file) + ".tmp");
        if (fault == "disk full") zvtest::setDiskSpace(12);
        if (fault == "read-only file") chmod(file, 0444);
        if (fault == "read-only folder") chmod(folder, 0555);
        EXPECT_EQ(saveRun(stored, 1.0f, 1), QNRSLT_MISSINGSCRIPT);
        EXPECT_EQ(readLevel(1), stored);
        struct stat info;
        if (fault == "something in the way") {
            ASSERT_EQ(stat((std::string(file) + ".tmp").c_str(), &info), 0);
            EXPECT_TRUE(S_ISDIR(info.st_mode)) << "what was in the way is left alone";
            rmdir((std::string(file) + ".tmp").c_str());
        } else {
            EXPECT_FALSE(zvtestsupport::fileExists(std::string(file) + ".tmp"));
        }
        // Once the fault is gone the next record is saved.
        zvtest::setDiskSpace(-1);
        chmod(folder, 0755);
        chmod(file, 0644);
        EXPECT_EQ(saveRun(stored, 1.0f, 1), QNRSLT_OK);
        EXPECT_EQ(readLevel(1), levelText(3, 3, "010111010", 100, 1, 1));
    }
    // One line for each fault, naming the file (and what is read-only).
    std::vector<LogRow> saves;
    for (const LogRow& row : logRows())
        if (row.location == kSaveLocation) saves.push_back(row);
    ASSERT_EQ(saves.size(), std::size(rows));
    for (size_t i = 0; i < saves.size(); ++i) {
        EXPECT_EQ(saves[i].info.find("Assets\\Scripts\\Levels\\zv.1.lvl"), 0u) << saves[i].info;
        EXPECT_NE(saves[i].info.find(rows[i].logged), std::string::npos) << saves[i].info;
    }
}

TEST_F(LevelRecord, AGameKilledWhileSavingLeavesTheOldOrTheNewRecord) {
    // A child process saves one record and is killed with SIGKILL at a random
    // moment of it, 200 times over; the file must always load, with the old
    // or the new record, and leftovers never pile up.
    const std::string oldText = levelText(3, 3, "010111010", 599999, 1, 999);
    const std::string newText = levelText(3, 3, "010111010", 100, 1, 1);
    auto saveInChild = [&]() -> pid_t {
        writeLevel(1, oldText);
        const pid_t child = fork();
        if (child == 0) {
            // The file as it is, as stored; no exit handlers, so the child
            // never writes the parent's logs.
            CZVBaseLevel level;
            nextLoadInverts(false);
            if (level.loadLevelFromFile(levelPath(1).c_str()) != QNRSLT_OK) _exit(2);
            state->m_levelTime = 1.0f;
            state->m_moves = 1;
            _exit(level.saveUpdatedLevel() == QNRSLT_OK ? 0 : 1);
        }
        return child;
    };
    // How long one save takes, start to end, here.
    const auto start = std::chrono::steady_clock::now();
    const pid_t timed = saveInChild();
    int status = 0;
    ASSERT_EQ(waitpid(timed, &status, 0), timed);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto whole = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(readLevel(1), newText);

    std::mt19937 random(12);
    std::uniform_int_distribution<long long> moment(
        0, std::chrono::duration_cast<std::chrono::microseconds>(whole).count());
    int olds = 0, news = 0;
    for (int i = 0; i < 200; ++i) {
        const pid_t child = saveInChild();
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        kill(child, SIGKILL);
        ASSERT_EQ(waitpid(child, &status, 0), child);
        const std::string now = readLevel(1);
        ASSERT_TRUE(now == oldText || now == newText) << "kill " << i << " left: " << now;
        (now == oldText ? olds : news) += 1;
        CZVBaseLevel level;
        ASSERT_EQ(level.loadLevelFromFile(levelPath(1).c_str()), QNRSLT_OK) << "kill " << i;
        // Only the one replacement of this level may be left; the next save
        // writes over it, and a load never reads it.
        int entries = 0;
        DIR* dir = opendir("Assets/Scripts/Levels");
        while (dirent* e = readdir(dir)) entries += e->d_name[0] != '.';
        closedir(dir);
        ASSERT_LE(entries, 2) << "kill " << i;
    }
    std::printf("killed while saving: %d times the old record, %d times the new\n", olds, news);
    EXPECT_GT(olds, 0);
    EXPECT_GT(news, 0);
    EXPECT_EQ(saveRun(oldText, 1.0f, 1), QNRSLT_OK);
    EXPECT_FALSE(zvtestsupport::fileExists("Assets/Scripts/Levels/zv.1.lvl.tmp"));
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
