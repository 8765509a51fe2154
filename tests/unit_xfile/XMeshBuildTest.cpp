// Mesh building: splitting by normals with the skin weights following,
// material lists, and the ID3DXMesh methods on the result.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "XTestScenes.h"
#include "d3dx9/xfile/XFileParser.h"
#include "d3dx9/xfile/XMeshBuilder.h"

using namespace xtest;

namespace {

// A quad of two triangles folded along the diagonal 0-2: vertices 0 and 2
// are shared by both halves with different normals, so each is split once.
// Bone "A" moves vertices 0 (weight 1) and 2 (0.25); bone "B" moves 2 (0.75)
// and 3.
XNode foldedQuad() {
    XNode mesh("Mesh", "Fold");
    mesh.ints({4}).floats({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}).ints({2, 3, 0, 1, 2, 3, 0, 2, 3});
    mesh.child(XNode("MeshNormals").ints({2}).floats({0, 0, 2, 0, 0.6, 0.8}).ints({2, 3, 0, 0, 0, 3, 1, 1, 1}));
    mesh.child(XNode("XSkinMeshHeader").ints({2, 2, 2}));
    const std::vector<double> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    mesh.child(XNode("SkinWeights").str("A").ints({2, 0, 2}).floats({1.0, 0.25}).floats(identity));
    mesh.child(XNode("SkinWeights").str("B").ints({2, 2, 3}).floats({0.75, 1.0}).floats(identity));
    return mesh;
}

d3dxfile::XMeshData build(const XNode& mesh) {
    const std::string text = writeFile({XNode("Frame", "F").child(mesh)}, Form::Text);
    d3dxfile::XDocument doc;
    d3dxfile::XMeshData data;
    EXPECT_EQ(d3dxfile::XFileParser::parse(reinterpret_cast<const uint8_t*>(text.data()), text.size(), doc),
              d3dxfile::XError::None);
    if (doc.objects.empty() || doc.objects[0]->children.empty()) return data;
    EXPECT_EQ(d3dxfile::XMeshBuilder::build(*doc.objects[0]->children[0].object, doc, data), d3dxfile::XError::None);
    return data;
}

TEST(XMeshBuild, NormalSplitCopiesKeepPositionAndSkinWeights) {
    d3dxfile::XMeshData m = build(foldedQuad());
    ASSERT_EQ(m.vertexCount(), 6u);
    EXPECT_EQ(m.originalVertex, (std::vector<uint32_t>{0, 1, 2, 3, 0, 2}));
    EXPECT_EQ(m.indices, (std::vector<uint32_t>{0, 1, 2, 4, 5, 3}));
    for (uint32_t v = 4; v < 6; ++v)
        for (int k = 0; k < 3; ++k) EXPECT_EQ(m.positions[v * 3 + k], m.positions[m.originalVertex[v] * 3 + k]);
    // Normals are unit length; the copies carry the second triangle's.
    EXPECT_FLOAT_EQ(m.normals[2], 1.0f);
    EXPECT_FLOAT_EQ(m.normals[4 * 3 + 1], 0.6f);
    EXPECT_FLOAT_EQ(m.normals[5 * 3 + 2], 0.8f);
    ASSERT_TRUE(m.skinned);
    ASSERT_EQ(m.bones.size(), 2u);
    // Per vertex, the weight each bone gives it: copies match their originals.
    std::map<uint32_t, float> weights[2];
    for (int b = 0; b < 2; ++b)
        for (size_t i = 0; i < m.bones[b].vertices.size(); ++i)
            weights[b][m.bones[b].vertices[i]] = m.bones[b].weights[i];
    EXPECT_EQ(weights[0], (std::map<uint32_t, float>{{0, 1.0f}, {4, 1.0f}, {2, 0.25f}, {5, 0.25f}}));
    EXPECT_EQ(weights[1], (std::map<uint32_t, float>{{2, 0.75f}, {5, 0.75f}, {3, 1.0f}}));
}

TEST(XMeshBuild, ShortMaterialListRepeatsItsLastIndexAndPolygonsAreFans) {
    XNode strip("Mesh", "Strip");
    strip.ints({5}).floats({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 2, 2, 0});
    strip.ints({3, 3, 0, 1, 2, 3, 0, 2, 3, 3, 2, 4, 3});
    const XNode grey = XNode("Material").floats({0.5, 0.5, 0.5, 1, 0, 0, 0, 0, 0, 0, 0});
    strip.child(XNode("MeshMaterialList").ints({2, 1, 1}).child(grey).child(grey));
    d3dxfile::XMeshData m = build(strip);
    EXPECT_EQ(m.attributes, (std::vector<uint32_t>{1, 1, 1}));
    EXPECT_FALSE(m.hasNormals);
    ASSERT_EQ(m.attributeTable.size(), 1u);
    EXPECT_TRUE(m.attributeTable[0].vertexStart == 0 && m.attributeTable[0].vertexCount == 5);

    XNode pentagon("Mesh", "Pent");
    pentagon.ints({5}).floats({0, 0, 0, 1, 0, 0, 2, 1, 0, 1, 2, 0, 0, 1, 0}).ints({1, 5, 0, 1, 2, 3, 4});
    m = build(pentagon);
    EXPECT_EQ(m.indices, (std::vector<uint32_t>{0, 1, 2, 0, 2, 3, 0, 3, 4}));
    // Inner edges 0-2 and 0-3 join the triangles; the rim has no neighbours.
    const uint32_t none = 0xFFFFFFFF;
    EXPECT_EQ(m.adjacency, (std::vector<uint32_t>{none, none, 1, 0, none, 2, 1, none, none}));
}

TEST(XMeshBuild, MeshMethodsOnTheLoadedBox) {
    auto l = loadNodes("methods", boxScene());
    ASSERT_EQ(l->hr, D3D_OK);
    D3DXMESHCONTAINER* container = D3DXFrameFind(l->root, "Box")->pMeshContainer;
    ID3DXMesh* mesh = container->MeshData.pMesh;
    EXPECT_EQ(mesh->GetOptions() & D3DXMESH_32BIT, 0u) << "small meshes get 16-bit indices";
    EXPECT_EQ(mesh->DrawSubset(0), D3DERR_INVALIDCALL) << "loaded without a device";

    // The engine's copy: two coordinate sets, the second zero.
    ID3DXMesh* copy = nullptr;
    ASSERT_EQ(mesh->CloneMeshFVF(D3DXMESH_MANAGED, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2, nullptr, &copy), D3D_OK);
    EXPECT_EQ(copy->GetNumBytesPerVertex(), 40u);
    const MeshSnapshot a = snapshot(container);
    TestContainer copied = *static_cast<TestContainer*>(container);
    copied.MeshData.pMesh = copy;
    const MeshSnapshot b = snapshot(&copied);
    ASSERT_EQ(b.vertexData.size(), a.vertices * 10);
    for (DWORD v = 0; v < a.vertices; ++v) {
        EXPECT_EQ(0, std::memcmp(&a.vertexData[v * 8], &b.vertexData[v * 10], 32)) << v;
        EXPECT_TRUE(b.vertexData[v * 10 + 8] == 0 && b.vertexData[v * 10 + 9] == 0) << v;
    }
    EXPECT_TRUE(a.indices == b.indices && a.attributes == b.attributes);

    ID3DXMesh* bad = reinterpret_cast<ID3DXMesh*>(1);
    EXPECT_EQ(mesh->CloneMeshFVF(0, D3DFVF_XYZRHW, nullptr, &bad), D3DERR_INVALIDCALL);
    EXPECT_EQ(bad, nullptr);
    EXPECT_EQ(copy->Release(), 0u);
}

TEST(XMeshBuild, UnskinnedMeshGetsNoSkinInfoAndEmptyMeshNoContainer) {
    const XNode frame = XNode("Frame", "F").child(boxMesh()).child(XNode("Mesh", "Empty").ints({0, 0}));
    auto l = loadNodes("noskin", {shinyMaterial(), frame}, Form::Binary32);
    ASSERT_EQ(l->hr, D3D_OK);
    ASSERT_NE(l->root->pMeshContainer, nullptr);
    EXPECT_EQ(l->root->pMeshContainer->pSkinInfo, nullptr);
    EXPECT_EQ(l->alloc.log, (std::vector<std::string>{"frame:F", "mesh:BoxMesh"}));
}

}  // namespace
