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
    static std::string quadFile() {
        return xtext::file(xtext::quad("Quad", -30, -30, 30, 30, 0, {1, 0, 0}));
    }
    static CQNModelMesh* meshOf(CQNBaseRend& rend) { return dynamic_cast<CQNModelMesh*>(rend.m_model); }
};

TEST_F(ModelManager, NullModelIsReportedAndUnknownNamesAreNotFound) {
    CDX_ModelManager* models = CDX_ModelManager::getInstance();
    EXPECT_EQ(models->addModel(nullptr), QNRSLT_INVALIDPARAM);
    EXPECT_EQ(models->getCount(), 0u);
    EXPECT_EQ(models->getModelByName("Assets\\Meshes\\never.x"), nullptr);
    EXPECT_FALSE(models->hasModel("Assets\\Meshes\\never.x"));
    EXPECT_FALSE(models->hasModel(nullptr));
    EXPECT_EQ(models->getModelByName(nullptr), nullptr);
    std::vector<LogRow> rows = logRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].define, "QNRSLT_INVALIDPARAM");
    EXPECT_EQ(rows[0].location, "CDX_ModelManager::addModel( )");
    EXPECT_EQ(rows[0].info, "NULL Pointer Sent");
}

TEST_F(ModelManager, OneFileIsLoadedOnceAndShared) {
    zvtestsupport::writeFile("Assets\\Meshes\\quad.x", quadFile());
    auto first = makeMesh("first", "Assets\\Meshes\\quad.x");
    ASSERT_NE(meshOf(*first), nullptr);
    CQNXModel* shared = model("Assets\\Meshes\\quad.x");
    ASSERT_NE(shared, nullptr);
    ASSERT_NE(shared->m_firstMeshContainer, nullptr);
    // Gone from disk: a second read would fail and be reported.
    std::remove("Assets/Meshes/quad.x");
    auto second = makeMesh("second", "Assets\\Meshes\\quad.x", "[TRANSLATION] 60 0 0");
    EXPECT_EQ(CDX_ModelManager::getInstance()->getCount(), 1u);
    EXPECT_EQ(model("Assets\\Meshes\\quad.x"), shared);
    EXPECT_STREQ(meshOf(*second)->m_xFileName, "Assets\\Meshes\\quad.x");

    drawFrame({first.get(), second.get()});
    const Rgb red = {255, 0, 0};
    EXPECT_TRUE(near(400, 300, red)) << rgb(400, 300);
    int x, y;
    project(60, 0, 0, &x, &y);
    EXPECT_TRUE(near(x, y, red)) << "the second object draws the same mesh: " << rgb(x, y);
    EXPECT_TRUE(logRows().empty());
}

TEST_F(ModelManager, NamesAreComparedExactly) {
    // On this platform file names are case-sensitive, so both spellings
    // exist on disk; on Windows they would be one file read twice.
    zvtestsupport::writeFile("Assets\\Meshes\\quad.x", quadFile());
    zvtestsupport::writeFile("Assets\\Meshes\\QUAD.x", quadFile());
    auto lower = makeMesh("lower", "Assets\\Meshes\\quad.x");
    auto upper = makeMesh("upper", "Assets\\Meshes\\QUAD.x");
    EXPECT_EQ(CDX_ModelManager::getInstance()->getCount(), 2u);
    ASSERT_NE(model("Assets\\Meshes\\quad.x"), nullptr);
    ASSERT_NE(model("Assets\\Meshes\\QUAD.x"), nullptr);
    EXPECT_NE(model("Assets\\Meshes\\quad.x"), model("Assets\\Meshes\\QUAD.x"));
    EXPECT_NE(model("Assets\\Meshes\\QUAD.x")->m_frameRoot, nullptr) << "loaded from its own file";
    EXPECT_EQ(model("Assets/Meshes/quad.x"), nullptr) << "a separator is part of the name";
}

TEST_F(ModelManager, PathEndsAtTheFirstBlank) {
    zvtestsupport::writeFile("Assets\\Meshes\\my quad.x", quadFile());
    auto rend = makeMesh("blank", "Assets\\Meshes\\my quad.x");
    ASSERT_NE(meshOf(*rend), nullptr);
    EXPECT_STREQ(meshOf(*rend)->m_xFileName, "Assets\\Meshes\\my");
    std::vector<LogRow> rows = logRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].info, "Assets\\Meshes\\my");
}

TEST_F(ModelManager, LaterXFileKeyReplacesTheNameAndBothLoad) {
    zvtestsupport::writeFile("Assets\\Meshes\\a.x", quadFile());
    zvtestsupport::writeFile("Assets\\Meshes\\b.x", quadFile());
    zvtestsupport::writeFile("Assets\\Scripts\\Models\\two.model",
                             "[XFILE] Assets\\Meshes\\a.x\n[XFILE] Assets\\Meshes\\b.x\n");
    CQNModelMesh mesh;
    EXPECT_EQ(mesh.initialize("Assets\\Scripts\\Models\\two.model"), QNRSLT_OK);
    EXPECT_STREQ(mesh.m_xFileName, "Assets\\Meshes\\b.x");
    EXPECT_EQ(CDX_ModelManager::getInstance()->getCount(), 2u);
    EXPECT_EQ(mesh.release(), QNRSLT_OK);
    EXPECT_EQ(mesh.m_xFileName, nullptr);
    EXPECT_EQ(CDX_ModelManager::getInstance()->getCount(), 2u) << "the files stay with the manager";
}

TEST_F(ModelManager, ModelWithoutFileDoesNothing) {
    zvtestsupport::writeFile("Assets\\Scripts\\Models\\none.model", "[ZWRITEENABLE] FALSE\n");
    CQNModelMesh mesh;
    EXPECT_EQ(mesh.initialize("Assets\\Scripts\\Models\\none.model"), QNRSLT_OK);
    EXPECT_EQ(mesh.m_xFileName, nullptr);
    EXPECT_FALSE(mesh.m_zWriteEnable) << "the base key is read though meshes ignore it";
    float transform[9] = {0, 0, 0, 0, 0, 0, 1, 1, 1};
    EXPECT_EQ(mesh.update(transform), QNRSLT_OK);
    EXPECT_EQ(mesh.setAnimation(0), QNRSLT_OK);
    EXPECT_EQ(mesh.initialize("Assets\\Scripts\\Models\\missing.model"), QNRSLT_OK)
        << "a missing script is reported by the reader, not passed on";
}

TEST_F(ModelManager, ShutDownDeletesEveryModel) {
    zvtestsupport::writeFile("Assets\\Meshes\\quad.x", quadFile());
    { auto rend = makeMesh("gone", "Assets\\Meshes\\quad.x"); }
    EXPECT_EQ(CDX_ModelManager::getInstance()->getCount(), 1u) << "outlives the renderable";
    EXPECT_EQ(CDX_ModelManager::destroyInstance(), QNRSLT_OK);
    EXPECT_EQ(CDX_ModelManager::destroyInstance(), QNRSLT_OK) << "twice is harmless";
    EXPECT_EQ(CDX_ModelManager::getInstance()->getCount(), 0u);
}

}  // namespace
