// Tolerant comparisons for the D3DX math tests: results are single precision,
// expected values are worked out by hand or in double.
#ifndef ZV_TESTS_MATH_EXPECT_H
#define ZV_TESTS_MATH_EXPECT_H

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include <d3dx9math.h>

constexpr float kTol = 1e-5f;
constexpr double kPi = 3.14159265358979323846;

inline float deg(double d) { return (float)(d * kPi / 180.0); }

inline bool near(float a, float b, float tol) {
    return std::fabs(a - b) <= tol * std::fmax(1.0f, std::fmax(std::fabs(a), std::fabs(b)));
}

inline std::string str(const D3DXMATRIX& m) {
    std::ostringstream o;
    for (int r = 0; r < 4; ++r) {
        o << "\n  ";
        for (int c = 0; c < 4; ++c) o << m.m[r][c] << (c < 3 ? ", " : "");
    }
    return o.str();
}

inline ::testing::AssertionResult matrixNear(const D3DXMATRIX& got, const D3DXMATRIX& want, float tol = kTol) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (!near(got.m[r][c], want.m[r][c], tol))
                return ::testing::AssertionFailure() << "element _" << r + 1 << c + 1 << ": got" << str(got)
                                                     << "\nwant" << str(want);
    return ::testing::AssertionSuccess();
}

template <typename V, int N>
::testing::AssertionResult floatsNear(const V& got, const V& want, float tol) {
    const float* g = got;
    const float* w = want;
    for (int i = 0; i < N; ++i)
        if (!near(g[i], w[i], tol)) {
            std::ostringstream o;
            o << "component " << i << ": got (";
            for (int k = 0; k < N; ++k) o << g[k] << (k + 1 < N ? ", " : ")");
            o << " want (";
            for (int k = 0; k < N; ++k) o << w[k] << (k + 1 < N ? ", " : ")");
            return ::testing::AssertionFailure() << o.str();
        }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult vecNear(const D3DXVECTOR3& got, const D3DXVECTOR3& want, float tol = kTol) {
    return floatsNear<D3DXVECTOR3, 3>(got, want, tol);
}
inline ::testing::AssertionResult vecNear(const D3DXVECTOR2& got, const D3DXVECTOR2& want, float tol = kTol) {
    return floatsNear<D3DXVECTOR2, 2>(got, want, tol);
}
inline ::testing::AssertionResult vecNear(const D3DXVECTOR4& got, const D3DXVECTOR4& want, float tol = kTol) {
    return floatsNear<D3DXVECTOR4, 4>(got, want, tol);
}
inline ::testing::AssertionResult quatNear(const D3DXQUATERNION& got, const D3DXQUATERNION& want,
                                           float tol = kTol) {
    return floatsNear<D3DXQUATERNION, 4>(got, want, tol);
}

// A point through a matrix, divided by w.
inline D3DXVECTOR3 apply(const D3DXMATRIX& m, const D3DXVECTOR3& p) {
    D3DXVECTOR3 r;
    D3DXVec3TransformCoord(&r, &p, &m);
    return r;
}

#endif
