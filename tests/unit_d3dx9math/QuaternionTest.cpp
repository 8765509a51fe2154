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

TEST(D3DXQuaternion, AxisAngleAndMatrixFormsAgreeBothWays) {
    // Every branch of the matrix-to-quaternion conversion: small angles
    // (positive trace) and half turns about each axis (the largest diagonal).
    const struct {
        D3DXVECTOR3 axis;
        float angle;
    } rotations[] = {
        {{0, 1, 0}, 0.3f},       {{1, 2, 3}, 1.0f},       {{-1, 0.5f, 2}, -2.2f},
        {{1, 0, 0}, (float)kPi}, {{0, 1, 0}, (float)kPi}, {{0, 0, 1}, (float)kPi},
        {{1, 0.1f, 0.2f}, 3.0f}, {{0.1f, 1, 0.2f}, 3.0f}, {{0.1f, 0.2f, 1}, 3.0f},
    };
    for (const auto& r : rotations) {
        D3DXMATRIX want;
        D3DXMatrixRotationAxis(&want, &r.axis, r.angle);
        const D3DXQUATERNION q = axisAngle(r.axis.x, r.axis.y, r.axis.z, r.angle);
        EXPECT_NEAR(1.0f, D3DXQuaternionLength(&q), 1e-6f);
        EXPECT_TRUE(floatsNear(matrixOf(q), want)) << "angle " << r.angle;
        D3DXQUATERNION back;
        ASSERT_EQ(&back, D3DXQuaternionRotationMatrix(&back, &want));
        // q and -q are one rotation; compare the rotations.
        EXPECT_TRUE(floatsNear(matrixOf(back), want, 2e-5f)) << "angle " << r.angle;
        EXPECT_NEAR(1.0f, std::fabs(D3DXQuaternionDot(&back, &q)), 1e-5f) << "angle " << r.angle;
    }
    // A quarter turn about y, as a quaternion, is (0, sin 45, 0, cos 45).
    EXPECT_TRUE(floatsNear(axisAngle(0, 2, 0, deg(90)), D3DXQUATERNION(0, 0.70710678f, 0, 0.70710678f)));

    const float angles[][3] = {{0.3f, -0.7f, 1.1f}, {deg(90), 0, 0}, {2.5f, 0.1f, -2.9f}};
    for (const auto& a : angles) {
        D3DXQUATERNION q;
        D3DXMATRIX want;
        D3DXQuaternionRotationYawPitchRoll(&q, a[0], a[1], a[2]);
        D3DXMatrixRotationYawPitchRoll(&want, a[0], a[1], a[2]);
        EXPECT_TRUE(floatsNear(matrixOf(q), want)) << "yaw pitch roll " << a[0] << " " << a[1] << " " << a[2];
    }
}

TEST(D3DXQuaternion, MultiplyIsFirstThenSecond) {
    const D3DXQUATERNION a = axisAngle(1, 0.3f, -0.5f, 0.7f), b = axisAngle(0.2f, 1, 1, -1.3f);
    D3DXQUATERNION ab;
    ASSERT_EQ(&ab, D3DXQuaternionMultiply(&ab, &a, &b));
    EXPECT_TRUE(floatsNear(matrixOf(ab), matrixOf(a) * matrixOf(b)));
    EXPECT_TRUE(ab == a * b);
    // Quarter turn about x then about y takes +y to +z, then to +x.
    const D3DXQUATERNION xy = axisAngle(1, 0, 0, deg(90)) * axisAngle(0, 1, 0, deg(90));
    EXPECT_TRUE(floatsNear(apply(matrixOf(xy), D3DXVECTOR3(0, 1, 0)), D3DXVECTOR3(1, 0, 0)));
}

TEST(D3DXQuaternion, InverseAndNormalizeKeepZeroAtZero) {
    const D3DXQUATERNION q = axisAngle(1, 2, 3, 0.9f) * 2.0f, zero(0, 0, 0, 0);
    D3DXQUATERNION inv, n;
    D3DXQuaternionInverse(&inv, &q);
    EXPECT_TRUE(floatsNear(q * inv, D3DXQUATERNION(0, 0, 0, 1)));
    D3DXQuaternionNormalize(&n, &q);
    EXPECT_TRUE(floatsNear(n, q / 2.0f));
    EXPECT_TRUE(*D3DXQuaternionNormalize(&n, &zero) == zero) << "no NaN";
    EXPECT_TRUE(*D3DXQuaternionInverse(&n, &zero) == zero) << "no NaN";
}

TEST(D3DXQuaternion, SlerpFollowsTheShortArcAtConstantSpeed) {
    D3DXQUATERNION id;
    D3DXQuaternionIdentity(&id);
    const D3DXQUATERNION quarterY = axisAngle(0, 1, 0, deg(90));
    const struct {
        const char* what;
        D3DXQUATERNION from, to;
        float t, degreesAboutY;  // compared as rotations, so the sign of q is free
    } cases[] = {
        {"start", id, quarterY, 0.0f, 0},
        {"halfway", id, quarterY, 0.5f, 45},
        {"third", id, quarterY, 1.0f / 3.0f, 30},
        {"end", id, quarterY, 1.0f, 90},
        {"halfway to the negated end takes the short arc", id, -quarterY, 0.5f, 45},
        {"nearly equal inputs", axisAngle(0, 1, 0, deg(10)), axisAngle(0, 1, 0, deg(10.0001)), 0.5f, 10},
    };
    for (const auto& c : cases) {
        D3DXQUATERNION q;
        D3DXMATRIX want;
        D3DXMatrixRotationY(&want, deg(c.degreesAboutY));
        ASSERT_EQ(&q, D3DXQuaternionSlerp(&q, &c.from, &c.to, c.t));
        EXPECT_NEAR(1.0f, D3DXQuaternionLength(&q), 1e-5f) << c.what;
        EXPECT_TRUE(floatsNear(matrixOf(q), want)) << c.what;
    }
}

}  // namespace
