// Reads an object's flattened member values in order, with the type and
// range checks every builder needs. A failed read leaves the position alone.
#ifndef ZV_D3DX9_XFILE_XVALUEREADER_H
#define ZV_D3DX9_XFILE_XVALUEREADER_H

#include "XFileDocument.h"

namespace d3dxfile {

class XValueReader {
public:
    explicit XValueReader(const XObject& obj) : m_obj(obj) {}

    // A whole number from 0 to 2^32 - 1.
    bool readU32(uint32_t& v);
    bool readFloat(float& v);
    bool readFloats(float* v, size_t count);
    bool readString(std::string& s);
    // Values not yet read: the bound for any count the file states before
    // anything is allocated for it.
    size_t remaining() const { return m_obj.values.size() - m_pos; }

private:
    const XObject& m_obj;
    size_t m_pos = 0;
};

}  // namespace d3dxfile

#endif
