// Tokens of a .x body, text or binary, behind one interface.
#ifndef ZV_D3DX9_XFILE_XFILELEXER_H
#define ZV_D3DX9_XFILE_XFILELEXER_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace d3dxfile {

enum class XTok {
    End,
    Name,         // text: any bare word, numbers included; binary: TOKEN_NAME
    String,       // "..." / TOKEN_STRING
    Integer,      // binary TOKEN_INTEGER
    Guid,         // <...> / TOKEN_GUID
    IntegerList,  // binary TOKEN_INTEGER_LIST
    FloatList,    // binary TOKEN_FLOAT_LIST
    OBrace,
    CBrace,
    OParen,
    CParen,
    OBracket,
    CBracket,
    OAngle,
    CAngle,
    Dot,
    Comma,
    Semicolon,
    Template,   // binary TOKEN_TEMPLATE (text gives the word as a Name)
    Primitive,  // binary WORD, DWORD, FLOAT, ... ARRAY keywords (templates only)
};

struct XToken {
    XTok kind = XTok::End;
    std::string text;               // Name and String
    uint32_t integer = 0;           // Integer
    const uint8_t* list = nullptr;  // IntegerList / FloatList elements, already bounds-checked
    uint32_t count = 0;             // number of list elements
};

class XFileLexer {
public:
    // `body` is the file after its 16-byte header (decompressed when needed);
    // it must outlive the lexer. floatBytes is 4 or 8 (binary float lists).
    XFileLexer(const uint8_t* body, size_t size, bool binary, int floatBytes);

    // Reads the next token; false for bytes that form no token (an unknown
    // binary token, a record longer than the data, an unterminated string).
    // At the end of the data the token is End.
    bool next(XToken& tok);

    // Element i (< tok.count) of a list token.
    double listValue(const XToken& tok, uint32_t i) const;

    bool binary() const { return m_binary; }

private:
    bool nextText(XToken& tok);
    bool nextBinary(XToken& tok);
    bool readU16(uint32_t& v);
    bool readU32(uint32_t& v);
    size_t remaining() const { return m_size - m_pos; }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_binary;
    int m_floatBytes;
};

}  // namespace d3dxfile

#endif
