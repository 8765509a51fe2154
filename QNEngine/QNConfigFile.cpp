#include "QNConfigFile.h"

#include <cstdio>
#include <cstring>

#include "QNFileUtil.h"
#include "QNMemory.h"
#include "QNScriptHelper.h"

namespace {

const char kLocation[] = "CQNConfigFile::setValue( )";
const size_t kMaxConfigBytes = 64 * 1024;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool CQNConfigFile::withValue(const char* text, const char* key, const char* value, char* out, size_t size) {
    if (!text || !key || !value || !out || size == 0) return false;
    const size_t keyLength = std::strlen(key);
    const char* replaceFrom = nullptr;
    const char* replaceTo = nullptr;
    const char* newline = "\n";
    for (const char* line = text; *line;) {
        const char* end = std::strchr(line, '\n');
        if (!end) end = line + std::strlen(line);
        if (*end == '\n' && end > line && end[-1] == '\r') newline = "\r\n";
        const char* token = line;
        while (token < end && isBlank(*token)) ++token;
        const char* after = token + keyLength;
        if (!replaceFrom && after <= end && std::strncmp(token, key, keyLength) == 0 &&
            (after == end || isBlank(*after) || *after == '\r')) {
            replaceFrom = token;
            replaceTo = end;
            if (replaceTo > token && replaceTo[-1] == '\r') --replaceTo;
        }
        line = *end ? end + 1 : end;
    }

    size_t length = 0;
    auto put = [&](const char* from, size_t n) {
        if (length + n >= size) return false;
        std::memcpy(out + length, from, n);
        length += n;
        return true;
    };
    bool ok = true;
    const size_t textLength = std::strlen(text);
    if (replaceFrom) {
        ok = put(text, static_cast<size_t>(replaceFrom - text)) && put(key, keyLength) && put(" ", 1) &&
             put(value, std::strlen(value)) && put(replaceTo, std::strlen(replaceTo));
    } else {
        ok = put(text, textLength);
        if (ok && textLength > 0 && text[textLength - 1] != '\n') ok = put(newline, std::strlen(newline));
        ok = ok && put(key, keyLength) && put(" ", 1) && put(value, std::strlen(value)) &&
             put(newline, std::strlen(newline));
    }
    out[ok ? length : 0] = '\0';
    return ok;
}

QNRESULT CQNConfigFile::setValue(const char* path, const char* key, const char* value) {
    uint32_t size = 0;
    QNRESULT result = CScriptHelper::getFileSize(path, &size);
    if (result > QNRSLT_OK) return result;
    if (size > kMaxConfigBytes) return logResult(QNRSLT_INVALIDPARAM, kLocation, path, 0);

    const size_t outSize = size + std::strlen(key) + std::strlen(value) + 8;
    setOwner(__FILE__, __LINE__, "??");
    char* text = new char[size + outSize];
    std::memset(text, 0, size + outSize);
    char* out = text + size;
    result = CScriptHelper::extractContectsFromFile(path, text, size);
    if (result <= QNRSLT_OK) {
        if (!withValue(text, key, value, out, outSize))
            result = logResult(QNRSLT_INVALIDPARAM, kLocation, path, 0);
        else if (!qnReplaceFile(path, out, std::strlen(out)))
            result = logResult(QNRSLT_MISSINGSCRIPT, kLocation, path, 0);
    }
    setOwner(__FILE__, __LINE__, "??");
    delete[] text;
    return result;
}
