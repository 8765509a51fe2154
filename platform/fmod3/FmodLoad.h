// Argument checks and file-name handling shared by the sample, stream and
// module loaders.
#ifndef ZV_FMOD3_FMODLOAD_H
#define ZV_FMOD3_FMODLOAD_H

#include <string>

namespace fmod3 {

// The file name as this platform opens it: '\' becomes '/'.
std::string nativePath(const char* name);

// False (reported once, FMOD_ERR_INVALID_PARAM set) for mode bits this layer
// leaves out (raw or in-memory data, bidirectional loops, hardware voices)
// and for a file segment (offset or length not 0). `call` names the entry
// point in the report and must be a string literal.
bool acceptLoad(const char* call, unsigned int mode, int offset, int length);

// Before a decoder sees the file: false (FMOD_ERR_FILE_NOTFOUND or
// FMOD_ERR_FILE_FORMAT set) for a file that cannot be opened, is larger than
// any sound of a game (256 MiB), or does not start like a WAV, AIFF, Ogg,
// FLAC or MP3 file. SDL_mixer would otherwise decode noise from garbage, or
// read a huge file whole.
bool looksLikeSound(const std::string& path);

// True when the mode asks for endless looping.
bool loopsForever(unsigned int mode);

// After a decoder refused the file: FMOD_ERR_FILE_NOTFOUND when it cannot be
// opened for reading, else FMOD_ERR_FILE_FORMAT.
void setOpenFailure(const std::string& path);

}  // namespace fmod3

#endif
