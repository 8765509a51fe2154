// Every form of .x file loads to the same mesh; the text form is checked in
// detail against the box it describes.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <cstring>

#include "XTestScenes.h"

using namespace xtest;

namespace {

const D3DXMESHCONTAINER* boxContainer(const Loaded& l) {
    D3DXFRAME* box = D3DXFrameFind(l.root, "Box");
    return box ? box->pMeshContainer : nullptr;
}

TEST(XFileFormats, TextBoxLoadsAsD3DXBuildsIt) {
    auto l = loadNodes("box", boxScene());
    ASSERT_EQ(l->hr, D3D_OK);
    const D3DXMESHCONTAINER* c = boxContainer(*l);
    ASSERT_NE(c, nullptr);
    MeshSnapshot s = snapshot(c);
    EXPECT_EQ(s.fvf, DWORD(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
    EXPECT_EQ(s.stride, 32u);
    EXPECT_EQ(s.vertices, 24u) << "each corner splits into one vertex per side normal";
    EXPECT_EQ(s.faces, 12u);

    // Every triangle lies on one side: its three vertices carry that side's
    // normal, and the normal points away from the centre.
    for (DWORD t = 0; t < s.faces; ++t) {
        const float* n0 = &s.vertexData[s.indices[t * 3] * 8 + 3];
        for (int k = 0; k < 3; ++k) {
            const float* v = &s.vertexData[s.indices[t * 3 + k] * 8];
            EXPECT_EQ(0, std::memcmp(v + 3, n0, 12)) << "triangle " << t;
            EXPECT_FLOAT_EQ(v[0] * n0[0] + v[1] * n0[1] + v[2] * n0[2], 1.0f) << "triangle " << t;
        }
    }
    // Texture coordinates follow the corner whatever copy it is.
    for (DWORD v = 0; v < s.vertices; ++v) {
        const float* p = &s.vertexData[v * 8];
        int corner = (p[2] > 0 ? 4 : 0) + ((p[1] > 0) ? ((p[0] > 0) ? 2 : 3) : ((p[0] > 0) ? 1 : 0));
        EXPECT_FLOAT_EQ(p[6], corner * 0.125f) << "vertex " << v;
        EXPECT_FLOAT_EQ(p[7], 1.0f - corner * 0.0625f) << "vertex " << v;
    }
    // Sides 1, 3, 4 use material 0 and come first; faces keep file order within.
    const DWORD expectAttr[12] = {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1};
    EXPECT_EQ(s.attributes, std::vector<DWORD>(expectAttr, expectAttr + 12));
    ASSERT_EQ(s.table.size(), 2u);
    EXPECT_EQ(s.table[0].AttribId, 0u);
    EXPECT_EQ(s.table[0].FaceStart, 0u);
    EXPECT_EQ(s.table[0].FaceCount, 6u);
    EXPECT_EQ(s.table[1].AttribId, 1u);
    EXPECT_EQ(s.table[1].FaceStart, 6u);
    EXPECT_EQ(s.table[1].FaceCount, 6u);
    for (const D3DXATTRIBUTERANGE& r : s.table) {
        for (DWORD i = r.FaceStart * 3; i < (r.FaceStart + r.FaceCount) * 3; ++i) {
            EXPECT_GE(s.indices[i], r.VertexStart);
            EXPECT_LT(s.indices[i], r.VertexStart + r.VertexCount);
        }
    }
    // A closed box: every edge has a neighbour on the other side of it.
    for (DWORD a : s.adjacency) EXPECT_LT(a, 12u);

    ASSERT_EQ(s.materials.size(), 2u);
    EXPECT_EQ(s.textures[0], "tex\\box.png");
    EXPECT_EQ(s.textures[1], "") << "Shiny names no texture";
    const D3DMATERIAL9& red = s.materials[0];
    EXPECT_EQ(red.Diffuse.r, 1.0f);
    EXPECT_EQ(red.Diffuse.a, 0.5f);
    EXPECT_EQ(red.Power, 8.0f);
    EXPECT_EQ(red.Specular.g, 0.5f);
    EXPECT_EQ(red.Emissive.r, 0.125f);
    EXPECT_EQ(red.Ambient.r, 0.0f);
    EXPECT_EQ(red.Ambient.a, 1.0f);
    const D3DMATERIAL9& shiny = s.materials[1];
    EXPECT_EQ(shiny.Diffuse.b, 0.75f);
    EXPECT_EQ(shiny.Power, 20.0f);
    EXPECT_EQ(shiny.Emissive.b, 0.5f);
}

TEST(XFileFormats, EveryFormLoadsToTheSameMesh) {
    auto text = loadNodes("box", boxScene(), Form::Text);
    ASSERT_EQ(text->hr, D3D_OK);
    MeshSnapshot expected = snapshot(boxContainer(*text));
    for (Form form : {Form::Binary32, Form::Binary64, Form::TextZip, Form::BinaryZip32,
                      Form::BinaryZip64}) {
        auto l = loadNodes("box", boxScene(), form);
        ASSERT_EQ(l->hr, D3D_OK) << formName(form);
        const D3DXMESHCONTAINER* c = boxContainer(*l);
        ASSERT_NE(c, nullptr) << formName(form);
        MeshSnapshot s = snapshot(c);
        EXPECT_EQ(s.fvf, expected.fvf) << formName(form);
        EXPECT_EQ(s.vertexData, expected.vertexData) << formName(form);
        EXPECT_EQ(s.indices, expected.indices) << formName(form);
        EXPECT_EQ(s.attributes, expected.attributes) << formName(form);
        EXPECT_EQ(s.adjacency, expected.adjacency) << formName(form);
        EXPECT_EQ(s.textures, expected.textures) << formName(form);
        ASSERT_EQ(s.materials.size(), expected.materials.size()) << formName(form);
        EXPECT_EQ(0, std::memcmp(s.materials.data(), expected.materials.data(),
                                 s.materials.size() * sizeof(D3DMATERIAL9)))
            << formName(form);
        ASSERT_EQ(s.table.size(), expected.table.size()) << formName(form);
        EXPECT_EQ(0, std::memcmp(s.table.data(), expected.table.data(),
                                 s.table.size() * sizeof(D3DXATTRIBUTERANGE)))
            << formName(form);
    }
}

// A mesh of ~1200 pseudo-random vertices whose second half repeats the
// first: the text is over 32 KiB, and the chunk after the first boundary
// is mostly references back into the first chunk.
std::vector<XNode> bigScene(uint32_t half) {
    std::vector<double> coords;
    uint32_t seed = 12345;
    for (uint32_t i = 0; i < half * 3; ++i) {
        seed = seed * 1103515245u + 12345u;
        coords.push_back(double((seed >> 8) % 1000000) / 1000000.0);
    }
    XNode mesh("Mesh", "Big");
    mesh.ints({half * 2}).floats(coords).floats(coords);
    mesh.ints({half * 2 - 2});
    for (uint32_t f = 0; f + 2 < half * 2; ++f) mesh.ints({3, f, f + 1, f + 2});
    return {XNode("Frame", "Holder").child(mesh)};
}

TEST(XFileFormats, CompressedChunksReferBackAcrossTheBoundary) {
    const std::string body = writeText(bigScene(600));
    ASSERT_GT(body.size(), 40000u);
    const std::string packed = compressMszip(body);
    // The second chunk cannot be inflated without the first as its history.
    size_t second = 4 + 4 + (uint8_t(packed[6]) | uint8_t(packed[7]) << 8);
    ASSERT_LT(second + 6, packed.size());
    size_t secondSize = (uint8_t(packed[second + 2]) | uint8_t(packed[second + 3]) << 8) - 2;
    z_stream zs = {};
    ASSERT_EQ(inflateInit2(&zs, -15), Z_OK);
    std::string out(32768, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data() + second + 6));
    zs.avail_in = uInt(secondSize);
    zs.next_out = reinterpret_cast<Bytef*>(&out[0]);
    zs.avail_out = uInt(out.size());
    EXPECT_EQ(inflate(&zs, Z_FINISH), Z_DATA_ERROR);
    inflateEnd(&zs);

    auto text = loadPath(saveTemp("big.x", "xof 0303txt 0032" + body));
    auto zipped = loadPath(saveTemp("big.tzip.x", "xof 0303tzip0032" + packed));
    ASSERT_EQ(text->hr, D3D_OK);
    ASSERT_EQ(zipped->hr, D3D_OK);
    MeshSnapshot a = snapshot(text->root->pMeshContainer);
    MeshSnapshot b = snapshot(zipped->root->pMeshContainer);
    EXPECT_EQ(a.vertices, 1200u);
    EXPECT_EQ(a.fvf, DWORD(D3DFVF_XYZ)) << "no normals, no coordinates";
    EXPECT_EQ(a.vertexData, b.vertexData);
    EXPECT_EQ(a.indices, b.indices);
}

TEST(XFileFormats, HandWrittenTextWithCommentsTemplatesAndUnknownObjects) {
    const char* file =
        "xof 0302txt 0064\n"
        "# a comment\n"
        "template Unused { <11111111-2222-3333-4444-555555555555> DWORD a; [...] }\n"
        "Header { 1; 0; 1; }\n"
        "Frame Scene_Root {\n"
        "  FrameTransformMatrix { 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0,"
        " 0.0,0.0,0.0,1.0;; }\n"
        "  // an object nobody knows, with children of its own\n"
        "  Custom odd { 1; \"two\"; Nested { { Scene_Root } 3.5; } }\n"
        "  Mesh Tri { <3d82ab44-62da-11cf-ab39-0020af71e433>\n"
        "    3; -1.5e-01; 0.0; +2.0;, 1.0;0.0;0.0;, 0.0;1.0;1.#QNAN0;;\n"
        "    1; 3; 0, 1, 2;;\n"
        "    VertexDuplicationIndices { 3; 3; 0, 1, 2; }\n"
        "  }\n"
        "}\n";
    auto l = loadPath(saveTemp("hand.x", file));
    ASSERT_EQ(l->hr, D3D_OK);
    ASSERT_STREQ(l->root->Name, "Scene_Root");
    ASSERT_NE(l->root->pMeshContainer, nullptr);
    EXPECT_STREQ(l->root->pMeshContainer->Name, "Tri");
    MeshSnapshot s = snapshot(l->root->pMeshContainer);
    ASSERT_EQ(s.vertices, 3u);
    EXPECT_FLOAT_EQ(s.vertexData[0], -0.15f);
    EXPECT_FLOAT_EQ(s.vertexData[2], 2.0f);
    EXPECT_FLOAT_EQ(s.vertexData[8], 0.0f) << "a printed NaN reads as 0";
    EXPECT_EQ(s.indices, (std::vector<DWORD>{0, 1, 2}));
    EXPECT_EQ(s.materials.size(), 0u) << "no material list, no materials";
}

}  // namespace
