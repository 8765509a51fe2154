#include "BlockArt.h"

#include "Palette.h"
#include "Shapes.h"

#include <cmath>
#include <vector>

namespace block {

namespace {

const float kPi = 3.14159265358979f;
constexpr int kCornerSegments = 5;
constexpr int kRimSteps = 3;

struct ContourPoint {
    float x, y;    // on the outline of the flat core
    float nx, ny;  // outward normal in the x-y plane
};

// The core's outline: the tile shrunk by the edge radius, counter-clockwise
// seen from +z, starting at the +x side.
std::vector<ContourPoint> coreContour() {
    const float half = kHalfWidth - kEdgeRadius;
    const float corner = kCornerRadius - kEdgeRadius;
    const float c = half - corner;
    const float centres[4][2] = {{c, c}, {-c, c}, {-c, -c}, {c, -c}};
    std::vector<ContourPoint> out;
    for (int k = 0; k < 4; ++k) {
        for (int s = 0; s <= kCornerSegments; ++s) {
            float a = (k + float(s) / kCornerSegments) * kPi * 0.5f;
            float nx = std::cos(a), ny = std::sin(a);
            out.push_back({centres[k][0] + corner * nx, centres[k][1] + corner * ny, nx, ny});
        }
    }
    return out;
}

// One ring of the profile: the angle of the rounded edge (90 degrees faces
// +z) and the height of the edge's centre line.
struct Ring {
    float angle;
    float zCentre;
};

MeshVertex ringVertex(const ContourPoint& p, const Ring& r, bool front) {
    const float c = std::cos(r.angle), s = std::sin(r.angle);
    MeshVertex v;
    v.x = p.x + p.nx * kEdgeRadius * c;
    v.y = p.y + p.ny * kEdgeRadius * c;
    v.z = r.zCentre + kEdgeRadius * s;
    v.nx = p.nx * c;
    v.ny = p.ny * c;
    v.nz = s;
    // Each face's texture lies flat over the tile as its viewer sees it; the
    // back is seen after a half turn about y, which mirrors x.
    v.u = (front ? v.x + kHalfWidth : kHalfWidth - v.x) / (2 * kHalfWidth);
    v.v = (kHalfWidth - v.y) / (2 * kHalfWidth);
    return v;
}

// Half of the tile: the flat cap, its rounded edge and half of the side,
// down to the seam at z = 0 where the two textures meet.
void addHalf(Mesh& mesh, const std::vector<ContourPoint>& contour, bool front) {
    const uint32_t material = front ? 0 : 1;
    const float zc = kHalfDepth - kEdgeRadius;
    std::vector<Ring> rings;
    for (int i = 0; i <= kRimSteps; ++i) rings.push_back({kPi * 0.5f * (1.0f - float(i) / kRimSteps), zc});
    rings.push_back({0.0f, 0.0f});
    if (!front) {
        // Mirror the profile through z = 0 and walk it from the seam down.
        std::vector<Ring> back;
        for (auto it = rings.rbegin(); it != rings.rend(); ++it) back.push_back({-it->angle, -it->zCentre});
        rings = back;
    }
    const size_t n = contour.size();
    std::vector<std::vector<uint32_t>> index(rings.size());
    for (size_t r = 0; r < rings.size(); ++r)
        for (size_t i = 0; i < n; ++i) index[r].push_back(mesh.addVertex(ringVertex(contour[i], rings[r], front)));

    // Rings run from higher z to lower z, so these triangles face outwards.
    for (size_t r = 0; r + 1 < rings.size(); ++r)
        for (size_t i = 0; i < n; ++i) {
            size_t j = (i + 1) % n;
            mesh.addTriangle(index[r][i], index[r + 1][i], index[r][j], material);
            mesh.addTriangle(index[r][j], index[r + 1][i], index[r + 1][j], material);
        }

    // The flat cap: a fan over the ring that faces straight along z.
    const std::vector<uint32_t>& capRing = front ? index.front() : index.back();
    MeshVertex centre{0, 0, front ? kHalfDepth : -kHalfDepth, 0, 0, front ? 1.0f : -1.0f, 0.5f, 0.5f};
    uint32_t c = mesh.addVertex(centre);
    for (size_t i = 0; i < n; ++i) {
        size_t j = (i + 1) % n;
        if (front)
            mesh.addTriangle(c, capRing[i], capRing[j], material);
        else
            mesh.addTriangle(c, capRing[j], capRing[i], material);
    }
}

}  // namespace

Mesh buildMesh(const char* frontTexture, const char* backTexture) {
    Mesh mesh;
    MeshMaterial front, back;
    front.texture = frontTexture;
    back.texture = backTexture;
    mesh.materials = {front, back};
    std::vector<ContourPoint> contour = coreContour();
    addHalf(mesh, contour, true);
    addHalf(mesh, contour, false);
    return mesh;
}

Image paintFace(bool front, int size) {
    Image img(size, size);
    // Pixel -> tile units as the viewer sees the face (x right, y up).
    const float unit = 2 * kHalfWidth / size;
    auto tile = [&](const Distance& d) { return mapped(d, -kHalfWidth, kHalfWidth, unit, -unit); };
    auto toPx = [&](float x, float y) { return Pt{(x + kHalfWidth) / unit, (kHalfWidth - y) / unit}; };
    Pt centre = toPx(0, 0);

    // The pearl body, which also covers the rounded edge and the seam.
    fillShape(img, [](float, float) { return -1.0f; },
              radial(centre.x, centre.y, size * 0.55f, palette::pearl(), palette::pearlShade()));

    const float tileHalf = 9.6f, tileRound = 3.9f;
    Distance tileShape = tile(roundedRect(0, 0, tileHalf, tileHalf, tileRound));
    // A fine groove where the coloured tile is set into the body.
    fillMask(img, strokeMask(size, size, grown(tileShape, 0.25f / unit), 0.45f / unit),
             solid(hexColor(0x7d7262)), 0.55f);

    Rgba inner = front ? hexColor(0xffbb45) : hexColor(0x4a98ff);
    Rgba outer = front ? hexColor(0xea7a10) : hexColor(0x1b52c6);
    fillShape(img, tileShape, radial(centre.x, centre.y, tileHalf * 1.35f / unit, inner, outer));
    // A soft shade inside the tile's edge gives it depth.
    Mask tileMask = shapeMask(size, size, tileShape);
    Mask edgeShade = subtract(tileMask, blurred(shapeMask(size, size, grown(tileShape, 1.1f / unit)), 1.2f / unit));
    fillMask(img, edgeShade, solid(front ? hexColor(0x9a4a06) : hexColor(0x0d2a78)), 0.45f);

    Distance symbol;
    if (front) {
        Distance sun = tile(circle(0, 0, 3.4f));
        for (int i = 0; i < 12; ++i) {
            float a = i * kPi / 6;
            float inR = 4.6f, outR = i % 2 ? 6.0f : 6.8f;
            sun = unite(sun, tile(capsule(inR * std::sin(a), inR * std::cos(a), outR * std::sin(a),
                                          outR * std::cos(a), 0.5f)));
        }
        symbol = sun;
    } else {
        // Tile units have y up, so the first tip (drawn towards -y) turns by pi.
        std::vector<Pt> pts = starPoints(0, -0.25f, 6.6f, 2.75f, 5, kPi);
        symbol = tile(polygon(pts, 0.3f));
    }
    Mask symbolMask = shapeMask(size, size, symbol);
    fillMask(img, shifted(blurred(symbolMask, 0.5f / unit), 0, int(std::lround(0.35f / unit))),
             solid(front ? hexColor(0x8c3d00) : hexColor(0x0a1f66)), 0.55f);
    Rgba light = front ? palette::cream() : palette::ice();
    Rgba shade = front ? hexColor(0xffe2a6) : hexColor(0xc4dcff);
    fillMask(img, symbolMask, radial(centre.x, centre.y - 2.0f / unit, 7.0f / unit, light, shade));
    if (front) {
        // A brighter heart in the sun's disc.
        Mask core = shapeMask(size, size, tile(circle(0, 0, 2.1f)));
        fillMask(img, blurred(core, 0.6f / unit), solid(hexColor(0xffffff)), 0.55f);
    }
    return img;
}

}  // namespace block
