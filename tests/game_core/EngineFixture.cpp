#include "EngineFixture.h"

#include <cstdio>

#include "DX_Input.h"
#include "QNBase.h"
#include "QNGameTimer.h"
#include "QNSceneManager.h"
#include "testing/PlatformTesting.h"

void EngineFixture::SetUp() {
    EngineTestBase::SetUp();
    startTestClock();
    ASSERT_NO_FATAL_FAILURE(openInputWindow());
}

void EngineFixture::frame(double seconds) {
    zvtest::advanceClock(seconds);
    CQNGameTimer::getInstance()->update();
    CDX_Input::getInstance()->update();
    CQNSceneManager::getInstance()->update();
}

void EngineFixture::writeMarkedScene(const std::string& path, float x) {
    char object[64];
    std::snprintf(object, sizeof object, "Assets\\Scripts\\Base Objects\\marker%g.base", x);
    char text[256];
    std::snprintf(text, sizeof text, "[CLASS_TYPE] CQNBase\n[TRANSLATION] %g 0 0\n", x);
    zvtestsupport::writeFile(object, text);
    zvtestsupport::writeFile(path, std::string("[SIZE] 1\n[SCRIPTS]\n") + object + "\n");
}

float EngineFixture::sceneMarker() {
    CQNBase* first = CQNSceneManager::getInstance()->getObject(0);
    return first ? first->m_translation.x : -1.0f;
}
