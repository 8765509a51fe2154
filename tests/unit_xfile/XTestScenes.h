// The .x scenes the tests write, and helpers to load them and look inside.
#ifndef ZV_TESTS_XTESTSCENES_H
#define ZV_TESTS_XTESTSCENES_H

#include <gtest/gtest.h>

#include <memory>

#include "TestAllocator.h"
#include "XFileWriter.h"

namespace xtest {

// A box of 8 corners and 6 quads, one normal per side (so every corner is
// split in three), texture coordinates, and two materials: "Red" inline
// with the texture "tex\box.png", and a reference to the top-level "Shiny".
// Side materials: 1, 0, 1, 0, 0, 1.
XNode boxMesh();
XNode shinyMaterial();
// Shiny, then Frame "Box" (translated by (1, 2, 3)) holding boxMesh().
std::vector<XNode> boxScene();

XNode translationFrame(const std::string& name, float x, float y, float z);
XNode triangle(const std::string& name, float x = 0);  // (x,0,0) (x+2,0,0) (x+1,0,0)

// A loaded file; destroying it hands every frame and container back and
// checks that none is left.
struct Loaded {
    HRESULT hr = E_FAIL;
    TestAllocator alloc;
    D3DXFRAME* root = nullptr;
    ID3DXAnimationController* anim = nullptr;
    ~Loaded();
};
std::unique_ptr<Loaded> loadPath(const std::string& path);
std::unique_ptr<Loaded> loadNodes(const std::string& name, const std::vector<XNode>& nodes, Form form = Form::Text);

// Everything observable about a loaded mesh container.
struct MeshSnapshot {
    DWORD fvf = 0, stride = 0, faces = 0, vertices = 0;
    std::vector<float> vertexData;
    std::vector<DWORD> indices, attributes, adjacency;
    std::vector<D3DXATTRIBUTERANGE> table;
    std::vector<D3DMATERIAL9> materials;
    std::vector<std::string> textures;
};
MeshSnapshot snapshot(const D3DXMESHCONTAINER* container);
// The same mesh: every field, the material and table structs byte for byte.
::testing::AssertionResult sameMesh(const MeshSnapshot& a, const MeshSnapshot& b);

}  // namespace xtest

#endif
