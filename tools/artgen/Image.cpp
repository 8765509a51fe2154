#include "Image.h"

#include <algorithm>
#include <cmath>

namespace {

float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

}  // namespace

Rgba hexColor(unsigned rgb, float alpha) {
    return Rgba{((rgb >> 16) & 0xff) / 255.0f, ((rgb >> 8) & 0xff) / 255.0f, (rgb & 0xff) / 255.0f,
                alpha};
}

Rgba mix(const Rgba& a, const Rgba& b, float t) {
    t = clamp01(t);
    return Rgba{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
                a.a + (b.a - a.a) * t};
}

Rgba withAlpha(Rgba c, float alpha) {
    c.a = alpha;
    return c;
}

Image::Image(int width, int height)
    : m_w(width), m_h(height), m_px(static_cast<size_t>(width) * height * 4, 0.0f) {}

void Image::blend(int x, int y, const Rgba& c, float coverage) {
    if (x < 0 || y < 0 || x >= m_w || y >= m_h) return;
    float a = clamp01(c.a * coverage);
    if (a <= 0) return;
    float* p = px(x, y);
    float keep = 1.0f - a;
    p[0] = c.r * a + p[0] * keep;
    p[1] = c.g * a + p[1] * keep;
    p[2] = c.b * a + p[2] * keep;
    p[3] = a + p[3] * keep;
}

void Image::fill(const Rgba& c) {
    for (int y = 0; y < m_h; ++y)
        for (int x = 0; x < m_w; ++x) set(x, y, c);
}

Rgba Image::get(int x, int y) const {
    const float* p = px(x, y);
    if (p[3] <= 0) return Rgba{0, 0, 0, 0};
    return Rgba{p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
}

void Image::set(int x, int y, const Rgba& c) {
    float* p = px(x, y);
    p[0] = c.r * c.a;
    p[1] = c.g * c.a;
    p[2] = c.b * c.a;
    p[3] = c.a;
}

Rgba Image::sampleBilinear(float x, float y) const {
    float fx = x - 0.5f, fy = y - 0.5f;
    int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    float tx = fx - x0, ty = fy - y0;
    float acc[4] = {0, 0, 0, 0};
    for (int j = 0; j < 2; ++j) {
        for (int i = 0; i < 2; ++i) {
            int sx = std::clamp(x0 + i, 0, m_w - 1), sy = std::clamp(y0 + j, 0, m_h - 1);
            float w = (i ? tx : 1 - tx) * (j ? ty : 1 - ty);
            const float* p = px(sx, sy);
            for (int k = 0; k < 4; ++k) acc[k] += p[k] * w;
        }
    }
    if (acc[3] <= 0) return Rgba{0, 0, 0, 0};
    return Rgba{acc[0] / acc[3], acc[1] / acc[3], acc[2] / acc[3], acc[3]};
}

void Image::draw(const Image& src, float x, float y, float scale, float opacity) {
    int x0 = std::max(0, static_cast<int>(std::floor(x)));
    int y0 = std::max(0, static_cast<int>(std::floor(y)));
    int x1 = std::min(m_w, static_cast<int>(std::ceil(x + src.width() * scale)));
    int y1 = std::min(m_h, static_cast<int>(std::ceil(y + src.height() * scale)));
    for (int py = y0; py < y1; ++py) {
        for (int pxl = x0; pxl < x1; ++pxl) {
            float sx = (pxl + 0.5f - x) / scale, sy = (py + 0.5f - y) / scale;
            if (sx < 0 || sy < 0 || sx > src.width() || sy > src.height()) continue;
            blend(pxl, py, src.sampleBilinear(sx, sy), opacity);
        }
    }
}

Paint solid(const Rgba& c) {
    return [c](float, float) { return c; };
}

Paint linear(float x0, float y0, const Rgba& c0, float x1, float y1, const Rgba& c1) {
    float dx = x1 - x0, dy = y1 - y0;
    float len2 = dx * dx + dy * dy;
    return [=](float x, float y) {
        float t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0.0f;
        return mix(c0, c1, t);
    };
}

Paint radial(float cx, float cy, float r, const Rgba& c0, const Rgba& c1) {
    return [=](float x, float y) {
        float d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
        return mix(c0, c1, d / r);
    };
}

Mask shapeMask(int w, int h, const Distance& d) {
    Mask m(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) m.at(x, y) = clamp01(0.5f - d(x + 0.5f, y + 0.5f));
    return m;
}

Mask strokeMask(int w, int h, const Distance& d, float width) {
    Mask m(w, h);
    float half = width * 0.5f;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            m.at(x, y) = clamp01(0.5f - (std::fabs(d(x + 0.5f, y + 0.5f)) - half));
    return m;
}

void fillMask(Image& img, const Mask& m, const Paint& paint, float opacity) {
    for (int y = 0; y < m.h && y < img.height(); ++y) {
        for (int x = 0; x < m.w && x < img.width(); ++x) {
            float c = m.at(x, y);
            if (c > 0) img.blend(x, y, paint(x + 0.5f, y + 0.5f), c * opacity);
        }
    }
}

void fillShape(Image& img, const Distance& d, const Paint& paint, float opacity) {
    fillMask(img, shapeMask(img.width(), img.height(), d), paint, opacity);
}

Mask blurred(const Mask& m, float sigma) {
    if (sigma <= 0) return m;
    int radius = static_cast<int>(std::ceil(sigma * 3));
    std::vector<float> kernel(2 * radius + 1);
    float sum = 0;
    for (int i = -radius; i <= radius; ++i) {
        kernel[i + radius] = std::exp(-(i * i) / (2 * sigma * sigma));
        sum += kernel[i + radius];
    }
    for (float& k : kernel) k /= sum;
    Mask tmp(m.w, m.h), out(m.w, m.h);
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            float acc = 0;
            for (int i = -radius; i <= radius; ++i) acc += m.sample(x + i, y) * kernel[i + radius];
            tmp.at(x, y) = acc;
        }
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            float acc = 0;
            for (int i = -radius; i <= radius; ++i) acc += tmp.sample(x, y + i) * kernel[i + radius];
            out.at(x, y) = acc;
        }
    return out;
}

Mask dilated(const Mask& m, float radius) {
    Mask out(m.w, m.h);
    int r = static_cast<int>(std::ceil(radius + 1));
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            float best = 0;
            for (int j = -r; j <= r; ++j)
                for (int i = -r; i <= r; ++i) {
                    float c = m.sample(x + i, y + j);
                    if (c <= best) continue;
                    // A neighbour counts fully inside the radius and fades
                    // over the last pixel, which keeps the grown edge smooth.
                    float reach = clamp01(radius + 0.5f - std::sqrt(float(i * i + j * j)));
                    best = std::max(best, c * reach);
                }
            out.at(x, y) = best;
        }
    return out;
}

Mask shifted(const Mask& m, int dx, int dy) {
    Mask out(m.w, m.h);
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) out.at(x, y) = m.sample(x - dx, y - dy);
    return out;
}

Mask subtract(const Mask& a, const Mask& b) {
    Mask out(a.w, a.h);
    for (size_t i = 0; i < a.v.size(); ++i) out.v[i] = a.v[i] * (1.0f - b.v[i]);
    return out;
}

Mask multiply(const Mask& a, const Mask& b) {
    Mask out(a.w, a.h);
    for (size_t i = 0; i < a.v.size(); ++i) out.v[i] = a.v[i] * b.v[i];
    return out;
}

Mask maxOf(const Mask& a, const Mask& b) {
    Mask out(a.w, a.h);
    for (size_t i = 0; i < a.v.size(); ++i) out.v[i] = std::max(a.v[i], b.v[i]);
    return out;
}
