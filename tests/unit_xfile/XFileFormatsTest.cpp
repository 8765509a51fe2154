// Every form of .x file loads to the same mesh; the text form is checked in
// detail against the box it describes.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

#include "XTestScenes.h"

using namespace xtest;

namespace {

MeshSnapshot boxSnapshot(const Loaded& l) {
    D3DXFRAME* box = D3DXFrameFind(l.root, "Box");
    EXPECT_TRUE(box && box->pMeshContainer);
    return box && box->pMeshContainer ? snapshot(box->pMeshContainer) : MeshSnapshot();
}

TEST(XFileFormats, TextBoxLoadsAsD3DXBuildsIt) {
    auto l = loadNodes("box", boxScene());
    ASSERT_EQ(l->hr, D3D_OK);
    const MeshSnapshot s = boxSnapshot(*l);
    EXPECT_EQ(s.fvf, DWORD(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
    ASSERT_EQ(s.stride, 32u);
    EXPECT_EQ(s.vertices, 24u) << "each corner splits into one vertex per side normal";
    ASSERT_EQ(s.faces, 12u);
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
    // Sides 1, 3, 4 use material 0 and come first; each range's triangles
    // use only its own vertices.
    EXPECT_EQ(s.attributes, (std::vector<DWORD>{0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1}));
    ASSERT_EQ(s.table.size(), 2u);
    for (DWORD a = 0; a < 2; ++a) {
        const D3DXATTRIBUTERANGE& r = s.table[a];
        EXPECT_TRUE(r.AttribId == a && r.FaceStart == 6 * a && r.FaceCount == 6) << "range " << a;
        for (DWORD i = r.FaceStart * 3; i < (r.FaceStart + r.FaceCount) * 3; ++i)
            EXPECT_TRUE(s.indices[i] >= r.VertexStart && s.indices[i] < r.VertexStart + r.VertexCount);
    }
    // A closed box: every edge has a neighbour on the other side of it.
    for (DWORD a : s.adjacency) EXPECT_LT(a, 12u);

    EXPECT_EQ(s.textures, (std::vector<std::string>{"tex\\box.png", ""})) << "Shiny names no texture";
    ASSERT_EQ(s.materials.size(), 2u);
    const D3DMATERIAL9& red = s.materials[0];
    EXPECT_TRUE(red.Diffuse.r == 1 && red.Diffuse.a == 0.5f && red.Power == 8 && red.Specular.g == 0.5f &&
                red.Emissive.r == 0.125f);
    EXPECT_TRUE(red.Ambient.r == 0 && red.Ambient.a == 1) << "no ambient in a file: black";
    EXPECT_TRUE(s.materials[1].Diffuse.b == 0.75f && s.materials[1].Power == 20 && s.materials[1].Emissive.b == 0.5f);
}

TEST(XFileFormats, EveryFormLoadsToTheSameMesh) {
    auto text = loadNodes("box", boxScene(), Form::Text);
    ASSERT_EQ(text->hr, D3D_OK);
    const MeshSnapshot expected = boxSnapshot(*text);
    for (Form form : {Form::Binary32, Form::Binary64, Form::TextZip, Form::BinaryZip32, Form::BinaryZip64}) {
        auto l = loadNodes("box", boxScene(), form);
        ASSERT_EQ(l->hr, D3D_OK) << formName(form);
        EXPECT_TRUE(sameMesh(boxSnapshot(*l), expected)) << formName(form);
    }
}

TEST(XFileFormats, CompressedChunksReferBackAcrossTheBoundary) {
    // ~1200 pseudo-random vertices whose second half repeats the first: the
    // text is over 32 KiB, and the chunk after the first boundary is mostly
    // references back into the first chunk.
    std::vector<double> coords;
    uint32_t seed = 12345;
    for (int i = 0; i < 600 * 3; ++i) {
        seed = seed * 1103515245u + 12345u;
        coords.push_back(double((seed >> 8) % 1000000) / 1e6);
    }
    XNode mesh("Mesh", "Big");
    mesh.ints({1200}).floats(coords).floats(coords).ints({1198});
    for (uint32_t f = 0; f < 1198; ++f) mesh.ints({3, f, f + 1, f + 2});
    const std::string body = writeText({XNode("Frame", "Holder").child(mesh)});
    ASSERT_GT(body.size(), 40000u);
    const std::string packed = compressMszip(body);
    // The second chunk cannot be inflated without the first as its history.
    const size_t second = 4 + 4 + (uint8_t(packed[6]) | uint8_t(packed[7]) << 8);
    ASSERT_LT(second + 6, packed.size());
    z_stream zs = {};
    ASSERT_EQ(inflateInit2(&zs, -15), Z_OK);
    std::string out(32768, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data() + second + 6));
    zs.avail_in = uInt((uint8_t(packed[second + 2]) | uint8_t(packed[second + 3]) << 8) - 2);
    zs.next_out = reinterpret_cast<Bytef*>(&out[0]);
    zs.avail_out = uInt(out.size());
    EXPECT_EQ(inflate(&zs, Z_FINISH), Z_DATA_ERROR);
    inflateEnd(&zs);

    auto text = loadPath(saveTemp("big.x", "xof 0303txt 0032" + body));
    auto zipped = loadPath(saveTemp("big.tzip.x", "xof 0303tzip0032" + packed));
    ASSERT_EQ(text->hr, D3D_OK);
    ASSERT_EQ(zipped->hr, D3D_OK);
    const MeshSnapshot a = snapshot(text->root->pMeshContainer);
    EXPECT_EQ(a.vertices, 1200u);
    EXPECT_EQ(a.fvf, DWORD(D3DFVF_XYZ)) << "no normals, no coordinates";
    EXPECT_TRUE(sameMesh(snapshot(zipped->root->pMeshContainer), a));
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
    const MeshSnapshot s = snapshot(l->root->pMeshContainer);
    EXPECT_EQ(s.vertexData, (std::vector<float>{-0.15f, 0, 2, 1, 0, 0, 0, 1, 0})) << "a printed NaN reads as 0";
    EXPECT_EQ(s.indices, (std::vector<DWORD>{0, 1, 2}));
    EXPECT_EQ(s.materials.size(), 0u) << "no material list, no materials";
}

}  // namespace
