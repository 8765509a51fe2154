#include "XText.h"

#include <cmath>
#include <cstdio>

namespace xtext {

namespace {
std::string num(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.7g", v);
    return buf;
}

std::string materialText(const Material& m) {
    std::string out = "Material {\n " + num(m.r) + ";" + num(m.g) + ";" + num(m.b) + ";" + num(m.a) +
                      ";;\n 0;\n 0;0;0;;\n 0;0;0;;\n";
    if (!m.texture.empty()) out += " TextureFilename { \"" + m.texture + "\"; }\n";
    return out + "}\n";
}

// A quaternion key as a file stores it: the inverse rotation, (w, x, y, z).
std::string rotationKey(int tick, float degrees) {
    const double half = degrees * M_PI / 360.0;
    return std::to_string(tick) + ";4;" + num(std::cos(half)) + ",0,0," + num(-std::sin(half)) + ";;";
}
}  // namespace

std::string mesh(const std::string& name, const std::vector<Vertex>& vertices,
                 const std::vector<std::vector<int>>& faces, const std::vector<int>& faceMaterials,
                 const std::vector<Material>& materials, const std::string& extra) {
    const std::string nv = std::to_string(vertices.size()), nf = std::to_string(faces.size());
    std::string positions, normals, uvs, faceList, materialList;
    for (size_t i = 0; i < vertices.size(); ++i) {
        const Vertex& v = vertices[i];
        const char* end = i + 1 < vertices.size() ? ",\n" : ";\n";
        positions += num(v.x) + ";" + num(v.y) + ";" + num(v.z) + ";" + end;
        normals += num(v.nx) + ";" + num(v.ny) + ";" + num(v.nz) + ";" + end;
        uvs += num(v.u) + ";" + num(v.v) + ";" + end;
    }
    for (size_t i = 0; i < faces.size(); ++i) {
        faceList += std::to_string(faces[i].size()) + ";";
        for (size_t k = 0; k < faces[i].size(); ++k)
            faceList += std::to_string(faces[i][k]) + (k + 1 < faces[i].size() ? "," : ";");
        faceList += i + 1 < faces.size() ? ",\n" : ";\n";
        materialList += std::to_string(faceMaterials[i]) + (i + 1 < faces.size() ? "," : ";;\n");
    }
    std::string out = "Mesh " + name + " {\n" + nv + ";\n" + positions + nf + ";\n" + faceList;
    out += "MeshNormals {\n" + nv + ";\n" + normals + nf + ";\n" + faceList + "}\n";
    out += "MeshTextureCoords {\n" + nv + ";\n" + uvs + "}\n";
    out += "MeshMaterialList {\n" + std::to_string(materials.size()) + ";\n" + nf + ";\n" + materialList;
    for (const Material& m : materials) out += materialText(m);
    out += "}\n";
    return out + extra + "}\n";
}

std::string quad(const std::string& name, float x0, float y0, float x1, float y1, float z,
                 const Material& m) {
    // Counter-clockwise seen from +z: kept by the engine's clockwise culling.
    std::vector<Vertex> v = {
        {x0, y0, z, 0, 0, 1, 0, 1},
        {x1, y0, z, 0, 0, 1, 1, 1},
        {x1, y1, z, 0, 0, 1, 1, 0},
        {x0, y1, z, 0, 0, 1, 0, 0},
    };
    return mesh(name, v, {{0, 1, 2, 3}}, {0}, {m});
}

std::string matrix(const D3DXMATRIX& m) {
    std::string out = "FrameTransformMatrix {\n";
    const float* f = &m._11;
    for (int i = 0; i < 16; ++i) out += num(f[i]) + (i < 15 ? "," : ";;\n");
    return out + "}\n";
}

std::string translation(float x, float y, float z) {
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, x, y, z);
    return matrix(m);
}

std::string frame(const std::string& name, const std::string& body) {
    return "Frame " + name + " {\n" + body + "}\n";
}

std::string file(const std::string& body) { return "xof 0303txt 0032\n" + body; }

std::string arm(const Material& m, const std::string& upperBone, bool animated) {
    std::vector<Vertex> v;
    for (int part = 0; part < 2; ++part) {
        const float y0 = 40.0f * part, y1 = y0 + 40.0f;
        v.push_back({-10, y0, 0, 0, 0, 1, 0, 1});
        v.push_back({10, y0, 0, 0, 0, 1, 1, 1});
        v.push_back({10, y1, 0, 0, 0, 1, 1, 0});
        v.push_back({-10, y1, 0, 0, 0, 1, 0, 0});
    }
    D3DXMATRIX identity, offsetB;
    D3DXMatrixIdentity(&identity);
    D3DXMatrixTranslation(&offsetB, 0, -40, 0);
    auto weights = [](const std::string& bone, int first, const D3DXMATRIX& offset) {
        std::string out = "SkinWeights {\n\"" + bone + "\";\n4;\n";
        for (int i = 0; i < 4; ++i) out += std::to_string(first + i) + (i < 3 ? "," : ";\n");
        out += "1,1,1,1;\n";
        const float* f = &offset._11;
        for (int i = 0; i < 16; ++i) out += num(f[i]) + (i < 15 ? "," : ";;\n");
        return out + "}\n";
    };
    std::string skin = "XSkinMeshHeader { 1; 1; 2; }\n" + weights("A", 0, identity) +
                       weights(upperBone, 4, offsetB);
    std::string body = frame("Arm", mesh("ArmMesh", v, {{0, 1, 2, 3}, {4, 5, 6, 7}}, {0, 0}, {m}, skin) +
                                         frame("A", matrix(identity) + frame("B", translation(0, 40, 0))));
    if (animated) {
        body = "AnimTicksPerSecond { 100; }\n" + body +
               "AnimationSet Bend {\n Animation {\n  { B }\n  AnimationKey {\n   0;\n   2;\n   " +
               rotationKey(0, 0.0f) + ",\n   " + rotationKey(200, 180.0f) + ";\n  }\n }\n}\n";
    }
    return file(body);
}

D3DXVECTOR3 bent(const D3DXVECTOR3& p, float degrees) {
    D3DXMATRIX offset, turn, place, m;
    D3DXMatrixTranslation(&offset, 0, -40, 0);
    D3DXMatrixRotationZ(&turn, degrees * static_cast<float>(M_PI / 180.0));
    D3DXMatrixTranslation(&place, 0, 40, 0);
    D3DXMatrixMultiply(&m, &offset, &turn);
    D3DXMatrixMultiply(&m, &m, &place);
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &p, &m);
    return out;
}

}  // namespace xtext
