// Meshes and their output as DirectX .x text files ("xof 0303txt 0032"):
// one frame holding one mesh with normals, texture coordinates and a
// material list.
#ifndef ARTGEN_XFILE_H
#define ARTGEN_XFILE_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct MeshVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};

struct MeshMaterial {
    float diffuse[4] = {1, 1, 1, 1};
    float power = 0;
    float specular[3] = {0, 0, 0};
    float emissive[3] = {0, 0, 0};
    // Written exactly as the game will open it (backslash folders).
    std::string texture;
};

// Faces are triangles. The engine culls clockwise triangles and draws in a
// right-handed world, so a face is seen from the side towards which
// (b - a) x (c - a) points.
struct Mesh {
    std::vector<MeshVertex> vertices;
    std::vector<std::array<uint32_t, 3>> faces;
    std::vector<uint32_t> faceMaterial;
    std::vector<MeshMaterial> materials;

    uint32_t addVertex(const MeshVertex& v);
    void addTriangle(uint32_t a, uint32_t b, uint32_t c, uint32_t material);
};

bool writeXFile(const std::string& path, const std::string& frameName, const Mesh& mesh,
                const std::string& comment);

#endif
