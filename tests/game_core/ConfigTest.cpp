// The configuration keys as the device wrapper reads them: exact upper-case
// words, decimal sizes truncated for the back buffer, a later key winning,
// and missing values or keys leaving the defaults.
#include "DX_D3DWrapper.h"
#include "EngineFixture.h"
#include "QNGameState.h"

namespace {

class Config : public EngineFixture {};

TEST_F(Config, KeysAreExactAndMissingOnesKeepTheDefaults) {
    const struct {
        const char* text;
        float width, height;
        UINT bufferWidth, bufferHeight;
        bool envMaps, cdPlayback;
    } rows[] = {
        {"[RESOLUTION] 1024.9 768\n", 1024.9f, 768, 1024, 768, true, false},
        {"[RESOLUTION] 640 480 [RESOLUTION] 1024 768\n", 1024, 768, 1024, 768, true, false},
        {"", 800, 600, 800, 600, true, false},
        {"[ENV_MAPS] FALSE [CDPLAYBACK] TRUE [RESOLUTION] 640\n", 800, 600, 800, 600, false, true},
        {"[FULLSCREEN] true [ENV_MAPS] false [CDPLAYBACK] true [ENV_MAPS] NO\n", 800, 600, 800, 600, true, false},
        {"[ENV_MAPS]\n", 800, 600, 800, 600, true, false},
        {"[RESOLUTION] 640 1e10\n", 640, 1e10f, 640, 16384, true, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        CDX_D3DWrapper::destroyInstance();
        CQNGameState::destroyInstance();
        CDX_D3DWrapper* wrapper = CDX_D3DWrapper::getInstance();
        ASSERT_NO_FATAL_FAILURE(startDevice(row.text));
        EXPECT_EQ(wrapper->getWidth(), row.width);
        EXPECT_EQ(wrapper->m_height, row.height);
        EXPECT_EQ(wrapper->m_presentParams.BackBufferWidth, row.bufferWidth);
        EXPECT_EQ(wrapper->m_presentParams.BackBufferHeight, row.bufferHeight);
        EXPECT_EQ(wrapper->m_fullScreen, 0) << "only TRUE means full screen";
        EXPECT_TRUE(wrapper->m_presentParams.Windowed);
        EXPECT_EQ(CQNGameState::getInstance()->m_envMaps, row.envMaps);
        EXPECT_EQ(CQNGameState::getInstance()->m_cdPlayback, row.cdPlayback);
    }
}

}  // namespace
