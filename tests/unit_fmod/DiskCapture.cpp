#include "DiskCapture.h"

#include <SDL.h>

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
    if (seconds <= 0) {
        return 0;
    }
    const size_t i = static_cast<size_t>(seconds * kRate);
    return i < m_samples.size() ? i : m_samples.size();
}

long Signal::onset(double threshold) const {
    for (size_t i = 0; i < m_samples.size(); ++i) {
        if (std::fabs(m_samples[i]) > threshold) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

double Signal::rms(double from, double seconds) const {
    const size_t a = index(from);
    const size_t b = index(from + seconds);
    if (b <= a) {
        return 0;
    }
    double sum = 0;
    for (size_t i = a; i < b; ++i) {
        sum += static_cast<double>(m_samples[i]) * m_samples[i];
    }
    return std::sqrt(sum / (b - a));
}

double Signal::zeroCrossingHz(double from, double seconds) const {
    const size_t a = index(from);
    const size_t b = index(from + seconds);
    if (b <= a + 1) {
        return 0;
    }
    int crossings = 0;
    for (size_t i = a + 1; i < b; ++i) {
        if ((m_samples[i - 1] < 0) != (m_samples[i] < 0)) {
            ++crossings;
        }
    }
    return crossings / 2.0 / ((b - a) / kRate);
}

double Signal::amplitudeAt(double hz, double from, double seconds) const {
    const size_t a = index(from);
    const size_t b = index(from + seconds);
    if (b <= a) {
        return 0;
    }
    double re = 0;
    double im = 0;
    for (size_t i = a; i < b; ++i) {
        const double phase = 2 * kPi * hz * (i - a) / kRate;
        re += m_samples[i] * std::cos(phase);
        im -= m_samples[i] * std::sin(phase);
    }
    return 2 * std::sqrt(re * re + im * im) / (b - a);
}

double Signal::audibleSeconds(double threshold) const {
    const long first = onset();
    if (first < 0) {
        return 0;
    }
    const double start = first / kRate;
    double last = start;
    for (double t = start; t < seconds(); t += 0.01) {
        if (rms(t, 0.01) > threshold) {
            last = t + 0.01;
        }
    }
    return last - start;
}

double Signal::maxWindowRms(double from, double window) const {
    double best = 0;
    for (double t = from; t + window <= seconds(); t += window / 2) {
        const double r = rms(t, window);
        best = r > best ? r : best;
    }
    return best;
}

DiskCapture::DiskCapture(const std::string& dir, const std::string& name)
    : m_path(dir + "/" + name) {
    std::remove(m_path.c_str());
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", m_path.c_str(), 1);
}

size_t DiskCapture::writtenFrames() const {
    struct stat st;
    if (stat(m_path.c_str(), &st) != 0) {
        return 0;
    }
    return static_cast<size_t>(st.st_size) / 4;
}

bool DiskCapture::waitFor(double seconds) const {
    // The mixer's chunk, the device buffer and stdio's buffer between them
    // hold back up to about 0.1 s.
    const size_t target = writtenFrames() + static_cast<size_t>((seconds + 0.1) * kRate);
    for (int waited = 0; waited < 10000; waited += 10) {
        if (writtenFrames() >= target) {
            return true;
        }
        SDL_Delay(10);
    }
    return false;
}

Signal DiskCapture::read() const {
    std::vector<float> mono;
    if (std::FILE* file = std::fopen(m_path.c_str(), "rb")) {
        int16_t frame[2];
        while (std::fread(frame, sizeof(frame), 1, file) == 1) {
            mono.push_back((frame[0] + frame[1]) / 65536.0f);
        }
        std::fclose(file);
    }
    return Signal(std::move(mono));
}

}  // namespace fmodtest
