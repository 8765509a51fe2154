// A scene script with a sky box, a world-space sprite, billboards and a
// screen-space bar, loaded through the scene manager and drawn offscreen.
// The frame is also saved for a person to look at.
#include <gtest/gtest.h>

#include <cmath>

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

    // A texture of w x h pixels coloured by `at`, and a sprite scene object
    // using it; returns the object's path.
    template <typename Colour>
    static std::string sprite(const std::string& name, int w, int h, Colour at, const std::string& modelKeys,
                              const std::string& objectKeys) {
        std::vector<uint32_t> pixels;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) pixels.push_back(at(x, y));
        const std::string texture = "Assets\\Textures\\" + name + ".png";
        const std::string model = "Assets\\Scripts\\Models\\" + name + ".model";
        writePngPixels(texture, w, h, pixels);
        zvtestsupport::writeFile(model, "[TEXTURE] " + texture + "\n" + modelKeys + "\n");
        zvtestsupport::writeFile(spriteObjectPath(name), "[CLASS_TYPE] CQNBaseRend\n[MODEL_TYPE] SPRITE\n"
                                                         "[MODEL_SCRIPT] " + model + "\n" + objectKeys + "\n");
        return spriteObjectPath(name) + "\n";
    }
};

TEST_F(SceneShot, SkyBoxAndSpritesFromAScript) {
    // Sky blue above the horizon, brown below.
    writePngPixels("Assets\\Textures\\sky.png", 1, 4, {0xFF2840C0u, 0xFF2840C0u, 0xFF6E5534u, 0xFF6E5534u});
    zvtestsupport::writeFile(spriteObjectPath("sky"), "[CLASS_TYPE] CQNBaseRendSkyBox\n[TRANSLATION] 0 0 -2000\n");
    const std::string scripts =
        spriteObjectPath("sky") + "\n" +
        // A board standing in the scene, turned a little.
        sprite("checker", 64, 64, [](int x, int y) { return (x / 8 + y / 8) % 2 ? 0xFFFFFFFFu : 0xFFFF8000u; },
               "[SIZING] USER_DEFINED\n[DIMENSIONS] 40 40\n[BILLBOARDING] FALSE", "[TRANSLATION] -70 0 0\n[ROTATION] 0 35 0") +
        // A yellow disc on a billboard.
        sprite("disc", 64, 64,
               [](int x, int y) {
                   float dx = x - 31.5f, dy = y - 31.5f;
                   return dx * dx + dy * dy < 900.0f ? 0xFFFFE000u : 0x00000000u;
               },
               "[SIZING] USER_DEFINED [DIMENSIONS] 25 25", "[TRANSLATION] 70 10 0\n[ROTATION] 30 60 0") +
        // Green glass, without depth writes, in front of the board.
        sprite("glass", 8, 8, [](int, int) { return 0xFFFFFFFFu; },
               "[SIZING] USER_DEFINED [DIMENSIONS] 20 30\n[MATERIAL] 0 1 0 0.5\n[ZWRITEENABLE] FALSE",
               "[TRANSLATION] -30 -10 40") +
        // A screen-space bar with a white border.
        sprite("bar", 256, 48,
               [](int x, int y) { return (x < 4 || x >= 252 || y < 4 || y >= 44) ? 0xFFFFFFFFu : 0xFFC000C0u; },
               "[SIZING] ACTUAL\n[ORTHO] TRUE\n[BILLBOARDING] FALSE", "[TRANSLATION] 0 -240 0");
    zvtestsupport::writeFile("Assets\\Scripts\\Scenes\\shot.scene", "[SIZE] 5\n[SCRIPTS]\n" + scripts);

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
    Rgb top = rgb(400, 40);
    EXPECT_GT(top.b, top.r + 40) << "sky above everything else: " << top;
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
