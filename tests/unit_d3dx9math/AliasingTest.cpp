// Functions that read an input after writing part of their result may write
// over one of their own inputs: the result must be the same as with a
// separate output.
#include <functional>
#include <vector>

#include "MathExpect.h"

namespace {

const D3DXMATRIX kA(2, 1, 0, 3, 0, 1, 4, 1, 5, 0, 1, 2, 1, 2, 3, 1);
const D3DXMATRIX kB(0.5f, -1, 2, 0, 3, 0.25f, -2, 1, 1, 1, 1, 0, -4, 2, 0.5f, 1);
const D3DXVECTOR3 kU(1, -2, 3), kV(-4, 0.5f, 2);
const D3DXVECTOR2 kU2(3, -7);
const D3DXQUATERNION kP(0.1f, 0.7f, -0.2f, 0.67f), kQ(-0.5f, 0.1f, 0.4f, 0.76f);

// run(alias) computes one result, into a spare output (false) or over an
// input (true), checks the returned pointer and gives the result's floats.
struct Case {
    const char* what;
    std::function<std::vector<float>(bool)> run;
};

template <typename T>
std::vector<float> result(T* returned, T* out) {
    EXPECT_EQ(out, returned) << "returns its output pointer";
    const float* f = *out;
    return std::vector<float>(f, f + sizeof(T) / sizeof(float));
}

// Declares `var` = init and a spare output, points `out` at var (aliased)
// or at the spare, and runs `call`, which writes through `out`.
#define ALIAS_CASE(what, Type, var, init, call) \
    {                                           \
        what, [](bool alias) {                  \
            Type var = init, spare;             \
            Type* out = alias ? &var : &spare;  \
            return result(call, out);           \
        }                                       \
    }

TEST(D3DXAliasing, OutputOverInputGivesTheSameResult) {
    const Case cases[] = {
        ALIAS_CASE("MatrixMultiply out = m1", D3DXMATRIX, a, kA, D3DXMatrixMultiply(out, &a, &kB)),
        ALIAS_CASE("MatrixMultiply out = m2", D3DXMATRIX, b, kB, D3DXMatrixMultiply(out, &kA, &b)),
        ALIAS_CASE("MatrixMultiply out = m1 = m2", D3DXMATRIX, a, kA, D3DXMatrixMultiply(out, &a, &a)),
        ALIAS_CASE("MatrixTranspose", D3DXMATRIX, a, kA, D3DXMatrixTranspose(out, &a)),
        ALIAS_CASE("MatrixInverse", D3DXMATRIX, a, kA, D3DXMatrixInverse(out, nullptr, &a)),
        ALIAS_CASE("Vec3Cross out = v1", D3DXVECTOR3, u, kU, D3DXVec3Cross(out, &u, &kV)),
        ALIAS_CASE("Vec3Cross out = v2", D3DXVECTOR3, v, kV, D3DXVec3Cross(out, &kU, &v)),
        ALIAS_CASE("Vec3Lerp out = v2", D3DXVECTOR3, v, kV, D3DXVec3Lerp(out, &kU, &v, 0.3f)),
        ALIAS_CASE("Vec3Normalize", D3DXVECTOR3, u, kU, D3DXVec3Normalize(out, &u)),
        ALIAS_CASE("Vec3TransformCoord", D3DXVECTOR3, u, kU, D3DXVec3TransformCoord(out, &u, &kB)),
        ALIAS_CASE("Vec3TransformNormal", D3DXVECTOR3, u, kU, D3DXVec3TransformNormal(out, &u, &kB)),
        ALIAS_CASE("Vec2Normalize", D3DXVECTOR2, u, kU2, D3DXVec2Normalize(out, &u)),
        ALIAS_CASE("QuaternionMultiply out = q1", D3DXQUATERNION, p, kP, D3DXQuaternionMultiply(out, &p, &kQ)),
        ALIAS_CASE("QuaternionMultiply out = q2", D3DXQUATERNION, q, kQ, D3DXQuaternionMultiply(out, &kP, &q)),
        ALIAS_CASE("QuaternionSlerp out = q1", D3DXQUATERNION, p, kP, D3DXQuaternionSlerp(out, &p, &kQ, 0.4f)),
        ALIAS_CASE("QuaternionSlerp out = q2", D3DXQUATERNION, q, kQ, D3DXQuaternionSlerp(out, &kP, &q, 0.4f)),
        ALIAS_CASE("QuaternionNormalize", D3DXQUATERNION, p, kP, D3DXQuaternionNormalize(out, &p)),
        ALIAS_CASE("QuaternionInverse", D3DXQUATERNION, p, kP, D3DXQuaternionInverse(out, &p)),
    };
    for (const Case& c : cases) EXPECT_EQ(c.run(false), c.run(true)) << c.what;

    // The compound operators on themselves.
    D3DXMATRIX a = kA;
    a *= a;
    EXPECT_TRUE(a == kA * kA);
    D3DXQUATERNION p = kP;
    p *= p;
    EXPECT_TRUE(p == kP * kP);
}

}  // namespace
