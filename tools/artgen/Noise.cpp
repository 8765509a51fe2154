#include "Noise.h"

#include <cmath>

float latticeValue(int x, int y, int z, uint32_t seed) {
    uint32_t h = seed * 0x9e3779b1u;
    h ^= static_cast<uint32_t>(x) * 0x85ebca6bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xc2b2ae35u;
    h = (h << 17) | (h >> 15);
    h ^= static_cast<uint32_t>(z) * 0x27d4eb2fu;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return (h & 0xffffff) / float(0xffffff);
}

float valueNoise(float x, float y, float z, uint32_t seed) {
    int xi = static_cast<int>(std::floor(x)), yi = static_cast<int>(std::floor(y)),
        zi = static_cast<int>(std::floor(z));
    float tx = x - xi, ty = y - yi, tz = z - zi;
    auto fade = [](float t) { return t * t * t * (t * (t * 6 - 15) + 10); };
    float fx = fade(tx), fy = fade(ty), fz = fade(tz);
    float c[2][2][2];
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            for (int k = 0; k < 2; ++k) c[i][j][k] = latticeValue(xi + i, yi + j, zi + k, seed);
    auto lerp = [](float a, float b, float t) { return a + (b - a) * t; };
    float x00 = lerp(c[0][0][0], c[1][0][0], fx), x10 = lerp(c[0][1][0], c[1][1][0], fx);
    float x01 = lerp(c[0][0][1], c[1][0][1], fx), x11 = lerp(c[0][1][1], c[1][1][1], fx);
    return lerp(lerp(x00, x10, fy), lerp(x01, x11, fy), fz);
}

float fractalNoise(float x, float y, float z, int octaves, float gain, uint32_t seed) {
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * valueNoise(x, y, z, seed + o * 101);
        norm += amp;
        amp *= gain;
        x *= 2.03f, y *= 2.03f, z *= 2.03f;
    }
    return sum / norm;
}

uint32_t Random::next() {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state;
}

float Random::uniform() { return (next() & 0xffffff) / float(0x1000000); }
