// The HUD drawn on a real offscreen 800 x 600 device with screen-space
// sprites of plain colours: each picture lands on the pixels its centred
// position names, in the order the phase draws them.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "MenusFixture.h"
#include "PngFiles.h"
#include "QNBaseHud.h"
#include "QNGameState.h"
#include "TestDevice.h"

namespace {

using zvtestsupport::Rgb;

const Rgb kBlack = {0, 0, 0};
const Rgb kPanel = {0, 0, 160};
const Rgb kColon = {0, 255, 255};
const Rgb kSign = {255, 255, 255};
const Rgb kCompleted = {255, 255, 0};
const Rgb kMark = {255, 0, 255};

// Each digit its own colour.
Rgb digitColour(int d) { return {40 + 20 * d, 250 - 20 * d, d % 2 ? 60 : 0}; }

class MenusRender : public MenusFixture {
protected:
    void SetUp() override {
        MenusFixture::SetUp();
        zvtestsupport::silenceMessageBoxes();
        ASSERT_NO_FATAL_FAILURE(startDevice());
        CDX_Camera::getInstance()->initialize();
        for (int d = 0; d < 10; ++d) writeSprite("zv.num" + std::to_string(d), 8, 12, digitColour(d));
        writeSprite("zv.colon", 4, 12, kColon);
        writeSprite("zv.hudbg", 256, 600, kPanel);
        writeSprite("zv.completed", 64, 32, kCompleted, "[TRANSLATION] 200 0 0");
        writeSprite("zv.newrec", 12, 12, kMark);
        // Wider than the panel, so the panel drawn after it covers only part.
        writeSprite("zv.getready", 400, 64, kSign, "[TRANSLATION] -200 0 0");
    }

    // A screen-space sprite of one colour, exactly w x h pixels.
    static void writeSprite(const std::string& name, int w, int h, Rgb c, const std::string& objectKeys = "") {
        const std::string texture = "Assets\\Textures\\" + name + ".png";
        const std::string model = "Assets\\Scripts\\Models\\" + name + ".model";
        zvtestsupport::writePng(texture, w, h, c);
        zvtestsupport::writeFile(model, "[TEXTURE] " + texture + "\n[SIZING] ACTUAL\n[ORTHO] TRUE\n[BILLBOARDING] FALSE\n");
        zvtestsupport::writeFile("Assets\\Scripts\\Base Objects\\" + name + ".base",
                                 "[MODEL_TYPE] SPRITE\n[MODEL_SCRIPT] " + model + "\n" + objectKeys + "\n");
    }

    struct Probe {
        const char* what;
        int x, y;  // centred screen units (x right, y up, origin in the middle)
        Rgb colour;
    };
    // Draws the object in a frame and checks the probes.
    void expectProbes(CQNBase* object, const std::vector<Probe>& probes) {
        IDirect3DDevice9* device = CDX_D3DWrapper::getInstance()->getDevice();
        CDX_D3DWrapper::getInstance()->clearScreen(0, 0, 0);
        device->BeginScene();
        object->render();
        device->EndScene();
        CDX_D3DWrapper::getInstance()->renderScreen();
        std::vector<uint32_t> frame;
        zvtestsupport::readBackBuffer(device, 800, 600, frame);
        for (const Probe& p : probes) {
            const Rgb got = zvtestsupport::rgbOf(frame[static_cast<size_t>(300 - p.y) * 800 + (400 + p.x)]);
            EXPECT_TRUE(zvtestsupport::closeTo(got, p.colour, 8))
                << p.what << " at (" << p.x << ", " << p.y << "): got " << got << ", want " << p.colour;
        }
    }
};

TEST_F(MenusRender, CompletedHudShowsPanelNumbersSignAndMarks) {
    CQNBaseHud hud;
    hud.initialize("Assets\\Scripts\\Base Objects\\zv.hud.base");
    state->m_level = 7;
    state->m_levelPhase = LP_COMPLETED;
    state->m_levelTime = 0.0f;  // 00:00:00
    state->m_moves = 3;
    state->m_levelData.m_bestTime = 500;
    state->m_levelData.m_bestMoves = 9;
    expectProbes(&hud, {
                           {"panel's right edge", -146, -250, kPanel},
                           {"right of the panel", -140, -250, kBlack},
                           {"level 7", -330, -150, digitColour(7)},
                           {"first colon of the elapsed time", -345, 127, kColon},
                           {"best time 00:05:00", -325, 70, digitColour(5)},
                           {"moves", -335, 10, digitColour(3)},
                           {"time record mark", -300, 150, kMark},
                           {"completed sign", 200, 0, kCompleted},
                       });
    // Get ready: the sign is drawn under the panel.
    state->m_levelPhase = LP_GET_READY;
    expectProbes(&hud, {
                           {"sign covered by the panel", -200, 0, kPanel},
                           {"sign beyond the panel", -50, 0, kSign},
                           {"no completed sign", 200, 0, kBlack},
                       });
}

}  // namespace
