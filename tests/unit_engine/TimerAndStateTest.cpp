// Frame time, stopwatches, time text and the game-state record.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "QNGameState.h"
#include "QNGameTimer.h"
#include "QNStopwatch.h"
#include "testing/PlatformTesting.h"

namespace {

std::string timeText(int hundredths) {
    char out[16];
    getTimeText(out, hundredths);
    return out;
}

TEST(TimeText, DigitsForHudAndBeyondHundredMinutes) {
    const struct {
        int t;
        const char* text;
    } cases[] = {
        {0, "000000"},        {6543, "010543"},         {599999, "995999"},
        {5, "000005"}, {100, "000100"},
        {6000, "010000"},     {123456, "203456"},
    };
    for (const auto& c : cases) EXPECT_EQ(timeText(c.t), c.text) << c.t;
    // 600000: part A "01", then 100 minutes, 00 seconds, 00 hundredths.
    EXPECT_EQ(timeText(600000), "011000000");
}

TEST(TimeText, AbsurdValuesStayInsideTheBuffer) {
    char out[32];
    std::memset(out, '#', sizeof out);
    getTimeText(out, 2147483647);
    EXPECT_LE(std::strlen(out), 15u);
    EXPECT_EQ(out[16], '#');
    getTimeText(out, -4321);  // a hand-edited negative time
    EXPECT_LE(std::strlen(out), 15u);
}

TEST(Rate, ChangePerUnit) {
    EXPECT_FLOAT_EQ(getRate(2.0f, 6.0f, 0.5f), 8.0f);
    EXPECT_FLOAT_EQ(getRate(1.0f, 0.0f, 2.0f), -0.5f);
}

class Timer : public ::testing::Test {
protected:
    void SetUp() override {
        zvtest::setClock(5000000000LL);
        CQNGameTimer::getInstance()->initialize();
    }
    void TearDown() override {
        CQNGameTimer::destroyInstance();
        zvtest::useRealClock();
    }
};

TEST_F(Timer, FrameTimeIsTheGapBetweenUpdatesWhateverItsLength) {
    CQNGameTimer* timer = CQNGameTimer::getInstance();
    EXPECT_FLOAT_EQ(timer->getFrameTime(), 0.0f);
    zvtest::advanceClock(0.016);
    timer->update();
    EXPECT_NEAR(timer->getFrameTime(), 0.016f, 1e-6f);
    // A pause of the loop (no focus) shows up whole in the next frame.
    zvtest::advanceClock(37.5);
    timer->update();
    EXPECT_NEAR(timer->getFrameTime(), 37.5f, 1e-4f);
}

TEST_F(Timer, StopwatchesAdvanceOnlyFromFrameToFrame) {
    CQNGameTimer* timer = CQNGameTimer::getInstance();
    CQNStopwatch watch;
    EXPECT_DOUBLE_EQ(watch.getElapsed(), 0.0);
    zvtest::advanceClock(0.25);
    EXPECT_DOUBLE_EQ(watch.getElapsed(), 0.0);  // no update yet: same frame
    timer->update();
    EXPECT_NEAR(watch.getElapsed(), 0.25, 1e-9);
    watch.reset();
    EXPECT_DOUBLE_EQ(watch.getElapsed(), 0.0);
}

TEST(GameState, FreshRecordAndCells) {
    CQNGameState* s = CQNGameState::getInstance();
    EXPECT_TRUE(s->m_envMaps);
    EXPECT_EQ(s->m_state, GS_MAIN_MENU);
    EXPECT_FALSE(s->m_showFps);
    EXPECT_EQ(s->m_level, 1);
    EXPECT_FLOAT_EQ(s->m_levelTime, 0.0f);
    EXPECT_EQ(s->m_moves, 0);
    EXPECT_EQ(s->m_levelPhase, LP_GET_READY);
    EXPECT_EQ(s->m_menuSelection, 0);
    EXPECT_FALSE(s->m_showOptions || s->m_showCredits || s->m_cdPlayback);
    EXPECT_EQ(s->m_levelData.m_cells, nullptr);
    EXPECT_EQ(s->m_levelData.m_width, 0);

    s->m_levelData.freeCells();  // nothing to free
    int32_t* first = s->m_levelData.allocateCells(9);
    first[8] = 1;
    int32_t* second = s->m_levelData.allocateCells(30);
    EXPECT_EQ(s->m_levelData.m_cells, second);
    s->m_levelData.freeCells();
    EXPECT_EQ(s->m_levelData.m_cells, nullptr);
    s->m_levelData.allocateCells(4);
    CQNGameState::destroyInstance();  // frees the cells too
}

TEST(GameState, LevelTimeText) {
    CQNGameState* s = CQNGameState::getInstance();
    char out[16];
    s->m_levelTime = 65.43f;
    s->getLevelTimeText(out);
    EXPECT_STREQ(out, "010543");
    s->m_levelTime = 6000.5f;  // 100 minutes: part A appears, minutes get three digits
    s->getLevelTimeText(out);
    EXPECT_STREQ(out, "011000050");
    s->m_levelTime = 1e30f;
    s->getLevelTimeText(out);
    EXPECT_LE(std::strlen(out), 15u);
    CQNGameState::destroyInstance();
}

}  // namespace
