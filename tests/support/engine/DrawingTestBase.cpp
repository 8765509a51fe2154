#include "DrawingTestBase.h"

#include <cmath>

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "PngFiles.h"
#include "QNBase.h"
#include "TestDevice.h"
#include "TestWindow.h"

void DrawingTestBase::SetUp() {
    zvtestsupport::silenceMessageBoxes();
    EngineTestBase::SetUp();
    m_hWnd = zvtestsupport::createTestWindow(kWidth, kHeight);
    ASSERT_NE(m_hWnd, nullptr);
    ASSERT_NO_FATAL_FAILURE(startDevice());
    CDX_Camera::getInstance()->initialize();
}

IDirect3DDevice9* DrawingTestBase::device() const { return CDX_D3DWrapper::getInstance()->getDevice(); }

void DrawingTestBase::beginFrame(zvtestsupport::Rgb clear) {
    CDX_D3DWrapper::getInstance()->clearScreen(clear.r, clear.g, clear.b);
    device()->BeginScene();
}

void DrawingTestBase::endFrame() {
    device()->EndScene();
    CDX_D3DWrapper::getInstance()->renderScreen();
    zvtestsupport::readBackBuffer(device(), kWidth, kHeight, m_frame);
}

void DrawingTestBase::drawFrame(const std::vector<CQNBase*>& objects, zvtestsupport::Rgb clear) {
    beginFrame(clear);
    for (CQNBase* object : objects) object->render();
    endFrame();
}

zvtestsupport::Rgb DrawingTestBase::rgb(int x, int y) const {
    if (m_frame.empty() || x < 0 || y < 0 || x >= kWidth || y >= kHeight) return {-1, -1, -1};
    return zvtestsupport::rgbOf(m_frame[static_cast<size_t>(y) * kWidth + x]);
}

bool DrawingTestBase::near(int x, int y, zvtestsupport::Rgb c, int tolerance) const {
    return zvtestsupport::closeTo(rgb(x, y), c, tolerance);
}

void DrawingTestBase::project(float x, float y, float z, int* sx, int* sy) const {
    D3DXMATRIX viewProjection;
    D3DXMatrixMultiply(&viewProjection, CDX_Camera::getInstance()->getViewMatrix(),
                       &CDX_D3DWrapper::getInstance()->m_projection);
    D3DXVECTOR3 p(x, y, z), ndc;
    D3DXVec3TransformCoord(&ndc, &p, &viewProjection);
    *sx = static_cast<int>(std::lround((ndc.x + 1.0f) * 0.5f * kWidth));
    *sy = static_cast<int>(std::lround((1.0f - ndc.y) * 0.5f * kHeight));
}

void DrawingTestBase::setEye(float x, float y, float z) {
    D3DXVECTOR3 eye(x, y, z);
    CDX_Camera::getInstance()->setEyePos(&eye);
    CDX_Camera::getInstance()->applyTransforms();
}

bool DrawingTestBase::saveFramePng(const std::string& path) const {
    return zvtestsupport::saveFramePng(path, kWidth, kHeight, m_frame);
}
