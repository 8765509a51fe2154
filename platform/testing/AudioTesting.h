// Hooks for tests only: they replace the hardware the sound layer would use.
// The game never calls them.
#ifndef ZV_PLATFORM_AUDIOTESTING_H
#define ZV_PLATFORM_AUDIOTESTING_H

namespace zvtest {

// Makes FSOUND_CD_Play read the given disc image (a .cue with its .bin, or
// any image libcdio opens) instead of the default CD drive. nullptr returns
// to the default drive. Takes effect at the next FSOUND_CD_Play.
void setCdSource(const char* cueOrBinPath);

// From now until FSOUND_Close, the output device is gone, as when a USB
// headset is pulled during play.
void loseAudioOutput();

}  // namespace zvtest

#endif
