// Writes 16-bit PCM WAV files.
#ifndef ZV_SOUNDGEN_WAVFILE_H
#define ZV_SOUNDGEN_WAVFILE_H

#include <string>
#include <vector>

class WavFile {
public:
    // `samples` holds `channels` interleaved channels, full scale 1.0.
    // Returns false when the file cannot be written; samples beyond full
    // scale are clipped and counted in `clipped`.
    static bool write(const std::string& path, int channels, int rate,
                      const std::vector<float>& samples, long* clipped);
};

#endif
