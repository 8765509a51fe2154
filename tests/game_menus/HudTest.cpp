// The HUD: where every number and sign goes, the get-ready drop, the pulse
// of the new-record mark, and which records earn a mark.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "DX_D3DWrapper.h"
#include "MenusFixture.h"
#include "QNBaseHud.h"
#include "QNBaseRend.h"
#include "QNGameState.h"
#include "QNMemory.h"

namespace {

bool isNumberTag(char tag) { return (tag >= '0' && tag <= '9') || tag == ':'; }

// "c@x,y" for each draw, blank-separated.
std::string describe(const std::vector<Draw>& draws) {
    std::string out;
    char item[48];
    for (const Draw& d : draws) {
        std::snprintf(item, sizeof item, "%c@%g,%g ", d.tag, d.x, d.y);
        out += item;
    }
    return out;
}

// The digits and colons drawn on the line at height y.
std::string lineAt(const std::vector<Draw>& draws, float y) {
    std::vector<Draw> line;
    for (const Draw& d : draws)
        if (isNumberTag(d.tag) && d.y == y) line.push_back(d);
    return describe(line);
}

// What text drawn from startX at height y should leave: one character every
// 10 units; characters without a picture leave their place empty.
std::string expectedLine(const std::string& text, float startX, float y) {
    std::vector<Draw> line;
    for (size_t i = 0; i < text.size(); ++i)
        if (isNumberTag(text[i])) line.push_back({text[i], startX + 10.0f * i, y, 0, 0, 0, 0});
    return describe(line);
}

// The draw order by kind: signs by their tag, a run of numbers as '#'.
std::string signsAndNumbers(const std::vector<Draw>& draws) {
    std::string out;
    for (const Draw& d : draws) {
        char c = isNumberTag(d.tag) ? '#' : d.tag;
        if (c != '#' || out.empty() || out.back() != '#') out += c;
    }
    return out;
}

class Hud : public MenusFixture {
protected:
    void SetUp() override {
        MenusFixture::SetUp();
        hud = makeHud();
    }
    void TearDown() override {
        hud.reset();
        MenusFixture::TearDown();
    }

    // A HUD whose pictures all record (B background, G get-ready,
    // C completed, N new-record mark, digits and ':' as themselves).
    std::unique_ptr<CQNBaseHud> makeHud() {
        std::unique_ptr<CQNBaseHud> made(new CQNBaseHud);
        made->initialize("Assets\\Scripts\\Base Objects\\zv.hud.base");
        for (int d = 0; d < 10; ++d) record(&made->m_digits[d], static_cast<char>('0' + d));
        record(made->m_colon, ':');
        record(made->m_background, 'B');
        record(made->m_getReady, 'G');
        record(made->m_completed, 'C');
        record(made->m_newRecord, 'N');
        return made;
    }

    void setRun(int32_t phase, float levelTime, int32_t moves, int32_t bestTime, int32_t bestMoves) {
        state->m_levelPhase = phase;
        state->m_levelTime = levelTime;
        state->m_moves = moves;
        state->m_levelData.m_bestTime = bestTime;
        state->m_levelData.m_bestMoves = bestMoves;
    }

    std::vector<Draw> hudFrame() {
        frame({hud.get()});
        return render({hud.get()});
    }

    std::unique_ptr<CQNBaseHud> hud;
};

TEST_F(Hud, EveryNumberStartsWhereItsLineBeginsAt800Wide) {
    state->m_level = 12;
    setRun(LP_PLAYING, 65.5f, 7, 6123, 123);
    state->m_levelData.m_parMoves = 15;
    // Background first, then level, elapsed and best time, then the moves.
    EXPECT_EQ(describe(hudFrame()),
              describe({{'B', -272, 0, 0, 0, 0, 0}}) + expectedLine("12", -330, -150) +
                  expectedLine("01:05:50", -365, 127) + expectedLine("01:01:23", -365, 70) +
                  expectedLine("7", -335, 10) + expectedLine("15", -335, -45) + expectedLine("123", -335, -100));
}

TEST_F(Hud, TimesAreDrawnInPairsFromTheRightWithColons) {
    const struct {
        int32_t hundredths;
        const char* drawn;
    } rows[] = {
        {6123, "01:01:23"},
        {599999, "99:59:99"},
        // From 100 minutes the text is longer; the pairs still count from the right.
        {600000, "0:11:00:00:00"},
        // A hand-edited negative record: the minus signs, having no
        // picture, leave gaps.
        {-150, "0:00:-1:0-:50"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.hundredths);
        setRun(LP_PLAYING, 0, 0, row.hundredths, 0);
        EXPECT_EQ(lineAt(render({hud.get()}), 70), expectedLine(row.drawn, -365, 70));
    }
}

TEST_F(Hud, EachPhaseDrawsItsOwnSignsInOrder) {
    const struct {
        int32_t phase;
        const char* order;
    } rows[] = {{LP_GET_READY, "GB#"}, {LP_PLAYING, "B#"}, {LP_COMPLETED, "BC#NN"}, {3, ""}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.phase);
        setRun(row.phase, 5.0f, 3, 1000, 10);  // both records beaten
        EXPECT_EQ(signsAndNumbers(render({hud.get()})), row.order);
    }
}

TEST_F(Hud, OnlyStrictlyBeatenRecordsEarnAMark) {
    const struct {
        const char* what;
        float levelTime;
        int32_t moves;
        std::string marks;
    } rows[] = {
        {"both beaten", 9.99f, 9, "N@-300,150 N@-300,30 "},
        {"time only", 9.99f, 10, "N@-300,150 "},
        {"moves only", 10.0f, 9, "N@-300,30 "},
        {"both equal", 10.0f, 10, ""},
        {"both worse", 10.01f, 11, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        setRun(LP_COMPLETED, row.levelTime, row.moves, 1000, 10);
        std::vector<Draw> marks;
        for (const Draw& d : render({hud.get()}))
            if (d.tag == 'N') marks.push_back(d);
        EXPECT_EQ(describe(marks), row.marks);
    }
}

TEST_F(Hud, TheTimeMarkPulsesBetweenOneAndOneAndAHalf) {
    setRun(LP_COMPLETED, 5.0f, 3, 1000, 10);
    float low = 10, high = 0;
    int firstTop = -1, firstBottom = -1;
    for (int f = 0; f < 120; ++f) {
        std::vector<Draw> marks;
        for (const Draw& d : hudFrame())
            if (d.tag == 'N') marks.push_back(d);
        ASSERT_EQ(marks.size(), 2u);
        // The move mark shares the time mark's scale in the same frame.
        EXPECT_EQ(marks[0].scaleX, marks[1].scaleX);
        EXPECT_EQ(marks[0].scaleX, marks[0].scaleY);
        const float s = marks[0].scaleX;
        low = std::min(low, s);
        high = std::max(high, s);
        if (s == 1.5f && firstTop < 0) firstTop = f;
        if (s == 1.0f && firstTop >= 0 && firstBottom < 0) firstBottom = f;
    }
    EXPECT_EQ(low, 1.0f);
    EXPECT_EQ(high, 1.5f);
    // A quarter of a second up (15 frames at 60 a second), as long down.
    EXPECT_NEAR(firstTop, 14, 1);
    EXPECT_NEAR(firstBottom - firstTop, 15, 1);

    // A move record alone does not pulse.
    hud = makeHud();
    setRun(LP_COMPLETED, 10.0f, 3, 1000, 10);
    for (int f = 0; f < 30; ++f) {
        std::vector<Draw> draws = hudFrame();
        ASSERT_EQ(signsAndNumbers(draws), "BC#N");
        EXPECT_EQ(draws.back().scaleX, 1.0f);
    }
}

TEST_F(Hud, GetReadySignDropsTiltingAndLevelsOutOnTheCentreLine) {
    setRun(LP_GET_READY, 0, 0, 0, 0);
    const QNVector3& at = hud->m_getReady->m_translation;
    const float& tilt = hud->m_getReady->m_rotation.z;
    frame({hud.get()});
    EXPECT_NEAR(at.y, 300.0f - 5.8f / 60.0f, 1e-3);
    EXPECT_NEAR(tilt, -35.0f + 45.0f / 60.0f, 1e-3);

    int landed = -1;
    float lastY = at.y, lastTilt = tilt;
    for (int f = 2; f <= 100; ++f) {
        frame({hud.get()});
        ASSERT_GE(at.y, 0.0f);
        if (landed < 0 && at.y == 0.0f) landed = f;
        if (landed < 0) {
            // Falling ever faster while tilting at 45 degrees a second.
            EXPECT_LT(at.y - lastY, 0.0f);
            EXPECT_NEAR(tilt - lastTilt, 0.75f, 1e-3);
        } else if (f > landed + 5) {
            EXPECT_EQ(tilt, 0.0f) << "frame " << f;
        }
        lastY = at.y;
        lastTilt = tilt;
    }
    // About 1.3 seconds from the top edge of a 600-high screen.
    EXPECT_NEAR(landed, 79, 1);

    // Left alone outside get-ready; from the top again when it returns.
    state->m_levelPhase = LP_PLAYING;
    frame({hud.get()});
    EXPECT_EQ(at.y, 0.0f);
    state->m_levelPhase = LP_GET_READY;
    frame({hud.get()});
    EXPECT_NEAR(at.y, 300.0f - 5.8f / 60.0f, 1e-3);
    EXPECT_NEAR(tilt, -34.25f, 1e-3);
}

TEST_F(Hud, ANewHudDuringGetReadyKeepsTheDropGoing) {
    setRun(LP_GET_READY, 0, 0, 0, 0);
    for (int f = 0; f < 100; ++f) frame({hud.get()});
    const float speed = CQNBaseHud::s_getReadySpeed;
    ASSERT_LT(speed, -500.0f);
    // The level scene is left and entered again while the level waits: the
    // sign starts where its script puts it, with the speed from before.
    writeTransformScript("zv.getready.base", "[TRANSLATION] 0 100 0\n[ROTATION] 0 0 10");
    hud = makeHud();
    frame({hud.get()});
    EXPECT_NEAR(hud->m_getReady->m_translation.y, 100.0f + (speed - 5.8f) / 60.0f, 1e-3);
    EXPECT_NEAR(hud->m_getReady->m_rotation.z, 10.75f, 1e-3);
}

TEST_F(Hud, FramesAllocateNothing) {
    state->m_level = 40;
    for (int32_t phase : {LP_GET_READY, LP_PLAYING, LP_COMPLETED}) {
        setRun(phase, 12.34f, 5, 99999, 50);
        hudFrame();  // the draw log's vector is the test's, not the HUD's
        unsigned before = getAllocationCount();
        for (int f = 0; f < 30; ++f) {
            frame({hud.get()});
            hud->render();
        }
        EXPECT_EQ(getAllocationCount() - before, 0u) << "phase " << phase;
    }
}

TEST_F(Hud, ReleaseIsSafeTwiceAndLeavesNothingToDraw) {
    hud->release();
    hud->release();
    setRun(LP_COMPLETED, 1.0f, 1, 1000, 10);
    EXPECT_EQ(hud->update(), QNRSLT_OK);
    EXPECT_TRUE(render({hud.get()}).empty());
}

}  // namespace
