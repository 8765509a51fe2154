// The D3DX 9 math subset: vectors, matrices, quaternions and colours.
//
// Conventions are D3DX's: vectors are row vectors, a point p is transformed as
// p x M, so in A x B the transformation A acts first and a translation sits in
// the bottom row (_41, _42, _43). Angles are radians.
//
// Every function writes its result through the first argument and returns that
// pointer; the output may be the same object as any input. Trivial functions
// are inline (d3dx9math.inl); the rest live in platform/d3dx9/math.
#ifndef ZV_PLATFORM_D3DX9MATH_H
#define ZV_PLATFORM_D3DX9MATH_H

#include <cfloat>
#include <cmath>

#include <d3d9types.h>

#define D3DX_PI ((FLOAT)3.141592654f)
#define D3DX_1BYPI ((FLOAT)0.318309886f)
#define D3DXToRadian(degree) ((degree) * (D3DX_PI / 180.0f))
#define D3DXToDegree(radian) ((radian) * (180.0f / D3DX_PI))

struct D3DXVECTOR2 {
    D3DXVECTOR2() = default;
    D3DXVECTOR2(const FLOAT* f);
    D3DXVECTOR2(FLOAT x, FLOAT y);

    operator FLOAT*();
    operator const FLOAT*() const;

    D3DXVECTOR2& operator+=(const D3DXVECTOR2& v);
    D3DXVECTOR2& operator-=(const D3DXVECTOR2& v);
    D3DXVECTOR2& operator*=(FLOAT f);
    D3DXVECTOR2& operator/=(FLOAT f);

    D3DXVECTOR2 operator+() const;
    D3DXVECTOR2 operator-() const;

    D3DXVECTOR2 operator+(const D3DXVECTOR2& v) const;
    D3DXVECTOR2 operator-(const D3DXVECTOR2& v) const;
    D3DXVECTOR2 operator*(FLOAT f) const;
    D3DXVECTOR2 operator/(FLOAT f) const;
    friend D3DXVECTOR2 operator*(FLOAT f, const D3DXVECTOR2& v);

    BOOL operator==(const D3DXVECTOR2& v) const;
    BOOL operator!=(const D3DXVECTOR2& v) const;

    FLOAT x, y;
};

// Layout-compatible with D3DVECTOR, so it can be handed to Direct3D directly.
struct D3DXVECTOR3 : public D3DVECTOR {
    D3DXVECTOR3() = default;
    D3DXVECTOR3(const FLOAT* f);
    D3DXVECTOR3(const D3DVECTOR& v);
    D3DXVECTOR3(FLOAT x, FLOAT y, FLOAT z);

    operator FLOAT*();
    operator const FLOAT*() const;

    D3DXVECTOR3& operator+=(const D3DXVECTOR3& v);
    D3DXVECTOR3& operator-=(const D3DXVECTOR3& v);
    D3DXVECTOR3& operator*=(FLOAT f);
    D3DXVECTOR3& operator/=(FLOAT f);

    D3DXVECTOR3 operator+() const;
    D3DXVECTOR3 operator-() const;

    D3DXVECTOR3 operator+(const D3DXVECTOR3& v) const;
    D3DXVECTOR3 operator-(const D3DXVECTOR3& v) const;
    D3DXVECTOR3 operator*(FLOAT f) const;
    D3DXVECTOR3 operator/(FLOAT f) const;
    friend D3DXVECTOR3 operator*(FLOAT f, const D3DXVECTOR3& v);

    BOOL operator==(const D3DXVECTOR3& v) const;
    BOOL operator!=(const D3DXVECTOR3& v) const;
};

struct D3DXVECTOR4 {
    D3DXVECTOR4() = default;
    D3DXVECTOR4(const FLOAT* f);
    D3DXVECTOR4(const D3DVECTOR& xyz, FLOAT w);
    D3DXVECTOR4(FLOAT x, FLOAT y, FLOAT z, FLOAT w);

    operator FLOAT*();
    operator const FLOAT*() const;

    D3DXVECTOR4& operator+=(const D3DXVECTOR4& v);
    D3DXVECTOR4& operator-=(const D3DXVECTOR4& v);
    D3DXVECTOR4& operator*=(FLOAT f);
    D3DXVECTOR4& operator/=(FLOAT f);

    D3DXVECTOR4 operator+() const;
    D3DXVECTOR4 operator-() const;

    D3DXVECTOR4 operator+(const D3DXVECTOR4& v) const;
    D3DXVECTOR4 operator-(const D3DXVECTOR4& v) const;
    D3DXVECTOR4 operator*(FLOAT f) const;
    D3DXVECTOR4 operator/(FLOAT f) const;
    friend D3DXVECTOR4 operator*(FLOAT f, const D3DXVECTOR4& v);

    BOOL operator==(const D3DXVECTOR4& v) const;
    BOOL operator!=(const D3DXVECTOR4& v) const;

    FLOAT x, y, z, w;
};

// Layout-compatible with D3DMATRIX (_11 ... _44 in memory order, row major).
struct D3DXMATRIX : public D3DMATRIX {
    D3DXMATRIX() = default;
    D3DXMATRIX(const FLOAT* f);  // 16 floats, _11 first
    D3DXMATRIX(const D3DMATRIX& m);
    D3DXMATRIX(FLOAT _11, FLOAT _12, FLOAT _13, FLOAT _14,
               FLOAT _21, FLOAT _22, FLOAT _23, FLOAT _24,
               FLOAT _31, FLOAT _32, FLOAT _33, FLOAT _34,
               FLOAT _41, FLOAT _42, FLOAT _43, FLOAT _44);

    // Zero-based row and column: (3, 0) is _41.
    FLOAT& operator()(UINT row, UINT col);
    FLOAT operator()(UINT row, UINT col) const;

    operator FLOAT*();
    operator const FLOAT*() const;

    D3DXMATRIX& operator*=(const D3DXMATRIX& m);  // this = this x m
    D3DXMATRIX& operator+=(const D3DXMATRIX& m);
    D3DXMATRIX& operator-=(const D3DXMATRIX& m);
    D3DXMATRIX& operator*=(FLOAT f);
    D3DXMATRIX& operator/=(FLOAT f);

    D3DXMATRIX operator+() const;
    D3DXMATRIX operator-() const;

    D3DXMATRIX operator*(const D3DXMATRIX& m) const;
    D3DXMATRIX operator+(const D3DXMATRIX& m) const;
    D3DXMATRIX operator-(const D3DXMATRIX& m) const;
    D3DXMATRIX operator*(FLOAT f) const;
    D3DXMATRIX operator/(FLOAT f) const;
    friend D3DXMATRIX operator*(FLOAT f, const D3DXMATRIX& m);

    BOOL operator==(const D3DXMATRIX& m) const;
    BOOL operator!=(const D3DXMATRIX& m) const;
};

// (x, y, z) = axis * sin(angle / 2), w = cos(angle / 2).
struct D3DXQUATERNION {
    D3DXQUATERNION() = default;
    D3DXQUATERNION(const FLOAT* f);
    D3DXQUATERNION(FLOAT x, FLOAT y, FLOAT z, FLOAT w);

    operator FLOAT*();
    operator const FLOAT*() const;

    D3DXQUATERNION& operator+=(const D3DXQUATERNION& q);
    D3DXQUATERNION& operator-=(const D3DXQUATERNION& q);
    D3DXQUATERNION& operator*=(const D3DXQUATERNION& q);  // D3DXQuaternionMultiply(this, q)
    D3DXQUATERNION& operator*=(FLOAT f);
    D3DXQUATERNION& operator/=(FLOAT f);

    D3DXQUATERNION operator+() const;
    D3DXQUATERNION operator-() const;

    D3DXQUATERNION operator+(const D3DXQUATERNION& q) const;
    D3DXQUATERNION operator-(const D3DXQUATERNION& q) const;
    D3DXQUATERNION operator*(const D3DXQUATERNION& q) const;
    D3DXQUATERNION operator*(FLOAT f) const;
    D3DXQUATERNION operator/(FLOAT f) const;
    friend D3DXQUATERNION operator*(FLOAT f, const D3DXQUATERNION& q);

    BOOL operator==(const D3DXQUATERNION& q) const;
    BOOL operator!=(const D3DXQUATERNION& q) const;

    FLOAT x, y, z, w;
};

// Floating-point colour; converts to and from a packed 0xAARRGGBB D3DCOLOR
// (components clamped to 0..1, rounded to nearest on packing).
struct D3DXCOLOR {
    D3DXCOLOR() = default;
    D3DXCOLOR(DWORD argb);
    D3DXCOLOR(const FLOAT* f);
    D3DXCOLOR(const D3DCOLORVALUE& c);
    D3DXCOLOR(FLOAT r, FLOAT g, FLOAT b, FLOAT a);

    operator DWORD() const;
    operator FLOAT*();
    operator const FLOAT*() const;
    operator D3DCOLORVALUE&();
    operator const D3DCOLORVALUE&() const;

    D3DXCOLOR& operator+=(const D3DXCOLOR& c);
    D3DXCOLOR& operator-=(const D3DXCOLOR& c);
    D3DXCOLOR& operator*=(FLOAT f);
    D3DXCOLOR& operator/=(FLOAT f);

    D3DXCOLOR operator+() const;
    D3DXCOLOR operator-() const;

    D3DXCOLOR operator+(const D3DXCOLOR& c) const;
    D3DXCOLOR operator-(const D3DXCOLOR& c) const;
    D3DXCOLOR operator*(FLOAT f) const;
    D3DXCOLOR operator/(FLOAT f) const;
    friend D3DXCOLOR operator*(FLOAT f, const D3DXCOLOR& c);

    BOOL operator==(const D3DXCOLOR& c) const;
    BOOL operator!=(const D3DXCOLOR& c) const;

    FLOAT r, g, b, a;
};

typedef D3DXVECTOR2* LPD3DXVECTOR2;
typedef D3DXVECTOR3* LPD3DXVECTOR3;
typedef D3DXVECTOR4* LPD3DXVECTOR4;
typedef D3DXMATRIX* LPD3DXMATRIX;
typedef D3DXQUATERNION* LPD3DXQUATERNION;
typedef D3DXCOLOR* LPD3DXCOLOR;

// ---------------------------------------------------------------------------
// 2-D vectors
inline FLOAT D3DXVec2Length(const D3DXVECTOR2* pV);
inline FLOAT D3DXVec2LengthSq(const D3DXVECTOR2* pV);
inline FLOAT D3DXVec2Dot(const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2);
inline D3DXVECTOR2* D3DXVec2Add(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2);
inline D3DXVECTOR2* D3DXVec2Subtract(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2);
inline D3DXVECTOR2* D3DXVec2Scale(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV, FLOAT s);
inline D3DXVECTOR2* D3DXVec2Lerp(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2, FLOAT s);
// Unit length; the zero vector stays zero (no NaN).
D3DXVECTOR2* D3DXVec2Normalize(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV);

// ---------------------------------------------------------------------------
// 3-D vectors
inline FLOAT D3DXVec3Length(const D3DXVECTOR3* pV);
inline FLOAT D3DXVec3LengthSq(const D3DXVECTOR3* pV);
inline FLOAT D3DXVec3Dot(const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
inline D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
inline D3DXVECTOR3* D3DXVec3Add(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
inline D3DXVECTOR3* D3DXVec3Subtract(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
inline D3DXVECTOR3* D3DXVec3Minimize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
inline D3DXVECTOR3* D3DXVec3Maximize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
inline D3DXVECTOR3* D3DXVec3Scale(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, FLOAT s);
// pV1 + s * (pV2 - pV1)
inline D3DXVECTOR3* D3DXVec3Lerp(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2, FLOAT s);
// Unit length; the zero vector stays zero (no NaN).
D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV);
// (x, y, z, 1) x M, divided by the resulting w (a point, projected back to w = 1).
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM);
// (x, y, z, 0) x M: a direction, untouched by the translation row.
D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM);
// (x, y, z, 1) x M, with its w.
D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM);

// ---------------------------------------------------------------------------
// Quaternions
inline FLOAT D3DXQuaternionLength(const D3DXQUATERNION* pQ);
inline FLOAT D3DXQuaternionLengthSq(const D3DXQUATERNION* pQ);
inline FLOAT D3DXQuaternionDot(const D3DXQUATERNION* pQ1, const D3DXQUATERNION* pQ2);
inline D3DXQUATERNION* D3DXQuaternionIdentity(D3DXQUATERNION* pOut);
inline BOOL D3DXQuaternionIsIdentity(const D3DXQUATERNION* pQ);
inline D3DXQUATERNION* D3DXQuaternionConjugate(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ);
// Unit length; the zero quaternion stays zero.
D3DXQUATERNION* D3DXQuaternionNormalize(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ);
// Conjugate / squared length; the zero quaternion stays zero.
D3DXQUATERNION* D3DXQuaternionInverse(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ);
// The rotation pQ1 followed by pQ2 (the Hamilton product pQ2 pQ1), matching
// D3DXMatrixRotationQuaternion(q1) x D3DXMatrixRotationQuaternion(q2).
D3DXQUATERNION* D3DXQuaternionMultiply(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1, const D3DXQUATERNION* pQ2);
// The rotation of the upper 3x3 of pM, which must be a pure rotation.
D3DXQUATERNION* D3DXQuaternionRotationMatrix(D3DXQUATERNION* pOut, const D3DXMATRIX* pM);
// Rotation by angle about pV (normalised here), same sense as D3DXMatrixRotationAxis.
D3DXQUATERNION* D3DXQuaternionRotationAxis(D3DXQUATERNION* pOut, const D3DXVECTOR3* pV, FLOAT angle);
// Same rotation as D3DXMatrixRotationYawPitchRoll.
D3DXQUATERNION* D3DXQuaternionRotationYawPitchRoll(D3DXQUATERNION* pOut, FLOAT yaw, FLOAT pitch, FLOAT roll);
// Spherical interpolation from pQ1 (t = 0) to pQ2 (t = 1) along the shorter
// arc (pQ2 is negated when the two lie more than 90 degrees apart in 4-D);
// nearly equal inputs are interpolated linearly. Unit inputs give unit output.
D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1, const D3DXQUATERNION* pQ2, FLOAT t);

// ---------------------------------------------------------------------------
// Matrices
inline D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut);
inline BOOL D3DXMatrixIsIdentity(const D3DXMATRIX* pM);
FLOAT D3DXMatrixDeterminant(const D3DXMATRIX* pM);
// pM1 x pM2: pM1 acts first.
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2);
D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM);
// General 4x4 inverse. Stores the determinant in *pDeterminant when that is
// not null. A singular matrix (determinant exactly 0) returns NULL and leaves
// *pOut untouched.
D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* pOut, FLOAT* pDeterminant, const D3DXMATRIX* pM);

D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz);
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z);
// Positive angles turn by the right-hand rule (RotationZ of 90 degrees takes
// +x to +y; RotationY takes +x to -z):
// X: _22 = cos, _23 = sin, _32 = -sin, _33 = cos.
// Y: _11 = cos, _13 = -sin, _31 = sin, _33 = cos.
// Z: _11 = cos, _12 = sin, _21 = -sin, _22 = cos.
D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT angle);
D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT angle);
D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT angle);
// Rotation about pV (normalised here); the axis (0, 1, 0) gives RotationY.
D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* pOut, const D3DXVECTOR3* pV, FLOAT angle);
D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* pOut, const D3DXQUATERNION* pQ);
// Roll about z first, then pitch about x, then yaw about y:
// RotationZ(roll) x RotationX(pitch) x RotationY(yaw).
D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* pOut, FLOAT yaw, FLOAT pitch, FLOAT roll);
// Msc^-1 x Msr^-1 x Ms x Msr x Msc x Mrc^-1 x Mr x Mrc x Mt, where Msc and Mrc
// move to the scaling and rotation centres, Msr orients the scaling axes, Ms
// scales, Mr rotates and Mt translates. Any null argument is the identity, so
// (NULL, NULL, &s, NULL, &r, &t) is the usual scale x rotation x translation.
D3DXMATRIX* D3DXMatrixTransformation(D3DXMATRIX* pOut, const D3DXVECTOR3* pScalingCenter,
                                     const D3DXQUATERNION* pScalingRotation, const D3DXVECTOR3* pScaling,
                                     const D3DXVECTOR3* pRotationCenter, const D3DXQUATERNION* pRotation,
                                     const D3DXVECTOR3* pTranslation);
// Ms x Mrc^-1 x Mr x Mrc x Mt with a uniform scale; null pointers are the identity.
D3DXMATRIX* D3DXMatrixAffineTransformation(D3DXMATRIX* pOut, FLOAT scaling, const D3DXVECTOR3* pRotationCenter,
                                           const D3DXQUATERNION* pRotation, const D3DXVECTOR3* pTranslation);

// Right-handed view: the eye looks down its negative z axis towards pAt.
// z = normalise(eye - at), x = normalise(cross(up, z)), y = cross(z, x); the
// columns of the upper 3x3 are x, y, z and the bottom row is
// (-dot(x, eye), -dot(y, eye), -dot(z, eye), 1).
D3DXMATRIX* D3DXMatrixLookAtRH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                               const D3DXVECTOR3* pUp);
// Right-handed perspective to Direct3D clip space (depth 0 at zn, 1 at zf):
// _11 = cot(fovy / 2) / aspect, _22 = cot(fovy / 2), _33 = zf / (zn - zf),
// _34 = -1, _43 = zn * zf / (zn - zf), all else 0.
D3DXMATRIX* D3DXMatrixPerspectiveFovRH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT aspect, FLOAT zn, FLOAT zf);
// Right-handed orthographic, centred on the origin:
// _11 = 2 / w, _22 = 2 / h, _33 = 1 / (zn - zf), _43 = zn / (zn - zf), _44 = 1.
D3DXMATRIX* D3DXMatrixOrthoRH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf);

#include "d3dx9math.inl"

#endif
