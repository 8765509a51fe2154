// Sprites on the real drawing path: sizes, screen-space placement, billboards,
// material, depth writes and the device state a sprite leaves behind.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "DX_D3DWrapper.h"
#include "QNBaseRend.h"
#include "QNGameState.h"
#include "QNModelSprite.h"
#include "RenderFixture.h"

namespace {

const Rgb kRed = {255, 0, 0};
const Rgb kGreen = {0, 255, 0};
const Rgb kBlue = {0, 0, 255};
const Rgb kWhite = {255, 255, 255};
const Rgb kBlack = {0, 0, 0};

const char* kRedWide = "Assets\\Textures\\red 256x128.png";

class Sprites : public RenderFixture {
protected:
    void SetUp() override {
        RenderFixture::SetUp();
        writePng(kRedWide, 256, 128, kRed);
        writePng("Assets\\Textures\\green.png", 16, 16, kGreen);
        writePng("Assets\\Textures\\blue.png", 16, 16, kBlue);
        writePng("Assets\\Textures\\white.png", 16, 16, kWhite);
    }

    static CQNModelSprite* sprite(const std::unique_ptr<CQNBaseRend>& rend) {
        return static_cast<CQNModelSprite*>(rend->m_model);
    }

    // The bounding box of a colour, measured along the middle row and column
    // of the frame.
    struct Size {
        int width, height;
    };
    Size measure(Rgb c) const {
        return {rowRun(kHeight / 2, c).count, columnRun(kWidth / 2, c).count};
    }
};

TEST_F(Sprites, HalfExtentsFollowTheSizingMode) {
    const std::string texture = std::string("[TEXTURE] ") + kRedWide + "\n";
    struct Row {
        const char* why;
        std::string keys;
        float w, h;
    } rows[] = {
        {"no sizing: a 2 x 2 quad", texture, 1.0f, 1.0f},
        {"ACTUAL: one unit per pixel", texture + "[SIZING] ACTUAL", 128.0f, 64.0f},
        {"ACTUAL_NORM: pixel size normalised", texture + "[SIZING] ACTUAL_NORM", 0.894427f, 0.447214f},
        {"USER_DEFINED: the dimensions", texture + "[SIZING] USER_DEFINED [DIMENSIONS] 10 5", 10.0f, 5.0f},
        {"DIMENSIONS alone change nothing", texture + "[DIMENSIONS] 10 5", 1.0f, 1.0f},
        {"a lower-case mode is no mode", texture + "[SIZING] actual", 1.0f, 1.0f},
        {"ACTUAL without a loadable texture", "[TEXTURE] Assets\\Textures\\none.png\n[SIZING] ACTUAL", 0.0f, 0.0f},
        {"ACTUAL_NORM without any texture", "[SIZING] ACTUAL_NORM", 0.0f, 0.0f},
    };
    int n = 0;
    for (const Row& row : rows) {
        std::unique_ptr<CQNBaseRend> rend = makeSprite("size" + std::to_string(n++), row.keys);
        ASSERT_NE(sprite(rend), nullptr) << row.why;
        EXPECT_NEAR(sprite(rend)->m_dimensions.x, row.w, 1e-5f) << row.why;
        EXPECT_NEAR(sprite(rend)->m_dimensions.y, row.h, 1e-5f) << row.why;
        EXPECT_EQ(sprite(rend)->m_vertices[3].x, sprite(rend)->m_dimensions.x) << row.why;
        EXPECT_EQ(sprite(rend)->m_vertices[3].y, -sprite(rend)->m_dimensions.y) << row.why;
        EXPECT_EQ(sprite(rend)->m_vertices[0].x, -sprite(rend)->m_dimensions.x) << row.why;
        EXPECT_NE(sprite(rend)->m_vertexBuffer, nullptr) << row.why;
    }
}

TEST_F(Sprites, ScreenSpaceSizeInPixels) {
    const std::string red = std::string("[TEXTURE] ") + kRedWide + "\n[ORTHO] TRUE\n";
    struct Row {
        const char* why;
        std::string model, object;
        int width, height, tolerance;
    } rows[] = {
        {"no sizing is 2 x 2, scaled by 100", red + "[BILLBOARDING] FALSE", "[SCALE] 100 100 1", 200, 200, 1},
        {"ACTUAL 256 x 128", red + "[SIZING] ACTUAL [BILLBOARDING] FALSE", "", 256, 128, 0},
        {"ACTUAL as a billboard before the default camera", red + "[SIZING] ACTUAL", "", 256, 128, 0},
        {"ACTUAL_NORM, scaled by 100", red + "[SIZING] ACTUAL_NORM [BILLBOARDING] FALSE",
         "[SCALE] 100 100 1", 179, 89, 1},
        {"USER_DEFINED 10 5, scaled by 10", red + "[SIZING] USER_DEFINED [DIMENSIONS] 10 5 [BILLBOARDING] FALSE",
         "[SCALE] 10 10 1", 200, 100, 1},
        {"the lower-case word keeps it in the scene (2 x 2 quad far away)",
         std::string("[TEXTURE] ") + kRedWide + "\n[ORTHO] true [BILLBOARDING] FALSE", "", 5, 5, 1},
    };
    int n = 0;
    for (const Row& row : rows) {
        std::unique_ptr<CQNBaseRend> rend = makeSprite("ortho" + std::to_string(n++), row.model, row.object);
        drawFrame({rend.get()});
        Size size = measure(kRed);
        EXPECT_NEAR(size.width, row.width, row.tolerance) << row.why;
        EXPECT_NEAR(size.height, row.height, row.tolerance) << row.why;
        // Centred on the screen centre.
        Span across = rowRun(kHeight / 2, kRed), down = columnRun(kWidth / 2, kRed);
        EXPECT_NEAR(across.first + across.last, kWidth - 1, 1) << row.why;
        EXPECT_NEAR(down.first + down.last, kHeight - 1, 1) << row.why;
    }
}

TEST_F(Sprites, ActualSizeCoversExactlyItsPixels) {
    std::unique_ptr<CQNBaseRend> rend = makeSprite(
        "exact", std::string("[TEXTURE] ") + kRedWide + "\n[SIZING] ACTUAL [ORTHO] TRUE [BILLBOARDING] FALSE");
    drawFrame({rend.get()});
    // x from 272 to 527 and y from 236 to 363; probe well inside and just
    // outside each edge, away from the corners.
    struct Probe {
        int x, y;
        Rgb c;
        const char* why;
    } probes[] = {
        {272, 300, kRed, "first column"},   {271, 300, kBlack, "left of it"},
        {527, 300, kRed, "last column"},    {528, 300, kBlack, "right of it"},
        {400, 236, kRed, "first row"},      {400, 235, kBlack, "above it"},
        {400, 363, kRed, "last row"},       {400, 364, kBlack, "below it"},
        {300, 260, kRed, "inside"},         {500, 350, kRed, "inside"},
    };
    for (const Probe& p : probes) EXPECT_TRUE(near(p.x, p.y, p.c)) << p.why << " at " << p.x << "," << p.y << ": " << rgb(p.x, p.y);
}

TEST_F(Sprites, BillboardFacesTheCameraWhateverItsRotation) {
    const std::string keys = std::string("[TEXTURE] ") + kRedWide + "\n[SIZING] USER_DEFINED [DIMENSIONS] 20 20";
    struct Eye {
        float x, y, z;
        const char* why;
    } eyes[] = {
        {0, 0, 190, "default camera"},
        {120, 60, 140, "from above right"},
        {-150, 0, -100, "from behind"},
        {0, 150, 20, "from nearly overhead"},
    };
    const char* rotations[] = {"[ROTATION] 45 45 45", "[ROTATION] 0 90 0", "[ROTATION] 90 0 0"};
    std::unique_ptr<CQNBaseRend> plain = makeSprite("plain", keys);
    std::unique_ptr<CQNBaseRend> wide = makeSprite("wide", keys, "[SCALE] 2 1 1");
    for (const Eye& eye : eyes) {
        setEye(eye.x, eye.y, eye.z);
        drawFrame({plain.get()});
        const Size reference = measure(kRed);
        ASSERT_GT(reference.width, 50) << eye.why;
        EXPECT_NEAR(reference.width, reference.height, 2) << eye.why << ": square and upright";
        int n = 0;
        for (const char* rotation : rotations) {
            std::unique_ptr<CQNBaseRend> turned =
                makeSprite("turned" + std::to_string(n++), keys, rotation);
            drawFrame({turned.get()});
            Size size = measure(kRed);
            EXPECT_NEAR(size.width, reference.width, 1) << eye.why << ", " << rotation;
            EXPECT_NEAR(size.height, reference.height, 1) << eye.why << ", " << rotation;
        }
        drawFrame({wide.get()});
        Size size = measure(kRed);
        EXPECT_NEAR(size.width, 2 * reference.width, 3) << eye.why << ": scale (2, 1, 1)";
        EXPECT_NEAR(size.height, reference.height, 1) << eye.why << ": scale (2, 1, 1)";
    }
}

TEST_F(Sprites, MaterialTintsInPerspectiveOnly) {
    const std::string keys =
        "[TEXTURE] Assets\\Textures\\white.png\n[SIZING] USER_DEFINED [DIMENSIONS] 40 40\n"
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
        std::unique_ptr<CQNBaseRend> rend = makeSprite("material" + std::to_string(n++), keys + row.extra);
        drawFrame({rend.get()}, kBlue);
        EXPECT_TRUE(near(400, 300, row.expected, 10)) << row.why << ": " << rgb(400, 300);
        EXPECT_TRUE(near(390, 290, row.expected, 10)) << row.why << ": " << rgb(390, 290);
        EXPECT_TRUE(near(400, 50, kBlue)) << row.why << ": background";
    }
}

TEST_F(Sprites, WithoutDepthWritesLaterDrawingShowsThrough) {
    // A small near red sprite, then a large far green one drawn later.
    struct Row {
        const char* why;
        const char* zwrite;
        Rgb centre;
    } rows[] = {
        {"depth written: the near sprite hides the far one", "", kRed},
        {"FALSE: the far sprite drawn later covers it", "[ZWRITEENABLE] FALSE", kGreen},
        {"lower-case false keeps depth writes", "[ZWRITEENABLE] false", kRed},
        {"NO keeps depth writes", "[ZWRITEENABLE] NO", kRed},
    };
    std::unique_ptr<CQNBaseRend> far = makeSprite(
        "far", "[TEXTURE] Assets\\Textures\\green.png\n[SIZING] USER_DEFINED [DIMENSIONS] 60 60");
    int n = 0;
    for (const Row& row : rows) {
        std::unique_ptr<CQNBaseRend> nearSprite = makeSprite(
            "near" + std::to_string(n++),
            std::string("[TEXTURE] ") + kRedWide + "\n[SIZING] USER_DEFINED [DIMENSIONS] 20 20\n" + row.zwrite,
            "[TRANSLATION] 0 0 50");
        beginFrame();
        nearSprite->render();
        DWORD zwrite = FALSE;
        device()->GetRenderState(D3DRS_ZWRITEENABLE, &zwrite);
        EXPECT_EQ(zwrite, static_cast<DWORD>(TRUE)) << row.why << ": depth writes on after the sprite";
        far->render();
        endFrame();
        EXPECT_TRUE(near(400, 300, row.centre)) << row.why << ": " << rgb(400, 300);
    }
}

TEST_F(Sprites, DepthWrittenAfterANoDepthSpriteStillHides) {
    std::unique_ptr<CQNBaseRend> ghost = makeSprite(
        "ghost", std::string("[TEXTURE] ") + kRedWide + "\n[SIZING] USER_DEFINED [DIMENSIONS] 30 30\n[ZWRITEENABLE] FALSE",
        "[TRANSLATION] 0 0 50");
    std::unique_ptr<CQNBaseRend> solid = makeSprite(
        "solid", "[TEXTURE] Assets\\Textures\\blue.png\n[SIZING] USER_DEFINED [DIMENSIONS] 10 10",
        "[TRANSLATION] 0 0 40");
    std::unique_ptr<CQNBaseRend> far = makeSprite(
        "far", "[TEXTURE] Assets\\Textures\\green.png\n[SIZING] USER_DEFINED [DIMENSIONS] 60 60");
    drawFrame({ghost.get(), solid.get(), far.get()});
    EXPECT_TRUE(near(400, 300, kBlue)) << "the depth-writing sprite hides the far one: " << rgb(400, 300);
    EXPECT_TRUE(near(400, 300 - 60, kGreen)) << "the far one covers the sprite without depth: "
                                             << rgb(400, 240);
}

TEST_F(Sprites, DeviceStateAfterDrawing) {
    struct Row {
        const char* why;
        bool envMaps;
        const char* keys;
        DWORD colorOp;
    } rows[] = {
        {"environment maps on: stage 1 blends again", true, "", D3DTOP_BLENDCURRENTALPHA},
        {"environment maps off: stage 1 stays disabled", false, "", D3DTOP_DISABLE},
        {"orthographic, maps on", true, "[ORTHO] TRUE", D3DTOP_BLENDCURRENTALPHA},
        {"orthographic, maps off", false, "[ORTHO] TRUE", D3DTOP_DISABLE},
    };
    int n = 0;
    for (const Row& row : rows) {
        CQNGameState::getInstance()->m_envMaps = row.envMaps;
        std::unique_ptr<CQNBaseRend> rend = makeSprite(
            "state" + std::to_string(n++), std::string("[TEXTURE] ") + kRedWide + "\n" + row.keys);
        beginFrame();
        rend->render();
        device()->EndScene();
        DWORD v = 0;
        device()->GetTextureStageState(1, D3DTSS_COLOROP, &v);
        EXPECT_EQ(v, row.colorOp) << row.why;
        if (row.envMaps) {
            struct State {
                D3DTEXTURESTAGESTATETYPE type;
                DWORD value;
            } stage1[] = {{D3DTSS_COLORARG1, D3DTA_TEXTURE}, {D3DTSS_COLORARG2, D3DTA_CURRENT},
                          {D3DTSS_ALPHAOP, D3DTOP_SELECTARG1}, {D3DTSS_ALPHAARG1, D3DTA_DIFFUSE}};
            for (const State& s : stage1) {
                device()->GetTextureStageState(1, s.type, &v);
                EXPECT_EQ(v, s.value) << row.why << ", state " << s.type;
            }
        }
        device()->GetRenderState(D3DRS_ALPHABLENDENABLE, &v);
        EXPECT_EQ(v, static_cast<DWORD>(FALSE)) << row.why;
        device()->GetRenderState(D3DRS_ZENABLE, &v);
        EXPECT_EQ(v, static_cast<DWORD>(D3DZB_TRUE)) << row.why;
        device()->GetRenderState(D3DRS_LIGHTING, &v);
        EXPECT_EQ(v, static_cast<DWORD>(TRUE)) << row.why;
        D3DMATRIX projection;
        device()->GetTransform(D3DTS_PROJECTION, &projection);
        EXPECT_EQ(0, std::memcmp(&projection, &CDX_D3DWrapper::getInstance()->m_projection, sizeof projection))
            << row.why << ": the perspective projection is back";
    }
}

TEST_F(Sprites, FailuresAreReportedWithTheirLines) {
    // A sprite whose buffer is gone cannot draw: that is reported,
    // and the states changed so far stay as they are.
    std::unique_ptr<CQNBaseRend> rend =
        makeSprite("broken", std::string("[TEXTURE] ") + kRedWide + "\n[ZWRITEENABLE] FALSE");
    CQNModelSprite* model = sprite(rend);
    model->m_vertexBuffer->Release();
    model->m_vertexBuffer = nullptr;
    beginFrame();
    EXPECT_EQ(model->render(rend->transform()), QNRSLT_D3DFAILED);
    EXPECT_EQ(rend->render(), QNRSLT_OK) << "the renderable hides the model's failure";
    DWORD v = 0;
    device()->GetRenderState(D3DRS_ALPHABLENDENABLE, &v);
    EXPECT_EQ(v, static_cast<DWORD>(TRUE)) << "left on after the failure";
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
