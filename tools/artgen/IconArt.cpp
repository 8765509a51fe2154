#include "IconArt.h"

#include "BlockArt.h"
#include "Shapes.h"

#include <algorithm>

namespace icon {

Image paintIcon(int size) {
    // The face is painted larger and sampled down, so that the small sizes
    // stay smooth; the tile's outline then cuts the corners away.
    const int factor = std::max(1, 256 / size);
    Image face = block::paintFace(true, size * factor);
    Image small(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgba sum{0, 0, 0, 0};
            for (int j = 0; j < factor; ++j)
                for (int i = 0; i < factor; ++i) {
                    Rgba c = face.get(x * factor + i, y * factor + j);
                    sum.r += c.r, sum.g += c.g, sum.b += c.b;
                }
            const float n = float(factor * factor);
            small.set(x, y, Rgba{sum.r / n, sum.g / n, sum.b / n, 1});
        }
    Image out(size, size);
    const float half = size * 0.5f;
    fillShape(out, roundedRect(half, half, half - 0.5f, half - 0.5f, size * 0.2f),
              [&](float x, float y) {
                  int px = std::min(size - 1, std::max(0, int(x))), py = std::min(size - 1, std::max(0, int(y)));
                  return small.get(px, py);
              });
    return out;
}

}  // namespace icon
