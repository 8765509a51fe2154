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
#include "QNXModel.h"
#include "XText.h"

namespace {

class MeshDraw : public MeshFixture {};

// The fixed-function result for a face turned towards the default camera:
// rgb = Cd * ambient 100/255 (ambient = diffuse) + Cd * N.L with the default
// light travelling along (0, 1, -1), clamped, times the texel.
Rgb litTexel(const float diffuse[3], Rgb texel) {
    const float nDotL = 1.0f / std::sqrt(2.0f), ambient = 100.0f / 255.0f;
    const int t[3] = {texel.r, texel.g, texel.b};
    int out[3];
    for (int i = 0; i < 3; ++i) out[i] = static_cast<int>(std::lround(std::min(1.0f, diffuse[i] * (ambient + nDotL)) * t[i]));
    return {out[0], out[1], out[2]};
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
    auto mix = [](int e, int l) { return static_cast<int>(std::lround(0.25 * e + 0.75 * l)); };
    struct Row {
        const char* why;
        bool writeMap;
        Rgb want;
    } rows[] = {
        {"without envmap.dds stage 1 has no texture: the lit texture alone", false, lit},
        {"the map is tried again at the next draw and blends in by 0.25", true,
         {mix(env.r, lit.r), mix(env.g, lit.g), mix(env.b, lit.b)}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const Rgb faces[6] = {env, env, env, env, env, env};
        if (row.writeMap) writeCubeDds("Assets\\Textures\\envmap.dds", 8, faces);
        drawFrame({rend.get()});
        for (float p : {-30.0f, 0.0f, 30.0f}) {
            int x, y;
            project(p, p * 0.5f, 0, &x, &y);
            EXPECT_TRUE(near(x, y, row.want, 4)) << "got " << rgb(x, y) << ", want " << row.want;
        }
        EXPECT_TRUE(near(100, 300, {0, 0, 0})) << "outside the quad";
    }
    EXPECT_TRUE(logRows().empty()) << "a missing map is not reported";
}

TEST_F(MeshDraw, MaterialsAreAdjustedAndTexturesLoadedAsNamed) {
    // Whatever the file says, the diffuse alpha is 0.25 (the map's share)
    // and the ambient is the diffuse; a texture that cannot be loaded
    // leaves the lit diffuse colour, unreported. A mesh's texture name is
    // the last one any load created.
    writePng("Assets\\Textures\\first.png", 4, 4, {0, 255, 0});
    zvtestsupport::writeFile("Assets\\Meshes\\first.x",
                             xtext::file(xtext::quad("Q", 0, 0, 1, 1, 0, {1, 1, 1, 1, "Assets\\Textures\\first.png"})));
    auto first = makeMesh("first", "Assets\\Meshes\\first.x");
    zvtestsupport::writeFile("Assets\\Meshes\\plain.x",
                             xtext::file(xtext::quad("Q", -20, -20, 20, 20, 0,
                                                     {0.1f, 0.2f, 0.3f, 0.6f, "Assets\\Textures\\absent.png"})));
    auto rend = makeMesh("plain", "Assets\\Meshes\\plain.x");
    CQNXModel* m = model("Assets\\Meshes\\plain.x");
    ASSERT_NE(m, nullptr);
    CQNMeshContainer* c = m->m_firstMeshContainer;
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(c->NumMaterials, 1u);
    const D3DMATERIAL9& mat = c->m_materials[0];
    EXPECT_FLOAT_EQ(mat.Diffuse.r, 0.1f);
    EXPECT_FLOAT_EQ(mat.Diffuse.a, 0.25f);
    EXPECT_FLOAT_EQ(mat.Ambient.b, mat.Diffuse.b);
    EXPECT_FLOAT_EQ(mat.Ambient.a, 0.25f);
    EXPECT_EQ(c->m_textures[0], nullptr);
    EXPECT_STREQ(rend->getTextureName(), "Assets\\Textures\\first.png");
    EXPECT_EQ(c->MeshData.pMesh->GetFVF(), DWORD(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2));

    drawFrame({rend.get()});
    const float d[3] = {0.1f, 0.2f, 0.3f};
    const Rgb want = litTexel(d, {255, 255, 255});
    EXPECT_TRUE(near(400, 300, want)) << rgb(400, 300) << " want " << want;
    EXPECT_TRUE(logRows().empty());
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
        {"face index out of range", "Assets\\Meshes\\badface.x",
         "xof 0303txt 0032\nMesh M { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3; 0,1,7;; }\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        if (!row.bytes.empty()) zvtestsupport::writeFile(row.name, row.bytes);
        auto first = makeMesh("first", row.name);
        auto again = makeMesh("again", row.name);
        CQNXModel* m = model(row.name);
        ASSERT_NE(m, nullptr) << "the empty model is kept under its name";
        EXPECT_EQ(m->m_frameRoot, nullptr);
        EXPECT_EQ(m->m_animController, nullptr);
        first->update();
        again->update();
        drawFrame({first.get(), again.get()}, {10, 20, 30});
        EXPECT_EQ(countNot({10, 20, 30}), 0) << "nothing drawn";
    }
    EXPECT_EQ(CDX_ModelManager::getInstance()->getCount(), 3u);
    std::vector<LogRow> log = logRows();
    ASSERT_EQ(log.size(), 3u) << "one report per file, at its first load";
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].define, "QNRSLT_D3DFAILED");
        EXPECT_EQ(log[i].location, "CQNXModel::loadXFile( )");
        EXPECT_EQ(log[i].info, rows[i].name);
    }
}

}  // namespace
