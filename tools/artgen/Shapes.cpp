#include "Shapes.h"

#include <algorithm>
#include <cmath>

Distance roundedRect(float cx, float cy, float hw, float hh, float radius) {
    return [=](float x, float y) {
        float qx = std::fabs(x - cx) - (hw - radius);
        float qy = std::fabs(y - cy) - (hh - radius);
        float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
        return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Distance circle(float cx, float cy, float r) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - r; };
}

Distance polygon(std::vector<Pt> pts, float round) {
    return [pts, round](float x, float y) {
        float best = 1e30f;
        bool inside = false;
        size_t n = pts.size();
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            const Pt& a = pts[j];
            const Pt& b = pts[i];
            float ex = b.x - a.x, ey = b.y - a.y;
            float wx = x - a.x, wy = y - a.y;
            float len2 = ex * ex + ey * ey;
            float t = len2 > 0 ? std::clamp((wx * ex + wy * ey) / len2, 0.0f, 1.0f) : 0.0f;
            float dx = wx - ex * t, dy = wy - ey * t;
            best = std::min(best, dx * dx + dy * dy);
            if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * ex / ey) inside = !inside;
        }
        float d = std::sqrt(best);
        return (inside ? -d : d) - round;
    };
}

std::vector<Pt> starPoints(float cx, float cy, float outer, float inner, int points, float rotation) {
    std::vector<Pt> out;
    const float pi = 3.14159265358979f;
    for (int i = 0; i < points * 2; ++i) {
        float r = i % 2 == 0 ? outer : inner;
        float a = rotation + pi * i / points;
        out.push_back(Pt{cx + r * std::sin(a), cy - r * std::cos(a)});
    }
    return out;
}

Distance capsule(float x0, float y0, float x1, float y1, float halfWidth) {
    return [=](float x, float y) {
        float ex = x1 - x0, ey = y1 - y0;
        float wx = x - x0, wy = y - y0;
        float len2 = ex * ex + ey * ey;
        float t = len2 > 0 ? std::clamp((wx * ex + wy * ey) / len2, 0.0f, 1.0f) : 0.0f;
        return std::hypot(wx - ex * t, wy - ey * t) - halfWidth;
    };
}

Distance unite(const Distance& a, const Distance& b) {
    return [a, b](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

Distance cut(const Distance& a, const Distance& b) {
    return [a, b](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

Distance grown(const Distance& a, float r) {
    return [a, r](float x, float y) { return a(x, y) - r; };
}

Distance mapped(const Distance& d, float originX, float originY, float unitsPerPixelX,
                float unitsPerPixelY) {
    float scale = std::fabs(unitsPerPixelX);
    return [=](float x, float y) {
        return d(originX + x * unitsPerPixelX, originY + y * unitsPerPixelY) / scale;
    };
}
