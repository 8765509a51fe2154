#include "XMeshBuilder.h"

#include "XValueReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <strings.h>

namespace d3dxfile {

namespace {

constexpr uint32_t kNoNeighbour = 0xFFFFFFFFu;

void normalize3(float* v) {
    float len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (len > 0.0f) {
        v[0] /= len;
        v[1] /= len;
        v[2] /= len;
    }
}

// Bit pattern of a coordinate for exact comparisons (-0 taken as +0, so
// NaNs cannot upset a sort).
uint32_t coordKey(float f) {
    if (f == 0.0f) f = 0.0f;
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return bits;
}

const XObject* findIn(const XObject& obj, const char* type, const std::string& name) {
    if (sameType(obj.type, type) && obj.name == name) return &obj;
    for (const XChild& c : obj.children) {
        if (!c.object) continue;
        if (const XObject* found = findIn(*c.object, type, name)) return found;
    }
    return nullptr;
}

}  // namespace

bool sameType(const std::string& type, const char* name) {
    return strcasecmp(type.c_str(), name) == 0;
}

const XObject* findObject(const XDocument& doc, const char* type, const std::string& name) {
    for (const auto& obj : doc.objects) {
        if (const XObject* found = findIn(*obj, type, name)) return found;
    }
    return nullptr;
}

XError readMaterial(const XObject& obj, XMaterialData& out) {
    XValueReader r(obj);
    if (!r.readFloats(out.diffuse, 4) || !r.readFloat(out.power) || !r.readFloats(out.specular, 3) ||
        !r.readFloats(out.emissive, 3))
        return XError::InvalidData;
    out.hasTexture = false;
    out.texture.clear();
    for (const XChild& c : obj.children) {
        if (c.object && sameType(c.object->type, "TextureFilename")) {
            XValueReader t(*c.object);
            if (!t.readString(out.texture)) return XError::InvalidData;
            out.hasTexture = true;
            break;
        }
    }
    return XError::None;
}

XError XMeshBuilder::build(const XObject& mesh, const XDocument& doc, XMeshData& out) {
    out = XMeshData();
    out.name = mesh.name;
    XMeshBuilder b(doc, out);
    XError err = b.readGeometry(mesh);
    for (size_t i = 0; err == XError::None && i < mesh.children.size(); ++i) {
        const XObject* child = mesh.children[i].object.get();
        if (!child) continue;
        if (sameType(child->type, "MeshNormals")) {
            err = b.readNormals(*child);
        } else if (sameType(child->type, "MeshTextureCoords")) {
            err = b.readTexCoords(*child);
        } else if (sameType(child->type, "MeshMaterialList")) {
            err = b.readMaterialList(*child);
        } else if (sameType(child->type, "XSkinMeshHeader")) {
            err = b.readSkinHeader(*child);
        } else if (sameType(child->type, "SkinWeights")) {
            err = b.readSkinWeights(*child);
        }
    }
    if (err == XError::None && b.m_haveSkinHeader && b.m_fileBones.size() != b.m_skinBones)
        err = XError::InvalidData;
    if (err != XError::None) {
        out = XMeshData();
        return err;
    }
    if (b.m_fileVertices == 0) {
        out = XMeshData();  // nothing to draw
        out.name = mesh.name;
        return XError::None;
    }
    b.splitVertices();
    b.triangulateAndSort();
    b.buildAdjacency();
    b.remapSkin();
    return XError::None;
}

XError XMeshBuilder::readGeometry(const XObject& mesh) {
    XValueReader r(mesh);
    uint32_t nVertices, nFaces;
    if (!r.readU32(nVertices) || nVertices > r.remaining() / 3) return XError::InvalidData;
    m_fileVertices = nVertices;
    m_filePositions.resize(size_t(nVertices) * 3);
    if (!r.readFloats(m_filePositions.data(), m_filePositions.size())) return XError::InvalidData;
    // D3DX cannot make a mesh of vertices without faces; refuse it here,
    // before anything is handed to the allocator.
    if (!r.readU32(nFaces) || nFaces > r.remaining() || (nFaces == 0 && nVertices > 0))
        return XError::InvalidData;
    m_polyStart.reserve(size_t(nFaces) + 1);
    for (uint32_t f = 0; f < nFaces; ++f) {
        uint32_t n;
        if (!r.readU32(n) || n < 3 || n > r.remaining()) return XError::InvalidData;
        m_polyStart.push_back(uint32_t(m_corners.size()));
        for (uint32_t k = 0; k < n; ++k) {
            uint32_t v;
            if (!r.readU32(v) || v >= nVertices) return XError::InvalidData;
            m_corners.push_back(v);
        }
    }
    m_polyStart.push_back(uint32_t(m_corners.size()));
    m_polyMaterial.assign(nFaces, 0);
    return XError::None;
}

XError XMeshBuilder::readNormals(const XObject& obj) {
    if (m_haveNormals) return XError::InvalidData;
    XValueReader r(obj);
    uint32_t nNormals, nFaces;
    if (!r.readU32(nNormals) || nNormals > r.remaining() / 3) return XError::InvalidData;
    m_fileNormals.resize(size_t(nNormals) * 3);
    if (!r.readFloats(m_fileNormals.data(), m_fileNormals.size())) return XError::InvalidData;
    for (uint32_t i = 0; i < nNormals; ++i) normalize3(&m_fileNormals[size_t(i) * 3]);
    const uint32_t polys = uint32_t(m_polyStart.size() - 1);
    if (!r.readU32(nFaces) || nFaces != polys) return XError::InvalidData;
    m_normalCorners.resize(m_corners.size());
    for (uint32_t f = 0; f < polys; ++f) {
        uint32_t n;
        if (!r.readU32(n) || n != m_polyStart[f + 1] - m_polyStart[f]) return XError::InvalidData;
        for (uint32_t k = 0; k < n; ++k) {
            uint32_t idx;
            if (!r.readU32(idx) || idx >= nNormals) return XError::InvalidData;
            m_normalCorners[m_polyStart[f] + k] = idx;
        }
    }
    m_haveNormals = true;
    return XError::None;
}

XError XMeshBuilder::readTexCoords(const XObject& obj) {
    if (m_haveTexCoords) return XError::InvalidData;
    XValueReader r(obj);
    uint32_t n;
    if (!r.readU32(n) || n != m_fileVertices || n > r.remaining() / 2) return XError::InvalidData;
    m_fileTexCoords.resize(size_t(n) * 2);
    if (!r.readFloats(m_fileTexCoords.data(), m_fileTexCoords.size())) return XError::InvalidData;
    m_haveTexCoords = true;
    return XError::None;
}

XError XMeshBuilder::readMaterialList(const XObject& obj) {
    if (m_haveMaterials) return XError::InvalidData;
    XValueReader r(obj);
    uint32_t nMaterials, nIndices;
    if (!r.readU32(nMaterials) || !r.readU32(nIndices) || nIndices > r.remaining())
        return XError::InvalidData;
    const size_t polys = m_polyMaterial.size();
    uint32_t last = 0;
    for (uint32_t i = 0; i < nIndices; ++i) {
        uint32_t m;
        if (!r.readU32(m) || m >= nMaterials) return XError::InvalidData;
        if (i < polys) m_polyMaterial[i] = m;
        last = m;
    }
    // Exporters often list fewer indices than faces: the last one carries on.
    for (size_t i = nIndices; i < polys; ++i) m_polyMaterial[i] = last;

    for (const XChild& c : obj.children) {
        if (m_out.materials.size() == nMaterials) break;
        const XObject* mat = c.object.get();
        if (!mat) {
            mat = findObject(m_doc, "Material", c.reference);
            if (!mat) return XError::BadReference;
        } else if (!sameType(mat->type, "Material")) {
            continue;
        }
        XMaterialData data;
        XError err = readMaterial(*mat, data);
        if (err != XError::None) return err;
        m_out.materials.push_back(std::move(data));
    }
    if (m_out.materials.size() != nMaterials) return XError::InvalidData;
    m_haveMaterials = true;
    return XError::None;
}

XError XMeshBuilder::readSkinHeader(const XObject& obj) {
    if (m_haveSkinHeader || !m_fileBones.empty()) return XError::InvalidData;
    XValueReader r(obj);
    uint32_t perVertex, perFace, bones;
    if (!r.readU32(perVertex) || !r.readU32(perFace) || !r.readU32(bones) || bones > 0xFFFF)
        return XError::InvalidData;
    m_haveSkinHeader = true;
    m_skinBones = bones;
    return XError::None;
}

XError XMeshBuilder::readSkinWeights(const XObject& obj) {
    // As in D3DX, weights count only after the header that announces them.
    if (!m_haveSkinHeader || m_fileBones.size() >= m_skinBones) return XError::InvalidData;
    XValueReader r(obj);
    XBoneData bone;
    uint32_t n;
    if (!r.readString(bone.name) || !r.readU32(n) || n > r.remaining() / 2) return XError::InvalidData;
    bone.vertices.resize(n);
    bone.weights.resize(n);
    for (uint32_t i = 0; i < n; ++i) {
        if (!r.readU32(bone.vertices[i]) || bone.vertices[i] >= m_fileVertices)
            return XError::InvalidData;
    }
    if (!r.readFloats(bone.weights.data(), n) || !r.readFloats(bone.offset, 16))
        return XError::InvalidData;
    m_fileBones.push_back(std::move(bone));
    return XError::None;
}

void XMeshBuilder::splitVertices() {
    const uint32_t nv = m_fileVertices;
    m_out.hasNormals = m_haveNormals;
    m_out.hasTexCoords = m_haveTexCoords;
    m_out.positions = m_filePositions;
    if (m_haveTexCoords) m_out.texCoords = m_fileTexCoords;
    m_out.originalVertex.resize(nv);
    for (uint32_t v = 0; v < nv; ++v) m_out.originalVertex[v] = v;
    m_cornerVertex = m_corners;
    if (!m_haveNormals) return;

    // A vertex met with a second, different normal is copied; the copies of
    // vertex v are chained through nextCopy. A vertex no face uses keeps a
    // zero normal.
    m_out.normals.assign(size_t(nv) * 3, 0.0f);
    std::vector<uint32_t> normalOf(nv, kNoNeighbour);
    std::vector<uint32_t> nextCopy(nv, kNoNeighbour);
    for (size_t c = 0; c < m_corners.size(); ++c) {
        uint32_t v = m_corners[c];
        const float* n = &m_fileNormals[size_t(m_normalCorners[c]) * 3];
        if (normalOf[v] == kNoNeighbour) {
            normalOf[v] = m_normalCorners[c];
            std::memcpy(&m_out.normals[size_t(v) * 3], n, 12);
            continue;
        }
        uint32_t cur = v;
        for (;;) {
            const float* have = &m_out.normals[size_t(cur) * 3];
            if (have[0] == n[0] && have[1] == n[1] && have[2] == n[2]) {
                m_cornerVertex[c] = cur;
                break;
            }
            if (nextCopy[cur] == kNoNeighbour) {
                uint32_t copy = m_out.vertexCount();
                const float* p = &m_filePositions[size_t(v) * 3];
                m_out.positions.insert(m_out.positions.end(), p, p + 3);
                m_out.normals.insert(m_out.normals.end(), n, n + 3);
                if (m_haveTexCoords) {
                    const float* t = &m_fileTexCoords[size_t(v) * 2];
                    m_out.texCoords.insert(m_out.texCoords.end(), t, t + 2);
                }
                m_out.originalVertex.push_back(v);
                normalOf.push_back(m_normalCorners[c]);
                nextCopy.push_back(kNoNeighbour);
                nextCopy[cur] = copy;
                m_cornerVertex[c] = copy;
                break;
            }
            cur = nextCopy[cur];
        }
    }
}

void XMeshBuilder::triangulateAndSort() {
    const size_t polys = m_polyStart.size() - 1;
    struct Tri {
        uint32_t attrib, v[3];
    };
    std::vector<Tri> tris;
    tris.reserve(m_corners.size() - 2 * polys);
    for (size_t f = 0; f < polys; ++f) {
        uint32_t first = m_polyStart[f], end = m_polyStart[f + 1];
        for (uint32_t k = first + 1; k + 1 < end; ++k)
            tris.push_back(Tri{m_polyMaterial[f], {m_cornerVertex[first], m_cornerVertex[k],
                                                   m_cornerVertex[k + 1]}});
    }
    std::stable_sort(tris.begin(), tris.end(),
                     [](const Tri& a, const Tri& b) { return a.attrib < b.attrib; });
    m_out.indices.resize(tris.size() * 3);
    m_out.attributes.resize(tris.size());
    for (size_t t = 0; t < tris.size(); ++t) {
        std::memcpy(&m_out.indices[t * 3], tris[t].v, 12);
        m_out.attributes[t] = tris[t].attrib;
        const uint32_t lo = std::min({tris[t].v[0], tris[t].v[1], tris[t].v[2]});
        const uint32_t hi = std::max({tris[t].v[0], tris[t].v[1], tris[t].v[2]});
        if (m_out.attributeTable.empty() || m_out.attributeTable.back().attribId != tris[t].attrib) {
            m_out.attributeTable.push_back(XAttributeRange{tris[t].attrib, uint32_t(t), 0, lo, 0});
        }
        XAttributeRange& r = m_out.attributeTable.back();
        ++r.faceCount;
        uint32_t rangeEnd = std::max(r.vertexStart + r.vertexCount, hi + 1);
        r.vertexStart = std::min(r.vertexStart, lo);
        r.vertexCount = rangeEnd - r.vertexStart;
    }
}

void XMeshBuilder::buildAdjacency() {
    // Faces are neighbours across an edge whose two corners sit at the same
    // positions, as D3DX's adjacency with a zero epsilon.
    const uint32_t nv = m_out.vertexCount();
    std::vector<uint32_t> order(nv);
    for (uint32_t v = 0; v < nv; ++v) order[v] = v;
    auto key = [this](uint32_t v) {
        const float* p = &m_out.positions[size_t(v) * 3];
        return std::make_tuple(coordKey(p[0]), coordKey(p[1]), coordKey(p[2]));
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](uint32_t a, uint32_t b) { return key(a) < key(b); });
    std::vector<uint32_t> rep(nv);
    for (uint32_t i = 0; i < nv; ++i)
        rep[order[i]] = (i > 0 && key(order[i]) == key(order[i - 1])) ? rep[order[i - 1]] : order[i];

    struct Edge {
        uint64_t key;
        uint32_t tri, edge;
    };
    const uint32_t nt = m_out.triangleCount();
    std::vector<Edge> edges;
    edges.reserve(size_t(nt) * 3);
    for (uint32_t t = 0; t < nt; ++t) {
        for (uint32_t e = 0; e < 3; ++e) {
            uint32_t a = rep[m_out.indices[t * 3 + e]], b = rep[m_out.indices[t * 3 + (e + 1) % 3]];
            if (a == b) continue;  // degenerate edge
            uint64_t k = a < b ? (uint64_t(a) << 32 | b) : (uint64_t(b) << 32 | a);
            edges.push_back(Edge{k, t, e});
        }
    }
    std::stable_sort(edges.begin(), edges.end(),
                     [](const Edge& x, const Edge& y) { return x.key < y.key; });
    m_out.adjacency.assign(size_t(nt) * 3, kNoNeighbour);
    for (size_t i = 0; i < edges.size();) {
        size_t j = i;
        while (j < edges.size() && edges[j].key == edges[i].key) ++j;
        for (size_t a = i; a < j; ++a) {
            for (size_t b = i; b < j; ++b) {
                if (edges[b].tri != edges[a].tri) {
                    m_out.adjacency[size_t(edges[a].tri) * 3 + edges[a].edge] = edges[b].tri;
                    break;
                }
            }
        }
        i = j;
    }
}

void XMeshBuilder::remapSkin() {
    if (!m_haveSkinHeader || m_fileBones.empty()) return;
    // Every copy of a vertex made for another normal is moved by the same
    // bones as the vertex it was copied from.
    const uint32_t nv = m_out.vertexCount();
    std::vector<uint32_t> firstCopy(m_fileVertices, kNoNeighbour), nextCopy(nv, kNoNeighbour);
    for (uint32_t v = nv; v-- > m_fileVertices;) {
        uint32_t orig = m_out.originalVertex[v];
        nextCopy[v] = firstCopy[orig];
        firstCopy[orig] = v;
    }
    for (XBoneData& bone : m_fileBones) {
        XBoneData out;
        out.name = std::move(bone.name);
        std::memcpy(out.offset, bone.offset, sizeof(out.offset));
        for (size_t i = 0; i < bone.vertices.size(); ++i) {
            for (uint32_t v = bone.vertices[i]; v != kNoNeighbour;
                 v = v == bone.vertices[i] ? firstCopy[v] : nextCopy[v]) {
                out.vertices.push_back(v);
                out.weights.push_back(bone.weights[i]);
            }
        }
        m_out.bones.push_back(std::move(out));
    }
    m_out.skinned = true;
}

}  // namespace d3dxfile
