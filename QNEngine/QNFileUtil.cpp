#include "QNFileUtil.h"

#include <cstdio>

#include <windows.h>

bool qnReplaceFile(const char* path, const char* text, size_t length) {
    char temporary[260];
    int n = std::snprintf(temporary, sizeof temporary, "%s.tmp", path);
    if (n < 0 || n >= static_cast<int>(sizeof temporary)) return false;
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr) && written == length;
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
    ok = ok && MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileA(temporary);
    return ok;
}
