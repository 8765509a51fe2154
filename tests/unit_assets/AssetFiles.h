// Readers for the shipped content: scripts walked with the game's token
// rules (written independently of the engine), PNG pictures through libpng,
// and .x meshes through the layer's own D3DX loader without a device.
#ifndef ZV_TESTS_ASSETFILES_H
#define ZV_TESTS_ASSETFILES_H

#include <d3dx9.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace assets {

// A path as the game writes it ("Assets\Textures\a.png"), as a file of the
// source tree.
std::string sourceFile(const std::string& gamePath);
bool exists(const std::string& gamePath);
bool readBytes(const std::string& file, std::string& out);

// A script read the game's way: comments removed, then tokens with the
// standard delimiters, each key taking its own number of values (paths
// with the path delimiters).
struct Script {
    bool found = false;
    std::map<std::string, std::vector<std::string>> keys;  // last occurrence wins
    std::vector<std::string> scenePaths;                   // "[SCRIPTS]" entries
    std::vector<std::string> strays;                       // tokens no key consumed
    bool has(const std::string& key) const { return keys.count(key) != 0; }
    std::string value(const std::string& key, size_t i = 0) const;
    float number(const std::string& key, size_t i = 0) const;
};
Script readScript(const std::string& gamePath);

struct Picture {
    bool ok = false;
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    uint8_t alpha(int x, int y) const { return rgba[(static_cast<size_t>(y) * width + x) * 4 + 3]; }
};
Picture readPng(const std::string& gamePath);

// The first mesh of a .x file as D3DXLoadMeshHierarchyFromXA builds it.
struct XVertex {
    float p[3], n[3], uv[2];
};
struct XMaterial {
    D3DCOLORVALUE diffuse;
    std::string texture;
};
struct XMesh {
    HRESULT hr = E_FAIL;
    DWORD fvf = 0;
    std::vector<XVertex> vertices;  // only filled for XYZ | NORMAL | TEX1 meshes
    std::vector<std::array<uint32_t, 3>> faces;
    std::vector<uint32_t> faceMaterials;
    std::vector<XMaterial> materials;
};
XMesh loadMesh(const std::string& gamePath);

}  // namespace assets

#endif
