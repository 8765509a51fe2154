// Reads a whole .x file (text, binary or MSZIP-compressed, 32- or 64-bit
// floats) into an XDocument. Templates declared in the file are checked for
// balanced braces and dropped; every data object is kept, known or not, so
// the builders decide what to skip.
#ifndef ZV_D3DX9_XFILE_XFILEPARSER_H
#define ZV_D3DX9_XFILE_XFILEPARSER_H

#include "XFileDocument.h"
#include "XFileLexer.h"

namespace d3dxfile {

class XFileParser {
public:
    // Parses `size` bytes starting with the 16-byte "xof " header. On failure
    // `doc` is left empty and the error names the first problem met.
    static XError parse(const uint8_t* file, size_t size, XDocument& doc);

    // Reads the file at `path` (a POSIX path) and parses it.
    static XError parseFile(const char* path, XDocument& doc);

private:
    explicit XFileParser(XFileLexer& lexer) : m_lexer(lexer) {}
    XError parseTopLevel(XDocument& doc);
    XError skipTemplate();
    // Parses an object whose type token has been read.
    XError parseObject(std::string type, int depth, std::unique_ptr<XObject>& out);
    XError parseBody(XObject& obj, int depth);
    XError parseReference(XObject& obj);
    bool nextToken();

    XFileLexer& m_lexer;
    XToken m_tok;
};

// Parses a whole text word as a number (".x" text numbers, including the
// "1.#QNAN0"-style words some exporters write for invalid floats, read as 0).
bool parseTextNumber(const std::string& word, double& value);

}  // namespace d3dxfile

#endif
