#include "DiskCapture.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

namespace fmodtest {

namespace {
const double kRate = 44100;
const double kPi = 3.14159265358979323846;
}  // namespace

size_t Signal::index(double seconds) const {
    return seconds <= 0 ? 0 : std::min(static_cast<size_t>(seconds * kRate), m_samples.size());
}

double Signal::seconds() const { return m_samples.size() / kRate; }

long Signal::onset(double threshold) const {
    for (size_t i = 0; i < m_samples.size(); ++i)
        if (std::fabs(m_samples[i]) > threshold) return static_cast<long>(i);
    return -1;
}

Signal Signal::fromOnset(double threshold) const {
    const long first = onset(threshold);
    return Signal(first < 0 ? std::vector<float>() : std::vector<float>(m_samples.begin() + first, m_samples.end()));
}

double Signal::rms(double from, double seconds) const {
    const size_t a = index(from), b = index(from + seconds);
    double sum = 0;
    for (size_t i = a; i < b; ++i) sum += static_cast<double>(m_samples[i]) * m_samples[i];
    return b > a ? std::sqrt(sum / (b - a)) : 0;
}

double Signal::amplitudeAt(double hz, double from, double seconds) const {
    const size_t a = index(from), b = index(from + seconds);
    double re = 0, im = 0;
    for (size_t i = a; i < b; ++i) {
        const double phase = 2 * kPi * hz * (i - a) / kRate;
        re += m_samples[i] * std::cos(phase);
        im -= m_samples[i] * std::sin(phase);
    }
    return b > a ? 2 * std::sqrt(re * re + im * im) / (b - a) : 0;
}

double Signal::audibleSeconds(double threshold) const {
    const long first = onset();
    if (first < 0) return 0;
    double last = first / kRate;
    for (double t = first / kRate; t < seconds(); t += 0.01)
        if (rms(t, 0.01) > threshold) last = t + 0.01;
    return last - first / kRate;
}

double Signal::maxWindowRms(double window) const {
    double best = 0;
    for (double t = 0; t + window <= seconds(); t += window / 2) best = std::max(best, rms(t, window));
    return best;
}

DiskCapture::DiskCapture(const std::string& dir, const std::string& name) : m_path(dir + "/" + name) {
    std::remove(m_path.c_str());
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", m_path.c_str(), 1);
}

size_t DiskCapture::writtenFrames() const {
    struct stat st;
    return stat(m_path.c_str(), &st) == 0 ? static_cast<size_t>(st.st_size) / 4 : 0;
}

bool DiskCapture::waitFor(double seconds) const {
    // The mixer's chunk, the device buffer and stdio's buffer between them
    // hold back up to about 0.1 s.
    const size_t target = writtenFrames() + static_cast<size_t>((seconds + 0.1) * kRate);
    for (int waited = 0; waited < 10000 && writtenFrames() < target; waited += 10) SDL_Delay(10);
    return writtenFrames() >= target;
}

Signal DiskCapture::read() const {
    std::vector<float> mono;
    if (std::FILE* file = std::fopen(m_path.c_str(), "rb")) {
        int16_t frame[2];
        while (std::fread(frame, sizeof(frame), 1, file) == 1) mono.push_back((frame[0] + frame[1]) / 65536.0f);
        std::fclose(file);
    }
    return Signal(std::move(mono));
}

}  // namespace fmodtest
