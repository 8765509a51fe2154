// Writing files named by the game's own paths ("Assets\Scripts\Config\...").
#ifndef QN_FILE_UTIL_H
#define QN_FILE_UTIL_H

#include <cstddef>

// Writes length bytes of text to path so that path afterwards holds either
// its old content or all of text, never a part: a temporary file beside it
// is written, flushed to the disk and renamed over path. False (the
// temporary removed) on any failure.
bool qnReplaceFile(const char* path, const char* text, size_t length);

#endif
