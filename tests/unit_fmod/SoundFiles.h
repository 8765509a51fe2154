// Test inputs written by the tests themselves: tones as WAV files, a small
// ProTracker module and CUE/BIN disc images.
#ifndef ZV_TEST_FMOD_SOUNDFILES_H
#define ZV_TEST_FMOD_SOUNDFILES_H

#include <string>
#include <vector>

namespace fmodtest {

const int kRate = 44100;

// A sine at `hz` (or a linear sweep from hz to hzEnd), amplitude `amp`
// (full scale 1.0), with 2 ms fades so its ends do not click.
std::vector<float> tone(double hz, double seconds, double amp, double hzEnd = 0);

// 16-bit mono WAV at 44.1 kHz.
void writeWav(const std::string& path, const std::vector<float>& samples);

// A one-pattern, four-channel module whose first two channels hold a looped
// 32-byte sine at period 428 for the whole pattern: a tone of
// kModuleToneHz for about 7.7 seconds.
const double kModuleToneHz = 7093789.2 / (2 * 428) / 32;
void writeModule(const std::string& path);

struct CdTrack {
    bool audio;   // false: a MODE1/2352 data track of zeros
    double hz;    // audio tracks: a stereo sine at this frequency, amplitude 0.4
    int sectors;  // 588 frames each
};
// Writes the .bin and a .cue naming it by file name.
void writeCdImage(const std::string& cuePath, const std::string& binPath, const std::vector<CdTrack>& tracks);

}  // namespace fmodtest

#endif
