#include "RenderFixture.h"

#include <cstdlib>

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "QNBaseRend.h"
#include "TestDevice.h"
#include "TestWindow.h"

void RenderFixture::SetUp() {
    zvtestsupport::silenceMessageBoxes();
    EngineTestBase::SetUp();
    m_hWnd = zvtestsupport::createTestWindow(kWidth, kHeight);
    ASSERT_NE(m_hWnd, nullptr);
    ASSERT_NO_FATAL_FAILURE(startDevice());
    CDX_Camera::getInstance()->initialize();
}

IDirect3DDevice9* RenderFixture::device() const { return CDX_D3DWrapper::getInstance()->getDevice(); }

void RenderFixture::setEye(float x, float y, float z) {
    D3DXVECTOR3 eye(x, y, z);
    CDX_Camera::getInstance()->setEyePos(&eye);
    CDX_Camera::getInstance()->applyTransforms();
}

void RenderFixture::beginFrame(Rgb clear) {
    CDX_D3DWrapper::getInstance()->clearScreen(clear.r, clear.g, clear.b);
    device()->BeginScene();
}

void RenderFixture::endFrame() {
    device()->EndScene();
    CDX_D3DWrapper::getInstance()->renderScreen();
    zvtestsupport::readBackBuffer(device(), kWidth, kHeight, m_frame);
}

void RenderFixture::drawFrame(const std::vector<CQNBase*>& objects, Rgb clear) {
    beginFrame(clear);
    for (CQNBase* object : objects) object->render();
    endFrame();
}

uint32_t RenderFixture::pixel(int x, int y) const {
    return m_frame.empty() ? 0 : m_frame[static_cast<size_t>(y) * kWidth + x];
}

Rgb RenderFixture::rgb(int x, int y) const {
    uint32_t p = pixel(x, y);
    return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
            static_cast<int>(p & 0xFF)};
}

bool RenderFixture::near(int x, int y, Rgb c, int tolerance) const {
    Rgb p = rgb(x, y);
    return std::abs(p.r - c.r) <= tolerance && std::abs(p.g - c.g) <= tolerance &&
           std::abs(p.b - c.b) <= tolerance;
}

Span RenderFixture::rowRun(int y, Rgb c, int tolerance) const {
    Span run;
    for (int x = 0; x < kWidth; ++x) {
        if (!near(x, y, c, tolerance)) continue;
        if (run.first < 0) run.first = x;
        run.last = x;
        ++run.count;
    }
    return run;
}

Span RenderFixture::columnRun(int x, Rgb c, int tolerance) const {
    Span run;
    for (int y = 0; y < kHeight; ++y) {
        if (!near(x, y, c, tolerance)) continue;
        if (run.first < 0) run.first = y;
        run.last = y;
        ++run.count;
    }
    return run;
}

bool RenderFixture::saveFramePng(const std::string& path) const {
    return zvtestsupport::saveFramePng(path, kWidth, kHeight, m_frame);
}

std::string RenderFixture::spriteObjectPath(const std::string& name) {
    return "Assets\\Scripts\\Base Objects\\" + name + ".base";
}

std::unique_ptr<CQNBaseRend> RenderFixture::makeSprite(const std::string& name,
                                                      const std::string& modelKeys,
                                                      const std::string& objectKeys) {
    const std::string model = "Assets\\Scripts\\Models\\" + name + ".model";
    zvtestsupport::writeFile(model, modelKeys + "\n");
    zvtestsupport::writeFile(spriteObjectPath(name),
                             "[MODEL_TYPE] SPRITE\n[MODEL_SCRIPT]\n" + model + "\n" + objectKeys + "\n");
    std::unique_ptr<CQNBaseRend> rend(new CQNBaseRend);
    rend->initialize(spriteObjectPath(name).c_str());
    return rend;
}
