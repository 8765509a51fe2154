// Vectors, colours and the transforms of points and directions.
#include "MathExpect.h"

namespace {

TEST(D3DXVector, NormalizeTable) {
    struct Case3 {
        D3DXVECTOR3 in, want;
    };
    const Case3 cases3[] = {
        {{3, 0, 4}, {0.6f, 0, 0.8f}},
        {{0, 0, -5}, {0, 0, -1}},
        {{0, 0, 0}, {0, 0, 0}},  // no direction: stays zero, no NaN
        {{1e-20f, 0, 0}, {1, 0, 0}},
    };
    for (const Case3& c : cases3) {
        D3DXVECTOR3 out;
        ASSERT_EQ(&out, D3DXVec3Normalize(&out, &c.in));
        EXPECT_TRUE(out == c.want) << "(" << c.in.x << ", " << c.in.y << ", " << c.in.z << ") -> (" << out.x
                                   << ", " << out.y << ", " << out.z << ")";
    }
    struct Case2 {
        D3DXVECTOR2 in, want;
    };
    const Case2 cases2[] = {{{3, 4}, {0.6f, 0.8f}}, {{0, 0}, {0, 0}}, {{-256, 0}, {-1, 0}}};
    for (const Case2& c : cases2) {
        D3DXVECTOR2 out;
        ASSERT_EQ(&out, D3DXVec2Normalize(&out, &c.in));
        EXPECT_TRUE(vecNear(out, c.want, 1e-6f)) << c.in.x << ", " << c.in.y;
    }
}

TEST(D3DXVector, Vec3Arithmetic) {
    const D3DXVECTOR3 a(2, 3, 6), b(-1, 4, 0.5f), x(1, 0, 0), y(0, 1, 0);
    D3DXVECTOR3 r;
    EXPECT_EQ(7.0f, D3DXVec3Length(&a));
    EXPECT_EQ(49.0f, D3DXVec3LengthSq(&a));
    EXPECT_EQ(13.0f, D3DXVec3Dot(&a, &b));
    EXPECT_TRUE(*D3DXVec3Cross(&r, &x, &y) == D3DXVECTOR3(0, 0, 1)) << "right-handed: x cross y = z";
    EXPECT_TRUE(*D3DXVec3Cross(&r, &a, &b) == D3DXVECTOR3(3 * 0.5f - 6 * 4, 6 * -1 - 2 * 0.5f, 2 * 4 - 3 * -1));
    EXPECT_TRUE(*D3DXVec3Add(&r, &a, &b) == D3DXVECTOR3(1, 7, 6.5f));
    EXPECT_TRUE(*D3DXVec3Subtract(&r, &a, &b) == D3DXVECTOR3(3, -1, 5.5f));
    EXPECT_TRUE(*D3DXVec3Scale(&r, &a, -2) == D3DXVECTOR3(-4, -6, -12));
    EXPECT_TRUE(*D3DXVec3Lerp(&r, &a, &b, 0.25f) == D3DXVECTOR3(1.25f, 3.25f, 4.625f));
    EXPECT_TRUE(*D3DXVec3Minimize(&r, &a, &b) == D3DXVECTOR3(-1, 3, 0.5f));
    EXPECT_TRUE(*D3DXVec3Maximize(&r, &a, &b) == D3DXVECTOR3(2, 4, 6));
    EXPECT_TRUE(a + b == D3DXVECTOR3(1, 7, 6.5f));
    EXPECT_TRUE(a - b == D3DXVECTOR3(3, -1, 5.5f));
    EXPECT_TRUE(2.0f * a == a * 2.0f && a * 2.0f == D3DXVECTOR3(4, 6, 12));
    EXPECT_TRUE(-a / 2.0f == D3DXVECTOR3(-1, -1.5f, -3));
    EXPECT_TRUE(a != b);
    D3DXVECTOR3 acc = a;
    acc += b;
    acc -= b;
    acc *= 3;
    acc /= 3;
    EXPECT_TRUE(acc == a);
    EXPECT_EQ(3.0f, a[1]) << "indexing through the float* cast";
}

TEST(D3DXVector, Vec2Arithmetic) {
    const D3DXVECTOR2 a(3, 4), b(1, -2);
    D3DXVECTOR2 r;
    EXPECT_EQ(5.0f, D3DXVec2Length(&a));
    EXPECT_EQ(25.0f, D3DXVec2LengthSq(&a));
    EXPECT_EQ(-5.0f, D3DXVec2Dot(&a, &b));
    EXPECT_TRUE(*D3DXVec2Add(&r, &a, &b) == D3DXVECTOR2(4, 2));
    EXPECT_TRUE(*D3DXVec2Subtract(&r, &a, &b) == D3DXVECTOR2(2, 6));
    EXPECT_TRUE(*D3DXVec2Scale(&r, &a, 0.5f) == D3DXVECTOR2(1.5f, 2));
    EXPECT_TRUE(*D3DXVec2Lerp(&r, &a, &b, 0.5f) == D3DXVECTOR2(2, 1));
}

TEST(D3DXVector, TransformsOfPointsAndDirections) {
    D3DXMATRIX t, p, m;
    D3DXMatrixTranslation(&t, 10, 20, 30);
    D3DXMatrixPerspectiveFovRH(&p, deg(90), 1, 1, 100);
    const D3DXVECTOR3 v(1, 2, -4);
    struct Case {
        const char* what;
        D3DXVECTOR3 got, want;
    };
    D3DXVECTOR3 a, b, c;
    const Case cases[] = {
        {"point is translated", *D3DXVec3TransformCoord(&a, &v, &t), {11, 22, 26}},
        {"direction is not", *D3DXVec3TransformNormal(&b, &v, &t), {1, 2, -4}},
        // Projected point: divided by w = 4.
        {"point is divided by w", *D3DXVec3TransformCoord(&c, &v, &p), {0.25f, 0.5f, (float)((4 * 100.0 / 99 - 100.0 / 99) / 4)}},
    };
    for (const Case& k : cases) EXPECT_TRUE(vecNear(k.got, k.want)) << k.what;
    D3DXVECTOR4 h;
    ASSERT_EQ(&h, D3DXVec3Transform(&h, &v, &p));
    EXPECT_TRUE(vecNear(h, D3DXVECTOR4(1, 2, (float)(4 * 100.0 / 99 - 100.0 / 99), 4)));
    D3DXMatrixRotationZ(&m, deg(90));
    m = m * t;
    EXPECT_TRUE(vecNear(*D3DXVec3TransformNormal(&a, &v, &m), D3DXVECTOR3(-2, 1, -4)));
}

TEST(D3DXColor, PacksAndUnpacksArgb) {
    const D3DXCOLOR c(0x80FF4000u);
    EXPECT_EQ(1.0f, c.r);
    EXPECT_FLOAT_EQ(64 / 255.0f, c.g);
    EXPECT_EQ(0.0f, c.b);
    EXPECT_FLOAT_EQ(128 / 255.0f, c.a);
    EXPECT_EQ(0x80FF4000u, (DWORD)c);
    struct Case {
        D3DXCOLOR in;
        DWORD want;
    };
    const Case cases[] = {
        {{2.0f, -1.0f, 0.5f, 1.0f}, 0xFFFF0080u},  // clamped, rounded to nearest
        {{0.0f, 1.0f, 0.0f, 0.0f}, 0x0000FF00u},
        {{0.1f, 0.2f, 0.3f, 0.4f}, 0x661A334Du},
    };
    for (const Case& k : cases) EXPECT_EQ(k.want, (DWORD)k.in) << std::hex << k.want;
    D3DCOLORVALUE v = D3DXCOLOR(0.25f, 0.5f, 0.75f, 1.0f);
    EXPECT_EQ(0.75f, v.b);
    EXPECT_TRUE(D3DXCOLOR(v) * 2.0f == D3DXCOLOR(0.5f, 1.0f, 1.5f, 2.0f));
}

}  // namespace
