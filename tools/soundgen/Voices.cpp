#include "Voices.h"

#include "Random.h"

#include <cmath>
#include <vector>

namespace {
const double kTwoPi = 6.283185307179586;

// Rises with a half cosine over `attack` frames, holds, then falls over
// `release` frames after `length`.
float swell(long t, long attack, long length, long release) {
    float gain = 1.0f;
    if (t < attack) {
        gain = 0.5f - 0.5f * static_cast<float>(std::cos(3.14159265 * t / attack));
    }
    if (t > length) {
        const long r = t - length;
        gain *= r >= release ? 0.0f
                             : 0.5f + 0.5f * static_cast<float>(std::cos(3.14159265 * r / release));
    }
    return gain;
}
}  // namespace

double midiHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

void padNote(MixBus& bus, long start, long length, int note, float amp, float pan) {
    const double hz = midiHz(note);
    const long attack = kRate * 7 / 10;
    const long release = kRate * 13 / 10;
    for (long t = 0; t < length + release; ++t) {
        const double s = static_cast<double>(t) / kRate;
        // Two voices 3 cents apart beat slowly: a gentle chorus.
        const double a = kTwoPi * hz * 0.99827 * s;
        const double b = kTwoPi * hz * 1.00173 * s;
        const double tone = std::sin(a) + std::sin(b) + 0.25 * (std::sin(2 * a) + std::sin(2 * b)) +
                            0.08 * (std::sin(3 * a) + std::sin(3 * b));
        bus.add(start + t, static_cast<float>(0.5 * tone) * amp * swell(t, attack, length, release),
                pan, 0.55f, 0.0f);
    }
}

void bassNote(MixBus& bus, long start, long length, int note, float amp) {
    const double hz = midiHz(note);
    const long release = kRate / 12;
    for (long t = 0; t < length + release; ++t) {
        const double s = static_cast<double>(t) / kRate;
        const double body = std::sin(kTwoPi * hz * s) + 0.22 * std::sin(kTwoPi * 2 * hz * s);
        const float decay = static_cast<float>(0.55 + 0.45 * std::exp(-s / 0.5));
        bus.add(start + t, static_cast<float>(body) * amp * decay *
                               swell(t, kRate / 80, length, release),
                0.0f, 0.08f, 0.0f);
    }
}

void bellNote(MixBus& bus, long start, long length, int note, float amp) {
    const double hz = midiHz(note);
    const long release = kRate / 4;
    for (long t = 0; t < length + release; ++t) {
        const double s = static_cast<double>(t) / kRate;
        const double index = 1.2 * std::exp(-s / 0.18) + 0.25;
        const double body = std::sin(kTwoPi * hz * s + index * std::sin(kTwoPi * hz * s));
        const double shimmer = 0.12 * std::exp(-s / 0.15) * std::sin(kTwoPi * 4.0 * hz * s);
        const float decay = static_cast<float>(std::exp(-s / 1.1));
        bus.add(start + t,
                static_cast<float>(body + shimmer) * amp * decay *
                    swell(t, kRate / 250, length, release),
                0.1f, 0.45f, 0.35f);
    }
}

void pluckNote(MixBus& bus, long start, int note, float amp, float pan, uint32_t seed) {
    const long period = static_cast<long>(std::lround(kRate / midiHz(note)));
    std::vector<float> line(period);
    Random random(seed);
    for (float& v : line) {
        v = random.noise();
    }
    // Low-passed noise, twice around the string: a soft, round pluck rather
    // than a bright one.
    float smooth = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (float& v : line) {
            smooth = smooth * 0.8f + v * 0.2f;
            v = smooth;
        }
    }
    float mean = 0;
    for (float v : line) {
        mean += v / period;
    }
    float power = 0;
    for (float& v : line) {
        v -= mean;  // the string's loop would keep any offset for seconds
        power += v * v / period;
    }
    const float scale = 0.35f / std::sqrt(power + 1e-12f);
    for (float& v : line) {
        v *= scale;
    }
    const long length = kRate * 3 / 2;
    long pos = 0;
    for (long t = 0; t < length; ++t) {
        const long next = (pos + 1) % period;
        const float out = line[pos];
        line[pos] = 0.4985f * (line[pos] + line[next]);
        pos = next;
        const float fade = t > length - kRate / 10
                               ? static_cast<float>(length - t) / (kRate / 10)
                               : 1.0f;
        bus.add(start + t, out * amp * fade * swell(t, kRate / 400, length, 0), pan, 0.6f, 0.15f);
    }
}

void softKick(MixBus& bus, long start, float amp) {
    double phase = 0;
    const long length = kRate * 4 / 10;
    for (long t = 0; t < length; ++t) {
        const double s = static_cast<double>(t) / kRate;
        const double hz = 46 + 64 * std::exp(-s / 0.03);
        phase += kTwoPi * hz / kRate;
        const float env = static_cast<float>(std::exp(-s / 0.11));
        const float gain = env * swell(t, 60, length - kRate / 20, kRate / 20);
        bus.add(start + t, static_cast<float>(std::sin(phase)) * amp * gain, 0.0f, 0.05f, 0.0f);
    }
}

void shaker(MixBus& bus, long start, float amp, uint32_t seed) {
    Random random(seed);
    float previous = 0;
    float smooth = 0;
    const long length = kRate / 12;
    for (long t = 0; t < length; ++t) {
        const double s = static_cast<double>(t) / kRate;
        const float n = random.noise();
        const float high = n - previous;  // first difference: only the hiss
        previous = n;
        smooth = smooth * 0.3f + high * 0.7f;
        const float env = static_cast<float>(std::exp(-s / 0.018)) *
                          swell(t, kRate / 400, length - kRate / 50, kRate / 50);
        bus.add(start + t, smooth * amp * env, -0.35f, 0.3f, 0.0f);
    }
}

void woodTick(MixBus& bus, long start, float amp) {
    const long length = kRate / 10;
    for (long t = 0; t < length; ++t) {
        const double s = static_cast<double>(t) / kRate;
        const double v = std::sin(kTwoPi * 1520 * s) * std::exp(-s / 0.016) +
                         0.4 * std::sin(kTwoPi * 3310 * s) * std::exp(-s / 0.006);
        const float gain = amp * swell(t, 30, length - kRate / 50, kRate / 50);
        bus.add(start + t, static_cast<float>(v) * gain, 0.3f, 0.35f, 0.0f);
    }
}
