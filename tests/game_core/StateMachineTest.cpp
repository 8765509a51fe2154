// The top-level game states, driven by injected keys and clicks.
#include <dinput.h>

#include <cmath>

#include "DX_Camera.h"
#include "EngineFixture.h"
#include "QNGameState.h"
#include "QNSceneManager.h"
#include "ZVApp.h"
#include "testing/PlatformTesting.h"

namespace {

class StateMachine : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        writeMarkedScene("Assets\\Scripts\\Scenes\\zv.menu.scene", 1);
        writeMarkedScene("Assets\\Scripts\\Scenes\\zv.lvlsel.scene", 2);
        writeMarkedScene("Assets\\Scripts\\Scenes\\zv.intro.scene", 3);
        CDX_Camera::getInstance()->initialize();
        state = CQNGameState::getInstance();
    }

    // A frame in which the given keys go down (and are let go after it).
    void step(std::initializer_list<int> keys = {}, bool click = false, double dt = 1.0 / 60.0) {
        for (int k : keys) zvtest::setKey(k, true);
        if (click) zvtest::setMouseButton(0, true);
        frame(dt);
        app.updateGameState(&quit);
        for (int k : keys) zvtest::setKey(k, false);
        if (click) zvtest::setMouseButton(0, false);
    }

    CZVApp app;
    CQNGameState* state = nullptr;
    bool quit = false;
};

TEST_F(StateMachine, MenuEntriesDoWhatTheySay) {
    state->m_menuSelection = 1;
    step({DIK_RETURN});
    EXPECT_TRUE(state->m_showOptions);
    step();
    step({DIK_RETURN});
    EXPECT_FALSE(state->m_showOptions);
    state->m_menuSelection = 2;
    step({}, true);  // a click chooses like Enter
    EXPECT_TRUE(state->m_showCredits);
    state->m_menuSelection = 7;  // not an entry: nothing
    step({DIK_RETURN});
    EXPECT_EQ(state->m_state, GS_MAIN_MENU);
    EXPECT_FALSE(quit);
    step();  // the key must come up before it can be pressed again
    state->m_menuSelection = 3;
    step({DIK_RETURN});
    EXPECT_TRUE(quit);
}

TEST_F(StateMachine, FromMenuToPlayingAndBack) {
    state->m_menuSelection = 0;
    step({DIK_RETURN});
    EXPECT_EQ(state->m_state, GS_LEVEL_SELECT);
    EXPECT_FLOAT_EQ(sceneMarker(), 2);

    state->m_levelPhase = LP_COMPLETED;
    step();
    step({DIK_RETURN});
    EXPECT_EQ(state->m_state, GS_START_LEVEL);
    EXPECT_FLOAT_EQ(sceneMarker(), 2);  // the level scene comes with the next frame
    step();
    EXPECT_EQ(state->m_state, GS_PLAYING);
    EXPECT_EQ(state->m_levelPhase, LP_GET_READY);
    EXPECT_FLOAT_EQ(sceneMarker(), 3);

    D3DXVECTOR3 elsewhere(10, 20, 30), look(1, 2, 3);
    CDX_Camera::getInstance()->setEyePos(&elsewhere);
    CDX_Camera::getInstance()->setLookPos(&look);
    step({DIK_ESCAPE});
    EXPECT_EQ(state->m_state, GS_LEVEL_SELECT);
    EXPECT_FLOAT_EQ(sceneMarker(), 2);
    CDX_Camera* camera = CDX_Camera::getInstance();
    EXPECT_FLOAT_EQ(camera->m_lookPos.x, 0);
    EXPECT_FLOAT_EQ(camera->m_lookPos.y, 0);

    step();
    step({DIK_ESCAPE});
    EXPECT_EQ(state->m_state, GS_MAIN_MENU);
    EXPECT_FLOAT_EQ(sceneMarker(), 1);
    EXPECT_FLOAT_EQ(camera->getEyePos().z, 190);
}

TEST_F(StateMachine, EnterAndEscapeInOneLevelSelectFrameEndInTheMenu) {
    state->m_state = GS_LEVEL_SELECT;
    step({DIK_RETURN, DIK_ESCAPE});
    EXPECT_EQ(state->m_state, GS_MAIN_MENU);
    EXPECT_FLOAT_EQ(sceneMarker(), 1);
}

TEST_F(StateMachine, LevelSelectCirclesTheOriginAtItsDistance) {
    state->m_state = GS_LEVEL_SELECT;
    D3DXVECTOR3 raised(0, 100, 190);
    CDX_Camera::getInstance()->setEyePos(&raised);
    const float r = std::sqrt(100.0f * 100.0f + 190.0f * 190.0f);
    step({}, false, 0.5);  // angle 0.25
    D3DXVECTOR3 eye = CDX_Camera::getInstance()->getEyePos();
    EXPECT_NEAR(eye.x, r * std::sin(0.25f), 1e-3);
    EXPECT_FLOAT_EQ(eye.y, 0);
    EXPECT_NEAR(eye.z, r * std::cos(0.25f), 1e-3);
    step({}, false, 1.0);  // angle 0.75, same distance
    eye = CDX_Camera::getInstance()->getEyePos();
    EXPECT_NEAR(eye.x, r * std::sin(0.75f), 1e-2);
    EXPECT_NEAR(eye.z, r * std::cos(0.75f), 1e-2);
}

TEST_F(StateMachine, ChoicesBeepThroughTheSoundManager) {
    // No click sound is loaded here: each beep reports the missing sound once.
    state->m_menuSelection = 1;
    step({DIK_RETURN});
    step();
    step({DIK_RETURN});
    std::string text = log();
    size_t first = text.find("CQNSoundManager::playSound( )");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(text.find("CQNSoundManager::playSound( )", first + 1), std::string::npos);
}

}  // namespace
