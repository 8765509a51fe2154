#include "EngineFixture.h"

#include <cstdio>

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "DX_Input.h"
#include "QNBase.h"
#include "QNGameState.h"
#include "QNGameTimer.h"
#include "QNResults.h"
#include "QNSceneManager.h"
#include "testing/PlatformTesting.h"

namespace {
LRESULT CALLBACK testProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }
}  // namespace

void EngineFixture::SetUp() {
    zvtestsupport::makeDirs("Logs");
    CQNResults::getInstance()->open("Logs\\QNResultLog.htm", "QN Engine Result Log");
    zvtest::setClock(1000000000LL);
    CQNGameTimer::getInstance()->initialize();

    WNDCLASSA wc = {};
    wc.lpfnWndProc = testProc;
    wc.lpszClassName = "Zarvel";
    RegisterClassA(&wc);
    m_hWnd = CreateWindowExA(0, "Zarvel", "Zarvel", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                             800, 600, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(m_hWnd, nullptr);
    ShowWindow(m_hWnd, SW_SHOW);
    zvtest::setFocus(true);
    // The input takes its window from the device wrapper; no device is needed.
    CDX_D3DWrapper::getInstance()->m_hWnd = m_hWnd;
    ASSERT_EQ(CDX_Input::getInstance()->initialize(), QNRSLT_OK);
}

void EngineFixture::TearDown() {
    CQNGameState::destroyInstance();
    CDX_Input::destroyInstance();
    CQNSceneManager::destroyInstance();
    CDX_Camera::destroyInstance();
    CDX_D3DWrapper::destroyInstance();
    CQNGameTimer::destroyInstance();
    CQNResults::destroyInstance();
    zvtest::releaseAllInput();
    zvtest::clearFocusOverride();
    zvtest::useRealClock();
}

void EngineFixture::frame(double seconds) {
    zvtest::advanceClock(seconds);
    CQNGameTimer::getInstance()->update();
    CDX_Input::getInstance()->update();
    CQNSceneManager::getInstance()->update();
}

std::string EngineFixture::log() {
    CQNResults::destroyInstance();
    return zvtestsupport::readFile("Logs/QNResultLog.htm");
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
