#include "ImageDecode.h"

namespace d3dximage {

UINT fullMipCount(UINT width, UINT height) {
    UINT edge = width > height ? width : height;
    UINT count = 1;
    while (edge > 1) {
        edge >>= 1;
        ++count;
    }
    return count;
}

namespace {

ImageLevel halve(const ImageLevel& src) {
    ImageLevel dst;
    dst.width = src.width > 1 ? src.width / 2 : 1;
    dst.height = src.height > 1 ? src.height / 2 : 1;
    dst.pixels.resize(static_cast<size_t>(dst.width) * dst.height);
    // Each destination pixel covers source columns 2x, 2x+1 and rows 2y, 2y+1,
    // clamped where the source is one pixel wide or high. For an odd edge the
    // last source row or column is not sampled, as a plain 2x2 box does.
    UINT dx = src.width > 1 ? 1 : 0;
    UINT dy = src.height > 1 ? 1 : 0;
    for (UINT y = 0; y < dst.height; ++y) {
        const uint32_t* row0 = &src.pixels[static_cast<size_t>(y * 2) * src.width];
        const uint32_t* row1 = &src.pixels[static_cast<size_t>(y * 2 + dy) * src.width];
        for (UINT x = 0; x < dst.width; ++x) {
            uint32_t p[4] = {row0[x * 2], row0[x * 2 + dx], row1[x * 2], row1[x * 2 + dx]};
            uint32_t out = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                uint32_t sum = 2;  // rounds the mean to nearest
                for (uint32_t v : p) sum += (v >> shift) & 0xff;
                out |= (sum / 4) << shift;
            }
            dst.pixels[static_cast<size_t>(y) * dst.width + x] = out;
        }
    }
    return dst;
}

}  // namespace

void completeMipChain(std::vector<ImageLevel>* levels) {
    if (levels->empty()) return;
    while (levels->back().width > 1 || levels->back().height > 1) {
        ImageLevel next = halve(levels->back());
        levels->push_back(std::move(next));
    }
}

}  // namespace d3dximage
