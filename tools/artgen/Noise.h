// Deterministic value noise for the sky: the same numbers on every machine.
#ifndef ARTGEN_NOISE_H
#define ARTGEN_NOISE_H

#include <cstdint>

// A hash of integer lattice coordinates to 0..1.
float latticeValue(int x, int y, int z, uint32_t seed);
// Smoothly interpolated 3-D value noise, 0..1.
float valueNoise(float x, float y, float z, uint32_t seed);
// Sum of octaves, each at twice the frequency and `gain` of the amplitude,
// normalised to 0..1.
float fractalNoise(float x, float y, float z, int octaves, float gain, uint32_t seed);

// A small deterministic random-number generator (xorshift).
class Random {
public:
    explicit Random(uint32_t seed) : m_state(seed ? seed : 1) {}
    uint32_t next();
    float uniform();  // 0..1
private:
    uint32_t m_state;
};

#endif
