#include "XValueReader.h"

#include <cmath>

namespace d3dxfile {

bool XValueReader::readU32(uint32_t& v) {
    if (m_pos >= m_obj.values.size()) return false;
    const XValue& x = m_obj.values[m_pos];
    if (x.stringIndex >= 0 || !(x.number >= 0.0 && x.number <= 4294967295.0) ||
        std::floor(x.number) != x.number)
        return false;
    v = uint32_t(x.number);
    ++m_pos;
    return true;
}

bool XValueReader::readFloat(float& v) {
    if (m_pos >= m_obj.values.size() || m_obj.values[m_pos].stringIndex >= 0) return false;
    v = float(m_obj.values[m_pos++].number);
    return true;
}

bool XValueReader::readFloats(float* v, size_t count) {
    if (count > remaining()) return false;
    size_t start = m_pos;
    for (size_t i = 0; i < count; ++i) {
        if (!readFloat(v[i])) {
            m_pos = start;
            return false;
        }
    }
    return true;
}

bool XValueReader::readString(std::string& s) {
    if (m_pos >= m_obj.values.size() || m_obj.values[m_pos].stringIndex < 0) return false;
    s = m_obj.strings[size_t(m_obj.values[m_pos++].stringIndex)];
    return true;
}

}  // namespace d3dxfile
