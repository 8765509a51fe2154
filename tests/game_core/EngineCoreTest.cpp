// The engine core's own start-up and shut-down, as the game calls them.
#include <cstdlib>

#include "QNEngineCore.h"
#include "TestWindow.h"
#include "engine/EngineTestBase.h"
#include "testing/PlatformTesting.h"

namespace {

class EngineCore : public EngineTestBase {};

TEST_F(EngineCore, StartUpBuildsTheSceneBeforeInputAndSoundAndShutDownClosesTheLogLast) {
    // Each part that starts leaves a line: the entry scene is missing, the
    // window lacks the focus for the input, and there is no audio device.
    setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    m_hWnd = zvtestsupport::createTestWindow(800, 600);
    ASSERT_NE(m_hWnd, nullptr);
    zvtestsupport::showFocused(m_hWnd);
    zvtest::setFocus(false);
    const char* config = "Assets\\Scripts\\Config\\qnengine.cfg";
    zvtestsupport::writeFile(config, "[RESOLUTION] 800 600\n[ENTRY_SCENE] Assets\\Scripts\\Scenes\\none.scene\n");
    CQNEngineCore* core = CQNEngineCore::getInstance();
    EXPECT_EQ(core->initialize(m_hWnd, config), QNRSLT_OK);
    core->shutdown();
    unsetenv("SDL_AUDIODRIVER");

    const std::vector<LogRow> rows = logRows();
    auto first = [&](const std::string& prefix) {
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].location.compare(0, prefix.size(), prefix) == 0) return static_cast<int>(i);
        return -1;
    };
    const int scene = first("CQNSceneManager::"), input = first("CDX_Input::initialize"),
              sound = first("CQNSoundManager::initialize");
    ASSERT_GE(scene, 0);
    EXPECT_GT(input, scene);
    EXPECT_GT(sound, input);
    // Every release could still report: the log was closed after them all.
    const std::string text = zvtestsupport::readFile("Logs/QNResultLog.htm");
    EXPECT_EQ(text.substr(text.size() - 7), "</html>");
}

}  // namespace
