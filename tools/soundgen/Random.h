// A small deterministic generator, so every run of the tool writes the same
// files on every machine.
#ifndef ZV_SOUNDGEN_RANDOM_H
#define ZV_SOUNDGEN_RANDOM_H

#include <cstdint>

class Random {
public:
    explicit Random(uint32_t seed) : m_state(seed ? seed : 1) {}
    // Uniform in [-1, 1).
    float noise() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return static_cast<float>(m_state) / 2147483648.0f - 1.0f;
    }

private:
    uint32_t m_state;
};

#endif
