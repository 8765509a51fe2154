// The meshes and the environment map, read by the layer's own loaders:
// normals, texture coordinates and textured materials; triangles that face
// the way the engine's clockwise culling keeps them; a closed tile that fits
// its board cell at any turn; a sky cube whose faces meet without seams; and
// a complete A8R8G8B8 cube map.
#include "AssetFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <tuple>

namespace {

using assets::XMesh;

struct V3 {
    double x, y, z;
};
V3 sub(const float* a, const float* b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double dot(V3 a, const float* b) { return a.x * b[0] + a.y * b[1] + a.z * b[2]; }

const struct MeshCase {
    const char* path;
    size_t materials;
    bool inward;  // seen from inside (the sky)
} kMeshes[] = {{"Assets\\Meshes\\zv.block.x", 2, false}, {"Assets\\Meshes\\zv.skybox.x", 6, true}};

TEST(Meshes, LoadWithNormalsCoordinatesAndTexturedMaterials) {
    for (const MeshCase& c : kMeshes) {
        SCOPED_TRACE(c.path);
        XMesh m = assets::loadMesh(c.path);
        ASSERT_EQ(m.hr, D3D_OK);
        ASSERT_EQ(m.fvf, DWORD(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1)) << "normals or coordinates missing";
        ASSERT_EQ(m.materials.size(), c.materials);
        EXPECT_EQ(std::set<uint32_t>(m.faceMaterials.begin(), m.faceMaterials.end()).size(), c.materials)
            << "a material no face uses";
        for (const assets::XVertex& v : m.vertices) {
            EXPECT_NEAR(std::sqrt(v.n[0] * v.n[0] + v.n[1] * v.n[1] + v.n[2] * v.n[2]), 1.0, 1e-3);
            EXPECT_TRUE(v.uv[0] >= 0 && v.uv[0] <= 1 && v.uv[1] >= 0 && v.uv[1] <= 1);
        }
        for (const assets::XMaterial& mat : m.materials) {
            // The engine multiplies the texture by the lit diffuse colour.
            EXPECT_EQ(mat.diffuse.r + mat.diffuse.g + mat.diffuse.b, 3.0f);
            EXPECT_TRUE(assets::readPng(mat.texture).ok) << mat.texture;
        }
        // With clockwise triangles culled in a right-handed world, a triangle
        // is seen from the side (b - a) x (c - a) points to: outwards for the
        // tile, inwards (at the camera in the centre) for the sky.
        int wrong = 0, degenerate = 0;
        for (const auto& f : m.faces) {
            const assets::XVertex &a = m.vertices[f[0]], &b = m.vertices[f[1]], &cc = m.vertices[f[2]];
            V3 n = cross(sub(b.p, a.p), sub(cc.p, a.p));
            if (std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z) < 1e-6) {
                ++degenerate;
                continue;
            }
            float avg[3] = {a.n[0] + b.n[0] + cc.n[0], a.n[1] + b.n[1] + cc.n[1], a.n[2] + b.n[2] + cc.n[2]};
            float centre[3] = {-a.p[0], -a.p[1], -a.p[2]};
            if (dot(n, avg) <= 0 || (c.inward && dot(n, centre) <= 0)) ++wrong;
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(degenerate, 0);
    }
}

TEST(BlockMesh, IsClosedSmallAndFitsItsCellAtAnyTurn) {
    XMesh m = assets::loadMesh("Assets\\Meshes\\zv.block.x");
    ASSERT_EQ(m.hr, D3D_OK);
    EXPECT_GE(m.faces.size(), 100u);
    EXPECT_LE(m.faces.size(), 800u);
    // Welded by position, every edge belongs to exactly two triangles that
    // run along it in opposite directions: no cracks, no flipped patches.
    std::map<std::tuple<long, long, long>, int> weld;
    std::vector<int> id(m.vertices.size());
    for (size_t i = 0; i < m.vertices.size(); ++i) {
        const float* p = m.vertices[i].p;
        auto key = std::make_tuple(std::lround(p[0] * 1e4), std::lround(p[1] * 1e4), std::lround(p[2] * 1e4));
        id[i] = weld.emplace(key, static_cast<int>(weld.size())).first->second;
    }
    std::map<std::pair<int, int>, int> directed;
    for (const auto& f : m.faces)
        for (int k = 0; k < 3; ++k) ++directed[{id[f[k]], id[f[(k + 1) % 3]]}];
    for (const auto& e : directed) {
        EXPECT_EQ(e.second, 1) << "edge used twice in one direction";
        EXPECT_EQ(directed.count({e.first.second, e.first.first}), 1u) << "open edge";
    }
    // Blocks stand 32 units apart and each gets a random turn about z: the
    // tile must stay within 16 of its centre, where the click test reaches.
    double radius = 0, zMin = 0, zMax = 0;
    for (const assets::XVertex& v : m.vertices) {
        radius = std::max(radius, std::hypot(double(v.p[0]), double(v.p[1])));
        zMin = std::min(zMin, double(v.p[2])), zMax = std::max(zMax, double(v.p[2]));
    }
    EXPECT_LT(radius, 16.0);
    EXPECT_GT(radius, 12.0);
    EXPECT_NEAR(zMin, -zMax, 1e-4) << "the tile must turn about its middle";
    // The +z face and the -z face show different textures.
    std::set<std::string> front, back;
    for (size_t i = 0; i < m.faces.size(); ++i) {
        float nz = m.vertices[m.faces[i][0]].n[2];
        if (nz > 0.99f) front.insert(m.materials[m.faceMaterials[i]].texture);
        if (nz < -0.99f) back.insert(m.materials[m.faceMaterials[i]].texture);
    }
    ASSERT_EQ(front.size(), 1u);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_NE(*front.begin(), *back.begin());
}

// A face texture's colour at texture coordinates (nearest texel).
void texel(const assets::Picture& p, float u, float v, float out[3]) {
    int x = std::min(p.width - 1, std::max(0, static_cast<int>(u * p.width)));
    int y = std::min(p.height - 1, std::max(0, static_cast<int>(v * p.height)));
    for (int k = 0; k < 3; ++k) out[k] = p.rgba[(static_cast<size_t>(y) * p.width + x) * 4 + k] / 255.0f;
}

TEST(SkyMesh, FacesMeetWithoutSeams) {
    XMesh m = assets::loadMesh("Assets\\Meshes\\zv.skybox.x");
    ASSERT_EQ(m.hr, D3D_OK);
    ASSERT_EQ(m.faces.size(), 12u);
    // Corners lie between the near and far planes (1 and 8000).
    for (const assets::XVertex& v : m.vertices) {
        double d = std::sqrt(v.p[0] * v.p[0] + v.p[1] * v.p[1] + v.p[2] * v.p[2]);
        EXPECT_GT(d, 10.0);
        EXPECT_LT(d, 8000.0);
    }
    // Each material's vertices (a quad); along every edge two quads share,
    // both textures must show the same sky.
    std::map<uint32_t, std::set<uint32_t>> quadVertices;
    for (size_t i = 0; i < m.faces.size(); ++i)
        for (uint32_t v : m.faces[i]) quadVertices[m.faceMaterials[i]].insert(v);
    std::vector<assets::Picture> textures;
    for (const assets::XMaterial& mat : m.materials) textures.push_back(assets::readPng(mat.texture));
    auto samePlace = [&](uint32_t a, uint32_t b) {
        for (int k = 0; k < 3; ++k)
            if (std::fabs(m.vertices[a].p[k] - m.vertices[b].p[k]) > 1e-3f) return false;
        return true;
    };
    int edges = 0;
    for (auto& [qa, va] : quadVertices)
        for (auto& [qb, vb] : quadVertices) {
            std::vector<std::pair<uint32_t, uint32_t>> shared;
            for (uint32_t a : va)
                for (uint32_t b : vb)
                    if (samePlace(a, b)) shared.push_back({a, b});
            if (qa >= qb || shared.size() != 2) continue;
            ++edges;
            const auto &a0 = m.vertices[shared[0].first].uv, &a1 = m.vertices[shared[1].first].uv;
            const auto &b0 = m.vertices[shared[0].second].uv, &b1 = m.vertices[shared[1].second].uv;
            double diff = 0;
            const int steps = 32;
            for (int s = 1; s < steps; ++s) {
                float t = float(s) / steps, ca[3], cb[3];
                texel(textures[qa], a0[0] + (a1[0] - a0[0]) * t, a0[1] + (a1[1] - a0[1]) * t, ca);
                texel(textures[qb], b0[0] + (b1[0] - b0[0]) * t, b0[1] + (b1[1] - b0[1]) * t, cb);
                for (int k = 0; k < 3; ++k) diff += std::fabs(ca[k] - cb[k]);
            }
            EXPECT_LT(diff / (3 * (steps - 1)), 0.03) << "seam between sky faces " << qa << " and " << qb;
        }
    EXPECT_EQ(edges, 12);
}

TEST(EnvironmentMap, IsAFullCubeOfArgbFaces) {
    // The reader refuses a cube with faces or levels missing.
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(D3DXGetImageInfoFromFileA(assets::sourceFile("Assets\\Textures\\envmap.dds").c_str(), &info),
              D3D_OK);
    EXPECT_EQ(info.ResourceType, D3DRTYPE_CUBETEXTURE);
    EXPECT_EQ(info.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(info.Width, info.Height);
    EXPECT_TRUE(info.Width == 64 || info.Width == 128);
}

}  // namespace
