// A small raster toolkit for the game's pictures: a premultiplied RGBA
// float image, coverage masks, and antialiased filling through signed
// distances. Coordinates are pixels with (0, 0) at the top-left corner of
// the first pixel; pixel (x, y) is sampled at its centre (x + 0.5, y + 0.5).
#ifndef ARTGEN_IMAGE_H
#define ARTGEN_IMAGE_H

#include <functional>
#include <vector>

// A straight-alpha colour, each channel 0..1 (sRGB values, blended as is).
struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB plus an opacity.
Rgba hexColor(unsigned rgb, float alpha = 1.0f);
Rgba mix(const Rgba& a, const Rgba& b, float t);
Rgba withAlpha(Rgba c, float alpha);

// Coverage 0..1 per pixel.
struct Mask {
    int w = 0, h = 0;
    std::vector<float> v;

    Mask() = default;
    Mask(int width, int height) : w(width), h(height), v(static_cast<size_t>(width) * height, 0.0f) {}
    float& at(int x, int y) { return v[static_cast<size_t>(y) * w + x]; }
    float at(int x, int y) const { return v[static_cast<size_t>(y) * w + x]; }
    // Zero outside the mask.
    float sample(int x, int y) const {
        return x < 0 || y < 0 || x >= w || y >= h ? 0.0f : at(x, y);
    }
};

class Image {
public:
    Image() = default;
    Image(int width, int height);

    int width() const { return m_w; }
    int height() const { return m_h; }

    // Premultiplied channels of pixel (x, y): r, g, b, a.
    float* px(int x, int y) { return &m_px[(static_cast<size_t>(y) * m_w + x) * 4]; }
    const float* px(int x, int y) const { return &m_px[(static_cast<size_t>(y) * m_w + x) * 4]; }

    // Source-over of a straight-alpha colour scaled by coverage.
    void blend(int x, int y, const Rgba& c, float coverage);
    void fill(const Rgba& c);
    // The straight-alpha colour of a pixel.
    Rgba get(int x, int y) const;
    void set(int x, int y, const Rgba& c);
    // Bilinear sample at a continuous position (pixel centres at +0.5),
    // clamped at the edges; premultiplied result as straight colour.
    Rgba sampleBilinear(float x, float y) const;

    // Draws src over this image, its top-left corner at (x, y), scaled by
    // s about that corner, with an extra opacity.
    void draw(const Image& src, float x, float y, float scale = 1.0f, float opacity = 1.0f);

private:
    int m_w = 0, m_h = 0;
    std::vector<float> m_px;
};

using Paint = std::function<Rgba(float x, float y)>;
using Distance = std::function<float(float x, float y)>;

Paint solid(const Rgba& c);
// Linear gradient from c0 at (x0, y0) to c1 at (x1, y1), clamped.
Paint linear(float x0, float y0, const Rgba& c0, float x1, float y1, const Rgba& c1);
// Radial gradient from c0 at the centre to c1 at radius r, clamped.
Paint radial(float cx, float cy, float r, const Rgba& c0, const Rgba& c1);

// Coverage of the area where the signed distance is negative, antialiased
// over one pixel. Distances are in pixels.
Mask shapeMask(int w, int h, const Distance& d);
// Coverage of a band of the given width centred on the shape's outline.
Mask strokeMask(int w, int h, const Distance& d, float width);

// Fills the image through a mask with a paint and an opacity.
void fillMask(Image& img, const Mask& m, const Paint& paint, float opacity = 1.0f);
void fillShape(Image& img, const Distance& d, const Paint& paint, float opacity = 1.0f);

// Mask operations.
Mask blurred(const Mask& m, float sigma);
// Grows the covered area by radius pixels (a soft morphological dilation).
Mask dilated(const Mask& m, float radius);
Mask shifted(const Mask& m, int dx, int dy);
// a * (1 - b): a with b cut away.
Mask subtract(const Mask& a, const Mask& b);
Mask multiply(const Mask& a, const Mask& b);
Mask maxOf(const Mask& a, const Mask& b);

#endif
