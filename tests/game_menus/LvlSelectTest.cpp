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
