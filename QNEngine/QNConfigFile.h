// Changing one key of a configuration file in place: the player's other
// lines, comments, blank lines and line ends stay byte for byte as they were.
#ifndef QN_CONFIG_FILE_H
#define QN_CONFIG_FILE_H

#include <cstddef>

#include "QNResults.h"

class CQNConfigFile {
public:
    // The text of the configuration with key (e.g. "[MUTE]") set to value:
    // the first line whose first token is key gets "key value" in place of
    // that token and the rest of its line; without such a line, "key value"
    // is added as a last line, with the line end the file already uses.
    // out receives at most size bytes, always terminated; false when the
    // result does not fit.
    static bool withValue(const char* text, const char* key, const char* value, char* out, size_t size);

    // Rewrites the file at path (a game path) with key set to value. The
    // file is replaced whole or not at all; a file that is missing, unread
    // or too long (over 64 KiB) is reported and left as it was.
    static QNRESULT setValue(const char* path, const char* key, const char* value);
};

#endif
