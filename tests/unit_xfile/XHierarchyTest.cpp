// Frames: names, transforms, order of calls to the allocator, the roots the
// loader adds, finding, destroying and bounding the tree.
#include <gtest/gtest.h>

#include "XTestScenes.h"

using namespace xtest;

namespace {

XNode triangle(const std::string& name, float x = 0) {
    return XNode("Mesh", name).ints({3}).floats({x, 0, 0, x + 2, 0, 0, x + 1, 0, 0}).ints({1, 3, 0, 1, 2});
}

std::vector<XNode> treeScene() {
    XNode root = translationFrame("Root", 1, 2, 3);
    root.child(XNode("Frame", "Child1").child(triangle("M1")));
    root.child(XNode("Frame"));  // unnamed
    root.child(triangle("M2")).child(triangle("M3"));
    return {root, XNode("Frame", "Other")};
}

TEST(XHierarchy, FramesContainersAndTheAddedRoot) {
    for (Form form : {Form::Text, Form::Binary32, Form::BinaryZip64}) {
        auto l = loadNodes("tree", treeScene(), form);
        ASSERT_EQ(l->hr, D3D_OK) << formName(form);
        EXPECT_EQ(l->alloc.log,
                  (std::vector<std::string>{"frame:<null>", "frame:Root", "mesh:M2", "mesh:M3",
                                            "frame:Child1", "mesh:M1", "frame:", "frame:Other"}))
            << formName(form);
        D3DXFRAME* top = l->root;
        EXPECT_EQ(top->Name, nullptr) << "several top-level frames get an unnamed root";
        EXPECT_TRUE(D3DXMatrixIsIdentity(&top->TransformationMatrix));
        EXPECT_EQ(top->pMeshContainer, nullptr);
        EXPECT_EQ(top->pFrameSibling, nullptr);
        D3DXFRAME* root = top->pFrameFirstChild;
        ASSERT_STREQ(root->Name, "Root");
        EXPECT_EQ(root->TransformationMatrix._41, 1.0f);
        EXPECT_EQ(root->TransformationMatrix._43, 3.0f);
        ASSERT_NE(root->pMeshContainer, nullptr);
        EXPECT_STREQ(root->pMeshContainer->Name, "M2");
        ASSERT_NE(root->pMeshContainer->pNextMeshContainer, nullptr);
        EXPECT_STREQ(root->pMeshContainer->pNextMeshContainer->Name, "M3");
        EXPECT_EQ(root->pMeshContainer->pNextMeshContainer->pNextMeshContainer, nullptr);
        D3DXFRAME* child1 = root->pFrameFirstChild;
        ASSERT_STREQ(child1->Name, "Child1");
        EXPECT_TRUE(D3DXMatrixIsIdentity(&child1->TransformationMatrix)) << "no FrameTransformMatrix";
        EXPECT_STREQ(child1->pMeshContainer->Name, "M1");
        ASSERT_NE(child1->pFrameSibling, nullptr);
        EXPECT_STREQ(child1->pFrameSibling->Name, "");
        EXPECT_EQ(child1->pFrameSibling->pFrameSibling, nullptr);
        ASSERT_NE(root->pFrameSibling, nullptr);
        EXPECT_STREQ(root->pFrameSibling->Name, "Other");

        EXPECT_EQ(D3DXFrameFind(top, "Other"), root->pFrameSibling);
        EXPECT_EQ(D3DXFrameFind(top, "Child1"), child1);
        EXPECT_EQ(D3DXFrameFind(top, "child1"), nullptr) << "names are case-sensitive";
        EXPECT_EQ(D3DXFrameFind(top, "Nope"), nullptr);
        EXPECT_EQ(l->alloc.liveFrames, 5);
        EXPECT_EQ(l->alloc.liveContainers, 3);
        EXPECT_EQ(l->anim, nullptr) << "no animation sets, no controller";
    }
}

TEST(XHierarchy, TopLevelMeshGetsAnUnnamedFrame) {
    auto l = loadNodes("lonely", {triangle("Lonely")});
    ASSERT_EQ(l->hr, D3D_OK);
    EXPECT_EQ(l->root->Name, nullptr);
    EXPECT_EQ(l->root->pFrameFirstChild, nullptr);
    ASSERT_NE(l->root->pMeshContainer, nullptr);
    EXPECT_STREQ(l->root->pMeshContainer->Name, "Lonely");
}

TEST(XHierarchy, OneTopLevelFrameIsTheRoot) {
    auto l = loadNodes("single", {translationFrame("Only", 0, 0, 1)});
    ASSERT_EQ(l->hr, D3D_OK);
    EXPECT_STREQ(l->root->Name, "Only");
    EXPECT_EQ(l->alloc.log, (std::vector<std::string>{"frame:Only"}));
}

TEST(XHierarchy, DestroyHandsEverythingBack) {
    auto l = loadNodes("destroy", treeScene());
    ASSERT_EQ(l->hr, D3D_OK);
    EXPECT_EQ(D3DXFrameDestroy(nullptr, &l->alloc), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXFrameDestroy(l->root, &l->alloc), D3D_OK);
    l->root = nullptr;
    EXPECT_EQ(l->alloc.liveFrames, 0);
    EXPECT_EQ(l->alloc.liveContainers, 0);
}

TEST(XHierarchy, AllocatorFailureLeavesNothingBehind) {
    TestAllocator alloc;
    alloc.failContainerAt = 2;  // M1, after Root's two meshes
    D3DXFRAME* root = reinterpret_cast<D3DXFRAME*>(1);
    ID3DXAnimationController* anim = reinterpret_cast<ID3DXAnimationController*>(1);
    std::string path = saveTemp("failalloc.x", writeFile(treeScene(), Form::Text));
    EXPECT_EQ(D3DXLoadMeshHierarchyFromXA(path.c_str(), 0, nullptr, &alloc, nullptr, &root, &anim),
              E_OUTOFMEMORY);
    EXPECT_EQ(root, nullptr);
    EXPECT_EQ(anim, nullptr);
    EXPECT_EQ(alloc.liveFrames, 0);
    EXPECT_EQ(alloc.liveContainers, 0);
}

TEST(XHierarchy, BoundingSphereCoversTheMeshesWhereTheirFramesPutThem) {
    XNode far = translationFrame("Far", 10, 0, 0).child(triangle("T"));
    auto l = loadNodes("sphere", {XNode("Frame", "Top").child(far)});
    ASSERT_EQ(l->hr, D3D_OK);
    D3DXVECTOR3 centre;
    float radius = -1;
    ASSERT_EQ(D3DXFrameCalculateBoundingSphere(l->root, &centre, &radius), D3D_OK);
    EXPECT_FLOAT_EQ(centre.x, 11.0f);
    EXPECT_FLOAT_EQ(centre.y, 0.0f);
    EXPECT_FLOAT_EQ(radius, 1.0f);
}

TEST(XHierarchy, BackslashesInThePathAreSlashes) {
    std::string path = saveTemp("slash.x", writeFile({triangle("S")}, Form::Text));
    for (char& c : path)
        if (c == '/') c = '\\';
    auto l = loadPath(path);
    EXPECT_EQ(l->hr, D3D_OK);
}

}  // namespace
