#include "MenusFixture.h"

#include "DX_Input.h"
#include "QNBaseHud.h"
#include "QNBaseRend.h"
#include "QNGameState.h"
#include "QNGameTimer.h"
#include "QNMemory.h"
#include "testing/PlatformTesting.h"

namespace {
const int kMaxDraws = 512;
Draw g_draws[kMaxDraws];
int g_drawCount = 0;
}  // namespace

QNRESULT RecordingModel::render(float* t) {
    if (g_drawCount < kMaxDraws) g_draws[g_drawCount++] = {m_tag, t[0], t[1], t[5], t[6], t[7], t[8]};
    return QNRSLT_OK;
}

void RecordingModel::clear() { g_drawCount = 0; }

std::vector<Draw> RecordingModel::draws() { return std::vector<Draw>(g_draws, g_draws + g_drawCount); }

void MenusFixture::SetUp() {
    EngineTestBase::SetUp();
    startTestClock();
    ASSERT_NO_FATAL_FAILURE(openInputWindow());

    // The HUD's process-wide values as at program start; each test is a
    // fresh program as far as they are concerned.
    CQNBaseHud::s_lastPhase = 3;
    CQNBaseHud::s_getReadySpeed = 0.0f;
    CQNBaseHud::s_pulseSpeed = 2.0f;
    RecordingModel::clear();
    state = CQNGameState::getInstance();
}

void MenusFixture::frame(std::initializer_list<CQNBase*> objects, double seconds) {
    zvtest::advanceClock(seconds);
    CQNGameTimer::getInstance()->update();
    CDX_Input::getInstance()->update();
    for (CQNBase* object : objects) object->update();
}

void MenusFixture::frameWithKeys(std::initializer_list<int> keys, std::initializer_list<CQNBase*> objects) {
    for (int k : keys) zvtest::setKey(k, true);
    frame(objects);
    for (int k : keys) zvtest::setKey(k, false);
}

std::vector<Draw> MenusFixture::render(std::initializer_list<CQNBase*> objects) {
    RecordingModel::clear();
    for (CQNBase* object : objects) object->render();
    return RecordingModel::draws();
}

void MenusFixture::record(CQNBaseRend* picture, char tag) {
    ASSERT_NE(picture, nullptr);
    if (picture->m_model) {
        setOwner(__FILE__, __LINE__, "??");
        delete picture->m_model;
    }
    setOwner(__FILE__, __LINE__, "??");
    picture->m_model = new RecordingModel(tag);
}

void MenusFixture::writeTransformScript(const std::string& name, const std::string& keys) {
    zvtestsupport::writeFile("Assets\\Scripts\\Base Objects\\" + name, keys + "\n");
}

int MenusFixture::logRowsContaining(const std::string& needle) {
    const std::string text = log();
    int rows = 0;
    for (size_t at = text.find("<tr>"); at != std::string::npos; at = text.find("<tr>", at + 1)) {
        size_t end = text.find("</tr>", at);
        if (text.substr(at, end == std::string::npos ? std::string::npos : end - at).find(needle) !=
            std::string::npos)
            ++rows;
    }
    return rows;
}
