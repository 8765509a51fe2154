#include "XFileWriter.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace xtest {

XNode& XNode::ints(std::initializer_list<uint32_t> v) { return ints(std::vector<uint32_t>(v)); }

XNode& XNode::ints(const std::vector<uint32_t>& v) {
    for (uint32_t x : v) {
        Item it;
        it.kind = Item::Int;
        it.i = x;
        items.push_back(it);
    }
    return *this;
}

XNode& XNode::floats(std::initializer_list<double> v) { return floats(std::vector<double>(v)); }

XNode& XNode::floats(const std::vector<double>& v) {
    for (double x : v) {
        Item it;
        it.kind = Item::Float;
        it.f = x;
        items.push_back(it);
    }
    return *this;
}

XNode& XNode::str(const std::string& s) {
    Item it;
        it.kind = Item::String;
    it.s = s;
    items.push_back(it);
    return *this;
}

XNode& XNode::child(const XNode& node) {
    Item it;
        it.kind = Item::Child;
    it.child = std::make_shared<XNode>(node);
    items.push_back(it);
    return *this;
}

XNode& XNode::ref(const std::string& name) {
    Item it;
        it.kind = Item::Ref;
    it.s = name;
    items.push_back(it);
    return *this;
}

const char* formName(Form f) {
    switch (f) {
    case Form::Text: return "text";
    case Form::Binary32: return "binary32";
    case Form::Binary64: return "binary64";
    case Form::TextZip: return "tzip";
    case Form::BinaryZip32: return "bzip32";
    case Form::BinaryZip64: return "bzip64";
    }
    return "?";
}

namespace {

const char* kTextTemplates =
    "template Vector {\n <3d82ab5e-62da-11cf-ab39-0020af71e433>\n FLOAT x;\n FLOAT y;\n FLOAT z;\n}\n\n"
    "template Mesh {\n <3d82ab44-62da-11cf-ab39-0020af71e433>\n DWORD nVertices;\n"
    " array Vector vertices[nVertices];\n DWORD nFaces;\n array MeshFace faces[nFaces];\n [...]\n}\n\n";

void textNode(const XNode& n, std::string& out, int indent) {
    std::string pad(size_t(indent), ' ');
    out += pad + n.type + (n.name.empty() ? "" : " " + n.name) + " {\n" + pad + " ";
    char buf[64];
    for (size_t k = 0; k < n.items.size(); ++k) {
        const XNode::Item& it = n.items[k];
        // Members end with ';'; a run of numbers also gets the ',' array
        // separators real exporters write.
        switch (it.kind) {
        case XNode::Item::Int: std::snprintf(buf, sizeof buf, "%u;", it.i); out += buf; break;
        case XNode::Item::Float: std::snprintf(buf, sizeof buf, "%.9g;", it.f); out += buf; break;
        case XNode::Item::String: out += "\"" + it.s + "\";"; break;
        case XNode::Item::Child:
            out += "\n";
            textNode(*it.child, out, indent + 1);
            out += pad + " ";
            break;
        case XNode::Item::Ref: out += "{ " + it.s + " }\n" + pad + " "; break;
        }
        if (k % 3 == 2 && it.kind != XNode::Item::Child) out += ",\n" + pad + " ";
    }
    out += "\n" + pad + "}\n";
}

void put16(std::string& out, uint32_t v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putName(std::string& out, const std::string& s) {
    put16(out, 1);
    put32(out, uint32_t(s.size()));
    out += s;
}

void binaryTemplates(std::string& out) {
    // template Vector { <guid> FLOAT x; array FLOAT rest[2]; [...] }
    put16(out, 31);
    putName(out, "Vector");
    put16(out, 10);
    put16(out, 5);
    out += std::string("\x5e\xab\x82\x3d\xda\x62\xcf\x11\xab\x39\x00\x20\xaf\x71\xe4\x33", 16);
    put16(out, 42);
    putName(out, "x");
    put16(out, 20);
    put16(out, 52);
    put16(out, 42);
    putName(out, "rest");
    put16(out, 14);
    put16(out, 6);
    put32(out, 1);
    put32(out, 2);
    put16(out, 15);
    put16(out, 20);
    put16(out, 14);
    put16(out, 18);
    put16(out, 18);
    put16(out, 18);
    put16(out, 15);
    put16(out, 11);
}

void binaryNode(const XNode& n, std::string& out, int floatBits) {
    putName(out, n.type);
    if (!n.name.empty()) putName(out, n.name);
    put16(out, 10);
    // Consecutive numbers of one kind go into one list, whatever members
    // they belong to.
    for (size_t k = 0; k < n.items.size();) {
        const XNode::Item& it = n.items[k];
        if (it.kind == XNode::Item::Int || it.kind == XNode::Item::Float) {
            size_t end = k;
            while (end < n.items.size() && n.items[end].kind == it.kind) ++end;
            put16(out, it.kind == XNode::Item::Int ? 6 : 7);
            put32(out, uint32_t(end - k));
            for (; k < end; ++k) {
                if (it.kind == XNode::Item::Int) {
                    put32(out, n.items[k].i);
                } else if (floatBits == 64) {
                    double d = n.items[k].f;
                    out.append(reinterpret_cast<const char*>(&d), 8);
                } else {
                    float f = float(n.items[k].f);
                    out.append(reinterpret_cast<const char*>(&f), 4);
                }
            }
            continue;
        }
        if (it.kind == XNode::Item::String) {
            put16(out, 2);
            put32(out, uint32_t(it.s.size()));
            out += it.s;
            put16(out, 20);
        } else if (it.kind == XNode::Item::Child) {
            binaryNode(*it.child, out, floatBits);
        } else {
            put16(out, 10);
            putName(out, it.s);
            put16(out, 11);
        }
        ++k;
    }
    put16(out, 11);
}

}  // namespace

std::string writeText(const std::vector<XNode>& objects) {
    std::string out = std::string("// written by the tests\n") + kTextTemplates;
    for (const XNode& n : objects) textNode(n, out, 0);
    return out;
}

std::string writeBinary(const std::vector<XNode>& objects, int floatBits) {
    std::string out;
    binaryTemplates(out);
    for (const XNode& n : objects) binaryNode(n, out, floatBits);
    return out;
}

std::string compressMszip(const std::string& body, size_t chunk) {
    std::string out;
    put32(out, uint32_t(body.size() + 16));
    for (size_t pos = 0; pos < body.size(); pos += chunk) {
        size_t n = std::min(chunk, body.size() - pos);
        z_stream zs = {};
        EXPECT_EQ(deflateInit2(&zs, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
        if (pos > 0) {
            size_t dict = std::min<size_t>(pos, 32768);
            deflateSetDictionary(&zs, reinterpret_cast<const Bytef*>(body.data() + pos - dict),
                                 uInt(dict));
        }
        std::string packed(deflateBound(&zs, uLong(n)), '\0');
        zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data() + pos));
        zs.avail_in = uInt(n);
        zs.next_out = reinterpret_cast<Bytef*>(&packed[0]);
        zs.avail_out = uInt(packed.size());
        EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
        packed.resize(zs.total_out);
        deflateEnd(&zs);
        put16(out, uint32_t(n));
        put16(out, uint32_t(packed.size() + 2));
        out += "CK";
        out += packed;
    }
    return out;
}

std::string writeFile(const std::vector<XNode>& objects, Form form) {
    switch (form) {
    case Form::Text: return "xof 0303txt 0032" + writeText(objects);
    case Form::Binary32: return "xof 0303bin 0032" + writeBinary(objects, 32);
    case Form::Binary64: return "xof 0303bin 0064" + writeBinary(objects, 64);
    case Form::TextZip: return "xof 0303tzip0032" + compressMszip(writeText(objects));
    case Form::BinaryZip32: return "xof 0303bzip0032" + compressMszip(writeBinary(objects, 32));
    case Form::BinaryZip64: return "xof 0302bzip0064" + compressMszip(writeBinary(objects, 64));
    }
    return std::string();
}

std::string saveTemp(const std::string& name, const std::string& bytes) {
    std::string path = ::testing::TempDir() + "zv_xfile_" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr) << path;
    if (f) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return path;
}

}  // namespace xtest
