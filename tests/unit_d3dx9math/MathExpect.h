// Tolerant comparisons for the D3DX math tests: results are single precision,
// expected values are worked out by hand or in double.
#ifndef ZV_TESTS_MATH_EXPECT_H
#define ZV_TESTS_MATH_EXPECT_H

#include <gtest/gtest.h>

#include <cmath>

#include <d3dx9math.h>

constexpr float kTol = 1e-5f;
constexpr double kPi = 3.14159265358979323846;

inline float deg(double d) { return (float)(d * kPi / 180.0); }

inline bool near(float a, float b, float tol) {
    return std::fabs(a - b) <= tol * std::fmax(1.0f, std::fmax(std::fabs(a), std::fabs(b)));
}

// Any of the float aggregates (vectors, quaternions, matrices), component by
// component, relative to the larger magnitude.
template <typename V>
::testing::AssertionResult floatsNear(const V& got, const V& want, float tol = kTol) {
    const int n = sizeof(V) / sizeof(float);
    const float* g = got;
    const float* w = want;
    for (int i = 0; i < n; ++i)
        if (!near(g[i], w[i], tol)) {
            auto failure = ::testing::AssertionFailure() << "component " << i << ": got";
            for (int k = 0; k < n; ++k) failure << " " << g[k];
            failure << ", want";
            for (int k = 0; k < n; ++k) failure << " " << w[k];
            return failure;
        }
    return ::testing::AssertionSuccess();
}

// A point through a matrix, divided by w.
inline D3DXVECTOR3 apply(const D3DXMATRIX& m, const D3DXVECTOR3& p) {
    D3DXVECTOR3 r;
    D3DXVec3TransformCoord(&r, &p, &m);
    return r;
}

#endif
