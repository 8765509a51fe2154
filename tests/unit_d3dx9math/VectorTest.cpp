// Vectors, colours and the transforms of points and directions.
#include "MathExpect.h"

namespace {

TEST(D3DXVector, NormalizeKeepsZeroAndTinyVectorsFinite) {
    const struct {
        D3DXVECTOR3 in, want;
    } cases[] = {
        {{3, 0, 4}, {0.6f, 0, 0.8f}},
        {{0, 0, -5}, {0, 0, -1}},
        {{0, 0, 0}, {0, 0, 0}},  // no direction: stays zero, no NaN
        {{1e-20f, 0, 0}, {1, 0, 0}},
    };
    for (const auto& c : cases) {
        D3DXVECTOR3 out;
        ASSERT_EQ(&out, D3DXVec3Normalize(&out, &c.in));
        EXPECT_TRUE(floatsNear(out, c.want, 1e-6f)) << c.in.x << " " << c.in.y << " " << c.in.z;
    }
    D3DXVECTOR2 out;
    const D3DXVECTOR2 zero(0, 0), left(-256, 0);
    EXPECT_TRUE(*D3DXVec2Normalize(&out, &zero) == zero);
    EXPECT_TRUE(*D3DXVec2Normalize(&out, &left) == D3DXVECTOR2(-1, 0));
}

TEST(D3DXVector, CrossIsRightHandedAndLerpMinMaxWorkPerComponent) {
    const D3DXVECTOR3 a(2, 3, 6), b(-1, 4, 0.5f), x(1, 0, 0), y(0, 1, 0);
    D3DXVECTOR3 r;
    EXPECT_EQ(7.0f, D3DXVec3Length(&a));
    EXPECT_EQ(13.0f, D3DXVec3Dot(&a, &b));
    EXPECT_TRUE(*D3DXVec3Cross(&r, &x, &y) == D3DXVECTOR3(0, 0, 1)) << "x cross y = z";
    EXPECT_TRUE(*D3DXVec3Cross(&r, &a, &b) == D3DXVECTOR3(3 * 0.5f - 6 * 4, 6 * -1 - 2 * 0.5f, 2 * 4 - 3 * -1));
    EXPECT_TRUE(*D3DXVec3Lerp(&r, &a, &b, 0.25f) == D3DXVECTOR3(1.25f, 3.25f, 4.625f));
    EXPECT_TRUE(*D3DXVec3Minimize(&r, &a, &b) == D3DXVECTOR3(-1, 3, 0.5f));
    EXPECT_TRUE(*D3DXVec3Maximize(&r, &a, &b) == D3DXVECTOR3(2, 4, 6));
}

TEST(D3DXVector, PointsAreTranslatedAndDividedByWDirectionsAreNot) {
    D3DXMATRIX t, p, m;
    D3DXMatrixTranslation(&t, 10, 20, 30);
    D3DXMatrixPerspectiveFovRH(&p, deg(90), 1, 1, 100);
    D3DXMatrixRotationZ(&m, deg(90));
    m = m * t;
    const D3DXVECTOR3 v(1, 2, -4);
    const float clipZ = (float)(4 * 100.0 / 99 - 100.0 / 99);
    D3DXVECTOR3 out;
    EXPECT_TRUE(floatsNear(*D3DXVec3TransformCoord(&out, &v, &t), D3DXVECTOR3(11, 22, 26)));
    EXPECT_TRUE(floatsNear(*D3DXVec3TransformNormal(&out, &v, &t), v));
    EXPECT_TRUE(floatsNear(*D3DXVec3TransformNormal(&out, &v, &m), D3DXVECTOR3(-2, 1, -4)));
    EXPECT_TRUE(floatsNear(*D3DXVec3TransformCoord(&out, &v, &p), D3DXVECTOR3(0.25f, 0.5f, clipZ / 4)));
    D3DXVECTOR4 h;
    ASSERT_EQ(&h, D3DXVec3Transform(&h, &v, &p));
    EXPECT_TRUE(floatsNear(h, D3DXVECTOR4(1, 2, clipZ, 4)));
}

TEST(D3DXColor, PacksClampedAndRoundedUnpacksExactly) {
    const D3DXCOLOR c(0x80FF4000u);
    EXPECT_TRUE(floatsNear(c, D3DXCOLOR(1.0f, 64 / 255.0f, 0.0f, 128 / 255.0f)));
    const struct {
        D3DXCOLOR in;
        DWORD want;
    } cases[] = {
        {{2.0f, -1.0f, 0.5f, 1.0f}, 0xFFFF0080u},
        {{0.0f, 1.0f, 0.0f, 0.0f}, 0x0000FF00u},
        {{0.1f, 0.2f, 0.3f, 0.4f}, 0x661A334Du},
        {c, 0x80FF4000u},
    };
    for (const auto& k : cases) EXPECT_EQ(k.want, (DWORD)k.in) << std::hex << k.want;
}

}  // namespace
