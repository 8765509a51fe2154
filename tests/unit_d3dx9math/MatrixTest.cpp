// Matrix construction, products, inverse and the row-vector convention.
#include <cstddef>

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

TEST(D3DXMatrix, ConstructionAccessAndCasts) {
    const float f[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    D3DXMATRIX m(f);
    EXPECT_EQ(13.0f, m(3, 0));
    EXPECT_EQ(m._23, m(1, 2));
    m(3, 1) = -1;
    EXPECT_EQ(-1.0f, m._42);
    EXPECT_EQ(&m._11, (float*)m);
    EXPECT_EQ(-1.0f, ((const float*)m)[13]);
    const D3DMATRIX& base = m;
    EXPECT_TRUE(D3DXMATRIX(base) == m);
    EXPECT_TRUE(D3DXMATRIX(base) != D3DXMATRIX(f));
}

TEST(D3DXMatrix, BasicBuildersElements) {
    struct Case {
        const char* what;
        D3DXMATRIX got, want;
    };
    D3DXMATRIX id, sc, tr, rx, ry, rz;
    const float c = (float)std::cos(kPi / 6), s = 0.5f;
    const Case cases[] = {
        {"identity", *D3DXMatrixIdentity(&id), D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1)},
        {"scaling", *D3DXMatrixScaling(&sc, 2, 3, 4), D3DXMATRIX(2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1)},
        {"translation", *D3DXMatrixTranslation(&tr, 5, 6, 7),
         D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1)},
        {"rotation x 30", *D3DXMatrixRotationX(&rx, deg(30)),
         D3DXMATRIX(1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1)},
        {"rotation y 30", *D3DXMatrixRotationY(&ry, deg(30)),
         D3DXMATRIX(c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1)},
        {"rotation z 30", *D3DXMatrixRotationZ(&rz, deg(30)),
         D3DXMATRIX(c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1)},
    };
    for (const Case& k : cases) EXPECT_TRUE(matrixNear(k.got, k.want, 1e-6f)) << k.what;
    EXPECT_TRUE(D3DXMatrixIsIdentity(&id));
    EXPECT_FALSE(D3DXMatrixIsIdentity(&tr));
}

TEST(D3DXMatrix, QuarterTurnsMoveAxesRightHanded) {
    struct Case {
        const char* what;
        D3DXMATRIX (*make)();
        D3DXVECTOR3 in, want;
    };
    const Case cases[] = {
        {"RotationY +x", [] { D3DXMATRIX m; return *D3DXMatrixRotationY(&m, deg(90)); }, {1, 0, 0}, {0, 0, -1}},
        {"RotationY +z", [] { D3DXMATRIX m; return *D3DXMatrixRotationY(&m, deg(90)); }, {0, 0, 1}, {1, 0, 0}},
        {"RotationX +y", [] { D3DXMATRIX m; return *D3DXMatrixRotationX(&m, deg(90)); }, {0, 1, 0}, {0, 0, 1}},
        {"RotationZ +x", [] { D3DXMATRIX m; return *D3DXMatrixRotationZ(&m, deg(90)); }, {1, 0, 0}, {0, 1, 0}},
        {"YawPitchRoll(90, 0, 0) +x",
         [] { D3DXMATRIX m; return *D3DXMatrixRotationYawPitchRoll(&m, deg(90), 0, 0); }, {1, 0, 0}, {0, 0, -1}},
        {"YawPitchRoll(0, 90, 0) +y",
         [] { D3DXMATRIX m; return *D3DXMatrixRotationYawPitchRoll(&m, 0, deg(90), 0); }, {0, 1, 0}, {0, 0, 1}},
        {"YawPitchRoll(0, 0, 90) +x",
         [] { D3DXMATRIX m; return *D3DXMatrixRotationYawPitchRoll(&m, 0, 0, deg(90)); }, {1, 0, 0}, {0, 1, 0}},
        {"Axis (1,1,1) 120 +x", [] {
             D3DXMATRIX m;
             const D3DXVECTOR3 a(1, 1, 1);
             return *D3DXMatrixRotationAxis(&m, &a, deg(120));
         }, {1, 0, 0}, {0, 1, 0}},
        {"Axis (1,1,1) 120 +z", [] {
             D3DXMATRIX m;
             const D3DXVECTOR3 a(1, 1, 1);
             return *D3DXMatrixRotationAxis(&m, &a, deg(120));
         }, {0, 0, 1}, {1, 0, 0}},
    };
    for (const Case& c : cases) EXPECT_TRUE(vecNear(apply(c.make(), c.in), c.want)) << c.what;
}

TEST(D3DXMatrix, YawPitchRollIsRollThenPitchThenYaw) {
    const float angles[][3] = {{0.3f, -0.7f, 1.1f}, {deg(90), deg(45), deg(-30)}, {2.5f, 0.1f, -2.9f}};
    for (const auto& a : angles) {
        D3DXMATRIX ypr, ry, rx, rz;
        D3DXMatrixRotationYawPitchRoll(&ypr, a[0], a[1], a[2]);
        D3DXMatrixRotationY(&ry, a[0]);
        D3DXMatrixRotationX(&rx, a[1]);
        D3DXMatrixRotationZ(&rz, a[2]);
        EXPECT_TRUE(matrixNear(ypr, rz * rx * ry)) << a[0] << " " << a[1] << " " << a[2];
    }
}

TEST(D3DXMatrix, RotationAxisMatchesAxisRotations) {
    struct Case {
        D3DXVECTOR3 axis;
        D3DXMATRIX (*ref)(D3DXMATRIX*, float);
    };
    auto rx = [](D3DXMATRIX* m, float a) { return *D3DXMatrixRotationX(m, a); };
    auto ry = [](D3DXMATRIX* m, float a) { return *D3DXMatrixRotationY(m, a); };
    auto rz = [](D3DXMATRIX* m, float a) { return *D3DXMatrixRotationZ(m, a); };
    const Case cases[] = {{{3, 0, 0}, rx}, {{0, 1, 0}, ry}, {{0, 0, 0.5f}, rz}};  // axis length does not matter
    for (const Case& c : cases) {
        for (float a : {0.5f, -2.0f}) {
            D3DXMATRIX m, want;
            D3DXMatrixRotationAxis(&m, &c.axis, a);
            EXPECT_TRUE(matrixNear(m, c.ref(&want, a))) << "axis " << c.axis.x << c.axis.y << c.axis.z;
        }
    }
}

TEST(D3DXMatrix, ProductAppliesLeftFactorFirst) {
    D3DXMATRIX t, s, ts, st;
    D3DXMatrixTranslation(&t, 1, 2, 3);
    D3DXMatrixScaling(&s, 2, 2, 2);
    ASSERT_EQ(&ts, D3DXMatrixMultiply(&ts, &t, &s));
    D3DXMatrixMultiply(&st, &s, &t);
    EXPECT_TRUE(vecNear(apply(ts, D3DXVECTOR3(1, 1, 1)), D3DXVECTOR3(4, 6, 8)));
    EXPECT_TRUE(vecNear(apply(st, D3DXVECTOR3(1, 1, 1)), D3DXVECTOR3(3, 4, 5)));
    EXPECT_TRUE(ts == t * s);
    D3DXMATRIX acc = t;
    acc *= s;
    EXPECT_TRUE(acc == ts);
}

TEST(D3DXMatrix, WorldTransformOfAModel) {
    // Rotation x, y, z then scale then translation, the order models build
    // their world matrix in: a quarter turn about y with scale (2, 1, 1) sends
    // local x to world -z (length 1) and local z to world +x (length 2).
    D3DXMATRIX rx, ry, rz, s, t;
    D3DXMatrixRotationX(&rx, 0);
    D3DXMatrixRotationY(&ry, 90 * 0.0174533f);
    D3DXMatrixRotationZ(&rz, 0);
    D3DXMatrixScaling(&s, 2, 1, 1);
    D3DXMatrixTranslation(&t, 0, 0, 0);
    const D3DXMATRIX world = rx * ry * rz * s * t;
    D3DXVECTOR3 x(1, 0, 0), z(0, 0, 1);
    D3DXVec3TransformNormal(&x, &x, &world);
    D3DXVec3TransformNormal(&z, &z, &world);
    EXPECT_TRUE(vecNear(x, D3DXVECTOR3(0, 0, -1)));
    EXPECT_TRUE(vecNear(z, D3DXVECTOR3(2, 0, 0)));
}

TEST(D3DXMatrix, TransposeSwapsRowsAndColumns) {
    const float f[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    D3DXMATRIX m(f), t;
    ASSERT_EQ(&t, D3DXMatrixTranspose(&t, &m));
    EXPECT_TRUE(t == D3DXMATRIX(1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16));
}

TEST(D3DXMatrix, InverseUndoesInvertibleMatrices) {
    struct Case {
        const char* what;
        D3DXMATRIX m;
        float det;
    };
    D3DXMATRIX proj;
    D3DXMatrixPerspectiveFovRH(&proj, deg(60), 4.0f / 3.0f, 1, 8000);
    const Case cases[] = {
        {"scale, rotation, translation", affineSample(), 3.0f},
        {"perspective", proj, (float)((1.0 / std::tan(kPi / 6)) * (1.0 / std::tan(kPi / 6)) * 0.75 *
                                      (8000.0 / -7999.0))},
        {"general", D3DXMATRIX(2, 1, 0, 3, 0, 1, 4, 1, 5, 0, 1, 2, 1, 2, 3, 1), -62.0f},
    };
    for (const Case& c : cases) {
        D3DXMATRIX inv, id;
        float det = 0;
        ASSERT_EQ(&inv, D3DXMatrixInverse(&inv, &det, &c.m)) << c.what;
        EXPECT_TRUE(near(c.det, det, 1e-5f)) << c.what << ": determinant " << det << ", want " << c.det;
        EXPECT_TRUE(near(c.det, D3DXMatrixDeterminant(&c.m), 1e-5f)) << c.what;
        D3DXMatrixIdentity(&id);
        EXPECT_TRUE(matrixNear(inv * c.m, id, 1e-5f)) << c.what << " inverse x m";
        EXPECT_TRUE(matrixNear(c.m * inv, id, 1e-5f)) << c.what << " m x inverse";
        EXPECT_EQ(&inv, D3DXMatrixInverse(&inv, nullptr, &c.m)) << "determinant is optional";
    }
}

TEST(D3DXMatrix, InverseOfSingularIsNullAndLeavesOutputAlone) {
    struct Case {
        const char* what;
        D3DXMATRIX m;
    };
    D3DXMATRIX flat;
    D3DXMatrixScaling(&flat, 1, 0, 1);
    const Case cases[] = {
        {"flattening scale", flat},
        {"dependent rows", D3DXMATRIX(1, 2, 3, 0, 4, 5, 6, 0, 5, 7, 9, 0, 1, 1, 1, 1)},
        {"zero", D3DXMATRIX(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)},
    };
    for (const Case& c : cases) {
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
    EXPECT_TRUE(matrixNear(got, s * r * t));

    D3DXMatrixTransformation(&got, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(D3DXMatrixIsIdentity(&got)) << "every part left out";

    // About a centre: the centre stays put under a pure rotation and scaling.
    const D3DXVECTOR3 centre(3, -1, 2);
    D3DXMatrixTransformation(&got, &centre, &q, &scale, &centre, &q, nullptr);
    EXPECT_TRUE(vecNear(apply(got, centre), centre, 1e-5f));
    // Scaling along axes turned by the scaling rotation: a unit step along
    // the turned x axis grows to 2 before the rotation acts.
    D3DXMatrixTransformation(&got, nullptr, &q, &scale, nullptr, nullptr, nullptr);
    D3DXVECTOR3 turnedX(1, 0, 0);
    D3DXVec3TransformNormal(&turnedX, &turnedX, &r);
    EXPECT_TRUE(vecNear(apply(got, turnedX), turnedX * 2));
}

TEST(D3DXMatrix, AffineTransformationAboutACentre) {
    D3DXQUATERNION q;
    const D3DXVECTOR3 axis(0, 0, 1), centre(10, 0, 0), move(0, 0, 5);
    D3DXQuaternionRotationAxis(&q, &axis, deg(90));
    D3DXMATRIX m;
    ASSERT_EQ(&m, D3DXMatrixAffineTransformation(&m, 2, &centre, &q, &move));
    // (1,0,0) scaled to (2,0,0), turned a quarter about (10,0,0) to (10,-8,0), moved by +5 z.
    EXPECT_TRUE(vecNear(apply(m, D3DXVECTOR3(1, 0, 0)), D3DXVECTOR3(10, -8, 5), 1e-5f));
}

TEST(D3DXMatrix, Operators) {
    const D3DXMATRIX a = affineSample();
    D3DXMATRIX id;
    D3DXMatrixIdentity(&id);
    EXPECT_TRUE(matrixNear(a + a, 2.0f * a, 0));
    EXPECT_TRUE(matrixNear(a - a, a * 0.0f, 0));
    EXPECT_TRUE(matrixNear((a * 4.0f) / 4.0f, a, 0));
    EXPECT_TRUE(-a == a * -1.0f);
    EXPECT_TRUE(a * id == a);
}

}  // namespace
