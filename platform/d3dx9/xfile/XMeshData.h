// A mesh as D3DX builds it from a Mesh data object: triangles sorted by
// attribute, vertices split per distinct normal, materials and skin weights.
// Plain data, no device; the D3DX objects are made from it.
#ifndef ZV_D3DX9_XFILE_XMESHDATA_H
#define ZV_D3DX9_XFILE_XMESHDATA_H

#include <cstdint>
#include <string>
#include <vector>

namespace d3dxfile {

struct XMaterialData {
    float diffuse[4];  // faceColor
    float power;
    float specular[3];
    float emissive[3];
    bool hasTexture;
    std::string texture;  // TextureFilename, exactly as the file gives it
};

struct XBoneData {
    std::string name;                // the frame that moves this bone
    std::vector<uint32_t> vertices;  // into the split vertex list
    std::vector<float> weights;
    float offset[16];  // mesh space -> bone space, row-vector order
};

struct XAttributeRange {
    uint32_t attribId, faceStart, faceCount, vertexStart, vertexCount;
};

struct XMeshData {
    std::string name;
    bool hasNormals = false;
    bool hasTexCoords = false;
    std::vector<float> positions;  // 3 per vertex
    std::vector<float> normals;    // 3 per vertex when hasNormals
    std::vector<float> texCoords;  // 2 per vertex when hasTexCoords
    // Per vertex, its index in the file's vertex list: a vertex split off for
    // another normal keeps the index of the one it was copied from.
    std::vector<uint32_t> originalVertex;
    std::vector<uint32_t> indices;     // 3 per triangle, triangles sorted by attribute
    std::vector<uint32_t> attributes;  // per triangle
    std::vector<XAttributeRange> attributeTable;
    std::vector<uint32_t> adjacency;  // 3 per triangle, 0xFFFFFFFF where no neighbour
    std::vector<XMaterialData> materials;
    bool skinned = false;  // a skin header with at least one bone
    std::vector<XBoneData> bones;

    uint32_t vertexCount() const { return uint32_t(positions.size() / 3); }
    uint32_t triangleCount() const { return uint32_t(indices.size() / 3); }
};

}  // namespace d3dxfile

#endif
