#include "QNFileUtil.h"

#include <cstring>

bool qnNativePath(const char* path, char* out, size_t size) {
    if (!path || !out || size == 0) return false;
    size_t n = std::strlen(path);
    if (n >= size) {
        out[0] = '\0';
        return false;
    }
    for (size_t i = 0; i <= n; ++i) out[i] = path[i] == '\\' ? '/' : path[i];
    return true;
}

FILE* qnOpenFile(const char* path, const char* mode) {
    char native[4096];
    if (!qnNativePath(path, native, sizeof native)) return nullptr;
    return std::fopen(native, mode);
}
