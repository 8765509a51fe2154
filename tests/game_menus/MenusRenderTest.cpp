// The HUD and the level select drawn on a real offscreen 800 x 600 device
// with screen-space sprites of plain colours: each picture lands on the
// pixels its centred position names, in the order the phase draws them.
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
#include "TestWindow.h"
#include "ZVBaseLvlSelect.h"

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
    static const int kWidth = 800;
    static const int kHeight = 600;

    void SetUp() override {
        MenusFixture::SetUp();
        zvtestsupport::silenceMessageBoxes();
        ASSERT_NO_FATAL_FAILURE(startDevice());
        CDX_Camera::getInstance()->initialize();

        for (int d = 0; d < 10; ++d) {
            char name[16];
            std::snprintf(name, sizeof name, "zv.num%d", d);
            writeSprite(name, 8, 12, digitColour(d));
        }
        writeSprite("zv.colon", 4, 12, kColon);
        writeSprite("zv.hudbg", 256, 600, kPanel);
        writeSprite("zv.completed", 64, 32, kCompleted, "[TRANSLATION] 200 0 0");
        writeSprite("zv.newrec", 12, 12, kMark);
        // Wider than the panel, so the panel drawn after it covers only part.
        writeSprite("zv.getready", 400, 64, kSign, "[TRANSLATION] -200 0 0");
    }
    void TearDown() override {
        hud.reset();
        select.reset();
        MenusFixture::TearDown();
    }

    // A screen-space sprite of one colour, exactly w x h pixels.
    static void writeSprite(const std::string& name, int w, int h, Rgb c, const std::string& objectKeys = "") {
        const std::string texture = "Assets\\Textures\\" + name + ".png";
        const std::string model = "Assets\\Scripts\\Models\\" + name + ".model";
        zvtestsupport::writePng(texture, w, h, c);
        zvtestsupport::writeFile(model, "[TEXTURE] " + texture +
                                            "\n[SIZING] ACTUAL\n[ORTHO] TRUE\n[BILLBOARDING] FALSE\n");
        zvtestsupport::writeFile("Assets\\Scripts\\Base Objects\\" + name + ".base",
                                 "[MODEL_TYPE] SPRITE\n[MODEL_SCRIPT] " + model + "\n" + objectKeys + "\n");
    }

    void drawFrame(CQNBase* object) {
        IDirect3DDevice9* device = CDX_D3DWrapper::getInstance()->getDevice();
        CDX_D3DWrapper::getInstance()->clearScreen(0, 0, 0);
        device->BeginScene();
        object->render();
        device->EndScene();
        CDX_D3DWrapper::getInstance()->renderScreen();

        zvtestsupport::readBackBuffer(device, kWidth, kHeight, m_frame);
    }

    // The pixel at centred screen units (x right, y up, origin in the middle).
    Rgb at(int x, int y) const {
        return zvtestsupport::rgbOf(m_frame[static_cast<size_t>(kHeight / 2 - y) * kWidth + (kWidth / 2 + x)]);
    }

    struct Probe {
        const char* what;
        int x, y;
        Rgb colour;
    };
    void expectProbes(const std::vector<Probe>& probes) const {
        for (const Probe& p : probes) {
            Rgb got = at(p.x, p.y);
            EXPECT_TRUE(zvtestsupport::closeTo(got, p.colour, 8))
                << p.what << " at (" << p.x << ", " << p.y << "): got (" << got.r << ", " << got.g << ", "
                << got.b << "), want (" << p.colour.r << ", " << p.colour.g << ", " << p.colour.b << ")";
        }
    }

    std::unique_ptr<CQNBaseHud> hud;
    std::unique_ptr<CZVBaseLvlSelect> select;
    std::vector<uint32_t> m_frame;
};

TEST_F(MenusRender, CompletedHudShowsPanelNumbersSignAndMarks) {
    hud.reset(new CQNBaseHud);
    hud->initialize("Assets\\Scripts\\Base Objects\\zv.hud.base");
    state->m_level = 7;
    state->m_levelPhase = LP_COMPLETED;
    state->m_levelTime = 0.0f;  // 00:00:00
    state->m_moves = 3;
    state->m_levelData.m_bestTime = 500;
    state->m_levelData.m_parMoves = 4;
    state->m_levelData.m_bestMoves = 9;
    drawFrame(hud.get());
    expectProbes({
        {"panel", -300, -250, kPanel},
        {"panel's right edge", -146, -250, kPanel},
        {"right of the panel", -140, -250, kBlack},
        {"level 7", -330, -150, digitColour(7)},
        {"first digit of the elapsed time", -365, 127, digitColour(0)},
        {"first colon of the elapsed time", -345, 127, kColon},
        {"second colon of the elapsed time", -315, 127, kColon},
        {"best time 00:05:00", -325, 70, digitColour(5)},
        {"moves", -335, 10, digitColour(3)},
        {"par moves", -335, -45, digitColour(4)},
        {"best moves", -335, -100, digitColour(9)},
        {"time record mark", -300, 150, kMark},
        {"move record mark", -300, 30, kMark},
        {"completed sign", 200, 0, kCompleted},
        {"nothing else", 200, 200, kBlack},
    });
}

TEST_F(MenusRender, GetReadySignIsDrawnUnderThePanel) {
    hud.reset(new CQNBaseHud);
    hud->initialize("Assets\\Scripts\\Base Objects\\zv.hud.base");
    state->m_levelPhase = LP_GET_READY;
    drawFrame(hud.get());
    expectProbes({
        {"sign covered by the panel", -200, 0, kPanel},
        {"sign beyond the panel", -50, 0, kSign},
        {"no completed sign", 200, 0, kBlack},
        {"no mark", -300, 150, kPanel},
    });
    state->m_levelPhase = LP_PLAYING;
    drawFrame(hud.get());
    expectProbes({{"no sign while playing", -50, 0, kBlack}, {"panel", -200, 0, kPanel}});
}

TEST_F(MenusRender, LevelSelectDrawsTripleSizeDigitsAroundTheCentre) {
    select.reset(new CZVBaseLvlSelect);
    select->initialize("Assets\\Scripts\\Base Objects\\zv.lvlsel.base");
    state->m_level = 10;
    drawFrame(select.get());
    // Each digit is 24 x 36 pixels: three times its 8 x 12 image.
    expectProbes({
        {"tens", -20, -30, digitColour(1)},
        {"tens, near its left edge", -30, -30, digitColour(1)},
        {"tens, near its top", -20, -14, digitColour(1)},
        {"units", 20, -30, digitColour(0)},
        {"gap between", 0, -30, kBlack},
        {"above the digits", 20, -10, kBlack},
    });
    state->m_level = 9;
    drawFrame(select.get());
    expectProbes({{"one digit on the centre", 0, -30, digitColour(9)}, {"nothing left", -20, -30, kBlack}});
}

}  // namespace
