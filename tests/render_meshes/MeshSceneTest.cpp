// Scenes with meshes loaded through the scene manager and drawn offscreen;
// the frames are also saved for a person to look at.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>

#include "DX_Camera.h"
#include "MeshFixture.h"
#include "QNSceneManager.h"
#include "XText.h"

namespace {

class MeshScene : public MeshFixture {
protected:
    void TearDown() override {
        CQNSceneManager::destroyInstance();
        MeshFixture::TearDown();
    }

    static std::string object(const std::string& name, const std::string& xFile, const std::string& keys) {
        using zvtestsupport::writeFile;
        const std::string model = "Assets\\Scripts\\Models\\" + name + ".model";
        const std::string base = "Assets\\Scripts\\Base Objects\\" + name + ".base";
        writeFile(model, "[XFILE] " + xFile + "\n");
        writeFile(base, "[CLASS_TYPE] CQNBaseRend\n[MODEL_TYPE] MESH\n[MODEL_SCRIPT] " + model + "\n" + keys + "\n");
        return base;
    }
};

TEST_F(MeshScene, EnvironmentMappedBoxAndBentArm) {
    // A checkered box under a map whose faces differ: warm on +x, cool on -x,
    // sky blue above, brown below, white in front and dark behind.
    std::vector<uint32_t> checker(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            checker[y * 64 + x] = ((x / 16 + y / 16) % 2) ? 0xFFF0F0F0u : 0xFF2060E0u;
    writePngPixels("Assets\\Textures\\checker.png", 64, 64, checker);
    const Rgb faces[6] = {{255, 140, 0}, {0, 200, 220}, {120, 180, 255},
                          {90, 60, 30},  {255, 255, 255}, {20, 20, 40}};
    writeCubeDds("Assets\\Textures\\envmap.dds", 16, faces);
    zvtestsupport::writeFile("Assets\\Meshes\\box.x",
                             xtext::file(xtext::box("Box", 30, {1, 1, 1, 1, "Assets\\Textures\\checker.png"})));
    zvtestsupport::writeFile("Assets\\Meshes\\arm.x", xtext::arm({0.8f, 0.4f, 0.2f}));

    const std::string box = object("box", "Assets\\Meshes\\box.x", "[TRANSLATION] -60 10 0\n[ROTATION] 25 35 0");
    const std::string arm = object("arm", "Assets\\Meshes\\arm.x", "[TRANSLATION] 60 -40 0");
    zvtestsupport::writeFile("Assets\\Scripts\\Scenes\\meshes.scene",
                             "[SIZE] 2\n[SCRIPTS]\n" + box + "\n" + arm + "\n");
    CQNSceneManager* scene = CQNSceneManager::getInstance();
    ASSERT_EQ(scene->loadSceneFromScript("Assets\\Scripts\\Scenes\\meshes.scene"), QNRSLT_OK);
    ASSERT_EQ(scene->getObjectCount(), 2);

    tick(0.5);  // the arm's joint turns 45 degrees
    scene->update();
    drawFrame({scene->getObject(0), scene->getObject(1)});
    const std::string shot = std::string(ZV_BINARY_DIR) + "/tests/render_meshes_scene.png";
    EXPECT_TRUE(saveFramePng(shot)) << shot;

    // The box covers its centre; the arm its lower half and, bent, a point up
    // and left of the joint, not the upright place above it.
    const Rgb black = {0, 0, 0};
    int x, y;
    project(-60, 10, 0, &x, &y);
    EXPECT_FALSE(near(x, y, black, 20)) << "box centre: " << rgb(x, y);
    const Rgb armLit = {224, 112, 56};
    project(60, -20, 0, &x, &y);
    EXPECT_TRUE(near(x, y, armLit, 8)) << "upper arm: " << rgb(x, y);
    D3DXVECTOR3 fore = xtext::bent(D3DXVECTOR3(0, 70, 0), 45.0f);
    project(60 + fore.x, -40 + fore.y, 0, &x, &y);
    EXPECT_TRUE(near(x, y, armLit, 8)) << "bent forearm: " << rgb(x, y);
    project(60, 30, 0, &x, &y);
    EXPECT_TRUE(near(x, y, black)) << "the upright place above the joint: " << rgb(x, y);
    EXPECT_TRUE(logRows().empty()) << "nothing failed";
}

TEST_F(MeshScene, ShippedBlock) {
    const std::string source = std::string(ZV_SOURCE_DIR) + "/Assets";
    if (!zvtestsupport::fileExists(source + "/Meshes/zv.block.x")) GTEST_SKIP() << "no shipped block mesh yet";
    // The game's meshes and textures, read where they are.
    ASSERT_EQ(symlink((source + "/Meshes").c_str(), "Assets/Meshes"), 0);
    ASSERT_EQ(symlink((source + "/Textures").c_str(), "Assets/Textures"), 0);
    const std::string block = object("block", "Assets\\Meshes\\zv.block.x", "[ROTATION] 20 30 0\n[SCALE] 3 3 3");
    zvtestsupport::writeFile("Assets\\Scripts\\Scenes\\block.scene", "[SIZE] 1\n[SCRIPTS]\n" + block + "\n");
    CQNSceneManager* scene = CQNSceneManager::getInstance();
    ASSERT_EQ(scene->loadSceneFromScript("Assets\\Scripts\\Scenes\\block.scene"), QNRSLT_OK);
    tick(0.1);
    scene->update();
    drawFrame({scene->getObject(0)});
    const std::string shot = std::string(ZV_BINARY_DIR) + "/tests/render_meshes_block.png";
    EXPECT_TRUE(saveFramePng(shot)) << shot;
    EXPECT_GT(countNot({0, 0, 0}), 1000) << "the block shows";
    std::vector<LogRow> log = logRows();
    for (const LogRow& row : log) ADD_FAILURE() << row.location << ": " << row.info;
}

}  // namespace
