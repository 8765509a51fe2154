#include "AssetFiles.h"

#include <png.h>

#include <cctype>
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

// strtok's walk: one position, the delimiter ending a token consumed with it.
class Tokens {
public:
    explicit Tokens(std::string text) : m_text(std::move(text)) {}
    bool next(std::string& tok, const char* delims) {
        while (m_pos < m_text.size() && std::strchr(delims, m_text[m_pos])) ++m_pos;
        if (m_pos >= m_text.size()) return false;
        size_t end = m_pos;
        while (end < m_text.size() && !std::strchr(delims, m_text[end])) ++end;
        tok = m_text.substr(m_pos, end - m_pos);
        m_pos = end < m_text.size() ? end + 1 : end;
        return true;
    }

private:
    std::string m_text;
    size_t m_pos = 0;
};

}  // namespace

std::string sourceFile(const std::string& gamePath) {
    std::string p = gamePath;
    for (char& c : p)
        if (c == '\\') c = '/';
    return std::string(ZV_SOURCE_DIR) + "/" + p;
}

bool exists(const std::string& gamePath) {
    std::ifstream in(sourceFile(gamePath), std::ios::binary);
    return static_cast<bool>(in);
}

bool readBytes(const std::string& file, std::string& out) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::stringstream ss;
    ss << in.rdbuf();
    out = ss.str();
    return true;
}

std::string stripComments(const std::string& in) {
    std::string out;
    size_t pos = 0;
    for (;;) {
        size_t c = in.find("//", pos);
        if (c == std::string::npos) return out + in.substr(pos);
        out += in.substr(pos, c - pos);
        size_t nl = in.find('\n', c);
        if (nl == std::string::npos) return out;
        pos = nl + 1;
    }
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
    std::string text;
    if (!readBytes(sourceFile(gamePath), text)) return s;
    s.found = true;
    Tokens t(stripComments(text));
    std::string tok;
    int size = -1;
    while (t.next(tok, kStandard)) {
        if (tok == "[SCRIPTS]" && size >= 1) {
            for (int i = 0; i < size && t.next(tok, kPath); ++i) s.scenePaths.push_back(tok);
            continue;
        }
        auto shape = keyShapes().find(tok);
        if (shape == keyShapes().end()) {
            if (tok != "[SCRIPTS]") s.strays.push_back(tok);
            continue;
        }
        std::vector<std::string> values;
        for (int i = 0; i < shape->second.count; ++i) {
            std::string v;
            if (!t.next(v, shape->second.path ? kPath : kStandard)) break;
            values.push_back(v);
        }
        if (tok == "[SIZE]" && !values.empty()) size = std::atoi(values[0].c_str());
        s.keys[tok] = values;
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

// The text form of .x: names, numbers and strings; ',' and ';' only separate.
struct XToken {
    enum Kind { Word, String, Open, Close, End } kind;
    std::string text;
};

class XLexer {
public:
    explicit XLexer(std::string body) : m_s(std::move(body)) {}
    XToken next() {
        for (;;) {
            while (m_pos < m_s.size() && (std::isspace(static_cast<unsigned char>(m_s[m_pos])) ||
                                          m_s[m_pos] == ',' || m_s[m_pos] == ';'))
                ++m_pos;
            if (m_pos >= m_s.size()) return {XToken::End, ""};
            if (m_s[m_pos] == '#' || m_s.compare(m_pos, 2, "//") == 0) {
                while (m_pos < m_s.size() && m_s[m_pos] != '\n') ++m_pos;
                continue;
            }
            break;
        }
        char c = m_s[m_pos];
        if (c == '{') return ++m_pos, XToken{XToken::Open, "{"};
        if (c == '}') return ++m_pos, XToken{XToken::Close, "}"};
        if (c == '"') {
            size_t end = m_s.find('"', m_pos + 1);
            if (end == std::string::npos) end = m_s.size();
            XToken t{XToken::String, m_s.substr(m_pos + 1, end - m_pos - 1)};
            m_pos = end + 1;
            return t;
        }
        size_t end = m_pos;
        while (end < m_s.size() && !std::isspace(static_cast<unsigned char>(m_s[end])) &&
               !std::strchr(",;{}\"", m_s[end]))
            ++end;
        XToken t{XToken::Word, m_s.substr(m_pos, end - m_pos)};
        m_pos = end;
        return t;
    }

private:
    std::string m_s;
    size_t m_pos = 0;
};

struct XObject {
    std::string type, name;
    std::vector<std::string> values;  // numbers and strings, in order
    std::vector<XObject> children;
};

// type [name] { values and child objects }
bool parseObject(XLexer& lex, XToken first, XObject& obj, std::string& err) {
    obj.type = first.text;
    XToken t = lex.next();
    if (t.kind == XToken::Word) {
        obj.name = t.text;
        t = lex.next();
    }
    if (t.kind != XToken::Open) return err = "no '{' after " + obj.type, false;
    for (;;) {
        t = lex.next();
        if (t.kind == XToken::Close) return true;
        if (t.kind == XToken::End) return err = "unterminated " + obj.type, false;
        if (t.kind == XToken::String) {
            obj.values.push_back(t.text);
            continue;
        }
        const char c = t.text[0];
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.') {
            obj.values.push_back(t.text);
            continue;
        }
        XObject child;
        if (!parseObject(lex, t, child, err)) return false;
        obj.children.push_back(child);
    }
}

const XObject* find(const std::vector<XObject>& objs, const std::string& type) {
    for (const XObject& o : objs) {
        if (o.type == type) return &o;
        if (const XObject* inner = find(o.children, type)) return inner;
    }
    return nullptr;
}

class Values {
public:
    explicit Values(const std::vector<std::string>& v) : m_v(v) {}
    bool take(double& out) {
        if (m_i >= m_v.size()) return false;
        out = std::atof(m_v[m_i++].c_str());
        return true;
    }
    bool takeFaces(std::vector<std::vector<uint32_t>>& faces, size_t count) {
        for (size_t f = 0; f < count; ++f) {
            double n, idx;
            if (!take(n)) return false;
            std::vector<uint32_t> face;
            for (int k = 0; k < static_cast<int>(n); ++k) {
                if (!take(idx)) return false;
                face.push_back(static_cast<uint32_t>(idx));
            }
            faces.push_back(face);
        }
        return true;
    }

private:
    const std::vector<std::string>& m_v;
    size_t m_i = 0;
};

}  // namespace

XMesh readXFile(const std::string& gamePath) {
    XMesh mesh;
    std::string text;
    if (!readBytes(sourceFile(gamePath), text)) return mesh.error = "missing", mesh;
    if (text.size() < 16) return mesh.error = "short", mesh;
    mesh.header = text.substr(0, 16);
    XLexer lex(text.substr(16));
    std::vector<XObject> top;
    std::string err;
    for (XToken t = lex.next(); t.kind != XToken::End; t = lex.next()) {
        if (t.kind != XToken::Word) return mesh.error = "stray token at top level", mesh;
        XObject obj;
        if (!parseObject(lex, t, obj, err)) return mesh.error = err, mesh;
        top.push_back(obj);
    }
    const XObject* m = find(top, "Mesh");
    if (!m) return mesh.error = "no Mesh", mesh;
    Values v(m->values);
    double n;
    if (!v.take(n)) return mesh.error = "no vertex count", mesh;
    mesh.vertices.resize(static_cast<size_t>(n));
    for (XVertex& vert : mesh.vertices) {
        double x, y, z;
        if (!v.take(x) || !v.take(y) || !v.take(z)) return mesh.error = "short vertex list", mesh;
        vert = XVertex{{float(x), float(y), float(z)}, {0, 0, 0}, {0, 0}};
    }
    if (!v.take(n) || !v.takeFaces(mesh.faces, static_cast<size_t>(n))) return mesh.error = "short face list", mesh;

    if (const XObject* normals = find(m->children, "MeshNormals")) {
        Values nv(normals->values);
        std::vector<float> list;
        if (!nv.take(n)) return mesh.error = "no normal count", mesh;
        mesh.normalCount = static_cast<size_t>(n);
        for (size_t i = 0; i < mesh.normalCount * 3; ++i) {
            double c;
            if (!nv.take(c)) return mesh.error = "short normal list", mesh;
            list.push_back(float(c));
        }
        // Normals are looked up per face corner; these files index them like
        // the vertices, which the face comparison in the tests checks.
        for (size_t i = 0; i < mesh.vertices.size() && i < mesh.normalCount; ++i)
            for (int k = 0; k < 3; ++k) mesh.vertices[i].n[k] = list[i * 3 + k];
        if (!nv.take(n) || !nv.takeFaces(mesh.normalFaces, static_cast<size_t>(n)))
            return mesh.error = "short normal faces", mesh;
    }
    if (const XObject* uvs = find(m->children, "MeshTextureCoords")) {
        Values uv(uvs->values);
        if (!uv.take(n)) return mesh.error = "no uv count", mesh;
        mesh.uvCount = static_cast<size_t>(n);
        for (size_t i = 0; i < mesh.uvCount; ++i) {
            double a, b;
            if (!uv.take(a) || !uv.take(b)) return mesh.error = "short uv list", mesh;
            if (i < mesh.vertices.size()) mesh.vertices[i].uv[0] = float(a), mesh.vertices[i].uv[1] = float(b);
        }
    }
    if (const XObject* list = find(m->children, "MeshMaterialList")) {
        Values mv(list->values);
        double nMat, nFaces;
        if (!mv.take(nMat) || !mv.take(nFaces)) return mesh.error = "short material list", mesh;
        for (size_t i = 0; i < static_cast<size_t>(nFaces); ++i) {
            double idx;
            if (!mv.take(idx)) return mesh.error = "short material indices", mesh;
            mesh.faceMaterials.push_back(static_cast<uint32_t>(idx));
        }
        for (const XObject& child : list->children) {
            if (child.type != "Material") continue;
            XMaterial mat;
            Values cv(child.values);
            for (float& d : mat.diffuse) {
                double c;
                if (!cv.take(c)) return mesh.error = "short material", mesh;
                d = float(c);
            }
            if (const XObject* tex = find(child.children, "TextureFilename"))
                mat.texture = tex->values.empty() ? "" : tex->values[0];
            mesh.materials.push_back(mat);
        }
        if (mesh.materials.size() != static_cast<size_t>(nMat)) return mesh.error = "material count", mesh;
    }
    return mesh;
}

DdsInfo readDds(const std::string& gamePath) {
    DdsInfo info;
    std::string bytes;
    if (!readBytes(sourceFile(gamePath), bytes) || bytes.size() < 128 || bytes.compare(0, 4, "DDS ") != 0)
        return info;
    auto u32 = [&](size_t off) {
        const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data()) + off;
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    };
    if (u32(4) != 124 || u32(76) != 32) return info;
    info.flags = u32(8);
    info.height = u32(12);
    info.width = u32(16);
    info.mipCount = u32(28);
    info.pfFlags = u32(80);
    info.bitCount = u32(88);
    for (int i = 0; i < 4; ++i) info.masks[i] = u32(92 + 4 * i);
    info.caps = u32(108);
    info.caps2 = u32(112);
    info.fileSize = bytes.size();
    info.ok = true;
    return info;
}

}  // namespace assets
