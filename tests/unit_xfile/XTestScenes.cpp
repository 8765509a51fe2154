#include "XTestScenes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace xtest {

XNode frameMatrix(const float m[16]) {
    XNode node("FrameTransformMatrix");
    for (int i = 0; i < 16; ++i) node.floats({m[i]});
    return node;
}

XNode translationFrame(const std::string& name, float x, float y, float z) {
    const float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
    return XNode("Frame", name).child(frameMatrix(m));
}

XNode shinyMaterial() {
    return XNode("Material", "Shiny").floats({0.25, 0.5, 0.75, 1.0, 20.0, 1, 1, 1, 0, 0, 0.5});
}

XNode boxMesh(const std::string& name) {
    XNode mesh("Mesh", name);
    mesh.ints({8});
    for (int v = 0; v < 8; ++v) {
        double x = (v == 1 || v == 2 || v == 5 || v == 6) ? 1 : -1;
        double y = (v == 2 || v == 3 || v == 6 || v == 7) ? 1 : -1;
        double z = v >= 4 ? 1 : -1;
        mesh.floats({x, y, z});
    }
    const uint32_t sides[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                  {3, 7, 6, 2}, {0, 4, 7, 3}, {1, 2, 6, 5}};
    mesh.ints({6});
    for (auto& s : sides) mesh.ints({4, s[0], s[1], s[2], s[3]});

    XNode normals("MeshNormals");
    normals.ints({6}).floats({0, 0, -1, 0, 0, 1, 0, -1, 0, 0, 1, 0, -1, 0, 0, 1, 0, 0});
    normals.ints({6});
    for (uint32_t s = 0; s < 6; ++s) normals.ints({4, s, s, s, s});
    mesh.child(normals);

    XNode uv("MeshTextureCoords");
    uv.ints({8});
    for (int v = 0; v < 8; ++v) uv.floats({v * 0.125, 1.0 - v * 0.0625});
    mesh.child(uv);

    XNode red("Material", "Red");
    red.floats({1, 0, 0, 0.5, 8, 0.5, 0.5, 0.5, 0.125, 0, 0});
    red.child(XNode("TextureFilename").str("tex\\box.png"));
    XNode list("MeshMaterialList");
    list.ints({2, 6, 1, 0, 1, 0, 0, 1}).child(red).ref("Shiny");
    mesh.child(list);
    return mesh;
}

std::vector<XNode> boxScene() {
    return {shinyMaterial(), translationFrame("Box", 1, 2, 3).child(boxMesh())};
}

Loaded::~Loaded() {
    if (anim) anim->Release();
    if (root) D3DXFrameDestroy(root, &alloc);
    EXPECT_EQ(alloc.liveFrames, 0);
    EXPECT_EQ(alloc.liveContainers, 0);
}

std::unique_ptr<Loaded> loadPath(const std::string& path) {
    auto l = std::make_unique<Loaded>();
    l->hr = D3DXLoadMeshHierarchyFromXA(path.c_str(), D3DXMESH_MANAGED, nullptr, &l->alloc, nullptr,
                                        &l->root, &l->anim);
    return l;
}

std::unique_ptr<Loaded> loadNodes(const std::string& name, const std::vector<XNode>& nodes,
                                  Form form) {
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
    s.vertexData.resize(s.vertices * s.stride / 4);
    std::memcpy(s.vertexData.data(), p, s.vertices * s.stride);
    mesh->UnlockVertexBuffer();
    EXPECT_EQ(mesh->LockIndexBuffer(D3DLOCK_READONLY, &p), D3D_OK);
    for (DWORD i = 0; i < s.faces * 3; ++i)
        s.indices.push_back((mesh->GetOptions() & D3DXMESH_32BIT) ? static_cast<DWORD*>(p)[i]
                                                                  : static_cast<WORD*>(p)[i]);
    mesh->UnlockIndexBuffer();
    DWORD* attr;
    EXPECT_EQ(mesh->LockAttributeBuffer(D3DLOCK_READONLY, &attr), D3D_OK);
    s.attributes.assign(attr, attr + s.faces);
    mesh->UnlockAttributeBuffer();
    DWORD n = 0;
    EXPECT_EQ(mesh->GetAttributeTable(nullptr, &n), D3D_OK);
    s.table.resize(n);
    mesh->GetAttributeTable(s.table.data(), &n);
    const TestContainer* tc = static_cast<const TestContainer*>(container);
    for (DWORD i = 0; i < container->NumMaterials; ++i) s.materials.push_back(container->pMaterials[i].MatD3D);
    s.textures = tc->textures;
    s.adjacency.assign(container->pAdjacency, container->pAdjacency + s.faces * 3);
    return s;
}

}  // namespace xtest
