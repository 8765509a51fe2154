// A colour as tests compare it: 8-bit channels, alpha left out.
#ifndef ZV_TEST_RGB_H
#define ZV_TEST_RGB_H

#include <cstdint>
#include <cstdlib>
#include <ostream>

namespace zvtestsupport {

struct Rgb {
    int r, g, b;
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

// The colour of a 0x..RRGGBB pixel.
inline Rgb rgbOf(uint32_t pixel) {
    return {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
            static_cast<int>(pixel & 0xFF)};
}

// Every channel within `tolerance` of the other colour's.
inline bool closeTo(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

}  // namespace zvtestsupport

#endif
