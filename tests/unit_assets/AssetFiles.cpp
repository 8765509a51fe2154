#include "AssetFiles.h"

#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace assets {

namespace {

const char* kStandard = "\r\n\t ,;{}";
const char* kPath = "\r\n\t,;{}";

struct KeyShape {
    int count;
    bool path;
};

// Every key the engine's loaders know, with what it takes.
const std::map<std::string, KeyShape>& keyShapes() {
    static const std::map<std::string, KeyShape> shapes = {
        {"[CLASS_TYPE]", {1, false}},     {"[MODEL_TYPE]", {1, false}},    {"[MODEL_SCRIPT]", {1, true}},
        {"[TRANSLATION]", {3, false}},    {"[ROTATION]", {3, false}},      {"[SCALE]", {3, false}},
        {"[TEXTURE]", {1, true}},         {"[SIZING]", {1, false}},        {"[DIMENSIONS]", {2, false}},
        {"[BILLBOARDING]", {1, false}},   {"[ORTHO]", {1, false}},         {"[MATERIAL]", {4, false}},
        {"[ZWRITEENABLE]", {1, false}},   {"[XFILE]", {1, false}},         {"[GRAVITY]", {1, false}},
        {"[RANGE_DIRECTION]", {6, false}}, {"[COLOR_STAGES]", {12, false}}, {"[RANGE_LIFESPAN]", {2, false}},
        {"[PARTICLE_SCRIPT]", {1, true}}, {"[NUM_PARTICLES]", {1, false}}, {"[LIFE_SPAN]", {1, false}},
        {"[SIZE]", {1, false}},           {"[RESOLUTION]", {2, false}},    {"[FULLSCREEN]", {1, false}},
        {"[ENV_MAPS]", {1, false}},       {"[CDPLAYBACK]", {1, false}},    {"[ENTRY_SCENE]", {1, true}},
    };
    return shapes;
}

}  // namespace

std::string sourceFile(const std::string& gamePath) {
    std::string p = gamePath;
    for (char& c : p)
        if (c == '\\') c = '/';
    return std::string(ZV_SOURCE_DIR) + "/" + p;
}

bool exists(const std::string& gamePath) { return std::ifstream(sourceFile(gamePath)).good(); }

bool readBytes(const std::string& file, std::string& out) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::stringstream ss;
    ss << in.rdbuf();
    out = ss.str();
    return true;
}

std::string Script::value(const std::string& key, size_t i) const {
    auto it = keys.find(key);
    return it != keys.end() && i < it->second.size() ? it->second[i] : std::string();
}

float Script::number(const std::string& key, size_t i) const {
    return static_cast<float>(std::atof(value(key, i).c_str()));
}

Script readScript(const std::string& gamePath) {
    Script s;
    std::string raw, text;
    if (!readBytes(sourceFile(gamePath), raw)) return s;
    s.found = true;
    // A "//" comment runs to its line's end and takes the line break with it.
    for (size_t pos = 0; pos < raw.size();) {
        const size_t c = std::min(raw.find("//", pos), raw.size());
        text += raw.substr(pos, c - pos);
        pos = std::min(raw.find('\n', c), raw.size() - 1) + 1;
    }
    // strtok's walk: one position, the delimiter ending a token consumed with it.
    size_t pos = 0;
    auto next = [&](std::string& tok, const char* delims) {
        while (pos < text.size() && std::strchr(delims, text[pos])) ++pos;
        if (pos >= text.size()) return false;
        const size_t end = std::min(text.find_first_of(delims, pos), text.size());
        tok = text.substr(pos, end - pos);
        pos = std::min(end + 1, text.size());
        return true;
    };
    std::string tok;
    int size = -1;
    while (next(tok, kStandard)) {
        if (tok == "[SCRIPTS]" && size >= 1) {
            for (int i = 0; i < size && next(tok, kPath); ++i) s.scenePaths.push_back(tok);
            continue;
        }
        auto shape = keyShapes().find(tok);
        if (shape == keyShapes().end()) {
            if (tok != "[SCRIPTS]") s.strays.push_back(tok);
            continue;
        }
        std::vector<std::string>& values = s.keys[tok];
        values.clear();
        const char* delimiters = shape->second.path ? kPath : kStandard;
        for (std::string v; int(values.size()) < shape->second.count && next(v, delimiters);) values.push_back(v);
        if (tok == "[SIZE]" && !values.empty()) size = std::atoi(values[0].c_str());
    }
    return s;
}

Picture readPng(const std::string& gamePath) {
    Picture p;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, sourceFile(gamePath).c_str())) return p;
    image.format = PNG_FORMAT_RGBA;
    p.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, p.rgba.data(), 0, nullptr)) return p;
    p.width = static_cast<int>(image.width);
    p.height = static_cast<int>(image.height);
    p.ok = true;
    return p;
}

namespace {

// Keeps a copy of the first mesh it is handed; frames and containers are
// bare, since nothing but the copy is looked at.
class CopyingAllocator : public ID3DXAllocateHierarchy {
public:
    explicit CopyingAllocator(XMesh* out) : m_out(out) {}
    HRESULT CreateFrame(LPCSTR, LPD3DXFRAME* frame) override {
        *frame = new D3DXFRAME();
        return S_OK;
    }
    HRESULT CreateMeshContainer(LPCSTR, const D3DXMESHDATA* data, const D3DXMATERIAL* materials,
                                const D3DXEFFECTINSTANCE*, DWORD count, const DWORD*, LPD3DXSKININFO,
                                LPD3DXMESHCONTAINER* container) override {
        *container = new D3DXMESHCONTAINER();
        if (m_copied++) return S_OK;
        ID3DXMesh* mesh = data->pMesh;
        m_out->fvf = mesh->GetFVF();
        for (DWORD i = 0; i < count; ++i)
            m_out->materials.push_back(
                {materials[i].MatD3D.Diffuse, materials[i].pTextureFilename ? materials[i].pTextureFilename : ""});
        void* p;
        if (m_out->fvf == (D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1)) {
            m_out->vertices.resize(mesh->GetNumVertices());
            mesh->LockVertexBuffer(D3DLOCK_READONLY, &p);
            std::memcpy(m_out->vertices.data(), p, m_out->vertices.size() * sizeof(XVertex));
            mesh->UnlockVertexBuffer();
        }
        m_out->faces.resize(mesh->GetNumFaces());
        mesh->LockIndexBuffer(D3DLOCK_READONLY, &p);
        const bool wide = mesh->GetOptions() & D3DXMESH_32BIT;
        for (size_t i = 0; i < m_out->faces.size() * 3; ++i)
            m_out->faces[i / 3][i % 3] = wide ? static_cast<DWORD*>(p)[i] : static_cast<WORD*>(p)[i];
        mesh->UnlockIndexBuffer();
        DWORD* attributes;
        mesh->LockAttributeBuffer(D3DLOCK_READONLY, &attributes);
        m_out->faceMaterials.assign(attributes, attributes + m_out->faces.size());
        mesh->UnlockAttributeBuffer();
        return S_OK;
    }
    HRESULT DestroyFrame(LPD3DXFRAME frame) override {
        delete frame;
        return S_OK;
    }
    HRESULT DestroyMeshContainer(LPD3DXMESHCONTAINER container) override {
        delete container;
        return S_OK;
    }

private:
    XMesh* m_out;
    int m_copied = 0;
};

}  // namespace

XMesh loadMesh(const std::string& gamePath) {
    XMesh mesh;
    CopyingAllocator alloc(&mesh);
    LPD3DXFRAME root = nullptr;
    mesh.hr = D3DXLoadMeshHierarchyFromXA(sourceFile(gamePath).c_str(), D3DXMESH_MANAGED, nullptr, &alloc,
                                          nullptr, &root, nullptr);
    if (root) D3DXFrameDestroy(root, &alloc);
    if (SUCCEEDED(mesh.hr) && mesh.faces.empty()) mesh.hr = E_FAIL;
    return mesh;
}

}  // namespace assets
