#include "MixBus.h"

#include <cmath>

namespace {

// Feedback effects are run twice around the loop and only the second pass is
// kept: its state at the start is what the end of the loop leaves behind, so
// the tail of the last bar rings on into the first.
class Comb {
public:
    Comb(long length, float feedback, float damping)
        : m_line(length, 0.0f), m_feedback(feedback), m_damping(damping) {}
    float process(float in) {
        const float out = m_line[m_pos];
        m_store = out * (1 - m_damping) + m_store * m_damping;
        m_line[m_pos] = in + m_store * m_feedback;
        m_pos = (m_pos + 1) % m_line.size();
        return out;
    }

private:
    std::vector<float> m_line;
    size_t m_pos = 0;
    float m_store = 0;
    float m_feedback;
    float m_damping;
};

class Allpass {
public:
    explicit Allpass(long length) : m_line(length, 0.0f) {}
    float process(float in) {
        const float delayed = m_line[m_pos];
        const float out = delayed - in;
        m_line[m_pos] = in + delayed * 0.5f;
        m_pos = (m_pos + 1) % m_line.size();
        return out;
    }

private:
    std::vector<float> m_line;
    size_t m_pos = 0;
};

// A Schroeder reverb for one side: four combs in parallel, two allpasses.
class Reverb {
public:
    explicit Reverb(long spread)
        : m_combs{Comb(1557 + spread, 0.80f, 0.3f), Comb(1617 + spread, 0.80f, 0.3f),
                  Comb(1491 + spread, 0.80f, 0.3f), Comb(1422 + spread, 0.80f, 0.3f)},
          m_allpasses{Allpass(556 + spread), Allpass(225 + spread)} {}
    float process(float in) {
        float sum = 0;
        for (Comb& comb : m_combs) {
            sum += comb.process(in);
        }
        for (Allpass& allpass : m_allpasses) {
            sum = allpass.process(sum);
        }
        return sum * 0.25f;
    }

private:
    Comb m_combs[4];
    Allpass m_allpasses[2];
};

}  // namespace

MixBus::MixBus(long frames)
    : m_frames(frames), m_left(frames, 0.0f), m_right(frames, 0.0f),
      m_reverbSend(frames, 0.0f), m_echoSend(frames, 0.0f) {}

long MixBus::wrap(long frame) const {
    const long i = frame % m_frames;
    return i < 0 ? i + m_frames : i;
}

void MixBus::add(long frame, float value, float pan, float reverb, float echo) {
    const long i = wrap(frame);
    const float angle = (pan + 1) * 0.785398163f;
    m_left[i] += value * std::cos(angle);
    m_right[i] += value * std::sin(angle);
    m_reverbSend[i] += value * reverb;
    m_echoSend[i] += value * echo;
}

void MixBus::applyEffects(float reverbLevel, float echoLevel, long echoFrames) {
    Reverb left(0);
    Reverb right(23);
    // A ping-pong echo: each repeat changes side.
    std::vector<float> echoLeft(echoFrames, 0.0f);
    std::vector<float> echoRight(echoFrames, 0.0f);
    long echoPos = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (long i = 0; i < m_frames; ++i) {
            const float wetLeft = left.process(m_reverbSend[i]);
            const float wetRight = right.process(m_reverbSend[i]);
            const float outLeft = echoLeft[echoPos];
            const float outRight = echoRight[echoPos];
            echoLeft[echoPos] = m_echoSend[i] + outRight * 0.38f;
            echoRight[echoPos] = outLeft * 0.38f;
            echoPos = (echoPos + 1) % echoFrames;
            if (pass == 1) {
                m_left[i] += wetLeft * reverbLevel + outLeft * echoLevel;
                m_right[i] += wetRight * reverbLevel + outRight * echoLevel;
            }
        }
    }
}

void MixBus::removeDc() {
    // One pole at about 20 Hz: y[n] = x[n] - x[n-1] + r * y[n-1].
    const float r = 0.9972f;
    for (std::vector<float>* channel : {&m_left, &m_right}) {
        std::vector<float>& x = *channel;
        float previousIn = x[m_frames - 1];
        float previousOut = 0;
        std::vector<float> out(m_frames);
        for (int pass = 0; pass < 2; ++pass) {
            for (long i = 0; i < m_frames; ++i) {
                previousOut = x[i] - previousIn + r * previousOut;
                previousIn = x[i];
                out[i] = previousOut;
            }
        }
        x.swap(out);
    }
}

float MixBus::normalize(float peak) {
    float largest = 0;
    for (long i = 0; i < m_frames; ++i) {
        largest = std::fmax(largest, std::fabs(m_left[i]));
        largest = std::fmax(largest, std::fabs(m_right[i]));
    }
    const float factor = largest > 0 ? peak / largest : 1.0f;
    for (long i = 0; i < m_frames; ++i) {
        m_left[i] *= factor;
        m_right[i] *= factor;
    }
    return factor;
}
