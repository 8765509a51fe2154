// The tree of data objects read from a .x file, before any meaning is given
// to them. Templates are not kept: the builders know the layouts of the
// standard templates they use, so an object is just its flattened member
// values in file order plus its nested objects and references.
#ifndef ZV_D3DX9_XFILE_XFILEDOCUMENT_H
#define ZV_D3DX9_XFILE_XFILEDOCUMENT_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace d3dxfile {

// Why a file could not be read; the loader maps these to HRESULTs.
enum class XError {
    None,
    FileNotFound,     // missing or unreadable file
    BadFileType,      // not "xof ", or an unknown format
    BadFileVersion,   // version other than 0302 / 0303
    BadFloatSize,     // float size other than 0032 / 0064
    BadCompression,   // a compressed chunk that is truncated, corrupt or lies about its size
    ParseError,       // a token stream that does not follow the grammar (or nests too deep)
    BadReference,     // {Name} naming no object where one is needed
    InvalidData,      // counts or indices that do not fit the data
    NoFrames,         // nothing to build a hierarchy from
    OutOfMemory,
};

// One primitive member value: a number (integers and floats alike, exactly
// representable in a double), or a string kept in XObject::strings.
struct XValue {
    double number;
    int32_t stringIndex;  // -1 for numbers
};

struct XObject;

// A nested data object, or a reference {Name} to one declared elsewhere.
struct XChild {
    std::unique_ptr<XObject> object;  // null for a reference
    std::string reference;
};

struct XObject {
    std::string type;  // template name, e.g. "Mesh"
    std::string name;  // empty when the object has none
    std::vector<XValue> values;
    std::vector<std::string> strings;
    std::vector<XChild> children;
};

struct XDocument {
    std::vector<std::unique_ptr<XObject>> objects;  // top-level data objects in file order
};

// Deepest nesting of data objects (and of template braces) a file may use.
constexpr int kMaxNesting = 64;

}  // namespace d3dxfile

#endif
