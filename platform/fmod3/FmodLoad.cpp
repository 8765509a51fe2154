#include "FmodLoad.h"

#include <sys/stat.h>

#include "FmodError.h"

#include <fmod.h>

#include "win32/PathResolver.h"

#include <cstdio>
#include <cstring>

namespace fmod3 {

namespace {
// Loop and format hints; the format bits only describe raw data, so for a
// file with a header they change nothing, as in FMOD.
const unsigned int kHandledModeBits = FSOUND_LOOP_OFF | FSOUND_LOOP_NORMAL | FSOUND_8BITS |
                                      FSOUND_16BITS | FSOUND_MONO | FSOUND_STEREO |
                                      FSOUND_UNSIGNED | FSOUND_SIGNED | FSOUND_2D;
}  // namespace

std::string nativePath(const char* name) { return PathResolver::instance().resolve(name, PathResolver::Read); }

bool acceptLoad(const char* call, unsigned int mode, int offset, int length) {
    if (unsigned int extra = mode & ~kHandledModeBits) {
        reportUnhandled(call, "mode bits", static_cast<long>(extra));
        setError(FMOD_ERR_INVALID_PARAM);
        return false;
    }
    if (offset != 0 || length != 0) {
        reportUnhandled(call, offset != 0 ? "file offset" : "file length",
                        offset != 0 ? offset : length);
        setError(FMOD_ERR_INVALID_PARAM);
        return false;
    }
    return true;
}

bool loopsForever(unsigned int mode) { return (mode & FSOUND_LOOP_NORMAL) != 0; }

bool looksLikeSound(const std::string& path) {
    struct stat st;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file || fstat(fileno(file), &st) != 0) {
        if (file) std::fclose(file);
        setError(FMOD_ERR_FILE_NOTFOUND);
        return false;
    }
    unsigned char h[12] = {};
    const size_t n = st.st_size <= (256LL << 20) ? std::fread(h, 1, sizeof h, file) : 0;
    std::fclose(file);
    const bool known = n == sizeof h &&
                       ((std::memcmp(h, "RIFF", 4) == 0 && std::memcmp(h + 8, "WAVE", 4) == 0) ||
                        (std::memcmp(h, "FORM", 4) == 0 && std::memcmp(h + 8, "AIF", 3) == 0) ||
                        std::memcmp(h, "OggS", 4) == 0 || std::memcmp(h, "fLaC", 4) == 0 ||
                        std::memcmp(h, "ID3", 3) == 0 || (h[0] == 0xFF && (h[1] & 0xE0) == 0xE0));
    if (!known) setError(FMOD_ERR_FILE_FORMAT);
    return known;
}

void setOpenFailure(const std::string& path) {
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        std::fclose(file);
        setError(FMOD_ERR_FILE_FORMAT);
    } else {
        setError(FMOD_ERR_FILE_NOTFOUND);
    }
}

}  // namespace fmod3
