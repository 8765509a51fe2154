// The level select: stepping the level with wrap-around, a click per step,
// and the number centred on the screen.
#include <dinput.h>

#include <cstdio>
#include <memory>
#include <string>

#include "MenusFixture.h"
#include "QNBaseRend.h"
#include "QNGameState.h"
#include "QNMemory.h"
#include "ZVBaseLvlSelect.h"
#include "testing/PlatformTesting.h"

namespace {

// Without a sound system every click the object asks for reaches the sound
// manager as a missing sound and leaves one row in the result log: a
// countable trace of each click.
const char kClickRow[] = "CQNSoundManager::playSound( )";

class LvlSelect : public MenusFixture {
protected:
    void SetUp() override {
        MenusFixture::SetUp();
        select = makeSelect();
    }
    void TearDown() override {
        select.reset();
        MenusFixture::TearDown();
    }

    std::unique_ptr<CZVBaseLvlSelect> makeSelect() {
        std::unique_ptr<CZVBaseLvlSelect> made(new CZVBaseLvlSelect);
        made->initialize("Assets\\Scripts\\Base Objects\\zv.lvlsel.base");
        for (int d = 0; d < 10; ++d) record(&made->m_digits[d], static_cast<char>('0' + d));
        return made;
    }

    // "c@x,y" of each digit drawn.
    std::string drawn() {
        std::string out;
        char item[48];
        for (const Draw& d : render({select.get()})) {
            std::snprintf(item, sizeof item, "%c@%g,%g ", d.tag, d.x, d.y);
            out += item;
        }
        return out;
    }

    std::unique_ptr<CZVBaseLvlSelect> select;
};

TEST_F(LvlSelect, ArrowsStepTheLevelAndWrapAtBothEnds) {
    const struct {
        int32_t from;
        std::initializer_list<int> keys;
        int32_t to;
        int clicks;
    } rows[] = {
        {1, {DIK_LEFT}, 40, 1},
        {40, {DIK_RIGHT}, 1, 1},
        {5, {DIK_LEFT}, 4, 1},
        {39, {DIK_RIGHT}, 40, 1},
        {1, {DIK_LEFT, DIK_RIGHT}, 1, 2},  // both at once: down, then back up
        {12, {DIK_UP, DIK_DOWN, DIK_RETURN}, 12, 0},  // other keys leave the level alone
    };
    int clicks = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.from);
        state->m_level = row.from;
        frameWithKeys(row.keys, {select.get()});
        frame({select.get()});  // keys up before the next row
        EXPECT_EQ(state->m_level, row.to);
        clicks += row.clicks;
    }
    EXPECT_EQ(logRowsContaining(kClickRow), clicks);
}

TEST_F(LvlSelect, HoldingAnArrowRepeatsAfterTheDelay) {
    state->m_level = 38;
    zvtest::setKey(DIK_RIGHT, true);
    frame({select.get()});
    EXPECT_EQ(state->m_level, 39);
    for (int f = 0; f < 50; ++f) frame({select.get()});  // 0.85 s held
    EXPECT_EQ(state->m_level, 39);
    for (int f = 0; f < 30; ++f) frame({select.get()});  // 1.35 s held
    // Repeats after one second, one every tenth of a second, past 40 to 1.
    EXPECT_GE(state->m_level, 1);
    EXPECT_LE(state->m_level, 3);
    zvtest::setKey(DIK_RIGHT, false);
    frame({select.get()});
    EXPECT_EQ(logRowsContaining(kClickRow), state->m_level + 40 - 38);
}

TEST_F(LvlSelect, TheNumberIsCentredBelowTheMiddleAtThreeTimesItsScriptSize) {
    const struct {
        int32_t level;
        const char* drawn;
    } rows[] = {
        {9, "9@0,-30 "},
        {40, "4@-20,-30 0@20,-30 "},
        {11, "1@-20,-30 1@20,-30 "},  // one picture moved and drawn twice
        {-3, "3@40,-30 "},            // a hand-set record: the minus sign stays blank
    };
    for (const auto& row : rows) {
        state->m_level = row.level;
        EXPECT_EQ(drawn(), row.drawn) << "level " << row.level;
    }
    writeTransformScript("zv.num4.base", "[TRANSLATION] 5 70 2\n[SCALE] 2 1 0.5");
    select = makeSelect();
    const CQNBaseRend& four = select->m_digits[4];
    EXPECT_EQ(four.m_translation.z, 2.0f);
    EXPECT_EQ(four.m_scale.x, 6.0f);
    EXPECT_EQ(four.m_scale.z, 1.5f);
}

TEST_F(LvlSelect, TheShownLevelsProgressComesFromItsFile) {
    const struct {
        int32_t level;
        const char* file;
        const char* shown;
    } rows[] = {
        {3, "3 3\n1 0 1\n0 0 0\n1 0 1\n599999\n4\n999\n", "NOT SOLVED YET\nPAR 4"},
        {4, "3,3 1,0,1 0,0,0 1,0,1 1234 4 6", "SOLVED\nBEST MOVES 6  PAR 4\nBEST TIME 00:12:34"},
        {5, "2 1 1 0 61500 2 2", "SOLVED  -  PAR!\nBEST MOVES 2  PAR 2\nBEST TIME 10:15:00"},
        {6, "9 9 0 0 0", ""},  // a file the game refuses shows nothing
    };
    for (const auto& row : rows)
        zvtestsupport::writeFile("Assets\\Scripts\\Levels\\zv." + std::to_string(row.level) + ".lvl", row.file);
    state->m_level = 2;
    for (const auto& row : rows) {
        frameWithKeys({DIK_RIGHT}, {select.get()});
        frame({select.get()});
        ASSERT_EQ(state->m_level, row.level);
        char text[128];
        select->progressText(text, sizeof text);
        EXPECT_STREQ(text, row.shown) << "level " << row.level;
    }
    // A record saved while away shows on the next visit.
    zvtestsupport::writeFile("Assets\\Scripts\\Levels\\zv.3.lvl", "1 1 1 700 1 1");
    select = makeSelect();
    state->m_level = 3;
    frame({select.get()});
    char text[128];
    select->progressText(text, sizeof text);
    EXPECT_STREQ(text, "SOLVED  -  PAR!\nBEST MOVES 1  PAR 1\nBEST TIME 00:07:00");
}

TEST_F(LvlSelect, FramesAllocateNothing) {
    state->m_level = 27;
    frame({select.get()});
    unsigned before = getAllocationCount();
    for (int f = 0; f < 30; ++f) {
        frame({select.get()});
        select->render();
    }
    EXPECT_EQ(getAllocationCount() - before, 0u);
}

}  // namespace
