#include "EngineTestBase.h"

#include "QNEngineCore.h"
#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "DX_Input.h"
#include "DX_ModelManager.h"
#include "DX_Text.h"
#include "DX_TextureManager.h"
#include "QNGameState.h"
#include "QNGameTimer.h"
#include "QNResults.h"
#include "QNSceneManager.h"
#include "QNSoundManager.h"
#include "TestWindow.h"
#include "testing/PlatformTesting.h"

namespace {

const char kLogFile[] = "Logs/QNResultLog.htm";
const char kConfigFile[] = "Assets\\Scripts\\Config\\qnengine.cfg";

// The texts of the cells of one table row, in order.
std::vector<std::string> cells(const std::string& row) {
    std::vector<std::string> out;
    for (size_t at = row.find("<td"); at != std::string::npos; at = row.find("<td", at)) {
        size_t font = row.find("<font", at);
        size_t open = row.find('>', font) + 1;
        size_t close = row.find("</font>", open);
        out.push_back(row.substr(open, close - open));
        at = close;
    }
    return out;
}

}  // namespace

void EngineTestBase::SetUp() {
    zvtestsupport::makeDirs("Logs");
    CQNResults::getInstance()->open("Logs\\QNResultLog.htm", "QN Engine Result Log");
}

void EngineTestBase::TearDown() {
    // The engine's own shut-down, which makes and releases every part.
    CQNEngineCore::getInstance()->shutdown();
    // The focus hook answers the first live window: each test's must go.
    if (m_hWnd) DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    zvtestsupport::resetPlatformHooks();
}

void EngineTestBase::startTestClock() {
    zvtest::setClock(1000000000LL);
    CQNGameTimer::getInstance()->initialize();
}

void EngineTestBase::openInputWindow(int x, int y) {
    m_hWnd = zvtestsupport::createTestWindow(800, 600, x, y);
    ASSERT_NE(m_hWnd, nullptr);
    zvtestsupport::showFocused(m_hWnd);
    CDX_D3DWrapper* wrapper = CDX_D3DWrapper::getInstance();
    wrapper->m_hWnd = m_hWnd;
    wrapper->m_width = 800.0f;
    wrapper->m_height = 600.0f;
    ASSERT_EQ(CDX_Input::getInstance()->initialize(), QNRSLT_OK);
}

void EngineTestBase::startDevice(const std::string& config) {
    zvtestsupport::writeFile(kConfigFile, config);
    ASSERT_EQ(CDX_D3DWrapper::getInstance()->initialize(m_hWnd, kConfigFile), QNRSLT_OK);
    ASSERT_NE(CDX_D3DWrapper::getInstance()->getDevice(), nullptr);
}

std::string EngineTestBase::log() {
    CQNResults::destroyInstance();
    return zvtestsupport::readFile(kLogFile);
}

int EngineTestBase::count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

std::vector<LogRow> EngineTestBase::logRows() {
    const std::string text = log();
    std::vector<LogRow> rows;
    bool header = true;
    for (size_t at = text.find("<tr>"); at != std::string::npos; at = text.find("<tr>", at)) {
        size_t end = text.find("</tr>", at);
        std::vector<std::string> c = cells(text.substr(at, end - at));
        at = end;
        if (header) {
            header = false;
            continue;
        }
        if (c.size() == 4) rows.push_back({c[0], c[2], c[3]});
    }
    return rows;
}
