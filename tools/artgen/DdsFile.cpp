#include "DdsFile.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr uint32_t kCaps = 0x1, kHeight = 0x2, kWidth = 0x4, kPitch = 0x8, kPixelFormat = 0x1000,
                   kMipMapCount = 0x20000;
constexpr uint32_t kAlphaPixels = 0x1, kRgb = 0x40;
constexpr uint32_t kComplex = 0x8, kTexture = 0x1000, kMipMap = 0x400000;
constexpr uint32_t kCubeMap = 0x200, kAllFaces = 0xfc00;

void put32(std::vector<unsigned char>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

unsigned char toByte(float v) {
    v = v < 0 ? 0 : (v > 1 ? 1 : v);
    return static_cast<unsigned char>(std::lround(v * 255.0f));
}

// Opaque faces: the straight colour is the premultiplied one.
Image halve(const Image& src) {
    Image dst(src.width() / 2, src.height() / 2);
    for (int y = 0; y < dst.height(); ++y)
        for (int x = 0; x < dst.width(); ++x) {
            float* d = dst.px(x, y);
            for (int k = 0; k < 4; ++k)
                d[k] = 0.25f * (src.px(2 * x, 2 * y)[k] + src.px(2 * x + 1, 2 * y)[k] +
                                src.px(2 * x, 2 * y + 1)[k] + src.px(2 * x + 1, 2 * y + 1)[k]);
        }
    return dst;
}

}  // namespace

bool writeCubeDds(const std::string& path, const Image faces[6]) {
    const uint32_t size = static_cast<uint32_t>(faces[0].width());
    uint32_t levels = 1;
    while ((size >> (levels - 1)) > 1) ++levels;

    std::vector<unsigned char> out = {'D', 'D', 'S', ' '};
    put32(out, 124);
    put32(out, kCaps | kHeight | kWidth | kPitch | kPixelFormat | kMipMapCount);
    put32(out, size);
    put32(out, size);
    put32(out, size * 4);  // pitch of the top level
    put32(out, 0);         // depth
    put32(out, levels);
    for (int i = 0; i < 11; ++i) put32(out, 0);
    put32(out, 32);  // pixel format size
    put32(out, kRgb | kAlphaPixels);
    put32(out, 0);   // FourCC
    put32(out, 32);  // bits per pixel
    put32(out, 0x00ff0000);
    put32(out, 0x0000ff00);
    put32(out, 0x000000ff);
    put32(out, 0xff000000);
    put32(out, kTexture | kComplex | kMipMap);
    put32(out, kCubeMap | kAllFaces);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);

    for (int f = 0; f < 6; ++f) {
        Image level = faces[f];
        for (uint32_t l = 0; l < levels; ++l) {
            for (int y = 0; y < level.height(); ++y)
                for (int x = 0; x < level.width(); ++x) {
                    Rgba c = level.get(x, y);
                    // A8R8G8B8 is stored little-endian: blue first.
                    out.push_back(toByte(c.b));
                    out.push_back(toByte(c.g));
                    out.push_back(toByte(c.r));
                    out.push_back(toByte(c.a));
                }
            if (l + 1 < levels) level = halve(level);
        }
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && ok;
}
