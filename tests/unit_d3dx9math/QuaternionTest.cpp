// Quaternions: agreement with the matrix forms, products, slerp.
#include "MathExpect.h"

namespace {

D3DXMATRIX matrixOf(const D3DXQUATERNION& q) {
    D3DXMATRIX m;
    D3DXMatrixRotationQuaternion(&m, &q);
    return m;
}

D3DXQUATERNION axisAngle(float x, float y, float z, float angle) {
    D3DXQUATERNION q;
    const D3DXVECTOR3 axis(x, y, z);
    D3DXQuaternionRotationAxis(&q, &axis, angle);
    return q;
}

struct AxisAngle {
    D3DXVECTOR3 axis;
    float angle;
};

// Covers every branch of the matrix-to-quaternion conversion: small angles
// (positive trace) and half turns about each axis (the largest diagonal).
const AxisAngle kRotations[] = {
    {{0, 1, 0}, 0.3f},         {{1, 2, 3}, 1.0f},       {{-1, 0.5f, 2}, -2.2f},
    {{1, 0, 0}, (float)kPi},   {{0, 1, 0}, (float)kPi}, {{0, 0, 1}, (float)kPi},
    {{1, 0.1f, 0.2f}, 3.0f},   {{0.1f, 1, 0.2f}, 3.0f}, {{0.1f, 0.2f, 1}, 3.0f},
};

TEST(D3DXQuaternion, RotationAxisAgreesWithMatrixRotationAxis) {
    for (const AxisAngle& r : kRotations) {
        D3DXMATRIX want;
        D3DXMatrixRotationAxis(&want, &r.axis, r.angle);
        const D3DXQUATERNION q = axisAngle(r.axis.x, r.axis.y, r.axis.z, r.angle);
        EXPECT_NEAR(1.0f, D3DXQuaternionLength(&q), 1e-6f);
        EXPECT_TRUE(matrixNear(matrixOf(q), want)) << "angle " << r.angle;
    }
    // A quarter turn about y, as a quaternion, is (0, sin 45, 0, cos 45).
    EXPECT_TRUE(quatNear(axisAngle(0, 2, 0, deg(90)), D3DXQUATERNION(0, 0.70710678f, 0, 0.70710678f)));
}

TEST(D3DXQuaternion, RotationMatrixRoundTrips) {
    for (const AxisAngle& r : kRotations) {
        const D3DXQUATERNION q = axisAngle(r.axis.x, r.axis.y, r.axis.z, r.angle);
        const D3DXMATRIX m = matrixOf(q);
        D3DXQUATERNION back;
        ASSERT_EQ(&back, D3DXQuaternionRotationMatrix(&back, &m));
        // q and -q are one rotation; compare the rotations.
        EXPECT_TRUE(matrixNear(matrixOf(back), m, 2e-5f)) << "angle " << r.angle;
        EXPECT_NEAR(1.0f, std::fabs(D3DXQuaternionDot(&back, &q)), 1e-5f) << "angle " << r.angle;
    }
}

TEST(D3DXQuaternion, MultiplyIsFirstThenSecond) {
    const D3DXQUATERNION a = axisAngle(1, 0.3f, -0.5f, 0.7f), b = axisAngle(0.2f, 1, 1, -1.3f);
    D3DXQUATERNION ab;
    ASSERT_EQ(&ab, D3DXQuaternionMultiply(&ab, &a, &b));
    EXPECT_TRUE(matrixNear(matrixOf(ab), matrixOf(a) * matrixOf(b)));
    EXPECT_TRUE(ab == a * b);
    D3DXQUATERNION acc = a;
    acc *= b;
    EXPECT_TRUE(acc == ab);
    // Quarter turn about x then about y takes +y to +z, then to +x.
    const D3DXQUATERNION xy = axisAngle(1, 0, 0, deg(90)) * axisAngle(0, 1, 0, deg(90));
    EXPECT_TRUE(vecNear(apply(matrixOf(xy), D3DXVECTOR3(0, 1, 0)), D3DXVECTOR3(1, 0, 0)));
}

TEST(D3DXQuaternion, YawPitchRollAgreesWithMatrix) {
    const float angles[][3] = {{0.3f, -0.7f, 1.1f}, {deg(90), 0, 0}, {2.5f, 0.1f, -2.9f}};
    for (const auto& a : angles) {
        D3DXQUATERNION q;
        D3DXMATRIX want;
        D3DXQuaternionRotationYawPitchRoll(&q, a[0], a[1], a[2]);
        D3DXMatrixRotationYawPitchRoll(&want, a[0], a[1], a[2]);
        EXPECT_TRUE(matrixNear(matrixOf(q), want)) << a[0] << " " << a[1] << " " << a[2];
    }
}

TEST(D3DXQuaternion, InverseConjugateNormalize) {
    const D3DXQUATERNION q = axisAngle(1, 2, 3, 0.9f) * 2.0f;
    D3DXQUATERNION inv, id, n, c;
    D3DXQuaternionInverse(&inv, &q);
    id = q * inv;
    EXPECT_TRUE(quatNear(id, D3DXQUATERNION(0, 0, 0, 1)));
    D3DXQuaternionConjugate(&c, &q);
    EXPECT_TRUE(c == D3DXQUATERNION(-q.x, -q.y, -q.z, q.w));
    D3DXQuaternionNormalize(&n, &q);
    EXPECT_TRUE(quatNear(n, q / 2.0f));
    const D3DXQUATERNION zero(0, 0, 0, 0);
    EXPECT_TRUE(*D3DXQuaternionNormalize(&n, &zero) == zero) << "zero stays zero";
    EXPECT_TRUE(*D3DXQuaternionInverse(&n, &zero) == zero) << "zero stays zero";
    EXPECT_TRUE(D3DXQuaternionIsIdentity(D3DXQuaternionIdentity(&n)));
    EXPECT_FALSE(D3DXQuaternionIsIdentity(&q));
}

TEST(D3DXQuaternion, Slerp) {
    D3DXQUATERNION id;
    D3DXQuaternionIdentity(&id);
    const D3DXQUATERNION quarterY = axisAngle(0, 1, 0, deg(90));
    struct Case {
        const char* what;
        D3DXQUATERNION from, to;
        float t;
        D3DXMATRIX want;  // compared as rotations, so the sign of q is free
    };
    D3DXMATRIX ry0, ry45, ry90, ry30, ry10;
    D3DXMatrixRotationY(&ry0, 0);
    D3DXMatrixRotationY(&ry45, deg(45));
    D3DXMatrixRotationY(&ry90, deg(90));
    D3DXMatrixRotationY(&ry30, deg(30));
    D3DXMatrixRotationY(&ry10, deg(10));
    const Case cases[] = {
        {"start", id, quarterY, 0.0f, ry0},
        {"halfway", id, quarterY, 0.5f, ry45},
        {"third", id, quarterY, 1.0f / 3.0f, ry30},
        {"end", id, quarterY, 1.0f, ry90},
        {"halfway to the negated end takes the short arc", id, -quarterY, 0.5f, ry45},
        {"nearly equal inputs", axisAngle(0, 1, 0, deg(10)), axisAngle(0, 1, 0, deg(10.0001)), 0.5f, ry10},
    };
    for (const Case& c : cases) {
        D3DXQUATERNION q;
        ASSERT_EQ(&q, D3DXQuaternionSlerp(&q, &c.from, &c.to, c.t));
        EXPECT_NEAR(1.0f, D3DXQuaternionLength(&q), 1e-5f) << c.what;
        EXPECT_TRUE(matrixNear(matrixOf(q), c.want, 1e-5f)) << c.what;
    }
    // Halfway is exactly the 45-degree quaternion.
    D3DXQUATERNION half;
    D3DXQuaternionSlerp(&half, &id, &quarterY, 0.5f);
    EXPECT_TRUE(quatNear(half, D3DXQUATERNION(0, (float)std::sin(kPi / 8), 0, (float)std::cos(kPi / 8))));
}

}  // namespace
