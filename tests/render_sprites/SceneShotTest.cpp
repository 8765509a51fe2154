// A scene script with a sky box, a world-space sprite, billboards and a
// screen-space bar, loaded through the scene manager and drawn offscreen.
// The frame is also saved for a person to look at.
#include <gtest/gtest.h>

#include <cmath>

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "DX_TextureManager.h"
#include "QNBaseRendSkyBox.h"
#include "QNSceneManager.h"
#include "RenderFixture.h"
#include "TestModels.h"

namespace {

class SceneShot : public RenderFixture {
protected:
    void TearDown() override {
        CQNSceneManager::destroyInstance();
        RenderFixture::TearDown();
    }

    // Where a world point lands on the screen.
    void project(float x, float y, float z, int* sx, int* sy) {
        D3DXMATRIX viewProjection;
        D3DXMatrixMultiply(&viewProjection, CDX_Camera::getInstance()->getViewMatrix(),
                           &CDX_D3DWrapper::getInstance()->m_projection);
        D3DXVECTOR3 p(x, y, z), ndc;
        D3DXVec3TransformCoord(&ndc, &p, &viewProjection);
        *sx = static_cast<int>(std::lround((ndc.x + 1.0f) * 0.5f * kWidth));
        *sy = static_cast<int>(std::lround((1.0f - ndc.y) * 0.5f * kHeight));
    }

    static void writeTextures() {
        std::vector<uint32_t> sky(4 * 64);
        for (int y = 0; y < 64; ++y) {
            // Deep blue overhead, pale at the horizon, brown below it.
            float t = y / 63.0f;
            int r, g, b;
            if (t < 0.5f) {
                float k = t / 0.5f;
                r = static_cast<int>(20 + k * 160);
                g = static_cast<int>(40 + k * 170);
                b = static_cast<int>(150 + k * 100);
            } else {
                float k = (t - 0.5f) / 0.5f;
                r = static_cast<int>(110 - k * 60);
                g = static_cast<int>(85 - k * 45);
                b = static_cast<int>(60 - k * 30);
            }
            for (int x = 0; x < 4; ++x) sky[y * 4 + x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
        writePngPixels("Assets\\Textures\\sky.png", 4, 64, sky);

        std::vector<uint32_t> checker(64 * 64);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                checker[y * 64 + x] = ((x / 8 + y / 8) % 2) ? 0xFFFFFFFFu : 0xFFFF8000u;
        writePngPixels("Assets\\Textures\\checker.png", 64, 64, checker);

        std::vector<uint32_t> disc(64 * 64);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                float dx = x - 31.5f, dy = y - 31.5f;
                disc[y * 64 + x] = dx * dx + dy * dy < 30.0f * 30.0f ? 0xFFFFE000u : 0x00000000u;
            }
        writePngPixels("Assets\\Textures\\disc.png", 64, 64, disc);

        std::vector<uint32_t> bar(256 * 48);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 256; ++x)
                bar[y * 256 + x] = (x < 4 || x >= 252 || y < 4 || y >= 44) ? 0xFFFFFFFFu : 0xFFC000C0u;
        writePngPixels("Assets\\Textures\\hud bar.png", 256, 48, bar);
        writePng("Assets\\Textures\\white.png", 8, 8, {255, 255, 255});
    }
};

TEST_F(SceneShot, SkyBoxAndSpritesFromAScript) {
    writeTextures();
    using zvtestsupport::writeFile;
    const std::string objects = "Assets\\Scripts\\Base Objects\\";
    const std::string models = "Assets\\Scripts\\Models\\";
    writeFile(objects + "sky.base", "[CLASS_TYPE] CQNBaseRendSkyBox\n[TRANSLATION] 0 0 -2000\n");
    writeFile(models + "checker.model",
              "// a board standing in the scene, turned a little\n"
              "[TEXTURE] Assets\\Textures\\checker.png\n[SIZING] USER_DEFINED\n[DIMENSIONS] 40 40\n"
              "[BILLBOARDING] FALSE\n");
    writeFile(objects + "checker.base",
              "[CLASS_TYPE] CQNBaseRend\n[MODEL_TYPE] SPRITE\n[MODEL_SCRIPT] " + models + "checker.model\n"
              "[TRANSLATION] -70 0 0\n[ROTATION] 0 35 0\n");
    writeFile(models + "disc.model",
              "[TEXTURE] Assets\\Textures\\disc.png\n[SIZING] USER_DEFINED [DIMENSIONS] 25 25\n");
    writeFile(objects + "disc.base",
              "[CLASS_TYPE] CQNBaseRend\n[MODEL_TYPE] SPRITE\n[MODEL_SCRIPT] " + models + "disc.model\n"
              "[TRANSLATION] 70 10 0\n[ROTATION] 30 60 0\n");
    writeFile(models + "glass.model",
              "[TEXTURE] Assets\\Textures\\white.png\n[SIZING] USER_DEFINED [DIMENSIONS] 20 30\n"
              "[MATERIAL] 0 1 0 0.5\n[ZWRITEENABLE] FALSE\n");
    writeFile(objects + "glass.base",
              "[CLASS_TYPE] CQNBaseRend\n[MODEL_TYPE] SPRITE\n[MODEL_SCRIPT] " + models + "glass.model\n"
              "[TRANSLATION] -30 -10 40\n");
    writeFile(models + "bar.model",
              "[TEXTURE] Assets\\Textures\\hud bar.png\n[SIZING] ACTUAL\n[ORTHO] TRUE\n[BILLBOARDING] FALSE\n");
    writeFile(objects + "bar.base",
              "[CLASS_TYPE] CQNBaseRend\n[MODEL_TYPE] SPRITE\n[MODEL_SCRIPT] " + models + "bar.model\n"
              "[TRANSLATION] 0 -240 0\n");
    writeFile("Assets\\Scripts\\Scenes\\shot.scene",
              "[SIZE] 5\n[SCRIPTS]\n" + objects + "sky.base\n" + objects + "checker.base\n" + objects +
                  "disc.base\n" + objects + "glass.base\n" + objects + "bar.base\n");

    CQNSceneManager* scene = CQNSceneManager::getInstance();
    ASSERT_EQ(scene->loadSceneFromScript("Assets\\Scripts\\Scenes\\shot.scene"), QNRSLT_OK);
    ASSERT_EQ(scene->getObjectCount(), 5);
    CQNBaseRendSkyBox* sky = dynamic_cast<CQNBaseRendSkyBox*>(scene->getObject(0));
    ASSERT_NE(sky, nullptr);
    // No engine model yet surrounds its origin; the test's cube does.
    int32_t id = -1;
    CDX_TextureManager::getInstance()->loadTexture("Assets\\Textures\\sky.png", &id);
    sky->m_model = new FacesModel(CDX_TextureManager::getInstance()->getTextureByID(id)->getTexture(),
                                  FacesModel::cube(1000.0f));

    setEye(60, 40, 190);
    beginFrame();
    scene->render();
    endFrame();
    const std::string shot = std::string(ZV_BINARY_DIR) + "/tests/render_sprites_scene.png";
    EXPECT_TRUE(saveFramePng(shot)) << shot;

    // The bar: 256 x 48 pixels, centred 240 pixels below the screen centre.
    EXPECT_TRUE(near(400, 540, {192, 0, 192})) << "bar: " << rgb(400, 540);
    EXPECT_TRUE(near(300, 530, {192, 0, 192})) << "bar: " << rgb(300, 530);
    EXPECT_NEAR(rowRun(540, {255, 255, 255}).count, 8, 2) << "the bar's side borders";
    // Sky above everything else, blue overhead.
    Rgb top = rgb(400, 40);
    EXPECT_GT(top.b, top.r + 40) << "sky: " << top;
    // The disc billboard where its centre projects, yellow.
    int x, y;
    project(70, 10, 0, &x, &y);
    EXPECT_TRUE(near(x, y, {255, 224, 0})) << "disc at " << x << "," << y << ": " << rgb(x, y);
    // The board: the middle of an orange square up and left of its centre
    // (local (-15, 15), turned 35 degrees about y), clear of the glass.
    const float turn = 35.0f * 0.0174533f;
    project(-70.0f - 15.0f * std::cos(turn), 15.0f, 15.0f * std::sin(turn), &x, &y);
    EXPECT_TRUE(near(x, y, {255, 128, 0}, 12)) << "board at " << x << "," << y << ": " << rgb(x, y);
    EXPECT_TRUE(logRows().empty()) << "nothing failed";
}

}  // namespace
