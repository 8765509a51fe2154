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
// For entry points that start a sound: false (with FMOD_ERR_INIT set) once
// the output device has gone away while open, as a pulled USB headset does.
// The mixer plays on into nothing; the caller learns that nobody hears it.
bool requireOutput();
// For the tests' hook: behave as if the output device had gone.
void loseOutput();

}  // namespace fmod3

#endif
