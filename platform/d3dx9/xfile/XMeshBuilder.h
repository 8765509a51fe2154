// Builds XMeshData from a Mesh data object and its children (MeshNormals,
// MeshTextureCoords, MeshMaterialList with Material / TextureFilename or
// references to top-level materials, XSkinMeshHeader, SkinWeights). Other
// children are skipped.
#ifndef ZV_D3DX9_XFILE_XMESHBUILDER_H
#define ZV_D3DX9_XFILE_XMESHBUILDER_H

#include "XFileDocument.h"
#include "XMeshData.h"

namespace d3dxfile {

class XMeshBuilder {
public:
    // `doc` resolves material references. A mesh with no vertices builds
    // successfully and empty (D3DX makes no container for it).
    static XError build(const XObject& mesh, const XDocument& doc, XMeshData& out);

private:
    XMeshBuilder(const XDocument& doc, XMeshData& out) : m_doc(doc), m_out(out) {}
    XError readGeometry(const XObject& mesh);
    XError readNormals(const XObject& obj);
    XError readTexCoords(const XObject& obj);
    XError readMaterialList(const XObject& obj);
    XError readSkinHeader(const XObject& obj);
    XError readSkinWeights(const XObject& obj);
    void splitVertices();
    void triangulateAndSort();
    void buildAdjacency();
    void remapSkin();

    const XDocument& m_doc;
    XMeshData& m_out;
    // The file's polygons: corner vertex (and normal) indices, and where each
    // polygon starts in them.
    uint32_t m_fileVertices = 0;
    std::vector<float> m_filePositions;
    std::vector<uint32_t> m_polyStart;
    std::vector<uint32_t> m_corners;
    std::vector<float> m_fileNormals;
    std::vector<uint32_t> m_normalCorners;
    std::vector<float> m_fileTexCoords;
    std::vector<uint32_t> m_polyMaterial;
    bool m_haveNormals = false, m_haveTexCoords = false, m_haveMaterials = false;
    bool m_haveSkinHeader = false;
    uint32_t m_skinBones = 0;
    std::vector<XBoneData> m_fileBones;  // vertex indices into the file's list
    // The corner's vertex after splitting.
    std::vector<uint32_t> m_cornerVertex;
};

// Reads a Material data object (faceColor, power, specular, emissive, and a
// TextureFilename child).
XError readMaterial(const XObject& obj, XMaterialData& out);

// Finds a data object by type and name anywhere in the document (first in
// file order, depth first).
const XObject* findObject(const XDocument& doc, const char* type, const std::string& name);

// Case-insensitive comparison of template names, as exporters vary
// ("TextureFilename" / "TextureFileName").
bool sameType(const std::string& type, const char* name);

}  // namespace d3dxfile

#endif
