// View and projection matrices: element values and where they put points.
#include "MathExpect.h"

namespace {

struct PointCase {
    D3DXVECTOR3 in;
    D3DXVECTOR3 want;
};

TEST(D3DXCamera, LookAtDefaultCameraElements) {
    D3DXMATRIX v;
    const D3DXVECTOR3 eye(0, 0, 190), at(0, 0, 0), up(0, 1, 0);
    ASSERT_EQ(&v, D3DXMatrixLookAtRH(&v, &eye, &at, &up));
    EXPECT_TRUE(matrixNear(v, D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -190, 1)));
}

TEST(D3DXCamera, LookAtMapsWorldPointsToViewSpace) {
    struct Case {
        const char* what;
        D3DXVECTOR3 eye, at, up;
        PointCase points[3];
    };
    const Case cases[] = {
        {"default camera", {0, 0, 190}, {0, 0, 0}, {0, 1, 0},
         {{{0, 0, 0}, {0, 0, -190}}, {{0, 0, 190}, {0, 0, 0}}, {{10, 20, 0}, {10, 20, -190}}}},
        // Looking down -x: world -z is the camera's right.
        {"eye on +x", {100, 0, 0}, {0, 0, 0}, {0, 1, 0},
         {{{0, 0, -50}, {50, 0, -100}}, {{0, 30, 0}, {0, 30, -100}}, {{100, 0, 0}, {0, 0, 0}}}},
        // An up vector that is not perpendicular to the view direction.
        {"raised eye, tilted up", {0, 100, 100}, {0, 0, 0}, {0, 1, 0},
         {{{0, 0, 0}, {0, 0, -141.421356f}}, {{0, 100, 100}, {0, 0, 0}}, {{7, 0, 0}, {7, 0, -141.421356f}}}},
    };
    for (const Case& c : cases) {
        D3DXMATRIX v;
        D3DXMatrixLookAtRH(&v, &c.eye, &c.at, &c.up);
        for (const PointCase& p : c.points)
            EXPECT_TRUE(vecNear(apply(v, p.in), p.want)) << c.what << " point (" << p.in.x << ", " << p.in.y
                                                         << ", " << p.in.z << ")";
    }
}

TEST(D3DXCamera, LookAtWithEyeOnTargetHasNoNaN) {
    D3DXMATRIX v;
    const D3DXVECTOR3 eye(5, 5, 5), up(0, 1, 0);
    D3DXMatrixLookAtRH(&v, &eye, &eye, &up);
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(std::isfinite(((const float*)v)[i])) << "element " << i;
}

TEST(D3DXCamera, InverseOfViewHoldsTheEyeInItsBottomRow) {
    // Picking takes the camera position from the inverse view matrix.
    D3DXMATRIX v, inv;
    const D3DXVECTOR3 eye(30, 40, 190), at(5, -3, 0), up(0, 1, 0);
    D3DXMatrixLookAtRH(&v, &eye, &at, &up);
    ASSERT_NE(nullptr, D3DXMatrixInverse(&inv, nullptr, &v));
    EXPECT_TRUE(vecNear(D3DXVECTOR3(inv._41, inv._42, inv._43), eye, 1e-5f));
    // And its third row is the direction back towards the eye.
    D3DXVECTOR3 back = eye - at;
    D3DXVec3Normalize(&back, &back);
    EXPECT_TRUE(vecNear(D3DXVECTOR3(inv._31, inv._32, inv._33), back));
}

TEST(D3DXCamera, PerspectiveFovElements) {
    D3DXMATRIX p;
    ASSERT_EQ(&p, D3DXMatrixPerspectiveFovRH(&p, 60.0f * 0.017453292f, 800.0f / 600.0f, 1.0f, 8000.0f));
    const double yScale = 1.0 / std::tan(kPi / 6.0);
    const float q = (float)(8000.0 / (1.0 - 8000.0));
    EXPECT_TRUE(matrixNear(p, D3DXMATRIX((float)(yScale * 0.75), 0, 0, 0,
                                         0, (float)yScale, 0, 0,
                                         0, 0, q, -1,
                                         0, 0, q, 0), 1e-6f));
}

TEST(D3DXCamera, PerspectiveMapsNearToZeroAndFarToOne) {
    struct Frustum {
        float fovDeg, aspect, zn, zf;
    };
    const Frustum frusta[] = {{60, 800.0f / 600.0f, 1, 8000}, {90, 1, 10, 500}, {30, 0.5f, 0.25f, 4}};
    for (const Frustum& f : frusta) {
        D3DXMATRIX p;
        D3DXMatrixPerspectiveFovRH(&p, deg(f.fovDeg), f.aspect, f.zn, f.zf);
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
            EXPECT_TRUE(vecNear(apply(p, c.in), c.want, 1e-5f))
                << "fov " << f.fovDeg << " near " << f.zn << " far " << f.zf << ", view z " << c.in.z;
        }
    }
}

TEST(D3DXCamera, OrthoMapsScreenPixelsToClipSpace) {
    D3DXMATRIX o;
    ASSERT_EQ(&o, D3DXMatrixOrthoRH(&o, 800, 600, 0, 1));
    EXPECT_TRUE(matrixNear(o, D3DXMATRIX(2.0f / 800, 0, 0, 0, 0, 2.0f / 600, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1)));
    const PointCase cases[] = {
        {{400, 300, 0}, {1, 1, 0}},
        {{-400, -300, 0}, {-1, -1, 0}},
        {{200, -150, -0.5f}, {0.5f, -0.5f, 0.5f}},
        {{0, 0, -1}, {0, 0, 1}},
    };
    for (const PointCase& c : cases)
        EXPECT_TRUE(vecNear(apply(o, c.in), c.want)) << "(" << c.in.x << ", " << c.in.y << ", " << c.in.z << ")";
}

TEST(D3DXCamera, OrthoWithOffsetDepthRange) {
    D3DXMATRIX o;
    D3DXMatrixOrthoRH(&o, 2, 2, 2, 6);
    EXPECT_NEAR(0.0f, apply(o, D3DXVECTOR3(0, 0, -2)).z, 1e-6f);
    EXPECT_NEAR(1.0f, apply(o, D3DXVECTOR3(0, 0, -6)).z, 1e-6f);
}

}  // namespace
