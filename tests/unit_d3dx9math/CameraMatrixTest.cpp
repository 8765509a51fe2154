// View and projection matrices: where they put points.
#include "MathExpect.h"

namespace {

struct PointCase {
    D3DXVECTOR3 in, want;
};

TEST(D3DXCamera, LookAtMapsWorldPointsToViewSpace) {
    const struct {
        const char* what;
        D3DXVECTOR3 eye, at, up;
        PointCase points[3];
    } cases[] = {
        {"default camera", {0, 0, 190}, {0, 0, 0}, {0, 1, 0},
         {{{0, 0, 0}, {0, 0, -190}}, {{0, 0, 190}, {0, 0, 0}}, {{10, 20, 0}, {10, 20, -190}}}},
        // Looking down -x: world -z is the camera's right.
        {"eye on +x", {100, 0, 0}, {0, 0, 0}, {0, 1, 0},
         {{{0, 0, -50}, {50, 0, -100}}, {{0, 30, 0}, {0, 30, -100}}, {{100, 0, 0}, {0, 0, 0}}}},
        // An up vector that is not perpendicular to the view direction.
        {"raised eye, tilted up", {0, 100, 100}, {0, 0, 0}, {0, 1, 0},
         {{{0, 0, 0}, {0, 0, -141.421356f}}, {{0, 100, 100}, {0, 0, 0}}, {{7, 0, 0}, {7, 0, -141.421356f}}}},
    };
    for (const auto& c : cases) {
        D3DXMATRIX v;
        ASSERT_EQ(&v, D3DXMatrixLookAtRH(&v, &c.eye, &c.at, &c.up));
        for (const PointCase& p : c.points)
            EXPECT_TRUE(floatsNear(apply(v, p.in), p.want)) << c.what << ", point " << p.in.x << " " << p.in.y
                                                            << " " << p.in.z;
    }
    // The eye on the target gives no direction: no NaN either.
    D3DXMATRIX v;
    const D3DXVECTOR3 eye(5, 5, 5), up(0, 1, 0);
    D3DXMatrixLookAtRH(&v, &eye, &eye, &up);
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(std::isfinite(((const float*)v)[i])) << "element " << i;
}

TEST(D3DXCamera, InverseOfViewHoldsTheEyeAndTheBackDirection) {
    // Picking takes the camera position from the inverse view matrix.
    D3DXMATRIX v, inv;
    const D3DXVECTOR3 eye(30, 40, 190), at(5, -3, 0), up(0, 1, 0);
    D3DXMatrixLookAtRH(&v, &eye, &at, &up);
    ASSERT_NE(nullptr, D3DXMatrixInverse(&inv, nullptr, &v));
    EXPECT_TRUE(floatsNear(D3DXVECTOR3(inv._41, inv._42, inv._43), eye));
    D3DXVECTOR3 back = eye - at;
    D3DXVec3Normalize(&back, &back);
    EXPECT_TRUE(floatsNear(D3DXVECTOR3(inv._31, inv._32, inv._33), back));
}

TEST(D3DXCamera, PerspectiveMapsNearToZeroFarToOneAndTheFrustumEdgesToOne) {
    const struct {
        float fovDeg, aspect, zn, zf;
    } frusta[] = {{60, 800.0f / 600.0f, 1, 8000}, {90, 1, 10, 500}, {30, 0.5f, 0.25f, 4}};
    for (const auto& f : frusta) {
        D3DXMATRIX p;
        ASSERT_EQ(&p, D3DXMatrixPerspectiveFovRH(&p, deg(f.fovDeg), f.aspect, f.zn, f.zf));
        const float t = (float)std::tan(f.fovDeg * kPi / 360.0);
        const float mid = (f.zn + f.zf) * 0.5f;
        // Depth of a point halfway between the planes: zf (mid - zn) / (mid (zf - zn)).
        const float midDepth = (float)((double)f.zf * (mid - f.zn) / ((double)mid * (f.zf - f.zn)));
        const PointCase cases[] = {
            {{0, 0, -f.zn}, {0, 0, 0}},
            {{0, 0, -f.zf}, {0, 0, 1}},
            {{t * f.aspect * mid, t * mid, -mid}, {1, 1, midDepth}},  // top-right corner of the view
            {{-t * f.aspect * f.zn, 0, -f.zn}, {-1, 0, 0}},
        };
        for (const PointCase& c : cases) {
            D3DXVECTOR4 h;
            D3DXVec3Transform(&h, &c.in, &p);
            EXPECT_FLOAT_EQ(-c.in.z, h.w) << "clip w is the distance in front of the eye";
            EXPECT_TRUE(floatsNear(apply(p, c.in), c.want))
                << "fov " << f.fovDeg << " near " << f.zn << " far " << f.zf << ", view z " << c.in.z;
        }
    }
}

TEST(D3DXCamera, OrthoMapsScreenUnitsToClipSpace) {
    const struct {
        float w, h, zn, zf;
        PointCase point;
    } cases[] = {
        {800, 600, 0, 1, {{400, 300, 0}, {1, 1, 0}}},
        {800, 600, 0, 1, {{-400, -300, 0}, {-1, -1, 0}}},
        {800, 600, 0, 1, {{200, -150, -0.5f}, {0.5f, -0.5f, 0.5f}}},
        {800, 600, 0, 1, {{0, 0, -1}, {0, 0, 1}}},
        {2, 2, 2, 6, {{0, 0, -2}, {0, 0, 0}}},
        {2, 2, 2, 6, {{1, 0, -6}, {1, 0, 1}}},
    };
    for (const auto& c : cases) {
        D3DXMATRIX o;
        ASSERT_EQ(&o, D3DXMatrixOrthoRH(&o, c.w, c.h, c.zn, c.zf));
        EXPECT_TRUE(floatsNear(apply(o, c.point.in), c.point.want))
            << c.w << "x" << c.h << " depth " << c.zn << ".." << c.zf << ", point " << c.point.in.x << " "
            << c.point.in.y << " " << c.point.in.z;
    }
}

}  // namespace
