#include "QNScriptHelper.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "QNMemory.h"

namespace {

// "Script: " and the path, cut to what the text has room for.
void formatScriptInfo(char* info, size_t size, const char* path) {
    std::snprintf(info, size, "Script: %s", path);
}

// Scripts and level files are a few hundred bytes; anything this large is
// not one, and reading it would only fill the memory.
const DWORD kMaxScriptBytes = 16u << 20;

// "Script too large: " and the path, cut like the other reports.
void formatTooLarge(char* info, size_t size, const char* path) {
    std::snprintf(info, size, "Script too large: %s", path);
}

HANDLE openScript(const char* path) {
    return CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

}  // namespace

QNRESULT CScriptHelper::getFileSize(const char* path, uint32_t* size) {
    if (!path || !size)
        return logResult(QNRSLT_INVALIDPARAM, "CScriptHelper::getFileSize( )", nullptr, 0);
    HANDLE file = openScript(path);
    if (file == INVALID_HANDLE_VALUE) {
        char info[50];
        formatScriptInfo(info, sizeof info, path);
        return logResult(QNRSLT_MISSINGSCRIPT, "CScriptHelper::getFileSize( )", info, 0);
    }
    DWORD high = 0;
    DWORD low = GetFileSize(file, &high);
    CloseHandle(file);
    // Scripts are small; a file too large for the buffer size is refused
    // rather than wrapped around to a tiny buffer.
    if (high != 0 || low == INVALID_FILE_SIZE || low > kMaxScriptBytes) {
        char info[50];
        formatTooLarge(info, sizeof info, path);
        return logResult(QNRSLT_MISSINGSCRIPT, "CScriptHelper::getFileSize( )", info, 0);
    }
    *size = low + 1;
    return QNRSLT_OK;
}

QNRESULT CScriptHelper::extractContectsFromFile(const char* path, char* buffer, uint32_t bufferSize) {
    if (!path)
        return logResult(QNRSLT_INVALIDPARAM, "CScriptHelper::extractContectsFromFile( )", nullptr, 0);
    HANDLE file = openScript(path);
    if (file == INVALID_HANDLE_VALUE) {
        char info[50];
        formatScriptInfo(info, sizeof info, path);
        return logResult(QNRSLT_MISSINGSCRIPT, "CScriptHelper::extractContectsFromFile( )", info, 0);
    }
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    if (high != 0 || size == INVALID_FILE_SIZE || size > kMaxScriptBytes || !buffer) {
        CloseHandle(file);
        if (!buffer)
            return logResult(QNRSLT_INVALIDPARAM, "CScriptHelper::extractContectsFromFile( )",
                             nullptr, 0);
        char info[50];
        formatTooLarge(info, sizeof info, path);
        return logResult(QNRSLT_MISSINGSCRIPT, "CScriptHelper::extractContectsFromFile( )", info, 0);
    }
    uint32_t n = size + 1;
    setOwner(__FILE__, __LINE__, "??");
    char* temp = new char[n];
    std::memset(temp, 0, n);
    DWORD read = 0;
    ReadFile(file, temp, n - 1, &read, nullptr);
    CloseHandle(file);
    // Only what was read is copied, and never more than the caller's buffer
    // holds: it was sized by an earlier look at the file.
    if (bufferSize > 0 && read > bufferSize - 1) read = bufferSize - 1;
    std::memcpy(buffer, temp, read);
    setOwner(__FILE__, __LINE__, "??");
    delete[] temp;
    return QNRSLT_OK;
}

QNRESULT CScriptHelper::stripComments(const char* in, char* out) {
    if (!in || !out) return QNRSLT_OK;
    // Kept pieces never grow the text, so writing forward into the same
    // buffer never overtakes the reading position.
    const char* pos = in;
    char* dst = out;
    for (;;) {
        const char* comment = std::strstr(pos, "//");
        if (!comment) {
            size_t rest = std::strlen(pos);
            std::memmove(dst, pos, rest);
            dst += rest;
            break;
        }
        size_t keep = static_cast<size_t>(comment - pos);
        std::memmove(dst, pos, keep);
        dst += keep;
        const char* lineEnd = std::strchr(comment + 2, '\n');
        if (!lineEnd) break;
        pos = lineEnd + 1;
    }
    *dst = '\0';
    return QNRSLT_OK;
}

QNRESULT CScriptHelper::readScript(const char* path, char** text) {
    if (!text) return QNRSLT_INVALIDPARAM;
    *text = nullptr;
    uint32_t size = 0;
    QNRESULT r = getFileSize(path, &size);
    if (r > QNRSLT_OK) return r;
    setOwner(__FILE__, __LINE__, "??");
    char* buffer = new char[size];
    std::memset(buffer, 0, size);
    r = extractContectsFromFile(path, buffer, size);
    if (r > QNRSLT_OK) {
        freeScript(buffer);
        return r;
    }
    stripComments(buffer, buffer);
    *text = buffer;
    return QNRSLT_OK;
}

void CScriptHelper::freeScript(char* text) {
    setOwner(__FILE__, __LINE__, "??");
    delete[] text;
}
