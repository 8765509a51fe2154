#include "XFileLexer.h"

#include <cstring>

namespace d3dxfile {

namespace {

// Binary token values (little-endian WORDs).
enum : uint32_t {
    kTokName = 1,
    kTokString = 2,
    kTokInteger = 3,
    kTokGuid = 5,
    kTokIntegerList = 6,
    kTokFloatList = 7,
    kTokOBrace = 10,
    kTokCBrace = 11,
    kTokOParen = 12,
    kTokCParen = 13,
    kTokOBracket = 14,
    kTokCBracket = 15,
    kTokOAngle = 16,
    kTokCAngle = 17,
    kTokDot = 18,
    kTokComma = 19,
    kTokSemicolon = 20,
    kTokTemplate = 31,
    kTokFirstPrimitive = 40,  // WORD
    kTokLastPrimitive = 52,   // ARRAY
};

bool isSpace(uint8_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

bool isDelimiter(uint8_t c) {
    return isSpace(c) || c == '{' || c == '}' || c == '(' || c == ')' || c == '[' || c == ']' ||
           c == '<' || c == '>' || c == ',' || c == ';' || c == '"';
}

}  // namespace

XFileLexer::XFileLexer(const uint8_t* body, size_t size, bool binary, int floatBytes)
    : m_data(body), m_size(size), m_binary(binary), m_floatBytes(floatBytes) {}

bool XFileLexer::next(XToken& tok) {
    tok.kind = XTok::End;
    tok.text.clear();
    tok.integer = 0;
    tok.list = nullptr;
    tok.count = 0;
    return m_binary ? nextBinary(tok) : nextText(tok);
}

double XFileLexer::listValue(const XToken& tok, uint32_t i) const {
    if (tok.kind == XTok::IntegerList) {
        const uint8_t* p = tok.list + size_t(i) * 4;
        return double(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                      uint32_t(p[3]) << 24);
    }
    if (m_floatBytes == 8) {
        double d;
        std::memcpy(&d, tok.list + size_t(i) * 8, 8);
        return d;
    }
    float f;
    std::memcpy(&f, tok.list + size_t(i) * 4, 4);
    return f;
}

bool XFileLexer::readU16(uint32_t& v) {
    if (remaining() < 2) return false;
    v = uint32_t(m_data[m_pos]) | uint32_t(m_data[m_pos + 1]) << 8;
    m_pos += 2;
    return true;
}

bool XFileLexer::readU32(uint32_t& v) {
    if (remaining() < 4) return false;
    v = uint32_t(m_data[m_pos]) | uint32_t(m_data[m_pos + 1]) << 8 |
        uint32_t(m_data[m_pos + 2]) << 16 | uint32_t(m_data[m_pos + 3]) << 24;
    m_pos += 4;
    return true;
}

bool XFileLexer::nextText(XToken& tok) {
    for (;;) {
        while (m_pos < m_size && isSpace(m_data[m_pos])) ++m_pos;
        if (m_pos >= m_size) return true;  // End
        uint8_t c = m_data[m_pos];
        bool comment = c == '#' || (c == '/' && m_pos + 1 < m_size && m_data[m_pos + 1] == '/');
        if (!comment) break;
        while (m_pos < m_size && m_data[m_pos] != '\n' && m_data[m_pos] != '\r') ++m_pos;
    }
    uint8_t c = m_data[m_pos];
    switch (c) {
    case '{': tok.kind = XTok::OBrace; ++m_pos; return true;
    case '}': tok.kind = XTok::CBrace; ++m_pos; return true;
    case '(': tok.kind = XTok::OParen; ++m_pos; return true;
    case ')': tok.kind = XTok::CParen; ++m_pos; return true;
    case '[': tok.kind = XTok::OBracket; ++m_pos; return true;
    case ']': tok.kind = XTok::CBracket; ++m_pos; return true;
    case ',': tok.kind = XTok::Comma; ++m_pos; return true;
    case ';': tok.kind = XTok::Semicolon; ++m_pos; return true;
    case '>': tok.kind = XTok::CAngle; ++m_pos; return true;
    case '<': {
        // A class id: everything up to the closing angle bracket.
        size_t end = m_pos + 1;
        while (end < m_size && m_data[end] != '>' && m_data[end] != '\n') ++end;
        if (end >= m_size || m_data[end] != '>') return false;
        tok.kind = XTok::Guid;
        m_pos = end + 1;
        return true;
    }
    case '"': {
        size_t end = m_pos + 1;
        while (end < m_size && m_data[end] != '"') ++end;
        if (end >= m_size) return false;
        tok.kind = XTok::String;
        tok.text.assign(reinterpret_cast<const char*>(m_data + m_pos + 1), end - m_pos - 1);
        m_pos = end + 1;
        return true;
    }
    default: break;
    }
    size_t end = m_pos;
    while (end < m_size && !isDelimiter(m_data[end])) ++end;
    tok.kind = XTok::Name;
    tok.text.assign(reinterpret_cast<const char*>(m_data + m_pos), end - m_pos);
    m_pos = end;
    return true;
}

bool XFileLexer::nextBinary(XToken& tok) {
    if (remaining() == 0) return true;  // End
    uint32_t token, count;
    if (!readU16(token)) return false;
    switch (token) {
    case kTokName:
    case kTokString:
        if (!readU32(count) || count > remaining()) return false;
        tok.kind = token == kTokName ? XTok::Name : XTok::String;
        tok.text.assign(reinterpret_cast<const char*>(m_data + m_pos), count);
        m_pos += count;
        if (token == kTokString && remaining() >= 4) {
            // The string's terminator: a separator token, which some writers
            // store as a DWORD. A zero WORD is no token, so it can only be the
            // upper half of such a DWORD.
            uint32_t sep = m_data[m_pos] | m_data[m_pos + 1] << 8;
            uint32_t upper = m_data[m_pos + 2] | m_data[m_pos + 3] << 8;
            if ((sep == kTokComma || sep == kTokSemicolon) && upper == 0) m_pos += 4;
        }
        return true;
    case kTokInteger:
        tok.kind = XTok::Integer;
        return readU32(tok.integer);
    case kTokGuid:
        if (remaining() < 16) return false;
        tok.kind = XTok::Guid;
        m_pos += 16;
        return true;
    case kTokIntegerList:
    case kTokFloatList: {
        if (!readU32(count)) return false;
        size_t elementSize = token == kTokIntegerList ? 4 : size_t(m_floatBytes);
        if (count > remaining() / elementSize) return false;
        tok.kind = token == kTokIntegerList ? XTok::IntegerList : XTok::FloatList;
        tok.list = m_data + m_pos;
        tok.count = count;
        m_pos += count * elementSize;
        return true;
    }
    case kTokOBrace: tok.kind = XTok::OBrace; return true;
    case kTokCBrace: tok.kind = XTok::CBrace; return true;
    case kTokOParen: tok.kind = XTok::OParen; return true;
    case kTokCParen: tok.kind = XTok::CParen; return true;
    case kTokOBracket: tok.kind = XTok::OBracket; return true;
    case kTokCBracket: tok.kind = XTok::CBracket; return true;
    case kTokOAngle: tok.kind = XTok::OAngle; return true;
    case kTokCAngle: tok.kind = XTok::CAngle; return true;
    case kTokDot: tok.kind = XTok::Dot; return true;
    case kTokComma: tok.kind = XTok::Comma; return true;
    case kTokSemicolon: tok.kind = XTok::Semicolon; return true;
    case kTokTemplate: tok.kind = XTok::Template; return true;
    default:
        if (token >= kTokFirstPrimitive && token <= kTokLastPrimitive) {
            tok.kind = XTok::Primitive;
            return true;
        }
        return false;
    }
}

}  // namespace d3dxfile
