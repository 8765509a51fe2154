// Sprites on the real drawing path: sizes, screen-space placement, billboards,
// material, depth writes and the device state a sprite leaves behind.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "DX_D3DWrapper.h"
#include "DX_Text.h"
#include "QNEngineCore.h"
#include "QNSceneManager.h"
#include "TestDevice.h"
#include "QNBaseRend.h"
#include "QNGameState.h"
#include "QNModelSprite.h"
#include "RenderFixture.h"

namespace {

const Rgb kRed = {255, 0, 0};
const Rgb kGreen = {0, 255, 0};
const Rgb kBlue = {0, 0, 255};
const Rgb kWhite = {255, 255, 255};

const std::string kRedWide = "[TEXTURE] Assets\\Textures\\red 256x128.png\n";

class Sprites : public RenderFixture {
protected:
    void SetUp() override {
        RenderFixture::SetUp();
        writePng("Assets\\Textures\\red 256x128.png", 256, 128, kRed);
        writePng("Assets\\Textures\\green.png", 16, 16, kGreen);
        writePng("Assets\\Textures\\blue.png", 16, 16, kBlue);
        writePng("Assets\\Textures\\white.png", 16, 16, kWhite);
    }

    // The extent of a colour along the middle row and column of the frame.
    Span across(Rgb c = kRed) const { return rowRun(kHeight / 2, c); }
    Span down(Rgb c = kRed) const { return columnRun(kWidth / 2, c); }
};

TEST_F(Sprites, ScreenSpaceSizeFollowsTheSizingMode) {
    const std::string ortho = kRedWide + "[ORTHO] TRUE [BILLBOARDING] FALSE\n";
    struct Row {
        const char* why;
        std::string model, object;
        int width, height, tolerance;
    } rows[] = {
        {"no sizing is 2 x 2, scaled by 100", ortho, "[SCALE] 100 100 1", 200, 200, 1},
        {"ACTUAL 256 x 128", ortho + "[SIZING] ACTUAL", "", 256, 128, 0},
        {"ACTUAL as a billboard before the default camera", kRedWide + "[ORTHO] TRUE [SIZING] ACTUAL", "", 256, 128, 0},
        {"ACTUAL_NORM, scaled by 100", ortho + "[SIZING] ACTUAL_NORM", "[SCALE] 100 100 1", 179, 89, 1},
        {"USER_DEFINED 10 5, scaled by 10", ortho + "[SIZING] USER_DEFINED [DIMENSIONS] 10 5", "[SCALE] 10 10 1", 200, 100, 1},
        {"DIMENSIONS alone change nothing", ortho + "[DIMENSIONS] 10 5", "[SCALE] 100 100 1", 200, 200, 1},
        {"a lower-case mode is no mode", ortho + "[SIZING] actual", "[SCALE] 100 100 1", 200, 200, 1},
        {"ACTUAL without a loadable texture is empty",
         "[TEXTURE] Assets\\Textures\\none.png\n[ORTHO] TRUE [BILLBOARDING] FALSE [SIZING] ACTUAL", "[SCALE] 100 100 1", 0, 0, 0},
        {"a lower-case TRUE keeps it in the scene (2 x 2 quad far away)",
         kRedWide + "[ORTHO] true [BILLBOARDING] FALSE", "", 5, 5, 1},
    };
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        std::unique_ptr<CQNBaseRend> rend = makeSprite("ortho" + std::to_string(n++), row.model, row.object);
        drawFrame({rend.get()});
        EXPECT_NEAR(across().count, row.width, row.tolerance);
        EXPECT_NEAR(down().count, row.height, row.tolerance);
        if (row.width > 0) {  // centred on the screen centre
            EXPECT_NEAR(across().first + across().last, kWidth - 1, 1);
            EXPECT_NEAR(down().first + down().last, kHeight - 1, 1);
        } else {
            EXPECT_EQ(rowRun(kHeight / 2, kWhite).count, 0) << "nothing drawn untextured either";
        }
    }
}

TEST_F(Sprites, ActualSizeCoversExactlyItsPixels) {
    std::unique_ptr<CQNBaseRend> rend =
        makeSprite("exact", kRedWide + "[SIZING] ACTUAL [ORTHO] TRUE [BILLBOARDING] FALSE");
    drawFrame({rend.get()});
    EXPECT_EQ(across().first, 272);
    EXPECT_EQ(across().last, 527);
    EXPECT_EQ(down().first, 236);
    EXPECT_EQ(down().last, 363);
}

TEST_F(Sprites, BillboardFacesTheCameraWhateverItsRotation) {
    const std::string keys = kRedWide + "[SIZING] USER_DEFINED [DIMENSIONS] 20 20";
    struct Eye {
        float x, y, z;
        const char* why;
    } eyes[] = {
        {0, 0, 190, "default camera"},
        {120, 60, 140, "from above right"},
        {-150, 0, -100, "from behind"},
        {0, 150, 20, "from nearly overhead"},
    };
    std::unique_ptr<CQNBaseRend> plain = makeSprite("plain", keys);
    std::unique_ptr<CQNBaseRend> turned = makeSprite("turned", keys, "[ROTATION] 45 45 45");
    std::unique_ptr<CQNBaseRend> wide = makeSprite("wide", keys, "[SCALE] 2 1 1");
    for (const Eye& eye : eyes) {
        SCOPED_TRACE(eye.why);
        setEye(eye.x, eye.y, eye.z);
        drawFrame({plain.get()});
        const int width = across().count, height = down().count;
        ASSERT_GT(width, 50);
        EXPECT_NEAR(width, height, 2) << "square and upright";
        drawFrame({turned.get()});
        EXPECT_NEAR(across().count, width, 1) << "the rotation is ignored";
        EXPECT_NEAR(down().count, height, 1) << "the rotation is ignored";
        drawFrame({wide.get()});
        EXPECT_NEAR(across().count, 2 * width, 3) << "scale (2, 1, 1)";
        EXPECT_NEAR(down().count, height, 1) << "scale (2, 1, 1)";
    }
}

TEST_F(Sprites, MaterialTintsInPerspectiveOnly) {
    const std::string keys = "[TEXTURE] Assets\\Textures\\white.png\n[SIZING] USER_DEFINED [DIMENSIONS] 40 40\n"
                             "[MATERIAL] 1 0 0 0.5\n";
    struct Row {
        const char* why;
        std::string extra;
        Rgb expected;
    } rows[] = {
        {"perspective: red at half opacity over blue", "", {128, 0, 127}},
        {"orthographic: the texture untouched", "[ORTHO] TRUE", kWhite},
    };
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        std::unique_ptr<CQNBaseRend> rend = makeSprite("material" + std::to_string(n++), keys + row.extra);
        drawFrame({rend.get()}, kBlue);
        EXPECT_TRUE(near(400, 300, row.expected, 10)) << rgb(400, 300);
        EXPECT_TRUE(near(390, 290, row.expected, 10)) << rgb(390, 290);
        EXPECT_TRUE(near(400, 50, kBlue)) << "background: " << rgb(400, 50);
    }
}

TEST_F(Sprites, WithoutDepthWritesLaterDrawingShowsThrough) {
    // A small near sprite, then a large far green one drawn later.
    struct Row {
        const char* why;
        const char* zwrite;
        Rgb centre;
    } rows[] = {
        {"depth written: the near sprite hides the far one", "", kRed},
        {"FALSE: the far sprite drawn later covers it", "[ZWRITEENABLE] FALSE", kGreen},
        {"lower-case false keeps depth writes", "[ZWRITEENABLE] false", kRed},
    };
    std::unique_ptr<CQNBaseRend> far =
        makeSprite("far", "[TEXTURE] Assets\\Textures\\green.png\n[SIZING] USER_DEFINED [DIMENSIONS] 60 60");
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        std::unique_ptr<CQNBaseRend> nearSprite =
            makeSprite("near" + std::to_string(n++), kRedWide + "[SIZING] USER_DEFINED [DIMENSIONS] 20 20\n" + row.zwrite,
                       "[TRANSLATION] 0 0 50");
        drawFrame({nearSprite.get(), far.get()});
        EXPECT_TRUE(near(400, 300, row.centre)) << rgb(400, 300);
    }
    // Depth writes are back on after a sprite without them: a depth-writing
    // sprite drawn next still hides the far one.
    std::unique_ptr<CQNBaseRend> ghost = makeSprite(
        "ghost", kRedWide + "[SIZING] USER_DEFINED [DIMENSIONS] 30 30\n[ZWRITEENABLE] FALSE", "[TRANSLATION] 0 0 50");
    std::unique_ptr<CQNBaseRend> solid = makeSprite(
        "solid", "[TEXTURE] Assets\\Textures\\blue.png\n[SIZING] USER_DEFINED [DIMENSIONS] 10 10", "[TRANSLATION] 0 0 40");
    drawFrame({ghost.get(), solid.get(), far.get()});
    EXPECT_TRUE(near(400, 300, kBlue)) << "the depth-writing sprite hides the far one: " << rgb(400, 300);
    EXPECT_TRUE(near(400, 240, kGreen)) << "the far one covers the sprite without depth: " << rgb(400, 240);
}

TEST_F(Sprites, DeviceStateAfterDrawing) {
    struct Row {
        const char* why;
        bool envMaps;
        const char* keys;
        DWORD colorOp;
    } rows[] = {
        {"environment maps on: stage 1 blends again", true, "", D3DTOP_BLENDCURRENTALPHA},
        {"orthographic, maps on", true, "[ORTHO] TRUE", D3DTOP_BLENDCURRENTALPHA},
        {"orthographic, maps off: stage 1 stays disabled", false, "[ORTHO] TRUE", D3DTOP_DISABLE},
    };
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        CQNGameState::getInstance()->m_envMaps = row.envMaps;
        std::unique_ptr<CQNBaseRend> rend = makeSprite("state" + std::to_string(n++), kRedWide + row.keys);
        drawFrame({rend.get()});
        DWORD v = 0;
        device()->GetTextureStageState(1, D3DTSS_COLOROP, &v);
        EXPECT_EQ(v, row.colorOp);
        if (row.envMaps) {
            device()->GetTextureStageState(1, D3DTSS_ALPHAARG1, &v);
            EXPECT_EQ(v, static_cast<DWORD>(D3DTA_DIFFUSE));
        }
        device()->GetRenderState(D3DRS_ALPHABLENDENABLE, &v);
        EXPECT_EQ(v, static_cast<DWORD>(FALSE));
        device()->GetRenderState(D3DRS_LIGHTING, &v);
        EXPECT_EQ(v, static_cast<DWORD>(TRUE));
        D3DMATRIX projection;
        device()->GetTransform(D3DTS_PROJECTION, &projection);
        EXPECT_EQ(0, std::memcmp(&projection, &CDX_D3DWrapper::getInstance()->m_projection, sizeof projection))
            << "the perspective projection is back";
    }
    // A sprite whose texture failed to load binds none: it must not show the
    // texture of the sprite drawn before it.
    std::unique_ptr<CQNBaseRend> textured = makeSprite("before", kRedWide);
    std::unique_ptr<CQNBaseRend> bare = makeSprite("bare", "[TEXTURE] Assets\\Textures\\missing.png\n");
    drawFrame({textured.get(), bare.get()});
    IDirect3DBaseTexture9* bound = nullptr;
    device()->GetTexture(0, &bound);
    EXPECT_EQ(bound, nullptr);
    if (bound) bound->Release();
}

TEST_F(Sprites, TheEngineCoreClearsDrawsTheSceneThenTheFrameCounterAndPresents) {
    // The engine core's own frame: a full-screen blue sprite is the scene,
    // the frame counter's white text must come over it.
    zvtestsupport::writeFile("Assets\\Scripts\\Models\\backdrop.model",
                             "[TEXTURE] Assets\\Textures\\blue.png\n[ORTHO] TRUE [BILLBOARDING] FALSE\n");
    zvtestsupport::writeFile("Assets\\Scripts\\Base Objects\\backdrop.base",
                             "[CLASS_TYPE] CQNBaseRend\n[MODEL_TYPE] SPRITE\n[MODEL_SCRIPT]\n"
                             "Assets\\Scripts\\Models\\backdrop.model\n[SCALE] 1000 1000 1\n");
    zvtestsupport::writeFile("Assets\\Scripts\\Scenes\\one.scene",
                             "[SIZE] 1\n[SCRIPTS]\nAssets\\Scripts\\Base Objects\\backdrop.base\n");
    ASSERT_EQ(CQNSceneManager::getInstance()->loadSceneFromScript("Assets\\Scripts\\Scenes\\one.scene"), QNRSLT_OK);
    CDX_Text::getInstance()->initialize(nullptr);
    CQNGameState::getInstance()->m_showFps = true;
    CQNEngineCore::getInstance()->render();
    zvtestsupport::readBackBuffer(device(), kWidth, kHeight, m_frame);
    EXPECT_TRUE(near(400, 300, kBlue)) << rgb(400, 300);
    int white = 0;
    for (int y = 3; y < 25; ++y)
        for (int x = 0; x < 200; ++x) white += near(x, y, kWhite, 60);
    EXPECT_GT(white, 20) << "the frame counter over the scene";
}

TEST_F(Sprites, FailuresAreReportedWithTheirLines) {
    // A sprite whose buffer is gone cannot draw: that is reported (the
    // renderable hides it), and the states changed so far stay as they are.
    std::unique_ptr<CQNBaseRend> rend = makeSprite("broken", kRedWide + "[ZWRITEENABLE] FALSE");
    CQNModelSprite* model = static_cast<CQNModelSprite*>(rend->m_model);
    model->m_vertexBuffer->Release();
    model->m_vertexBuffer = nullptr;
    beginFrame();
    EXPECT_EQ(model->render(rend->transform()), QNRSLT_D3DFAILED);
    EXPECT_EQ(rend->render(), QNRSLT_OK);
    DWORD v = 0;
    device()->GetRenderState(D3DRS_ZWRITEENABLE, &v);
    EXPECT_EQ(v, static_cast<DWORD>(FALSE)) << "left off after the failure";
    device()->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device()->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    endFrame();
    std::vector<LogRow> rows = logRows();
    ASSERT_EQ(rows.size(), 2u);
    for (const LogRow& row : rows) {
        EXPECT_EQ(row.define, "QNRSLT_D3DFAILED");
        EXPECT_EQ(row.location, "CQNModelSprite::render( )");
        EXPECT_EQ(row.info, "Could not set stream source");
    }
}

}  // namespace
