#include "XFile.h"

#include <cstdio>

uint32_t Mesh::addVertex(const MeshVertex& v) {
    vertices.push_back(v);
    return static_cast<uint32_t>(vertices.size() - 1);
}

void Mesh::addTriangle(uint32_t a, uint32_t b, uint32_t c, uint32_t material) {
    faces.push_back({a, b, c});
    faceMaterial.push_back(material);
}

namespace {

// Lists in .x text end each element with ',' and the last with ';'.
const char* sep(size_t i, size_t n) { return i + 1 < n ? "," : ";"; }

}  // namespace

bool writeXFile(const std::string& path, const std::string& frameName, const Mesh& mesh,
                const std::string& comment) {
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return false;
    const size_t nv = mesh.vertices.size(), nf = mesh.faces.size();
    std::fprintf(f, "xof 0303txt 0032\n");
    std::fprintf(f, "// %s\n\n", comment.c_str());
    std::fprintf(f, "Frame %s {\n", frameName.c_str());
    std::fprintf(f, " FrameTransformMatrix {\n  1.000000,0.000000,0.000000,0.000000,\n"
                    "  0.000000,1.000000,0.000000,0.000000,\n"
                    "  0.000000,0.000000,1.000000,0.000000,\n"
                    "  0.000000,0.000000,0.000000,1.000000;;\n }\n");
    std::fprintf(f, " Mesh %sMesh {\n  %zu;\n", frameName.c_str(), nv);
    for (size_t i = 0; i < nv; ++i) {
        const MeshVertex& v = mesh.vertices[i];
        std::fprintf(f, "  %.6f;%.6f;%.6f;%s\n", v.x, v.y, v.z, sep(i, nv));
    }
    std::fprintf(f, "  %zu;\n", nf);
    for (size_t i = 0; i < nf; ++i) {
        const auto& t = mesh.faces[i];
        std::fprintf(f, "  3;%u,%u,%u;%s\n", t[0], t[1], t[2], sep(i, nf));
    }
    std::fprintf(f, "  MeshNormals {\n   %zu;\n", nv);
    for (size_t i = 0; i < nv; ++i) {
        const MeshVertex& v = mesh.vertices[i];
        std::fprintf(f, "   %.6f;%.6f;%.6f;%s\n", v.nx, v.ny, v.nz, sep(i, nv));
    }
    std::fprintf(f, "   %zu;\n", nf);
    for (size_t i = 0; i < nf; ++i) {
        const auto& t = mesh.faces[i];
        std::fprintf(f, "   3;%u,%u,%u;%s\n", t[0], t[1], t[2], sep(i, nf));
    }
    std::fprintf(f, "  }\n  MeshTextureCoords {\n   %zu;\n", nv);
    for (size_t i = 0; i < nv; ++i) {
        const MeshVertex& v = mesh.vertices[i];
        std::fprintf(f, "   %.6f;%.6f;%s\n", v.u, v.v, sep(i, nv));
    }
    std::fprintf(f, "  }\n  MeshMaterialList {\n   %zu;\n   %zu;\n", mesh.materials.size(), nf);
    for (size_t i = 0; i < nf; ++i) std::fprintf(f, "   %u%s\n", mesh.faceMaterial[i], sep(i, nf));
    for (const MeshMaterial& m : mesh.materials) {
        std::fprintf(f, "   Material {\n    %.6f;%.6f;%.6f;%.6f;;\n    %.6f;\n    %.6f;%.6f;%.6f;;\n"
                        "    %.6f;%.6f;%.6f;;\n",
                     m.diffuse[0], m.diffuse[1], m.diffuse[2], m.diffuse[3], m.power, m.specular[0],
                     m.specular[1], m.specular[2], m.emissive[0], m.emissive[1], m.emissive[2]);
        if (!m.texture.empty())
            std::fprintf(f, "    TextureFilename {\n     \"%s\";\n    }\n", m.texture.c_str());
        std::fprintf(f, "   }\n");
    }
    std::fprintf(f, "  }\n }\n}\n");
    return std::fclose(f) == 0;
}
