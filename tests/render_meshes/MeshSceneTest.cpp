// The game's own block mesh loaded through a scene script and drawn
// offscreen; the frame is also saved for a person to look at.
#include <gtest/gtest.h>
#include <unistd.h>

#include "MeshFixture.h"
#include "QNSceneManager.h"

namespace {

class MeshScene : public MeshFixture {
protected:
    void TearDown() override {
        CQNSceneManager::destroyInstance();
        MeshFixture::TearDown();
    }
};

TEST_F(MeshScene, ShippedBlock) {
    const std::string source = std::string(ZV_SOURCE_DIR) + "/Assets";
    if (!zvtestsupport::fileExists(source + "/Meshes/zv.block.x")) GTEST_SKIP() << "no shipped block mesh yet";
    // The game's meshes and textures, read where they are.
    ASSERT_EQ(symlink((source + "/Meshes").c_str(), "Assets/Meshes"), 0);
    ASSERT_EQ(symlink((source + "/Textures").c_str(), "Assets/Textures"), 0);
    zvtestsupport::writeFile("Assets\\Scripts\\Models\\block.model", "[XFILE] Assets\\Meshes\\zv.block.x\n");
    zvtestsupport::writeFile("Assets\\Scripts\\Base Objects\\block.base",
                             "[CLASS_TYPE] CQNBaseRend\n[MODEL_TYPE] MESH\n"
                             "[MODEL_SCRIPT] Assets\\Scripts\\Models\\block.model\n[ROTATION] 20 30 0\n[SCALE] 3 3 3\n");
    zvtestsupport::writeFile("Assets\\Scripts\\Scenes\\block.scene",
                             "[SIZE] 1\n[SCRIPTS]\nAssets\\Scripts\\Base Objects\\block.base\n");
    CQNSceneManager* scene = CQNSceneManager::getInstance();
    ASSERT_EQ(scene->loadSceneFromScript("Assets\\Scripts\\Scenes\\block.scene"), QNRSLT_OK);
    tick(0.1);
    scene->update();
    drawFrame({scene->getObject(0)});
    const std::string shot = std::string(ZV_BINARY_DIR) + "/tests/render_meshes_block.png";
    EXPECT_TRUE(saveFramePng(shot)) << shot;
    EXPECT_GT(countNot({0, 0, 0}), 1000) << "the block shows";
    for (const LogRow& row : logRows()) ADD_FAILURE() << row.location << ": " << row.info;
}

}  // namespace
