#include "ParticleFixture.h"

#include "DX_Text.h"
#include "QNBaseRend.h"
#include "QNGameTimer.h"
#include "QNModelSpriteParticle.h"
#include "QNSceneManager.h"
#include "TestWindow.h"
#include "testing/PlatformTesting.h"

using zvtestsupport::writeFile;

void tick(double seconds) {
    zvtest::advanceClock(seconds);
    CQNGameTimer::getInstance()->update();
}

void frame(double seconds) {
    tick(seconds);
    CQNSceneManager::getInstance()->update();
}

std::string writeModel(const std::string& name, const std::string& keys) {
    const std::string path = "Assets\\Scripts\\Models\\" + name + ".model";
    writeFile(path, keys + "\n");
    return path;
}

std::string writeParticle(const std::string& name, const std::string& modelKeys, const std::string& objectKeys) {
    const std::string model = writeModel(name, modelKeys);
    const std::string path = "Assets\\Scripts\\Base Objects\\" + name + ".base";
    writeFile(path, "[MODEL_TYPE] SPRITE_PARTICLE\n[MODEL_SCRIPT]\n" + model + "\n" + objectKeys + "\n");
    return path;
}

std::string writeSystem(const std::string& name, const std::string& keys) {
    const std::string path = "Assets\\Scripts\\Base Objects\\" + name + ".psys";
    writeFile(path, "[CLASS_TYPE] CQNBaseParticleSys\n" + keys + "\n");
    return path;
}

CQNModelSpriteParticle* model(CQNBaseRend& rend) { return dynamic_cast<CQNModelSpriteParticle*>(rend.m_model); }

void ParticleFixture::SetUp() {
    zvtestsupport::silenceMessageBoxes();
    EngineTestBase::SetUp();
    startTestClock();
}

void ParticleRenderFixture::SetUp() {
    ASSERT_NO_FATAL_FAILURE(DrawingTestBase::SetUp());
    startTestClock();
    CDX_Text::getInstance()->initialize(nullptr);
}

void ParticleRenderFixture::drawScene() {
    beginFrame();
    CQNSceneManager::getInstance()->render();
    endFrame();
}

int ParticleRenderFixture::brightCount(int x0, int y0, int x1, int y1, int level) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const zvtestsupport::Rgb c = rgb(x, y);
            n += c.r > level && c.g > level && c.b > level;
        }
    return n;
}
