// The main menu: the pointer's line, the panel flags it clears, no
// wrap-around.
#include <dinput.h>

#include <memory>
#include <string>

#include "MenusFixture.h"
#include "QNBaseRend.h"
#include "QNGameState.h"
#include "QNMemory.h"
#include "ZVMainMenu.h"
#include "testing/PlatformTesting.h"

namespace {

class MainMenu : public MenusFixture {
protected:
    void SetUp() override {
        MenusFixture::SetUp();
        menu.reset(new CZVMainMenu);
        menu->initialize("Assets\\Scripts\\Base Objects\\zv.mainmenu.base");
        record(menu->m_pointer, 'P');
        record(menu->m_optionsPanel, 'O');
        record(menu->m_creditsPanel, 'R');
    }
    void TearDown() override {
        menu.reset();
        MenusFixture::TearDown();
    }

    std::string drawnTags() {
        std::string out;
        for (const Draw& d : render({menu.get()})) out += d.tag;
        return out;
    }

    std::unique_ptr<CZVMainMenu> menu;
};

TEST_F(MainMenu, EachLinePlacesThePointerAndClosesTheOtherPanels) {
    const struct {
        int32_t selection;
        float pointerY;  // 0 when the pointer stays where it was
        bool optionsKept, creditsKept;
    } rows[] = {
        {0, 43, false, false},  {1, 14, true, false}, {2, -14, false, true}, {3, -43, false, false},
        {-1, 0, true, true},  // off the menu: nothing changes
        {4, 0, true, true},
    };
    EXPECT_EQ(drawnTags(), "P") << "both panels hidden at the start";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.selection);
        menu->m_pointer->m_translation.y = 0.0f;
        state->m_menuSelection = row.selection;
        state->m_showOptions = state->m_showCredits = true;
        frame({menu.get()});
        EXPECT_EQ(menu->m_pointer->m_translation.y, row.pointerY);
        EXPECT_EQ(state->m_showOptions, row.optionsKept);
        EXPECT_EQ(state->m_showCredits, row.creditsKept);
        EXPECT_EQ(state->m_menuSelection, row.selection);
    }
    EXPECT_EQ(menu->m_pointer->m_translation.x, -100.0f);
}

TEST_F(MainMenu, ArrowsMoveTheSelectionAndStopAtTheEnds) {
    const struct {
        int32_t from;
        std::initializer_list<int> keys;
        int32_t to;
    } rows[] = {
        {0, {DIK_UP}, 0},   {3, {DIK_DOWN}, 3}, {0, {DIK_DOWN}, 1}, {3, {DIK_UP}, 2},
        {0, {DIK_UP, DIK_DOWN}, 1},  // up stops at 0, then down
        {2, {DIK_LEFT, DIK_RIGHT}, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.from);
        state->m_menuSelection = row.from;
        frameWithKeys(row.keys, {menu.get()});
        frame({menu.get()});
        EXPECT_EQ(state->m_menuSelection, row.to);
    }
    // Moving the pointer is silent: not even a missing click sound is asked for.
    EXPECT_EQ(logRowsContaining("CQNSoundManager"), 0);
}

TEST_F(MainMenu, PanelsDrawAfterThePointerWhileTheirFlagsAreSet) {
    const struct {
        bool options, credits;
        const char* drawn;
    } rows[] = {{true, false, "PO"}, {false, true, "PR"}, {true, true, "POR"}};
    for (const auto& row : rows) {
        state->m_showOptions = row.options;
        state->m_showCredits = row.credits;
        EXPECT_EQ(drawnTags(), row.drawn);
    }
}

TEST_F(MainMenu, FramesAllocateNothing) {
    state->m_showOptions = true;
    state->m_menuSelection = 1;
    frame({menu.get()});
    unsigned before = getAllocationCount();
    for (int f = 0; f < 30; ++f) {
        frameWithKeys(f % 2 ? std::initializer_list<int>{DIK_DOWN} : std::initializer_list<int>{DIK_UP}, {menu.get()});
        menu->render();
    }
    EXPECT_EQ(getAllocationCount() - before, 0u);
}

}  // namespace
