// Frames: names, transforms, order of calls to the allocator, the roots the
// loader adds, finding, freeing and bounding the tree.
#include <gtest/gtest.h>

#include "XTestScenes.h"

using namespace xtest;

namespace {

std::vector<XNode> treeScene() {
    XNode root = translationFrame("Root", 1, 2, 3);
    root.child(XNode("Frame", "Child1").child(triangle("M1")));
    root.child(XNode("Frame"));  // unnamed
    root.child(triangle("M2")).child(triangle("M3"));
    return {root, XNode("Frame", "Other")};
}

TEST(XHierarchy, FramesContainersAndTheAddedRoot) {
    for (Form form : {Form::Text, Form::Binary32, Form::BinaryZip64}) {
        SCOPED_TRACE(formName(form));
        auto l = loadNodes("tree", treeScene(), form);
        ASSERT_EQ(l->hr, D3D_OK);
        // Depth first, each frame's meshes before its children.
        EXPECT_EQ(l->alloc.log, (std::vector<std::string>{"frame:<null>", "frame:Root", "mesh:M2", "mesh:M3",
                                                          "frame:Child1", "mesh:M1", "frame:", "frame:Other"}));
        D3DXFRAME* top = l->root;
        EXPECT_EQ(top->Name, nullptr) << "several top-level frames get an unnamed root";
        EXPECT_TRUE(D3DXMatrixIsIdentity(&top->TransformationMatrix));
        EXPECT_TRUE(top->pMeshContainer == nullptr && top->pFrameSibling == nullptr);
        D3DXFRAME* root = top->pFrameFirstChild;
        ASSERT_STREQ(root->Name, "Root");
        EXPECT_TRUE(root->TransformationMatrix._41 == 1 && root->TransformationMatrix._43 == 3);
        ASSERT_NE(root->pMeshContainer, nullptr);
        EXPECT_STREQ(root->pMeshContainer->Name, "M2");
        ASSERT_NE(root->pMeshContainer->pNextMeshContainer, nullptr);
        EXPECT_STREQ(root->pMeshContainer->pNextMeshContainer->Name, "M3");
        EXPECT_EQ(root->pMeshContainer->pNextMeshContainer->pNextMeshContainer, nullptr);
        D3DXFRAME* child1 = root->pFrameFirstChild;
        ASSERT_STREQ(child1->Name, "Child1");
        EXPECT_TRUE(D3DXMatrixIsIdentity(&child1->TransformationMatrix)) << "no FrameTransformMatrix";
        ASSERT_NE(child1->pFrameSibling, nullptr);
        EXPECT_STREQ(child1->pFrameSibling->Name, "");
        EXPECT_EQ(child1->pFrameSibling->pFrameSibling, nullptr);
        EXPECT_EQ(D3DXFrameFind(top, "Other"), root->pFrameSibling);
        EXPECT_EQ(D3DXFrameFind(top, "Child1"), child1);
        EXPECT_EQ(D3DXFrameFind(top, "child1"), nullptr) << "names are case-sensitive";
        EXPECT_EQ(l->anim, nullptr) << "no animation sets, no controller";
        EXPECT_EQ(D3DXFrameDestroy(nullptr, &l->alloc), D3DERR_INVALIDCALL);
    }
}

TEST(XHierarchy, ALoneFrameIsTheRootAndALoneMeshGetsOne) {
    auto frame = loadNodes("single", {translationFrame("Only", 0, 0, 1)});
    ASSERT_EQ(frame->hr, D3D_OK);
    EXPECT_STREQ(frame->root->Name, "Only");
    EXPECT_EQ(frame->alloc.log, (std::vector<std::string>{"frame:Only"}));
    // Backslashes in the path are folder separators.
    std::string path = saveTemp("lonely.x", writeFile({triangle("Lonely")}, Form::Text));
    for (char& c : path)
        if (c == '/') c = '\\';
    auto mesh = loadPath(path);
    ASSERT_EQ(mesh->hr, D3D_OK);
    EXPECT_EQ(mesh->root->Name, nullptr);
    EXPECT_EQ(mesh->root->pFrameFirstChild, nullptr);
    ASSERT_NE(mesh->root->pMeshContainer, nullptr);
    EXPECT_STREQ(mesh->root->pMeshContainer->Name, "Lonely");
}

TEST(XHierarchy, AllocatorFailureLeavesNothingBehind) {
    TestAllocator alloc;
    alloc.failContainerAt = 2;  // M1, after Root's two meshes
    D3DXFRAME* root = reinterpret_cast<D3DXFRAME*>(1);
    ID3DXAnimationController* anim = reinterpret_cast<ID3DXAnimationController*>(1);
    const std::string path = saveTemp("failalloc.x", writeFile(treeScene(), Form::Text));
    EXPECT_EQ(D3DXLoadMeshHierarchyFromXA(path.c_str(), 0, nullptr, &alloc, nullptr, &root, &anim), E_OUTOFMEMORY);
    EXPECT_TRUE(root == nullptr && anim == nullptr);
    EXPECT_EQ(alloc.liveFrames + alloc.liveContainers, 0);
}

TEST(XHierarchy, BoundingSphereCoversTheMeshesWhereTheirFramesPutThem) {
    auto l = loadNodes("sphere", {XNode("Frame", "Top").child(translationFrame("Far", 10, 0, 0).child(triangle("T")))});
    ASSERT_EQ(l->hr, D3D_OK);
    D3DXVECTOR3 centre;
    float radius = -1;
    ASSERT_EQ(D3DXFrameCalculateBoundingSphere(l->root, &centre, &radius), D3D_OK);
    const D3DXVECTOR3 off = centre - D3DXVECTOR3(11, 0, 0);
    EXPECT_LT(D3DXVec3Length(&off), 1e-5f) << centre.x << " " << centre.y << " " << centre.z;
    EXPECT_FLOAT_EQ(radius, 1.0f);
}

}  // namespace
