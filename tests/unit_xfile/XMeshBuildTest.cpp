// Mesh building: splitting by normals with the skin weights following,
// material lists, and the ID3DXMesh methods on the result.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "XTestScenes.h"
#include "d3dx9/xfile/XFileParser.h"
#include "d3dx9/xfile/XMeshBuilder.h"

using namespace xtest;
using d3dxfile::XError;

namespace {

// A quad of two triangles folded along the diagonal 0-2: vertices 0 and 2
// are shared by both halves with different normals, so each is split once.
// Bone "A" moves vertices 0 (weight 1) and 2 (0.25); bone "B" moves 2 (0.75)
// and 3.
XNode foldedQuad() {
    XNode mesh("Mesh", "Fold");
    mesh.ints({4}).floats({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0});
    mesh.ints({2, 3, 0, 1, 2, 3, 0, 2, 3});
    XNode normals("MeshNormals");
    normals.ints({2}).floats({0, 0, 2, 0, 0.6, 0.8}).ints({2, 3, 0, 0, 0, 3, 1, 1, 1});
    mesh.child(normals);
    mesh.child(XNode("XSkinMeshHeader").ints({2, 2, 2}));
    const float id[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    XNode a("SkinWeights");
    a.str("A").ints({2, 0, 2}).floats({1.0, 0.25});
    for (float f : id) a.floats({f});
    XNode b("SkinWeights");
    b.str("B").ints({2, 2, 3}).floats({0.75, 1.0});
    for (float f : id) b.floats({f});
    mesh.child(a).child(b);
    return mesh;
}

d3dxfile::XMeshData build(const XNode& mesh, XError expect = XError::None) {
    std::string text = writeFile({XNode("Frame", "F").child(mesh)}, Form::Text);
    d3dxfile::XDocument doc;
    EXPECT_EQ(d3dxfile::XFileParser::parse(reinterpret_cast<const uint8_t*>(text.data()),
                                           text.size(), doc),
              XError::None);
    d3dxfile::XMeshData data;
    if (doc.objects.empty() || doc.objects[0]->children.empty()) return data;
    EXPECT_EQ(d3dxfile::XMeshBuilder::build(*doc.objects[0]->children[0].object, doc, data), expect);
    return data;
}

TEST(XMeshBuild, NormalSplitCopiesKeepPositionAndSkinWeights) {
    d3dxfile::XMeshData m = build(foldedQuad());
    ASSERT_EQ(m.vertexCount(), 6u);
    EXPECT_EQ(m.originalVertex, (std::vector<uint32_t>{0, 1, 2, 3, 0, 2}));
    // Normals are unit length; the copies carry the second triangle's.
    EXPECT_FLOAT_EQ(m.normals[2], 1.0f);
    EXPECT_FLOAT_EQ(m.normals[4 * 3 + 1], 0.6f);
    EXPECT_FLOAT_EQ(m.normals[5 * 3 + 2], 0.8f);
    for (uint32_t v = 4; v < 6; ++v) {
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(m.positions[v * 3 + k], m.positions[m.originalVertex[v] * 3 + k]);
    }
    EXPECT_EQ(m.indices, (std::vector<uint32_t>{0, 1, 2, 4, 5, 3}));
    ASSERT_TRUE(m.skinned);
    ASSERT_EQ(m.bones.size(), 2u);
    // Per vertex, the weight each bone gives it: copies match their originals.
    std::map<uint32_t, float> wa, wb;
    for (size_t i = 0; i < m.bones[0].vertices.size(); ++i) wa[m.bones[0].vertices[i]] = m.bones[0].weights[i];
    for (size_t i = 0; i < m.bones[1].vertices.size(); ++i) wb[m.bones[1].vertices[i]] = m.bones[1].weights[i];
    EXPECT_EQ(wa, (std::map<uint32_t, float>{{0, 1.0f}, {4, 1.0f}, {2, 0.25f}, {5, 0.25f}}));
    EXPECT_EQ(wb, (std::map<uint32_t, float>{{2, 0.75f}, {5, 0.75f}, {3, 1.0f}}));
}

TEST(XMeshBuild, ShortMaterialListRepeatsItsLastIndex) {
    XNode mesh("Mesh", "Strip");
    mesh.ints({5}).floats({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 2, 2, 0});
    mesh.ints({3, 3, 0, 1, 2, 3, 0, 2, 3, 3, 2, 4, 3});
    const XNode grey = XNode("Material").floats({0.5, 0.5, 0.5, 1, 0, 0, 0, 0, 0, 0, 0});
    mesh.child(XNode("MeshMaterialList").ints({2, 1, 1}).child(grey).child(grey));
    d3dxfile::XMeshData m = build(mesh);
    EXPECT_EQ(m.attributes, (std::vector<uint32_t>{1, 1, 1}));
    EXPECT_FALSE(m.hasNormals);
    EXPECT_EQ(m.vertexCount(), 5u);
    ASSERT_EQ(m.attributeTable.size(), 1u);
    EXPECT_EQ(m.attributeTable[0].vertexStart, 0u);
    EXPECT_EQ(m.attributeTable[0].vertexCount, 5u);
}

TEST(XMeshBuild, PolygonsAreFanTriangulated) {
    XNode mesh("Mesh", "Pent");
    mesh.ints({5}).floats({0, 0, 0, 1, 0, 0, 2, 1, 0, 1, 2, 0, 0, 1, 0});
    mesh.ints({1, 5, 0, 1, 2, 3, 4});
    d3dxfile::XMeshData m = build(mesh);
    EXPECT_EQ(m.indices, (std::vector<uint32_t>{0, 1, 2, 0, 2, 3, 0, 3, 4}));
    // Inner edges 0-2 and 0-3 join the triangles; the rim has no neighbours.
    EXPECT_EQ(m.adjacency, (std::vector<uint32_t>{0xFFFFFFFF, 0xFFFFFFFF, 1, 0, 0xFFFFFFFF, 2, 1,
                                                  0xFFFFFFFF, 0xFFFFFFFF}));
}

TEST(XMeshBuild, MeshMethodsOnTheLoadedBox) {
    auto l = loadNodes("methods", boxScene());
    ASSERT_EQ(l->hr, D3D_OK);
    ID3DXMesh* mesh = D3DXFrameFind(l->root, "Box")->pMeshContainer->MeshData.pMesh;
    EXPECT_EQ(mesh->GetOptions() & D3DXMESH_32BIT, 0u) << "small meshes get 16-bit indices";
    LPDIRECT3DDEVICE9 device = reinterpret_cast<LPDIRECT3DDEVICE9>(1);
    EXPECT_EQ(mesh->GetDevice(&device), D3DERR_INVALIDCALL) << "loaded without a device";
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(mesh->DrawSubset(0), D3DERR_INVALIDCALL);

    // The engine's copy: two coordinate sets, the second zero.
    ID3DXMesh* copy = nullptr;
    ASSERT_EQ(mesh->CloneMeshFVF(D3DXMESH_MANAGED, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2,
                                 nullptr, &copy),
              D3D_OK);
    EXPECT_EQ(copy->GetNumBytesPerVertex(), 40u);
    EXPECT_EQ(copy->GetNumFaces(), mesh->GetNumFaces());
    MeshSnapshot a = snapshot(D3DXFrameFind(l->root, "Box")->pMeshContainer);
    TestContainer fake = *static_cast<TestContainer*>(D3DXFrameFind(l->root, "Box")->pMeshContainer);
    fake.MeshData.pMesh = copy;
    MeshSnapshot b = snapshot(&fake);
    for (DWORD v = 0; v < a.vertices; ++v) {
        EXPECT_EQ(0, std::memcmp(&a.vertexData[v * 8], &b.vertexData[v * 10], 32)) << v;
        EXPECT_EQ(b.vertexData[v * 10 + 8], 0.0f);
        EXPECT_EQ(b.vertexData[v * 10 + 9], 0.0f);
    }
    EXPECT_EQ(a.indices, b.indices);
    EXPECT_EQ(a.attributes, b.attributes);
    ASSERT_EQ(a.table.size(), b.table.size());

    ID3DXMesh* bad = reinterpret_cast<ID3DXMesh*>(1);
    EXPECT_EQ(mesh->CloneMeshFVF(0, D3DFVF_XYZRHW, nullptr, &bad), D3DERR_INVALIDCALL);
    EXPECT_EQ(bad, nullptr);
    EXPECT_EQ(copy->Release(), 0u);
}

TEST(XMeshBuild, SkinInfoReportsBonesOfTheSplitMesh) {
    auto l = loadNodes("skininfo", {XNode("Frame", "F").child(foldedQuad())});
    ASSERT_EQ(l->hr, D3D_OK);
    ID3DXSkinInfo* skin = l->root->pMeshContainer->pSkinInfo;
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin->GetNumBones(), 2u);
    EXPECT_STREQ(skin->GetBoneName(1), "B");
    EXPECT_EQ(skin->GetBoneName(2), nullptr);
    EXPECT_EQ(skin->GetFVF(), DWORD(D3DFVF_XYZ | D3DFVF_NORMAL));
    ASSERT_EQ(skin->GetNumBoneInfluences(0), 4u);
    DWORD v[4];
    float w[4];
    ASSERT_EQ(skin->GetBoneInfluence(0, v, w), D3D_OK);
    EXPECT_EQ(v[0], 0u);
    EXPECT_EQ(v[1], 4u);
    EXPECT_EQ(w[1], 1.0f);
    DWORD most = 0;
    EXPECT_EQ(skin->GetMaxVertexInfluences(&most), D3D_OK);
    EXPECT_EQ(most, 2u);
    EXPECT_EQ(skin->GetBoneOffsetMatrix(0)->_11, 1.0f);
    // The loader keeps no reference of its own: only the allocator's.
    EXPECT_EQ(skin->AddRef(), 2u);
    EXPECT_EQ(skin->Release(), 1u);
    ID3DXMesh* mesh = l->root->pMeshContainer->MeshData.pMesh;
    EXPECT_EQ(mesh->AddRef(), 2u);
    EXPECT_EQ(mesh->Release(), 1u);
}

TEST(XMeshBuild, UnskinnedMeshGetsNoSkinInfoAndEmptyMeshNoContainer) {
    XNode empty("Mesh", "Empty");
    empty.ints({0, 0});
    auto l = loadNodes("noskin", {XNode("Frame", "F").child(boxMesh()).child(empty)}, Form::Binary32);
    ASSERT_EQ(l->hr, D3DXFERR_BADDATAREFERENCE) << "Shiny is missing here";
    auto ok = loadNodes("noskin2", {shinyMaterial(), XNode("Frame", "F").child(boxMesh()).child(empty)},
                        Form::Binary32);
    ASSERT_EQ(ok->hr, D3D_OK);
    ASSERT_NE(ok->root->pMeshContainer, nullptr);
    EXPECT_EQ(ok->root->pMeshContainer->pSkinInfo, nullptr);
    EXPECT_EQ(ok->root->pMeshContainer->pNextMeshContainer, nullptr);
    EXPECT_EQ(ok->alloc.log, (std::vector<std::string>{"frame:F", "mesh:BoxMesh"}));
}

}  // namespace
