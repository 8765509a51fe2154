#include "XTestScenes.h"

#include <cstring>

namespace xtest {

XNode translationFrame(const std::string& name, float x, float y, float z) {
    const XNode matrix = XNode("FrameTransformMatrix").floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1});
    return XNode("Frame", name).child(matrix);
}

XNode triangle(const std::string& name, float x) {
    return XNode("Mesh", name).ints({3}).floats({x, 0, 0, x + 2, 0, 0, x + 1, 0, 0}).ints({1, 3, 0, 1, 2});
}

XNode shinyMaterial() {
    return XNode("Material", "Shiny").floats({0.25, 0.5, 0.75, 1.0, 20.0, 1, 1, 1, 0, 0, 0.5});
}

XNode boxMesh() {
    XNode mesh("Mesh", "BoxMesh");
    mesh.ints({8});
    for (int v = 0; v < 8; ++v) {
        const bool right = v == 1 || v == 2 || v == 5 || v == 6, top = v == 2 || v == 3 || v == 6 || v == 7;
        mesh.floats({right ? 1.0 : -1.0, top ? 1.0 : -1.0, v >= 4 ? 1.0 : -1.0});
    }
    const uint32_t sides[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {3, 7, 6, 2}, {0, 4, 7, 3}, {1, 2, 6, 5}};
    mesh.ints({6});
    for (auto& s : sides) mesh.ints({4, s[0], s[1], s[2], s[3]});
    XNode normals("MeshNormals");
    normals.ints({6}).floats({0, 0, -1, 0, 0, 1, 0, -1, 0, 0, 1, 0, -1, 0, 0, 1, 0, 0}).ints({6});
    for (uint32_t s = 0; s < 6; ++s) normals.ints({4, s, s, s, s});
    XNode uv("MeshTextureCoords");
    uv.ints({8});
    for (int v = 0; v < 8; ++v) uv.floats({v * 0.125, 1.0 - v * 0.0625});
    XNode red("Material", "Red");
    red.floats({1, 0, 0, 0.5, 8, 0.5, 0.5, 0.5, 0.125, 0, 0}).child(XNode("TextureFilename").str("tex\\box.png"));
    XNode list("MeshMaterialList");
    list.ints({2, 6, 1, 0, 1, 0, 0, 1}).child(red).ref("Shiny");
    return mesh.child(normals).child(uv).child(list);
}

std::vector<XNode> boxScene() { return {shinyMaterial(), translationFrame("Box", 1, 2, 3).child(boxMesh())}; }

Loaded::~Loaded() {
    if (anim) anim->Release();
    if (root) {
        EXPECT_EQ(D3DXFrameDestroy(root, &alloc), D3D_OK);
    }
    EXPECT_EQ(alloc.liveFrames, 0);
    EXPECT_EQ(alloc.liveContainers, 0);
}

std::unique_ptr<Loaded> loadPath(const std::string& path) {
    auto l = std::make_unique<Loaded>();
    l->hr = D3DXLoadMeshHierarchyFromXA(path.c_str(), D3DXMESH_MANAGED, nullptr, &l->alloc, nullptr, &l->root,
                                        &l->anim);
    return l;
}

std::unique_ptr<Loaded> loadNodes(const std::string& name, const std::vector<XNode>& nodes, Form form) {
    return loadPath(saveTemp(name + "." + formName(form) + ".x", writeFile(nodes, form)));
}

MeshSnapshot snapshot(const D3DXMESHCONTAINER* container) {
    MeshSnapshot s;
    ID3DXMesh* mesh = container->MeshData.pMesh;
    s.fvf = mesh->GetFVF();
    s.stride = mesh->GetNumBytesPerVertex();
    s.faces = mesh->GetNumFaces();
    s.vertices = mesh->GetNumVertices();
    void* p;
    EXPECT_EQ(mesh->LockVertexBuffer(D3DLOCK_READONLY, &p), D3D_OK);
    s.vertexData.assign(static_cast<float*>(p), static_cast<float*>(p) + s.vertices * s.stride / 4);
    mesh->UnlockVertexBuffer();
    EXPECT_EQ(mesh->LockIndexBuffer(D3DLOCK_READONLY, &p), D3D_OK);
    const bool wide = mesh->GetOptions() & D3DXMESH_32BIT;
    for (DWORD i = 0; i < s.faces * 3; ++i)
        s.indices.push_back(wide ? static_cast<DWORD*>(p)[i] : static_cast<WORD*>(p)[i]);
    mesh->UnlockIndexBuffer();
    DWORD* attr;
    EXPECT_EQ(mesh->LockAttributeBuffer(D3DLOCK_READONLY, &attr), D3D_OK);
    s.attributes.assign(attr, attr + s.faces);
    mesh->UnlockAttributeBuffer();
    DWORD n = 0;
    EXPECT_EQ(mesh->GetAttributeTable(nullptr, &n), D3D_OK);
    s.table.resize(n);
    mesh->GetAttributeTable(s.table.data(), &n);
    for (DWORD i = 0; i < container->NumMaterials; ++i) s.materials.push_back(container->pMaterials[i].MatD3D);
    s.textures = static_cast<const TestContainer*>(container)->textures;
    s.adjacency.assign(container->pAdjacency, container->pAdjacency + s.faces * 3);
    return s;
}

::testing::AssertionResult sameMesh(const MeshSnapshot& a, const MeshSnapshot& b) {
    auto sameBytes = [](const auto& x, const auto& y) {
        // memcmp may not be handed the null data of an empty vector.
        return x.size() == y.size() && (x.empty() || std::memcmp(x.data(), y.data(), x.size() * sizeof(x[0])) == 0);
    };
    const char* differs = a.fvf != b.fvf                     ? "vertex format"
                          : a.vertexData != b.vertexData     ? "vertices"
                          : a.indices != b.indices           ? "indices"
                          : a.attributes != b.attributes     ? "attributes"
                          : a.adjacency != b.adjacency       ? "adjacency"
                          : a.textures != b.textures         ? "textures"
                          : !sameBytes(a.materials, b.materials) ? "materials"
                          : !sameBytes(a.table, b.table)     ? "attribute table"
                                                             : nullptr;
    if (differs) return ::testing::AssertionFailure() << "the meshes differ in their " << differs;
    return ::testing::AssertionSuccess();
}

}  // namespace xtest
