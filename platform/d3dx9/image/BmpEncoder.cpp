#include "BmpEncoder.h"

namespace d3dximage {

namespace {

void put16(std::vector<uint8_t>* out, uint32_t v) {
    out->push_back(static_cast<uint8_t>(v));
    out->push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>* out, uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> encodeBmp32(uint32_t width, uint32_t height, const uint32_t* pixels,
                                 bool keepAlpha) {
    const uint32_t headerBytes = 14 + 40;
    const uint32_t imageBytes = width * height * 4;
    std::vector<uint8_t> out;
    out.reserve(headerBytes + imageBytes);
    out.push_back('B');
    out.push_back('M');
    put32(&out, headerBytes + imageBytes);
    put32(&out, 0);
    put32(&out, headerBytes);

    put32(&out, 40);
    put32(&out, width);
    put32(&out, height);  // positive: bottom-up
    put16(&out, 1);
    put16(&out, 32);
    put32(&out, 0);  // BI_RGB
    put32(&out, imageBytes);
    put32(&out, 2835);  // 72 dpi
    put32(&out, 2835);
    put32(&out, 0);
    put32(&out, 0);

    for (uint32_t row = height; row-- > 0;) {
        const uint32_t* p = pixels + static_cast<size_t>(row) * width;
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t v = p[x];
            out.push_back(static_cast<uint8_t>(v));
            out.push_back(static_cast<uint8_t>(v >> 8));
            out.push_back(static_cast<uint8_t>(v >> 16));
            out.push_back(keepAlpha ? static_cast<uint8_t>(v >> 24) : 0);
        }
    }
    return out;
}

}  // namespace d3dximage
