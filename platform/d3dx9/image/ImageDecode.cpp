#include "ImageDecode.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "win32/PathResolver.h"

namespace d3dximage {

namespace {

// Larger files are refused rather than read: no image this layer accepts
// (16384 x 16384 at four bytes a pixel, with mips) comes near it.
constexpr long long kMaxFileBytes = 1LL << 31;

bool startsWith(const uint8_t* data, size_t size, const char* sig, size_t sigLen) {
    if (size < sigLen) return false;
    for (size_t i = 0; i < sigLen; ++i) {
        if (data[i] != static_cast<uint8_t>(sig[i])) return false;
    }
    return true;
}

}  // namespace

HRESULT decodeImage(const uint8_t* data, size_t size, DecodeMode mode, DecodedImage* out) {
    *out = DecodedImage();
    if (!data) return D3DXERR_INVALIDDATA;
    if (startsWith(data, size, "\x89PNG\r\n\x1a\n", 8)) return decodePng(data, size, mode, out);
    if (startsWith(data, size, "\xff\xd8\xff", 3)) return decodeJpeg(data, size, mode, out);
    if (startsWith(data, size, "BM", 2)) return decodeBmp(data, size, mode, out);
    if (startsWith(data, size, "DDS ", 4)) return decodeDds(data, size, mode, out);
    return D3DXERR_INVALIDDATA;
}

bool readWholeFile(const char* path, std::vector<uint8_t>* bytes) {
    bytes->clear();
    if (!path || !*path) return false;
    std::string unixPath = PathResolver::instance().resolve(path, PathResolver::Read);
    struct stat st;
    if (stat(unixPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (st.st_size < 0 || st.st_size > kMaxFileBytes) return false;

    std::FILE* file = std::fopen(unixPath.c_str(), "rb");
    if (!file) return false;
    bytes->resize(static_cast<size_t>(st.st_size));
    size_t got = bytes->empty() ? 0 : std::fread(bytes->data(), 1, bytes->size(), file);
    bool ok = got == bytes->size() && !std::ferror(file);
    std::fclose(file);
    if (!ok) bytes->clear();
    return ok;
}

}  // namespace d3dximage
