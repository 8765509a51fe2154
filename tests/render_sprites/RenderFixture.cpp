#include "RenderFixture.h"

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "QNBaseRend.h"
#include "TestDevice.h"
#include "TestWindow.h"

namespace {

// The positions 0 .. count-1 that match: how many, first and last.
template <typename Match>
Span spanOf(int count, Match matches) {
    Span run;
    for (int i = 0; i < count; ++i) {
        if (!matches(i)) continue;
        if (run.first < 0) run.first = i;
        run.last = i;
        ++run.count;
    }
    return run;
}

}  // namespace

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

Rgb RenderFixture::rgb(int x, int y) const { return zvtestsupport::rgbOf(pixel(x, y)); }

bool RenderFixture::near(int x, int y, Rgb c, int tolerance) const {
    return zvtestsupport::closeTo(rgb(x, y), c, tolerance);
}

Span RenderFixture::rowRun(int y, Rgb c, int tolerance) const {
    return spanOf(kWidth, [&](int x) { return near(x, y, c, tolerance); });
}

Span RenderFixture::columnRun(int x, Rgb c, int tolerance) const {
    return spanOf(kHeight, [&](int y) { return near(x, y, c, tolerance); });
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
