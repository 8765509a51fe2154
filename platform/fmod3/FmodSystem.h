// Whether FSOUND_Init opened the output, and the checks every entry point
// makes before it touches SDL_mixer.
#ifndef ZV_FMOD3_FMODSYSTEM_H
#define ZV_FMOD3_FMODSYSTEM_H

namespace fmod3 {

// True between a successful FSOUND_Init and FSOUND_Close.
bool isOpen();

// For entry points that need the output: false (with FMOD_ERR_UNINITIALIZED
// set) while it is not open.
bool requireOpen();

// True while FSOUND_SetMute(FSOUND_ALL, TRUE) holds.
bool isMuted();

}  // namespace fmod3

#endif
