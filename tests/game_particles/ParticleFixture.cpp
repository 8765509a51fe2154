#include "ParticleFixture.h"

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "DX_Text.h"
#include "PngFiles.h"
#include "QNBaseRend.h"
#include "QNGameTimer.h"
#include "QNModelSpriteParticle.h"
#include "QNSceneManager.h"
#include "TestDevice.h"
#include "TestWindow.h"
#include "testing/PlatformTesting.h"

using zvtestsupport::writeFile;

void ParticleFixture::SetUp() {
    zvtestsupport::silenceMessageBoxes();
    EngineTestBase::SetUp();
    startTestClock();
}

void ParticleFixture::tick(double seconds) {
    zvtest::advanceClock(seconds);
    CQNGameTimer::getInstance()->update();
}

void ParticleFixture::frame(double seconds) {
    tick(seconds);
    CQNSceneManager::getInstance()->update();
}

std::string ParticleFixture::writeModel(const std::string& name, const std::string& keys) {
    const std::string path = "Assets\\Scripts\\Models\\" + name + ".model";
    writeFile(path, keys + "\n");
    return path;
}

std::string ParticleFixture::writeParticle(const std::string& name, const std::string& modelKeys,
                                           const std::string& objectKeys) {
    const std::string model = writeModel(name, modelKeys);
    const std::string path = "Assets\\Scripts\\Base Objects\\" + name + ".base";
    writeFile(path, "[MODEL_TYPE] SPRITE_PARTICLE\n[MODEL_SCRIPT]\n" + model + "\n" + objectKeys + "\n");
    return path;
}

std::string ParticleFixture::writeSystem(const std::string& name, const std::string& keys) {
    const std::string path = "Assets\\Scripts\\Base Objects\\" + name + ".psys";
    writeFile(path, "[CLASS_TYPE] CQNBaseParticleSys\n" + keys + "\n");
    return path;
}

CQNModelSpriteParticle* ParticleFixture::model(CQNBaseRend& rend) {
    return dynamic_cast<CQNModelSpriteParticle*>(rend.m_model);
}

void ParticleRenderFixture::SetUp() {
    ParticleFixture::SetUp();
    m_hWnd = zvtestsupport::createTestWindow(kWidth, kHeight);
    ASSERT_NE(m_hWnd, nullptr);
    ASSERT_NO_FATAL_FAILURE(startDevice());
    CDX_Camera::getInstance()->initialize();
    CDX_Text::getInstance()->initialize(nullptr);
}

IDirect3DDevice9* ParticleRenderFixture::device() const {
    return CDX_D3DWrapper::getInstance()->getDevice();
}

void ParticleRenderFixture::writeWhitePng(const std::string& path, int w, int h) {
    zvtestsupport::writePng(path, w, h, {255, 255, 255});
}

void ParticleRenderFixture::drawScene() {
    CDX_D3DWrapper::getInstance()->clearScreen(0, 0, 0);
    device()->BeginScene();
    CQNSceneManager::getInstance()->render();
    device()->EndScene();
    CDX_D3DWrapper::getInstance()->renderScreen();
    readBack();
}

void ParticleRenderFixture::readBack() {
    zvtestsupport::readBackBuffer(device(), kWidth, kHeight, m_frame);
    for (uint32_t& p : m_frame) p &= 0xFFFFFFu;
}

uint32_t ParticleRenderFixture::pixel(int x, int y) const {
    return m_frame.empty() ? 0 : m_frame[static_cast<size_t>(y) * kWidth + x];
}

int ParticleRenderFixture::brightCount(int x0, int y0, int x1, int y1, int level) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint32_t p = pixel(x, y);
            if (static_cast<int>((p >> 16) & 0xFF) > level && static_cast<int>((p >> 8) & 0xFF) > level &&
                static_cast<int>(p & 0xFF) > level)
                ++n;
        }
    return n;
}

bool ParticleRenderFixture::saveFramePng(const std::string& path) const {
    return zvtestsupport::saveFramePng(path, kWidth, kHeight, m_frame);
}
