#include "SkyArt.h"

#include "Noise.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace sky {

const char* const kFaceNames[6] = {"px", "nx", "py", "ny", "pz", "nz"};

namespace {

float smooth(float e0, float e1, float x) {
    float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

void normalize(float d[3]) {
    float l = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    d[0] /= l, d[1] /= l, d[2] /= l;
}

float dot(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

Rgba add(Rgba c, const Rgba& l, float k) {
    c.r += l.r * k, c.g += l.g * k, c.b += l.b * k;
    return c;
}

// A soft light around direction `to` (unit), `width` radians wide.
float lobe(const float d[3], float x, float y, float z, float width) {
    float to[3] = {x, y, z};
    normalize(to);
    float a = std::acos(std::clamp(dot(d, to), -1.0f, 1.0f));
    return std::exp(-(a * a) / (2 * width * width));
}

}  // namespace

bool faceUv(int face, const float d[3], float& u, float& v) {
    const int axis = face / 2;
    const float m = face % 2 == 0 ? d[axis] : -d[axis];
    if (m <= 0) return false;
    const float x = d[0] / m, y = d[1] / m, z = d[2] / m;
    switch (face) {
    case 0: u = (1 - z) / 2, v = (1 - y) / 2; break;
    case 1: u = (1 + z) / 2, v = (1 - y) / 2; break;
    case 2: u = (1 + x) / 2, v = (1 + z) / 2; break;
    case 3: u = (1 + x) / 2, v = (1 - z) / 2; break;
    case 4: u = (1 + x) / 2, v = (1 - y) / 2; break;
    default: u = (1 - x) / 2, v = (1 - y) / 2; break;
    }
    return true;
}

namespace {

Rgba skyColor(const float d[3]) {
    const float h = d[1];
    Rgba horizon = hexColor(0x22305f), mid = hexColor(0x141a42), zenith = hexColor(0x0a0c24),
         low = hexColor(0x090c1f);
    Rgba c;
    if (h >= 0) {
        c = mix(horizon, mid, smooth(0.0f, 0.35f, h));
        c = mix(c, zenith, smooth(0.3f, 1.0f, h));
    } else {
        c = mix(horizon, low, smooth(0.0f, 0.55f, -h));
    }
    // The nebula: clouds along a tilted band that crosses the view of the
    // board and the menu (both look along -z).
    float bandNormal[3] = {0.22f, 0.9f, -0.38f};
    normalize(bandNormal);
    float b = dot(d, bandNormal);
    float band = std::exp(-(b * b) / (2 * 0.3f * 0.3f));
    float n = fractalNoise(d[0] * 2.4f + 11, d[1] * 2.4f + 3, d[2] * 2.4f + 7, 5, 0.55f, 17);
    float hue = fractalNoise(d[0] * 1.4f + 2, d[1] * 1.4f + 9, d[2] * 1.4f + 4, 3, 0.5f, 29);
    Rgba teal = hexColor(0x2a86a6), violet = hexColor(0x8a3f9f);
    Rgba neb = mix(teal, violet, smooth(0.38f, 0.62f, hue));
    c = add(c, neb, smooth(0.40f, 0.80f, n) * band * 0.55f);
    float wisp = fractalNoise(d[0] * 6 + 5, d[1] * 6 + 1, d[2] * 6 + 8, 4, 0.5f, 41);
    c = add(c, mix(neb, hexColor(0xb7c8ff), 0.4f), smooth(0.55f, 0.85f, wisp) * band * 0.10f);
    // A faint warm glow low on the horizon, off to the side of the view.
    c = add(c, hexColor(0xffb27a), 0.16f * lobe(d, -0.55f, 0.12f, -1.0f, 0.32f));
    c = add(c, hexColor(0x6d8cff), 0.10f * lobe(d, 0.7f, 0.3f, -0.6f, 0.45f));
    return c;
}

Rgba envColor(const float d[3]) {
    const float h = d[1];
    Rgba top = hexColor(0x8f9cc4), horizon = hexColor(0x3a4160), bottom = hexColor(0x161a30);
    Rgba c = h >= 0 ? mix(horizon, top, std::pow(h, 0.8f)) : mix(horizon, bottom, smooth(0.0f, 0.5f, -h));
    // Faces turned to the camera reflect the +z half, spread over the board
    // like a mirror image of the screen: a soft window band runs across it
    // from upper left to lower right, so some blocks catch a sheen and a
    // turning block sweeps through it.
    if (d[2] > 0.05f) {
        float sx = d[0] / d[2], sy = d[1] / d[2];
        float dist = (sy - (0.25f - 0.55f * sx)) / std::sqrt(1 + 0.55f * 0.55f);
        float band = std::exp(-(dist * dist) / (2 * 0.09f * 0.09f)) * std::exp(-(sx * sx + sy * sy) / (2 * 0.9f * 0.9f));
        c = add(c, hexColor(0xfff4e2), 0.9f * band);
    }
    c = add(c, hexColor(0xffd7a8), 0.5f * lobe(d, 0.5f, 0.45f, 0.75f, 0.18f));
    c = add(c, hexColor(0xbfe2ff), 0.35f * lobe(d, -0.7f, 0.1f, 0.7f, 0.22f));
    c = add(c, hexColor(0xffc796), 0.30f * lobe(d, 0.0f, -0.15f, -1.0f, 0.5f));
    return c;
}

struct Star {
    float d[3];
    Rgba colour;
    float brightness;
    float sigma;
};

std::vector<Star> makeStars() {
    Random rng(20240611u);
    std::vector<Star> stars;
    for (int i = 0; i < 1500; ++i) {
        Star s;
        // Uniform on the sphere.
        float z = rng.uniform() * 2 - 1, a = rng.uniform() * 6.2831853f;
        float r = std::sqrt(1 - z * z);
        s.d[0] = r * std::cos(a), s.d[1] = z, s.d[2] = r * std::sin(a);
        float t = rng.uniform();
        s.brightness = 0.07f + 0.75f * std::pow(rng.uniform(), 5.0f);
        s.sigma = 0.4f + 0.45f * s.brightness;
        s.colour = mix(hexColor(0xaecbff), hexColor(0xffe3c0), t);
        // Fewer stars low on the horizon haze.
        if (s.d[1] < -0.2f) s.brightness *= 0.6f;
        stars.push_back(s);
    }
    return stars;
}

void splatStars(Image& img, int face) {
    static const std::vector<Star> stars = makeStars();
    const int n = img.width();
    for (const Star& s : stars) {
        float u, v;
        if (!faceUv(face, s.d, u, v)) continue;
        if (u < -0.02f || u > 1.02f || v < -0.02f || v > 1.02f) continue;
        float cx = u * n, cy = v * n;
        int r = 3;
        for (int y = int(cy) - r; y <= int(cy) + r; ++y)
            for (int x = int(cx) - r; x <= int(cx) + r; ++x) {
                if (x < 0 || y < 0 || x >= n || y >= n) continue;
                float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
                float k = s.brightness * std::exp(-(dx * dx + dy * dy) / (2 * s.sigma * s.sigma));
                Rgba c = img.get(x, y);
                c = add(c, s.colour, k);
                img.set(x, y, Rgba{std::min(c.r, 1.0f), std::min(c.g, 1.0f), std::min(c.b, 1.0f), 1});
            }
    }
}

Rgba clampOpaque(Rgba c) {
    return Rgba{std::clamp(c.r, 0.0f, 1.0f), std::clamp(c.g, 0.0f, 1.0f), std::clamp(c.b, 0.0f, 1.0f), 1};
}

// Checks faceUv against faceDirection once, so the stars and the faces can
// never disagree about the layout.
void checkLayout() {
    for (int f = 0; f < 6; ++f) {
        float d[3], u, v;
        faceDirection(f, 0.2f, 0.7f, d);
        if (!faceUv(f, d, u, v) || std::fabs(u - 0.2f) > 1e-5f || std::fabs(v - 0.7f) > 1e-5f) {
            std::fprintf(stderr, "artgen: cube face %d layout mismatch\n", f);
            std::exit(1);
        }
    }
}

}  // namespace

void faceDirection(int face, float u, float v, float dir[3]) {
    const float s = 2 * u - 1, t = 2 * v - 1;
    switch (face) {
    case 0: dir[0] = 1, dir[1] = -t, dir[2] = -s; break;
    case 1: dir[0] = -1, dir[1] = -t, dir[2] = s; break;
    case 2: dir[0] = s, dir[1] = 1, dir[2] = t; break;
    case 3: dir[0] = s, dir[1] = -1, dir[2] = -t; break;
    case 4: dir[0] = s, dir[1] = -t, dir[2] = 1; break;
    default: dir[0] = -s, dir[1] = -t, dir[2] = -1; break;
    }
}

Image paintSkyFace(int face, int size) {
    checkLayout();
    Image img(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float d[3];
            faceDirection(face, (x + 0.5f) / size, (y + 0.5f) / size, d);
            normalize(d);
            img.set(x, y, clampOpaque(skyColor(d)));
        }
    splatStars(img, face);
    return img;
}

Rgba environment(const float dir[3]) { return clampOpaque(envColor(dir)); }

Image paintEnvFace(int face, int size) {
    Image img(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float d[3];
            faceDirection(face, (x + 0.5f) / size, (y + 0.5f) / size, d);
            normalize(d);
            img.set(x, y, clampOpaque(envColor(d)));
        }
    return img;
}

Mesh buildSkyMesh(float halfSize, const std::string textureNames[6], int textureSize) {
    Mesh mesh;
    // Texture coordinates stop half a texel short of each edge: the wrapping
    // sampler would otherwise blend in the opposite edge at the seams.
    const float inset = 0.5f / textureSize;
    for (int f = 0; f < 6; ++f) {
        MeshMaterial m;
        m.texture = textureNames[f];
        mesh.materials.push_back(m);
        const float corners[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
        uint32_t idx[4];
        float inward[3] = {0, 0, 0};
        inward[f / 2] = f % 2 == 0 ? -1.0f : 1.0f;
        for (int k = 0; k < 4; ++k) {
            float d[3];
            faceDirection(f, corners[k][0], corners[k][1], d);
            MeshVertex v{d[0] * halfSize, d[1] * halfSize, d[2] * halfSize, inward[0], inward[1], inward[2],
                         inset + corners[k][0] * (1 - 2 * inset), inset + corners[k][1] * (1 - 2 * inset)};
            idx[k] = mesh.addVertex(v);
        }
        // Keep both triangles facing the centre, whatever the face layout.
        const MeshVertex &a = mesh.vertices[idx[0]], &b = mesh.vertices[idx[1]], &c = mesh.vertices[idx[2]];
        float e1[3] = {b.x - a.x, b.y - a.y, b.z - a.z}, e2[3] = {c.x - a.x, c.y - a.y, c.z - a.z};
        float n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
        if (dot(n, inward) > 0) {
            mesh.addTriangle(idx[0], idx[1], idx[2], f);
            mesh.addTriangle(idx[1], idx[3], idx[2], f);
        } else {
            mesh.addTriangle(idx[0], idx[2], idx[1], f);
            mesh.addTriangle(idx[1], idx[2], idx[3], f);
        }
    }
    return mesh;
}

}  // namespace sky
