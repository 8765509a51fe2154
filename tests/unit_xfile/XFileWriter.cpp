#include "XFileWriter.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace xtest {

const char* formName(Form f) {
    const char* names[] = {"text", "binary32", "binary64", "tzip", "bzip32", "bzip64"};
    return names[int(f)];
}

namespace {

void textNode(const XNode& n, std::string& out, const std::string& pad) {
    out += pad + n.type + (n.name.empty() ? "" : " " + n.name) + " {\n" + pad + " ";
    char buf[64];
    for (size_t k = 0; k < n.items.size(); ++k) {
        const XNode::Item& it = n.items[k];
        // Members end with ';'; a run of numbers also gets the ',' array
        // separators real exporters write.
        switch (it.kind) {
        case XNode::Item::Int: std::snprintf(buf, sizeof buf, "%u;", uint32_t(it.number)); out += buf; break;
        case XNode::Item::Float: std::snprintf(buf, sizeof buf, "%.9g;", it.number); out += buf; break;
        case XNode::Item::String: out += "\"" + it.text + "\";"; break;
        case XNode::Item::Child:
            out += "\n";
            textNode(*it.child, out, pad + " ");
            out += pad + " ";
            break;
        case XNode::Item::Ref: out += "{ " + it.text + " }\n" + pad + " "; break;
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
                const double d = n.items[k].number;
                const float f = float(d);
                if (it.kind == XNode::Item::Int) put32(out, uint32_t(d));
                else if (floatBits == 64) out.append(reinterpret_cast<const char*>(&d), 8);
                else out.append(reinterpret_cast<const char*>(&f), 4);
            }
            continue;
        }
        if (it.kind == XNode::Item::String) {
            put16(out, 2);
            put32(out, uint32_t(it.text.size()));
            out += it.text;
            put16(out, 20);
        } else if (it.kind == XNode::Item::Child) {
            binaryNode(*it.child, out, floatBits);
        } else {
            put16(out, 10);
            putName(out, it.text);
            put16(out, 11);
        }
        ++k;
    }
    put16(out, 11);
}

std::string writeBinary(const std::vector<XNode>& objects, int floatBits) {
    // template Vector { <guid> FLOAT x; array FLOAT rest[2]; [...] }, in tokens.
    std::string out;
    put16(out, 31);
    putName(out, "Vector");
    for (uint32_t t : {10, 5}) put16(out, t);
    out += std::string("\x5e\xab\x82\x3d\xda\x62\xcf\x11\xab\x39\x00\x20\xaf\x71\xe4\x33", 16);
    put16(out, 42);
    putName(out, "x");
    for (uint32_t t : {20, 52, 42}) put16(out, t);
    putName(out, "rest");
    for (uint32_t t : {14, 6}) put16(out, t);
    for (uint32_t v : {1, 2}) put32(out, v);
    for (uint32_t t : {15, 20, 14, 18, 18, 18, 15, 11}) put16(out, t);
    for (const XNode& n : objects) binaryNode(n, out, floatBits);
    return out;
}

}  // namespace

std::string writeText(const std::vector<XNode>& objects) {
    std::string out =
        "// written by the tests\n"
        "template Vector {\n <3d82ab5e-62da-11cf-ab39-0020af71e433>\n FLOAT x;\n FLOAT y;\n FLOAT z;\n}\n\n"
        "template Mesh {\n <3d82ab44-62da-11cf-ab39-0020af71e433>\n DWORD nVertices;\n"
        " array Vector vertices[nVertices];\n DWORD nFaces;\n array MeshFace faces[nFaces];\n [...]\n}\n\n";
    for (const XNode& n : objects) textNode(n, out, "");
    return out;
}

std::string compressMszip(const std::string& body) {
    std::string out;
    put32(out, uint32_t(body.size() + 16));
    for (size_t pos = 0; pos < body.size(); pos += 32768) {
        const size_t n = std::min<size_t>(32768, body.size() - pos);
        z_stream zs = {};
        EXPECT_EQ(deflateInit2(&zs, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
        const size_t dict = std::min<size_t>(pos, 32768);
        if (dict) deflateSetDictionary(&zs, reinterpret_cast<const Bytef*>(body.data() + pos - dict), uInt(dict));
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
        out += "CK" + packed;
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
    const std::string path = ::testing::TempDir() + "zv_xfile_" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

}  // namespace xtest
