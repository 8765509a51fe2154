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

#endif
