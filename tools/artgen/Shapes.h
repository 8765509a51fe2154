// Signed distances of the shapes the pictures are made of (negative inside),
// in the units of the coordinates given, for Image's antialiased filling.
#ifndef ARTGEN_SHAPES_H
#define ARTGEN_SHAPES_H

#include "Image.h"

#include <vector>

struct Pt {
    float x, y;
};

// Rectangle with rounded corners: centre, half extents, corner radius.
Distance roundedRect(float cx, float cy, float hw, float hh, float radius);
Distance circle(float cx, float cy, float r);
// A closed polygon (either winding), optionally with its outline pushed out
// by `round` (which rounds its corners).
Distance polygon(std::vector<Pt> points, float round = 0.0f);
// A star with `points` tips between radii inner and outer, first tip at
// angle `rotation` (radians, 0 = up).
std::vector<Pt> starPoints(float cx, float cy, float outer, float inner, int points, float rotation);
// A thick line segment with round caps.
Distance capsule(float x0, float y0, float x1, float y1, float halfWidth);

Distance unite(const Distance& a, const Distance& b);
Distance cut(const Distance& a, const Distance& b);
// Shape grown by r (r < 0 shrinks).
Distance grown(const Distance& a, float r);
// Coordinates mapped before the shape is asked: for shapes drawn in a
// model's own units, d is scaled back to pixels by `unitsPerPixel`.
Distance mapped(const Distance& d, float originX, float originY, float unitsPerPixelX,
                float unitsPerPixelY);

#endif
