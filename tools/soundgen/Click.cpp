#include "Click.h"

#include "Random.h"

#include <cmath>

std::vector<float> Click::render() {
    const int rate = 44100;
    const int length = rate * 70 / 1000;
    const double twoPi = 6.283185307179586;
    // Inharmonic modes of a small wooden bar: the higher, the faster they die.
    struct Mode {
        double hz;
        double amp;
        double decay;  // seconds to fall to 1/e
    };
    const Mode modes[] = {{1180, 1.0, 0.016}, {2630, 0.32, 0.008}, {4720, 0.12, 0.004}};
    std::vector<float> out(length);
    Random random(2024);
    float peak = 0;
    for (int i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / rate;
        double v = 0;
        for (const Mode& m : modes) {
            v += m.amp * std::exp(-t / m.decay) * std::sin(twoPi * m.hz * t);
        }
        // The strike itself: a breath of noise in the first two milliseconds.
        v += 0.15 * random.noise() * std::exp(-t / 0.0007);
        // A 1.5 ms rise keeps the start from snapping; the last 10 ms fade
        // to exactly zero.
        const double rise = std::fmin(1.0, t / 0.0015);
        const int left = length - 1 - i;
        const double fall = left < rate / 100 ? static_cast<double>(left) / (rate / 100) : 1.0;
        out[i] = static_cast<float>(v * rise * fall);
        peak = std::fmax(peak, std::fabs(out[i]));
    }
    for (float& v : out) {
        v *= 0.5f / peak;
    }
    return out;
}
