#include "MszipInflate.h"

#include <zlib.h>

#include <algorithm>

namespace d3dxfile {

namespace {

constexpr size_t kMaxChunk = 32768;
constexpr size_t kHistory = 32768;

uint32_t readU16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t readU32(const uint8_t* p) { return readU16(p) | readU16(p + 2) << 16; }

// Inflates one chunk onto the end of `out`; exactly `expected` bytes must come out.
bool inflateChunk(z_stream& zs, const uint8_t* in, size_t inSize, size_t expected,
                  std::vector<uint8_t>& out) {
    if (inflateReset(&zs) != Z_OK) return false;
    if (!out.empty()) {
        size_t dictSize = std::min(out.size(), kHistory);
        if (inflateSetDictionary(&zs, out.data() + out.size() - dictSize, uInt(dictSize)) != Z_OK)
            return false;
    }
    size_t start = out.size();
    out.resize(start + expected);
    zs.next_in = const_cast<Bytef*>(in);
    zs.avail_in = uInt(inSize);
    zs.next_out = out.data() + start;
    zs.avail_out = uInt(expected);
    int rc = inflate(&zs, Z_FINISH);
    if (rc == Z_STREAM_END) return zs.avail_out == 0;
    // A block closed by a sync flush instead of the final-block bit is still
    // whole if it filled the chunk with all of its input.
    return (rc == Z_OK || rc == Z_BUF_ERROR) && zs.avail_out == 0 && zs.avail_in == 0;
}

}  // namespace

bool inflateMszip(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
    out.clear();
    if (size < 4) return false;
    uint32_t total = readU32(data);
    if (total < 16) return false;
    const size_t expectedBody = size_t(total) - 16;

    z_stream zs = {};
    if (inflateInit2(&zs, -15) != Z_OK) return false;
    size_t pos = 4;
    bool ok = true;
    while (ok && pos < size) {
        if (size - pos < 6) {
            ok = false;
            break;
        }
        size_t rawSize = readU16(data + pos);
        size_t packedSize = readU16(data + pos + 2);
        if (rawSize == 0 || rawSize > kMaxChunk || packedSize < 2 || packedSize > size - pos - 4 ||
            data[pos + 4] != 'C' || data[pos + 5] != 'K' || out.size() + rawSize > expectedBody) {
            ok = false;
            break;
        }
        ok = inflateChunk(zs, data + pos + 6, packedSize - 2, rawSize, out);
        pos += 4 + packedSize;
    }
    inflateEnd(&zs);
    if (!ok || out.size() != expectedBody) {
        out.clear();
        out.shrink_to_fit();
        return false;
    }
    return true;
}

}  // namespace d3dxfile
