#include "XFileParser.h"

#include "DecimalText.h"
#include "MszipInflate.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace d3dxfile {

namespace {

// Larger files are refused rather than read whole into memory.
constexpr long kMaxFileSize = 256L * 1024 * 1024;

}  // namespace

bool parseTextNumber(const std::string& word, double& value) {
    const char* first = word.data();
    const char* last = first + word.size();
    if (first != last && *first == '+') ++first;
    if (first == last) return false;
    // Only words that start like a number: keeps "inf"/"nan" (and type names
    // such as "Info") from being read as values.
    char c = *first == '-' ? (first + 1 < last ? first[1] : 0) : *first;
    if (!((c >= '0' && c <= '9') || c == '.')) return false;
    const char* end = readDecimal(first, last, value);
    if (!end) return false;
    if (end == last) return true;
    if (*end == '#' && end > first && end[-1] == '.') {
        value = 0.0;  // "1.#QNAN0", "-1.#IND00": an exporter's printed NaN
        return true;
    }
    return false;
}

XError XFileParser::parse(const uint8_t* file, size_t size, XDocument& doc) {
    doc.objects.clear();
    if (size < 16 || std::memcmp(file, "xof ", 4) != 0) return XError::BadFileType;
    if (std::memcmp(file + 4, "03", 2) != 0 || file[6] < '0' || file[6] > '9' || file[7] < '0' ||
        file[7] > '9')
        return XError::BadFileVersion;
    bool binary, compressed;
    if (std::memcmp(file + 8, "txt ", 4) == 0) {
        binary = false, compressed = false;
    } else if (std::memcmp(file + 8, "bin ", 4) == 0) {
        binary = true, compressed = false;
    } else if (std::memcmp(file + 8, "tzip", 4) == 0) {
        binary = false, compressed = true;
    } else if (std::memcmp(file + 8, "bzip", 4) == 0) {
        binary = true, compressed = true;
    } else {
        return XError::BadFileType;
    }
    int floatBytes;
    if (std::memcmp(file + 12, "0032", 4) == 0) {
        floatBytes = 4;
    } else if (std::memcmp(file + 12, "0064", 4) == 0) {
        floatBytes = 8;
    } else {
        return XError::BadFloatSize;
    }

    std::vector<uint8_t> inflated;
    const uint8_t* body = file + 16;
    size_t bodySize = size - 16;
    if (compressed) {
        if (!inflateMszip(body, bodySize, inflated)) return XError::BadCompression;
        body = inflated.data();
        bodySize = inflated.size();
    }
    XFileLexer lexer(body, bodySize, binary, floatBytes);
    XFileParser parser(lexer);
    XError err = parser.parseTopLevel(doc);
    if (err != XError::None) doc.objects.clear();
    return err;
}

XError XFileParser::parseFile(const char* path, XDocument& doc) {
    doc.objects.clear();
    FILE* f = path ? std::fopen(path, "rb") : nullptr;
    if (!f) return XError::FileNotFound;
    std::vector<uint8_t> bytes;
    long size = -1;
    if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
    bool ok = size >= 0 && size <= kMaxFileSize && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(size_t(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
    }
    std::fclose(f);
    if (!ok) return XError::FileNotFound;
    return parse(bytes.data(), bytes.size(), doc);
}

bool XFileParser::nextToken() { return m_lexer.next(m_tok); }

XError XFileParser::parseTopLevel(XDocument& doc) {
    for (;;) {
        if (!nextToken()) return XError::ParseError;
        switch (m_tok.kind) {
        case XTok::End: return XError::None;
        case XTok::Semicolon:
        case XTok::Comma: continue;
        case XTok::Template: {
            XError err = skipTemplate();
            if (err != XError::None) return err;
            continue;
        }
        case XTok::Name: {
            if (m_tok.text == "template") {
                XError err = skipTemplate();
                if (err != XError::None) return err;
                continue;
            }
            std::unique_ptr<XObject> obj;
            XError err = parseObject(m_tok.text, 1, obj);
            if (err != XError::None) return err;
            doc.objects.push_back(std::move(obj));
            continue;
        }
        default: return XError::ParseError;
        }
    }
}

XError XFileParser::skipTemplate() {
    if (!nextToken() || m_tok.kind != XTok::Name) return XError::ParseError;
    if (!nextToken() || m_tok.kind != XTok::OBrace) return XError::ParseError;
    int depth = 1;
    while (depth > 0) {
        if (!nextToken() || m_tok.kind == XTok::End) return XError::ParseError;
        if (m_tok.kind == XTok::OBrace && ++depth > kMaxNesting) return XError::ParseError;
        if (m_tok.kind == XTok::CBrace) --depth;
    }
    return XError::None;
}

XError XFileParser::parseObject(std::string type, int depth, std::unique_ptr<XObject>& out) {
    if (depth > kMaxNesting) return XError::ParseError;
    auto obj = std::unique_ptr<XObject>(new (std::nothrow) XObject());
    if (!obj) return XError::OutOfMemory;
    obj->type = std::move(type);
    if (!nextToken()) return XError::ParseError;
    if (m_tok.kind == XTok::Name) {
        obj->name = std::move(m_tok.text);
        if (!nextToken()) return XError::ParseError;
    }
    if (m_tok.kind == XTok::Guid && !nextToken()) return XError::ParseError;
    if (m_tok.kind != XTok::OBrace) return XError::ParseError;
    XError err = parseBody(*obj, depth);
    if (err != XError::None) return err;
    out = std::move(obj);
    return XError::None;
}

XError XFileParser::parseBody(XObject& obj, int depth) {
    for (;;) {
        if (!nextToken()) return XError::ParseError;
        switch (m_tok.kind) {
        case XTok::End: return XError::ParseError;  // truncated
        case XTok::CBrace: return XError::None;
        case XTok::Semicolon:
        case XTok::Comma:
        case XTok::Guid: continue;
        case XTok::Name: {
            double number;
            if (!m_lexer.binary() && parseTextNumber(m_tok.text, number)) {
                obj.values.push_back(XValue{number, -1});
                continue;
            }
            std::unique_ptr<XObject> child;
            XError err = parseObject(m_tok.text, depth + 1, child);
            if (err != XError::None) return err;
            obj.children.push_back(XChild{std::move(child), std::string()});
            continue;
        }
        case XTok::String:
            obj.values.push_back(XValue{0.0, int32_t(obj.strings.size())});
            obj.strings.push_back(std::move(m_tok.text));
            continue;
        case XTok::Integer: obj.values.push_back(XValue{double(m_tok.integer), -1}); continue;
        case XTok::IntegerList:
        case XTok::FloatList:
            obj.values.reserve(obj.values.size() + m_tok.count);
            for (uint32_t i = 0; i < m_tok.count; ++i)
                obj.values.push_back(XValue{m_lexer.listValue(m_tok, i), -1});
            continue;
        case XTok::OBrace: {
            XError err = parseReference(obj);
            if (err != XError::None) return err;
            continue;
        }
        default: return XError::ParseError;
        }
    }
}

XError XFileParser::parseReference(XObject& obj) {
    std::string name;
    if (!nextToken()) return XError::ParseError;
    if (m_tok.kind == XTok::Name) {
        name = std::move(m_tok.text);
        if (!nextToken()) return XError::ParseError;
    }
    if (m_tok.kind == XTok::Guid && !nextToken()) return XError::ParseError;
    if (m_tok.kind != XTok::CBrace) return XError::ParseError;
    obj.children.push_back(XChild{nullptr, std::move(name)});
    return XError::None;
}

}  // namespace d3dxfile
