// Matrix builders, products, inverse and the row-vector convention.
#include "MathExpect.h"

namespace {

// The engine hands these straight to Direct3D as D3DMATRIX / D3DVECTOR arrays.
static_assert(sizeof(D3DXMATRIX) == 64, "D3DXMATRIX is 16 floats");
static_assert(sizeof(D3DXVECTOR3) == 12, "D3DXVECTOR3 is 3 floats");
static_assert(sizeof(D3DXQUATERNION) == 16 && sizeof(D3DXCOLOR) == 16, "4 floats");

D3DXMATRIX affineSample() {
    D3DXMATRIX s, r, t;
    D3DXMatrixScaling(&s, 2, 3, 0.5f);
    D3DXMatrixRotationYawPitchRoll(&r, 0.4f, -1.2f, 0.7f);
    D3DXMatrixTranslation(&t, 10, -20, 30);
    return s * r * t;
}

TEST(D3DXMatrix, BuildersMovePointsRightHanded) {
    D3DXMATRIX rx, ry, rz, yaw, pitch, roll, axis, longAxis, sc, tr;
    const D3DXVECTOR3 diagonal(1, 1, 1), yAxis(0, 3, 0);
    D3DXMatrixRotationX(&rx, deg(90));
    D3DXMatrixRotationY(&ry, deg(90));
    D3DXMatrixRotationZ(&rz, deg(90));
    D3DXMatrixRotationYawPitchRoll(&yaw, deg(90), 0, 0);
    D3DXMatrixRotationYawPitchRoll(&pitch, 0, deg(90), 0);
    D3DXMatrixRotationYawPitchRoll(&roll, 0, 0, deg(90));
    D3DXMatrixRotationAxis(&axis, &diagonal, deg(120));
    D3DXMatrixRotationAxis(&longAxis, &yAxis, deg(90));  // the axis's length does not matter
    D3DXMatrixScaling(&sc, 2, 3, 4);
    D3DXMatrixTranslation(&tr, 5, 6, 7);
    const struct {
        const char* what;
        const D3DXMATRIX& m;
        D3DXVECTOR3 in, want;
    } cases[] = {
        {"RotationX +y", rx, {0, 1, 0}, {0, 0, 1}},      {"RotationY +x", ry, {1, 0, 0}, {0, 0, -1}},
        {"RotationY +z", ry, {0, 0, 1}, {1, 0, 0}},      {"RotationZ +x", rz, {1, 0, 0}, {0, 1, 0}},
        {"yaw +x", yaw, {1, 0, 0}, {0, 0, -1}},          {"pitch +y", pitch, {0, 1, 0}, {0, 0, 1}},
        {"roll +x", roll, {1, 0, 0}, {0, 1, 0}},         {"axis (1,1,1) +x", axis, {1, 0, 0}, {0, 1, 0}},
        {"axis (1,1,1) +z", axis, {0, 0, 1}, {1, 0, 0}}, {"axis (0,3,0) +x", longAxis, {1, 0, 0}, {0, 0, -1}},
        {"scaling", sc, {1, -1, 2}, {2, -3, 8}},         {"translation", tr, {1, -1, 2}, {6, 5, 9}},
    };
    for (const auto& c : cases) EXPECT_TRUE(floatsNear(apply(c.m, c.in), c.want)) << c.what;
}

TEST(D3DXMatrix, YawPitchRollIsRollThenPitchThenYaw) {
    const float angles[][3] = {{0.3f, -0.7f, 1.1f}, {deg(90), deg(45), deg(-30)}, {2.5f, 0.1f, -2.9f}};
    for (const auto& a : angles) {
        D3DXMATRIX ypr, ry, rx, rz;
        D3DXMatrixRotationYawPitchRoll(&ypr, a[0], a[1], a[2]);
        D3DXMatrixRotationY(&ry, a[0]);
        D3DXMatrixRotationX(&rx, a[1]);
        D3DXMatrixRotationZ(&rz, a[2]);
        EXPECT_TRUE(floatsNear(ypr, rz * rx * ry)) << a[0] << " " << a[1] << " " << a[2];
    }
}

TEST(D3DXMatrix, ProductAppliesLeftFactorFirstAndTransposeSwaps) {
    D3DXMATRIX t, s, ts, st;
    D3DXMatrixTranslation(&t, 1, 2, 3);
    D3DXMatrixScaling(&s, 2, 2, 2);
    ASSERT_EQ(&ts, D3DXMatrixMultiply(&ts, &t, &s));
    D3DXMatrixMultiply(&st, &s, &t);
    EXPECT_TRUE(floatsNear(apply(ts, D3DXVECTOR3(1, 1, 1)), D3DXVECTOR3(4, 6, 8)));
    EXPECT_TRUE(floatsNear(apply(st, D3DXVECTOR3(1, 1, 1)), D3DXVECTOR3(3, 4, 5)));
    EXPECT_TRUE(ts == t * s);

    const D3DXMATRIX m(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    ASSERT_EQ(&t, D3DXMatrixTranspose(&t, &m));
    EXPECT_TRUE(t == D3DXMATRIX(1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16));
}

TEST(D3DXMatrix, InverseUndoesInvertibleMatrices) {
    D3DXMATRIX proj;
    D3DXMatrixPerspectiveFovRH(&proj, deg(60), 4.0f / 3.0f, 1, 8000);
    const double cot30 = 1.0 / std::tan(kPi / 6);
    const struct {
        const char* what;
        D3DXMATRIX m;
        float det;
    } cases[] = {
        {"scale, rotation, translation", affineSample(), 3.0f},
        {"perspective", proj, (float)(cot30 * cot30 * 0.75 * (8000.0 / -7999.0))},
        {"general", D3DXMATRIX(2, 1, 0, 3, 0, 1, 4, 1, 5, 0, 1, 2, 1, 2, 3, 1), -62.0f},
    };
    for (const auto& c : cases) {
        D3DXMATRIX inv, id;
        float det = 0;
        ASSERT_EQ(&inv, D3DXMatrixInverse(&inv, &det, &c.m)) << c.what;
        EXPECT_TRUE(near(c.det, det, 1e-5f)) << c.what << ": determinant " << det << ", want " << c.det;
        EXPECT_TRUE(near(c.det, D3DXMatrixDeterminant(&c.m), 1e-5f)) << c.what;
        D3DXMatrixIdentity(&id);
        EXPECT_TRUE(floatsNear(inv * c.m, id)) << c.what << " inverse x m";
        EXPECT_TRUE(floatsNear(c.m * inv, id)) << c.what << " m x inverse";
    }
}

TEST(D3DXMatrix, InverseOfSingularIsNullAndLeavesOutputAlone) {
    D3DXMATRIX flat;
    D3DXMatrixScaling(&flat, 1, 0, 1);
    const struct {
        const char* what;
        D3DXMATRIX m;
    } cases[] = {
        {"flattening scale", flat},
        {"dependent rows", D3DXMATRIX(1, 2, 3, 0, 4, 5, 6, 0, 5, 7, 9, 0, 1, 1, 1, 1)},
        {"zero", D3DXMATRIX(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)},
    };
    for (const auto& c : cases) {
        D3DXMATRIX out(7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7);
        const D3DXMATRIX before = out;
        float det = 99;
        EXPECT_EQ(nullptr, D3DXMatrixInverse(&out, &det, &c.m)) << c.what;
        EXPECT_EQ(0.0f, det) << c.what;
        EXPECT_TRUE(out == before) << c.what;
    }
}

TEST(D3DXMatrix, TransformationComposesScaleRotationTranslation) {
    D3DXQUATERNION q;
    const D3DXVECTOR3 axis(1, 2, -1), scale(2, 3, 4), move(5, -6, 7);
    D3DXQuaternionRotationAxis(&q, &axis, 0.8f);
    D3DXMATRIX s, r, t, got;
    D3DXMatrixScaling(&s, 2, 3, 4);
    D3DXMatrixRotationQuaternion(&r, &q);
    D3DXMatrixTranslation(&t, 5, -6, 7);
    ASSERT_EQ(&got, D3DXMatrixTransformation(&got, nullptr, nullptr, &scale, nullptr, &q, &move));
    EXPECT_TRUE(floatsNear(got, s * r * t));

    D3DXMatrixTransformation(&got, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(D3DXMatrixIsIdentity(&got)) << "every part left out";

    // About a centre: the centre stays put under a pure rotation and scaling.
    const D3DXVECTOR3 centre(3, -1, 2);
    D3DXMatrixTransformation(&got, &centre, &q, &scale, &centre, &q, nullptr);
    EXPECT_TRUE(floatsNear(apply(got, centre), centre));
    // Scaling along axes turned by the scaling rotation: a unit step along
    // the turned x axis grows to 2 before the rotation acts.
    D3DXMatrixTransformation(&got, nullptr, &q, &scale, nullptr, nullptr, nullptr);
    D3DXVECTOR3 turnedX(1, 0, 0);
    D3DXVec3TransformNormal(&turnedX, &turnedX, &r);
    EXPECT_TRUE(floatsNear(apply(got, turnedX), turnedX * 2));

    // Affine: (1,0,0) scaled to (2,0,0), turned a quarter about z around
    // (10,0,0) to (10,-8,0), moved by +5 z.
    const D3DXVECTOR3 zAxis(0, 0, 1), pivot(10, 0, 0), up5(0, 0, 5);
    D3DXQuaternionRotationAxis(&q, &zAxis, deg(90));
    ASSERT_EQ(&got, D3DXMatrixAffineTransformation(&got, 2, &pivot, &q, &up5));
    EXPECT_TRUE(floatsNear(apply(got, D3DXVECTOR3(1, 0, 0)), D3DXVECTOR3(10, -8, 5)));
}

}  // namespace
