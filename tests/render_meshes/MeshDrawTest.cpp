// Meshes drawn on the real device: the lit texture under the environment map,
// the materials as the engine adjusts them, which containers are drawn, and
// files that cannot be loaded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "DX_ModelManager.h"
#include "DX_TextureManager.h"
#include "MeshFixture.h"
#include "QNBaseRend.h"
#include "QNMeshContainer.h"
#include "QNModelMesh.h"
#include "QNXModel.h"
#include "XText.h"

namespace {

class MeshDraw : public MeshFixture {};

// The fixed-function result for a face turned towards the default camera:
// rgb = Cd * ambient 100/255 (ambient = diffuse) + Cd * N.L with the default
// light travelling along (0, 1, -1), clamped, times the texel.
Rgb litTexel(const float diffuse[3], Rgb texel) {
    const float nDotL = 1.0f / std::sqrt(2.0f);
    const float ambient = 100.0f / 255.0f;
    const int t[3] = {texel.r, texel.g, texel.b};
    int out[3];
    for (int i = 0; i < 3; ++i) {
        float lit = std::min(1.0f, diffuse[i] * (ambient + nDotL));
        out[i] = static_cast<int>(std::lround(lit * t[i]));
    }
    return {out[0], out[1], out[2]};
}

Rgb mix(Rgb env, Rgb lit) {
    auto m = [](int e, int l) { return static_cast<int>(std::lround(0.25 * e + 0.75 * l)); };
    return {m(env.r, lit.r), m(env.g, lit.g), m(env.b, lit.b)};
}

TEST_F(MeshDraw, EnvironmentMapIsAQuarterOverTheLitTexture) {
    const float diffuse[3] = {0.8f, 0.4f, 0.2f};
    const Rgb texel = {255, 255, 128}, env = {0, 40, 255};
    writePng("Assets\\Textures\\quad.png", 8, 8, texel);
    zvtestsupport::writeFile("Assets\\Meshes\\quad.x",
                             xtext::file(xtext::quad("Quad", -40, -40, 40, 40, 0,
                                                     {diffuse[0], diffuse[1], diffuse[2], 1.0f,
                                                      "Assets\\Textures\\quad.png"})));
    auto rend = makeMesh("quad", "Assets\\Meshes\\quad.x");
    const Rgb lit = litTexel(diffuse, texel);

    struct Row {
        const char* why;
        bool writeMap;
        Rgb want;
    } rows[] = {
        {"without envmap.dds stage 1 has no texture: the lit texture alone", false, lit},
        {"the map is tried again at the next draw and blends in by 0.25", true, mix(env, lit)},
    };
    for (const Row& row : rows) {
        if (row.writeMap) writeEnvMap(env);
        drawFrame({rend.get()});
        for (float p : {-30.0f, 0.0f, 30.0f}) {
            Rgb got = rgbAt(p, p * 0.5f);
            EXPECT_TRUE(std::abs(got.r - row.want.r) <= 4 && std::abs(got.g - row.want.g) <= 4 &&
                        std::abs(got.b - row.want.b) <= 4)
                << row.why << ": got " << got << ", want " << row.want;
        }
        EXPECT_TRUE(near(100, 300, {0, 0, 0})) << row.why << ": outside the quad";
    }
    EXPECT_NE(CDX_TextureManager::getInstance()->m_envMapTexture, nullptr);
    EXPECT_TRUE(logRows().empty()) << "a missing map is not reported";
}

TEST_F(MeshDraw, MaterialsAreAdjustedAndTexturesLoadedAsNamed) {
    writePng("Assets\\Textures\\first.png", 4, 4, {0, 255, 0});
    zvtestsupport::writeFile("Assets\\Meshes\\first.x",
                             xtext::file(xtext::quad("Q", -20, -20, 20, 20, 0,
                                                     {0.8f, 0.4f, 0.2f, 1.0f, "Assets\\Textures\\first.png"})));
    zvtestsupport::writeFile("Assets\\Meshes\\second.x",
                             xtext::file(xtext::quad("Q", -20, -20, 20, 20, 0,
                                                     {0.1f, 0.2f, 0.3f, 0.6f, "Assets\\Textures\\absent.png"})));
    auto first = makeMesh("first", "Assets\\Meshes\\first.x");
    auto second = makeMesh("second", "Assets\\Meshes\\second.x");

    struct Row {
        const char* file;
        float r, g, b;
        bool textured;
    } rows[] = {
        {"Assets\\Meshes\\first.x", 0.8f, 0.4f, 0.2f, true},
        {"Assets\\Meshes\\second.x", 0.1f, 0.2f, 0.3f, false},
    };
    for (const Row& row : rows) {
        CQNXModel* m = model(row.file);
        ASSERT_NE(m, nullptr) << row.file;
        CQNMeshContainer* c = m->m_firstMeshContainer;
        ASSERT_NE(c, nullptr) << row.file;
        ASSERT_EQ(c->NumMaterials, 1u) << row.file;
        const D3DMATERIAL9& mat = c->m_materials[0];
        EXPECT_FLOAT_EQ(mat.Diffuse.r, row.r) << row.file;
        EXPECT_FLOAT_EQ(mat.Diffuse.a, 0.25f) << row.file << ": whatever the file says";
        EXPECT_FLOAT_EQ(mat.Ambient.r, mat.Diffuse.r) << row.file;
        EXPECT_FLOAT_EQ(mat.Ambient.b, mat.Diffuse.b) << row.file;
        EXPECT_FLOAT_EQ(mat.Ambient.a, 0.25f) << row.file;
        EXPECT_EQ(c->m_textures[0] != nullptr, row.textured) << row.file;
        EXPECT_EQ(c->pMaterials, nullptr) << row.file;
        EXPECT_EQ(c->MeshData.pMesh->GetFVF(), DWORD(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2)) << row.file;
        EXPECT_EQ(c->m_skinnedMesh, nullptr) << row.file;
    }
    // The last texture any load created, even for a file that has none.
    EXPECT_STREQ(CDX_TextureManager::getInstance()->m_lastMeshTextureName, "Assets\\Textures\\first.png");
    EXPECT_STREQ(first->getTextureName(), "Assets\\Textures\\first.png");
    EXPECT_STREQ(second->getTextureName(), "Assets\\Textures\\first.png");

    drawFrame({second.get()});
    // No texture: the stage passes the lit diffuse colour on.
    const float d[3] = {0.1f, 0.2f, 0.3f};
    const Rgb want = litTexel(d, {255, 255, 255});
    EXPECT_TRUE(near(400, 300, want)) << rgb(400, 300) << " want " << want;
    EXPECT_TRUE(logRows().empty()) << "a texture that cannot be loaded is not reported";
}

TEST_F(MeshDraw, OnlyTheFirstFramesContainersAreDrawnWithoutFrameMatrices) {
    // Two top-level frames under an unnamed root. The first holds two meshes
    // and moves them 60 to the right; the second holds a third mesh.
    const std::string body =
        xtext::frame("First", xtext::translation(60, 0, 0) +
                                  xtext::quad("Upper", -20, 5, 20, 40, 0, {1, 0, 0}) +
                                  xtext::quad("Lower", -20, -40, 20, -5, 0, {0, 1, 0})) +
        xtext::frame("Second", xtext::quad("Aside", -90, -20, -50, 20, 0, {0, 0, 1}));
    zvtestsupport::writeFile("Assets\\Meshes\\frames.x", xtext::file(body));
    auto rend = makeMesh("frames", "Assets\\Meshes\\frames.x");
    rend->update();
    drawFrame({rend.get()});
    struct Row {
        const char* why;
        float x, y;
        Rgb want;
    } rows[] = {
        {"first container, at the renderable's place", 0, 20, {255, 0, 0}},
        {"the container chained behind it", 0, -20, {0, 255, 0}},
        {"no frame translation", 60, 20, {0, 0, 0}},
        {"the second frame's mesh is never drawn", -70, 0, {0, 0, 0}},
    };
    for (const Row& row : rows) {
        int x, y;
        project(row.x, row.y, 0, &x, &y);
        EXPECT_TRUE(near(x, y, row.want)) << row.why << ": " << rgb(x, y);
    }
}

TEST_F(MeshDraw, FilesThatCannotBeLoadedAreReportedOnceAndDrawNothing) {
    struct Row {
        const char* why;
        const char* name;
        std::string bytes;  // empty: no file at all
    } rows[] = {
        {"missing", "Assets\\Meshes\\missing.x", ""},
        {"not an X file", "Assets\\Meshes\\garbage.x", "this is not a mesh at all, just words\n"},
        {"truncated", "Assets\\Meshes\\cut.x", "xof 0303txt 0032\nFrame F {\n Mesh M {\n 4;\n 0;0;0;,\n"},
        {"face index out of range", "Assets\\Meshes\\badface.x",
         "xof 0303txt 0032\nMesh M { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3; 0,1,7;; }\n"},
        {"binary header with nothing behind it", "Assets\\Meshes\\empty.x", "xof 0303bin 0032"},
    };
    size_t expectedRows = 0;
    std::vector<std::string> names;
    for (const Row& row : rows) {
        if (!row.bytes.empty()) zvtestsupport::writeFile(row.name, row.bytes);
        auto first = makeMesh("first", row.name);
        auto again = makeMesh("again", row.name);
        ++expectedRows;
        names.push_back(row.name);
        CQNXModel* m = model(row.name);
        ASSERT_NE(m, nullptr) << row.why << ": the empty model is kept under its name";
        EXPECT_STREQ(m->m_fileName, row.name) << row.why;
        EXPECT_EQ(m->m_frameRoot, nullptr) << row.why;
        EXPECT_EQ(m->m_firstMeshContainer, nullptr) << row.why;
        EXPECT_EQ(m->m_animController, nullptr) << row.why;
        first->update();
        again->update();
        drawFrame({first.get(), again.get()}, {10, 20, 30});
        EXPECT_EQ(countNot({10, 20, 30}), 0) << row.why << ": nothing drawn";
    }
    EXPECT_EQ(CDX_ModelManager::getInstance()->getCount(), expectedRows);
    std::vector<LogRow> log = logRows();
    ASSERT_EQ(log.size(), expectedRows) << "one report per file, at its first load";
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].define, "QNRSLT_D3DFAILED");
        EXPECT_EQ(log[i].location, "CQNXModel::loadXFile( )");
        EXPECT_EQ(log[i].info, names[i]);
    }
}

}  // namespace
