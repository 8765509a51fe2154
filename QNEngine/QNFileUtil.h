// Opening files named by the game's own paths ("Logs\QNResultLog.htm"):
// backslashes separate folders on every platform the game runs on.
#ifndef QN_FILE_UTIL_H
#define QN_FILE_UTIL_H

#include <cstddef>
#include <cstdio>

// Copies path into out (at most size bytes, always terminated) with '\'
// turned into the separator of this platform. False if it did not fit.
bool qnNativePath(const char* path, char* out, size_t size);

// fopen on the native form of path; null when the path is null or too long.
FILE* qnOpenFile(const char* path, const char* mode);

// Writes length bytes of text to path so that path afterwards holds either
// its old content or all of text, never a part: a temporary file beside it
// is written, flushed to the disk and renamed over path. False (the
// temporary removed) on any failure.
bool qnReplaceFile(const char* path, const char* text, size_t length);

#endif
