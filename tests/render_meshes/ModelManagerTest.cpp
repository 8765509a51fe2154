// The model manager's registry and the sharing of loaded X files between
// mesh models.
#include <gtest/gtest.h>

#include <cstdio>

#include "DX_ModelManager.h"
#include "MeshFixture.h"
#include "QNBaseRend.h"
#include "QNModelMesh.h"
#include "QNXModel.h"
#include "XText.h"

namespace {

class ModelManager : public MeshFixture {
protected:
    static void writeQuad(const std::string& path) {
        zvtestsupport::writeFile(path, xtext::file(xtext::quad("Quad", -30, -30, 30, 30, 0, {1, 0, 0})));
    }
    static CQNModelMesh* meshOf(CQNBaseRend& rend) { return dynamic_cast<CQNModelMesh*>(rend.m_model); }
};

TEST_F(ModelManager, OneFileIsLoadedOnceSharedAndKeptTillShutDown) {
    writeQuad("Assets\\Meshes\\quad.x");
    auto first = makeMesh("first", "Assets\\Meshes\\quad.x");
    CQNXModel* shared = model("Assets\\Meshes\\quad.x");
    ASSERT_NE(shared, nullptr);
    ASSERT_NE(shared->m_firstMeshContainer, nullptr);
    // Gone from disk: a second read would fail and be reported.
    std::remove("Assets/Meshes/quad.x");
    auto second = makeMesh("second", "Assets\\Meshes\\quad.x", "[TRANSLATION] 60 0 0");
    EXPECT_EQ(CDX_ModelManager::getInstance()->getCount(), 1u);
    EXPECT_EQ(model("Assets\\Meshes\\quad.x"), shared);

    drawFrame({first.get(), second.get()});
    const Rgb red = {255, 0, 0};
    EXPECT_TRUE(near(400, 300, red)) << rgb(400, 300);
    int x, y;
    project(60, 0, 0, &x, &y);
    EXPECT_TRUE(near(x, y, red)) << "the second object draws the same mesh: " << rgb(x, y);
    EXPECT_TRUE(logRows().empty());

    first.reset();
    second.reset();
    EXPECT_EQ(CDX_ModelManager::getInstance()->getCount(), 1u) << "outlives the renderables";
    EXPECT_EQ(CDX_ModelManager::destroyInstance(), QNRSLT_OK);
    EXPECT_EQ(CDX_ModelManager::getInstance()->getCount(), 0u);
}

TEST_F(ModelManager, NamesAreComparedExactly) {
    // On this platform file names are case-sensitive, so both spellings
    // exist on disk; on Windows they would be one file read twice.
    writeQuad("Assets\\Meshes\\quad.x");
    writeQuad("Assets\\Meshes\\QUAD.x");
    auto lower = makeMesh("lower", "Assets\\Meshes\\quad.x");
    auto upper = makeMesh("upper", "Assets\\Meshes\\QUAD.x");
    EXPECT_EQ(CDX_ModelManager::getInstance()->getCount(), 2u);
    ASSERT_NE(model("Assets\\Meshes\\QUAD.x"), nullptr);
    EXPECT_NE(model("Assets\\Meshes\\quad.x"), model("Assets\\Meshes\\QUAD.x"));
    EXPECT_NE(model("Assets\\Meshes\\QUAD.x")->m_frameRoot, nullptr) << "loaded from its own file";
    EXPECT_EQ(model("Assets/Meshes/quad.x"), nullptr) << "a separator is part of the name";
    EXPECT_EQ(model("Assets\\Meshes\\never.x"), nullptr);
}

TEST_F(ModelManager, XFilePathEndsAtTheFirstBlank) {
    writeQuad("Assets\\Meshes\\my quad.x");
    auto rend = makeMesh("blank", "Assets\\Meshes\\my quad.x");
    ASSERT_NE(meshOf(*rend), nullptr);
    EXPECT_STREQ(meshOf(*rend)->m_xFileName, "Assets\\Meshes\\my");
    std::vector<LogRow> log = logRows();
    ASSERT_EQ(log.size(), 1u) << "the cut name cannot be loaded";
    EXPECT_EQ(log[0].info, "Assets\\Meshes\\my");
}

}  // namespace
