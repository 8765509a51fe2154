// Readers for the shipped content, written independently of the engine:
// scripts walked with the game's token rules, PNG pictures through libpng,
// DirectX .x text meshes and DDS headers.
#ifndef ZV_TESTS_ASSETFILES_H
#define ZV_TESTS_ASSETFILES_H

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
std::string stripComments(const std::string& text);

struct Picture {
    bool ok = false;
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    uint8_t alpha(int x, int y) const { return rgba[(static_cast<size_t>(y) * width + x) * 4 + 3]; }
};
Picture readPng(const std::string& gamePath);

struct XVertex {
    float p[3], n[3], uv[2];
};
struct XMaterial {
    float diffuse[4] = {0, 0, 0, 0};
    std::string texture;
};
struct XMesh {
    std::string error;  // empty when the file parsed
    std::string header;
    std::vector<XVertex> vertices;
    std::vector<std::vector<uint32_t>> faces, normalFaces;
    std::vector<uint32_t> faceMaterials;
    std::vector<XMaterial> materials;
    size_t normalCount = 0, uvCount = 0;
};
XMesh readXFile(const std::string& gamePath);

struct DdsInfo {
    bool ok = false;
    uint32_t flags = 0, width = 0, height = 0, mipCount = 0, pfFlags = 0, bitCount = 0;
    uint32_t masks[4] = {0, 0, 0, 0};  // r, g, b, a
    uint32_t caps = 0, caps2 = 0;
    size_t fileSize = 0;
};
DdsInfo readDds(const std::string& gamePath);

}  // namespace assets

#endif
