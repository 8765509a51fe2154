// Reading script files whole and removing their "//" comments. Loaders then
// walk the text with strtok and the delimiter sets below.
#ifndef QN_SCRIPT_HELPER_H
#define QN_SCRIPT_HELPER_H

#include <cstdint>

#include "QNResults.h"

// Separators of every keyword, number and word value.
#define QN_DELIMITERS_STANDARD "\r\n\t ,;{}"
// Separators of path values, which may contain blanks.
#define QN_DELIMITERS_PATH "\r\n\t,;{}"

class CScriptHelper {
public:
    // Stores the file's size plus one (room for the terminating zero).
    static QNRESULT getFileSize(const char* path, uint32_t* size);
    // Copies the whole file into buffer, which the caller allocated with the
    // size from getFileSize and zero-filled. Given bufferSize (that size),
    // it never writes more than bufferSize - 1 bytes, even if the file grew
    // after getFileSize; every loader passes it.
    static QNRESULT extractContectsFromFile(const char* path, char* buffer, uint32_t bufferSize = 0);
    // Writes in without its comments into out (in and out may be the same
    // buffer). A comment runs from "//" through the next line feed.
    static QNRESULT stripComments(const char* in, char* out);

    // The common start of every parse: getFileSize, a zeroed tracked buffer,
    // extractContectsFromFile, stripComments. On success *text owns the
    // text (free it with freeScript); on failure *text is null and the
    // failure has been reported by the step that failed.
    static QNRESULT readScript(const char* path, char** text);
    static void freeScript(char* text);
};

#endif
