// A lost device: each lost frame adds its two lines, and once the reset
// succeeds the engine's default state is back.
#include <d3d9.h>

#include "DX_D3DWrapper.h"
#include "EngineFixture.h"
#include "testing/DeviceTesting.h"

using zvtestsupport::writeFile;

namespace {

class LostDevice : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        writeFile("qnengine.cfg", "[RESOLUTION] 320 240\n");
        ASSERT_EQ(CDX_D3DWrapper::getInstance()->initialize(m_hWnd, "qnengine.cfg"), QNRSLT_OK);
    }
    void drawFrame() {
        CDX_D3DWrapper* d3d = CDX_D3DWrapper::getInstance();
        d3d->clearScreen(0, 0, 0);
        d3d->getDevice()->BeginScene();
        d3d->getDevice()->EndScene();
        d3d->renderScreen();
    }
};

TEST_F(LostDevice, TwoLinesPerLostFrameThenTheDefaultStateIsBack) {
    IDirect3DDevice9* device = CDX_D3DWrapper::getInstance()->getDevice();
    // Changes a frame might leave behind; a reset drops them.
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    zvtest::failPresent(1);
    zvtest::failReset(2);
    drawFrame();  // lost, reset fails
    drawFrame();  // still lost, reset fails
    drawFrame();  // still lost, reset succeeds: defaults set again
    drawFrame();  // presents
    DWORD value = 0;
    device->GetRenderState(D3DRS_CULLMODE, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DCULL_CW));
    device->GetRenderState(D3DRS_LIGHTING, &value);
    EXPECT_EQ(value, static_cast<DWORD>(TRUE));
    device->GetRenderState(D3DRS_AMBIENT, &value);
    EXPECT_EQ(value, 0xFF646464u);
    device->GetTextureStageState(1, D3DTSS_COLOROP, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTOP_BLENDCURRENTALPHA));
    BOOL enabled = FALSE;
    device->GetLightEnable(0, &enabled);
    EXPECT_TRUE(enabled);

    std::string text = log();
    EXPECT_EQ(count(text, "Device was lost"), 3);
    EXPECT_EQ(count(text, "Can't reset device right now"), 2);
    EXPECT_EQ(count(text, "CDX_D3DWrapper::renderScreen()"), 5);
}

}  // namespace
