// Captures what the mixer plays through SDL's disk audio driver (raw S16LE
// stereo at 44.1 kHz, written in real time) and measures it.
#ifndef ZV_TEST_FMOD_DISKCAPTURE_H
#define ZV_TEST_FMOD_DISKCAPTURE_H

#include <cstddef>
#include <string>
#include <vector>

namespace fmodtest {

// The output as mono (mean of both channels), full scale 1.0. Times are
// seconds from the start; windows reaching past the end are cut short.
class Signal {
public:
    explicit Signal(std::vector<float> samples) : m_samples(std::move(samples)) {}

    double seconds() const;
    // First sample whose magnitude exceeds `threshold`, or -1.
    long onset(double threshold = 0.01) const;
    // The signal from its onset on; empty when it never starts.
    Signal fromOnset(double threshold = 0.01) const;
    double rms(double from, double seconds) const;
    // Amplitude of the component at `hz` (one DFT bin).
    double amplitudeAt(double hz, double from, double seconds) const;
    // From the onset to the end of the last 10 ms window louder than
    // `threshold` RMS.
    double audibleSeconds(double threshold = 0.02) const;
    // Largest RMS of `window`-second windows, half a window apart.
    double maxWindowRms(double window) const;

private:
    size_t index(double seconds) const;
    std::vector<float> m_samples;
};

// Points SDL's audio at a file in `dir` for the next FSOUND_Init.
class DiskCapture {
public:
    DiskCapture(const std::string& dir, const std::string& name);

    // Frames written so far (the driver writes as the output plays).
    size_t writtenFrames() const;
    // Blocks until `seconds` more of output than now have been written,
    // allowing for the mixer's latency. False after 10 s without them.
    bool waitFor(double seconds) const;
    Signal read() const;

private:
    std::string m_path;
};

}  // namespace fmodtest

#endif
