// Scenes with meshes loaded through the scene manager and drawn offscreen;
// the frames are also saved for a person to look at.
#include <gtest/gtest.h>
#include <unistd.h>

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

    // Mesh objects of the given X files and keys in a scene, loaded, updated
    // after `seconds` and drawn; the frame is saved under `shot`.
    void drawScene(const std::vector<std::vector<std::string>>& objects, double seconds, const std::string& shot) {
        std::string scene = "[SIZE] " + std::to_string(objects.size()) + "\n[SCRIPTS]\n";
        for (size_t i = 0; i < objects.size(); ++i) {
            const std::string n = std::to_string(i);
            const std::string model = "Assets\\Scripts\\Models\\m" + n + ".model";
            const std::string base = "Assets\\Scripts\\Base Objects\\o" + n + ".base";
            zvtestsupport::writeFile(model, "[XFILE] " + objects[i][0] + "\n");
            zvtestsupport::writeFile(base, "[CLASS_TYPE] CQNBaseRend\n[MODEL_TYPE] MESH\n[MODEL_SCRIPT] " + model +
                                               "\n" + objects[i][1] + "\n");
            scene += base + "\n";
        }
        zvtestsupport::writeFile("Assets\\Scripts\\Scenes\\s.scene", scene);
        CQNSceneManager* scenes = CQNSceneManager::getInstance();
        ASSERT_EQ(scenes->loadSceneFromScript("Assets\\Scripts\\Scenes\\s.scene"), QNRSLT_OK);
        ASSERT_EQ(scenes->getObjectCount(), static_cast<int>(objects.size()));
        tick(seconds);
        scenes->update();
        std::vector<CQNBase*> drawn;
        for (size_t i = 0; i < objects.size(); ++i) drawn.push_back(scenes->getObject(static_cast<int>(i)));
        drawFrame(drawn);
        const std::string path = std::string(ZV_BINARY_DIR) + "/tests/" + shot;
        EXPECT_TRUE(saveFramePng(path)) << path;
    }
};

TEST_F(MeshScene, EnvironmentMappedBoardAndBentArm) {
    // A checkered board, turned, under a map whose faces differ: warm on +x,
    // cool on -x, sky blue above, brown below, white in front and dark behind.
    std::vector<uint32_t> checker(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) checker[y * 64 + x] = ((x / 16 + y / 16) % 2) ? 0xFFF0F0F0u : 0xFF2060E0u;
    writePngPixels("Assets\\Textures\\checker.png", 64, 64, checker);
    const Rgb faces[6] = {{255, 140, 0}, {0, 200, 220}, {120, 180, 255}, {90, 60, 30}, {255, 255, 255}, {20, 20, 40}};
    writeCubeDds("Assets\\Textures\\envmap.dds", 16, faces);
    zvtestsupport::writeFile("Assets\\Meshes\\board.x",
                             xtext::file(xtext::quad("Board", -30, -30, 30, 30, 0,
                                                     {1, 1, 1, 1, "Assets\\Textures\\checker.png"})));
    zvtestsupport::writeFile("Assets\\Meshes\\arm.x", xtext::arm({0.8f, 0.4f, 0.2f}));
    // Half a second in, the arm's joint has turned 45 degrees.
    ASSERT_NO_FATAL_FAILURE(drawScene({{"Assets\\Meshes\\board.x", "[TRANSLATION] -60 10 0\n[ROTATION] 25 35 0"},
                                       {"Assets\\Meshes\\arm.x", "[TRANSLATION] 60 -40 0"}},
                                      0.5, "render_meshes_scene.png"));

    // The board covers its centre; the arm its lower half and, bent, a point up
    // and left of the joint, not the upright place above it.
    const Rgb black = {0, 0, 0}, armLit = {224, 112, 56};
    const D3DXVECTOR3 fore = xtext::bent(D3DXVECTOR3(0, 70, 0), 45.0f);
    const struct {
        const char* what;
        float x, y;
        Rgb colour;
        bool is;  // the colour or anything but it
    } probes[] = {{"board centre", -60, 10, black, false},
                  {"upper arm", 60, -20, armLit, true},
                  {"bent forearm", 60 + fore.x, -40 + fore.y, armLit, true},
                  {"the upright place above the joint", 60, 30, black, true}};
    for (const auto& p : probes) {
        int x, y;
        project(p.x, p.y, 0, &x, &y);
        EXPECT_EQ(near(x, y, p.colour, p.is ? 8 : 20), p.is) << p.what << ": " << rgb(x, y);
    }
    EXPECT_TRUE(logRows().empty()) << "nothing failed";
}

TEST_F(MeshScene, ShippedBlock) {
    const std::string source = std::string(ZV_SOURCE_DIR) + "/Assets";
    if (!zvtestsupport::fileExists(source + "/Meshes/zv.block.x")) GTEST_SKIP() << "no shipped block mesh yet";
    // The game's meshes and textures, read where they are.
    ASSERT_EQ(symlink((source + "/Meshes").c_str(), "Assets/Meshes"), 0);
    ASSERT_EQ(symlink((source + "/Textures").c_str(), "Assets/Textures"), 0);
    ASSERT_NO_FATAL_FAILURE(drawScene({{"Assets\\Meshes\\zv.block.x", "[ROTATION] 20 30 0\n[SCALE] 3 3 3"}}, 0.1,
                                      "render_meshes_block.png"));
    EXPECT_GT(countNot({0, 0, 0}), 1000) << "the block shows";
    for (const LogRow& row : logRows()) ADD_FAILURE() << row.location << ": " << row.info;
}

}  // namespace
