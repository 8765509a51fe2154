// Inline bodies of the D3DX math types and of its trivial functions.
// Included by d3dx9math.h only. Functions read all inputs before writing the
// output, so the output may alias an input.
#ifndef ZV_PLATFORM_D3DX9MATH_INL
#define ZV_PLATFORM_D3DX9MATH_INL

// ---------------------------------------------------------------------------
// D3DXVECTOR2
inline D3DXVECTOR2::D3DXVECTOR2(const FLOAT* f) : x(f[0]), y(f[1]) {}
inline D3DXVECTOR2::D3DXVECTOR2(FLOAT fx, FLOAT fy) : x(fx), y(fy) {}
inline D3DXVECTOR2::operator FLOAT*() { return &x; }
inline D3DXVECTOR2::operator const FLOAT*() const { return &x; }
inline D3DXVECTOR2& D3DXVECTOR2::operator+=(const D3DXVECTOR2& v) { x += v.x; y += v.y; return *this; }
inline D3DXVECTOR2& D3DXVECTOR2::operator-=(const D3DXVECTOR2& v) { x -= v.x; y -= v.y; return *this; }
inline D3DXVECTOR2& D3DXVECTOR2::operator*=(FLOAT f) { x *= f; y *= f; return *this; }
inline D3DXVECTOR2& D3DXVECTOR2::operator/=(FLOAT f) { x /= f; y /= f; return *this; }
inline D3DXVECTOR2 D3DXVECTOR2::operator+() const { return *this; }
inline D3DXVECTOR2 D3DXVECTOR2::operator-() const { return D3DXVECTOR2(-x, -y); }
inline D3DXVECTOR2 D3DXVECTOR2::operator+(const D3DXVECTOR2& v) const { return D3DXVECTOR2(x + v.x, y + v.y); }
inline D3DXVECTOR2 D3DXVECTOR2::operator-(const D3DXVECTOR2& v) const { return D3DXVECTOR2(x - v.x, y - v.y); }
inline D3DXVECTOR2 D3DXVECTOR2::operator*(FLOAT f) const { return D3DXVECTOR2(x * f, y * f); }
inline D3DXVECTOR2 D3DXVECTOR2::operator/(FLOAT f) const { return D3DXVECTOR2(x / f, y / f); }
inline D3DXVECTOR2 operator*(FLOAT f, const D3DXVECTOR2& v) { return D3DXVECTOR2(f * v.x, f * v.y); }
inline BOOL D3DXVECTOR2::operator==(const D3DXVECTOR2& v) const { return x == v.x && y == v.y; }
inline BOOL D3DXVECTOR2::operator!=(const D3DXVECTOR2& v) const { return !(*this == v); }

// ---------------------------------------------------------------------------
// D3DXVECTOR3
inline D3DXVECTOR3::D3DXVECTOR3(const FLOAT* f) { x = f[0]; y = f[1]; z = f[2]; }
inline D3DXVECTOR3::D3DXVECTOR3(const D3DVECTOR& v) : D3DVECTOR(v) {}
inline D3DXVECTOR3::D3DXVECTOR3(FLOAT fx, FLOAT fy, FLOAT fz) { x = fx; y = fy; z = fz; }
inline D3DXVECTOR3::operator FLOAT*() { return &x; }
inline D3DXVECTOR3::operator const FLOAT*() const { return &x; }
inline D3DXVECTOR3& D3DXVECTOR3::operator+=(const D3DXVECTOR3& v) { x += v.x; y += v.y; z += v.z; return *this; }
inline D3DXVECTOR3& D3DXVECTOR3::operator-=(const D3DXVECTOR3& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
inline D3DXVECTOR3& D3DXVECTOR3::operator*=(FLOAT f) { x *= f; y *= f; z *= f; return *this; }
inline D3DXVECTOR3& D3DXVECTOR3::operator/=(FLOAT f) { x /= f; y /= f; z /= f; return *this; }
inline D3DXVECTOR3 D3DXVECTOR3::operator+() const { return *this; }
inline D3DXVECTOR3 D3DXVECTOR3::operator-() const { return D3DXVECTOR3(-x, -y, -z); }
inline D3DXVECTOR3 D3DXVECTOR3::operator+(const D3DXVECTOR3& v) const { return D3DXVECTOR3(x + v.x, y + v.y, z + v.z); }
inline D3DXVECTOR3 D3DXVECTOR3::operator-(const D3DXVECTOR3& v) const { return D3DXVECTOR3(x - v.x, y - v.y, z - v.z); }
inline D3DXVECTOR3 D3DXVECTOR3::operator*(FLOAT f) const { return D3DXVECTOR3(x * f, y * f, z * f); }
inline D3DXVECTOR3 D3DXVECTOR3::operator/(FLOAT f) const { return D3DXVECTOR3(x / f, y / f, z / f); }
inline D3DXVECTOR3 operator*(FLOAT f, const D3DXVECTOR3& v) { return D3DXVECTOR3(f * v.x, f * v.y, f * v.z); }
inline BOOL D3DXVECTOR3::operator==(const D3DXVECTOR3& v) const { return x == v.x && y == v.y && z == v.z; }
inline BOOL D3DXVECTOR3::operator!=(const D3DXVECTOR3& v) const { return !(*this == v); }

// ---------------------------------------------------------------------------
// D3DXVECTOR4
inline D3DXVECTOR4::D3DXVECTOR4(const FLOAT* f) : x(f[0]), y(f[1]), z(f[2]), w(f[3]) {}
inline D3DXVECTOR4::D3DXVECTOR4(const D3DVECTOR& v, FLOAT fw) : x(v.x), y(v.y), z(v.z), w(fw) {}
inline D3DXVECTOR4::D3DXVECTOR4(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw) : x(fx), y(fy), z(fz), w(fw) {}
inline D3DXVECTOR4::operator FLOAT*() { return &x; }
inline D3DXVECTOR4::operator const FLOAT*() const { return &x; }
inline D3DXVECTOR4& D3DXVECTOR4::operator+=(const D3DXVECTOR4& v) { x += v.x; y += v.y; z += v.z; w += v.w; return *this; }
inline D3DXVECTOR4& D3DXVECTOR4::operator-=(const D3DXVECTOR4& v) { x -= v.x; y -= v.y; z -= v.z; w -= v.w; return *this; }
inline D3DXVECTOR4& D3DXVECTOR4::operator*=(FLOAT f) { x *= f; y *= f; z *= f; w *= f; return *this; }
inline D3DXVECTOR4& D3DXVECTOR4::operator/=(FLOAT f) { x /= f; y /= f; z /= f; w /= f; return *this; }
inline D3DXVECTOR4 D3DXVECTOR4::operator+() const { return *this; }
inline D3DXVECTOR4 D3DXVECTOR4::operator-() const { return D3DXVECTOR4(-x, -y, -z, -w); }
inline D3DXVECTOR4 D3DXVECTOR4::operator+(const D3DXVECTOR4& v) const { return D3DXVECTOR4(x + v.x, y + v.y, z + v.z, w + v.w); }
inline D3DXVECTOR4 D3DXVECTOR4::operator-(const D3DXVECTOR4& v) const { return D3DXVECTOR4(x - v.x, y - v.y, z - v.z, w - v.w); }
inline D3DXVECTOR4 D3DXVECTOR4::operator*(FLOAT f) const { return D3DXVECTOR4(x * f, y * f, z * f, w * f); }
inline D3DXVECTOR4 D3DXVECTOR4::operator/(FLOAT f) const { return D3DXVECTOR4(x / f, y / f, z / f, w / f); }
inline D3DXVECTOR4 operator*(FLOAT f, const D3DXVECTOR4& v) { return D3DXVECTOR4(f * v.x, f * v.y, f * v.z, f * v.w); }
inline BOOL D3DXVECTOR4::operator==(const D3DXVECTOR4& v) const { return x == v.x && y == v.y && z == v.z && w == v.w; }
inline BOOL D3DXVECTOR4::operator!=(const D3DXVECTOR4& v) const { return !(*this == v); }

// ---------------------------------------------------------------------------
// D3DXMATRIX
inline D3DXMATRIX::D3DXMATRIX(const FLOAT* f) {
    for (int i = 0; i < 16; ++i) m[i / 4][i % 4] = f[i];
}
inline D3DXMATRIX::D3DXMATRIX(const D3DMATRIX& mat) : D3DMATRIX(mat) {}
inline D3DXMATRIX::D3DXMATRIX(FLOAT f11, FLOAT f12, FLOAT f13, FLOAT f14,
                              FLOAT f21, FLOAT f22, FLOAT f23, FLOAT f24,
                              FLOAT f31, FLOAT f32, FLOAT f33, FLOAT f34,
                              FLOAT f41, FLOAT f42, FLOAT f43, FLOAT f44) {
    _11 = f11; _12 = f12; _13 = f13; _14 = f14;
    _21 = f21; _22 = f22; _23 = f23; _24 = f24;
    _31 = f31; _32 = f32; _33 = f33; _34 = f34;
    _41 = f41; _42 = f42; _43 = f43; _44 = f44;
}
inline FLOAT& D3DXMATRIX::operator()(UINT row, UINT col) { return m[row][col]; }
inline FLOAT D3DXMATRIX::operator()(UINT row, UINT col) const { return m[row][col]; }
inline D3DXMATRIX::operator FLOAT*() { return &_11; }
inline D3DXMATRIX::operator const FLOAT*() const { return &_11; }
inline D3DXMATRIX& D3DXMATRIX::operator*=(const D3DXMATRIX& mat) { D3DXMatrixMultiply(this, this, &mat); return *this; }
inline D3DXMATRIX& D3DXMATRIX::operator+=(const D3DXMATRIX& mat) {
    for (int i = 0; i < 16; ++i) m[i / 4][i % 4] += mat.m[i / 4][i % 4];
    return *this;
}
inline D3DXMATRIX& D3DXMATRIX::operator-=(const D3DXMATRIX& mat) {
    for (int i = 0; i < 16; ++i) m[i / 4][i % 4] -= mat.m[i / 4][i % 4];
    return *this;
}
inline D3DXMATRIX& D3DXMATRIX::operator*=(FLOAT f) {
    for (int i = 0; i < 16; ++i) m[i / 4][i % 4] *= f;
    return *this;
}
inline D3DXMATRIX& D3DXMATRIX::operator/=(FLOAT f) {
    for (int i = 0; i < 16; ++i) m[i / 4][i % 4] /= f;
    return *this;
}
inline D3DXMATRIX D3DXMATRIX::operator+() const { return *this; }
inline D3DXMATRIX D3DXMATRIX::operator-() const { D3DXMATRIX r(*this); r *= -1.0f; return r; }
inline D3DXMATRIX D3DXMATRIX::operator*(const D3DXMATRIX& mat) const {
    D3DXMATRIX r;
    D3DXMatrixMultiply(&r, this, &mat);
    return r;
}
inline D3DXMATRIX D3DXMATRIX::operator+(const D3DXMATRIX& mat) const { D3DXMATRIX r(*this); r += mat; return r; }
inline D3DXMATRIX D3DXMATRIX::operator-(const D3DXMATRIX& mat) const { D3DXMATRIX r(*this); r -= mat; return r; }
inline D3DXMATRIX D3DXMATRIX::operator*(FLOAT f) const { D3DXMATRIX r(*this); r *= f; return r; }
inline D3DXMATRIX D3DXMATRIX::operator/(FLOAT f) const { D3DXMATRIX r(*this); r /= f; return r; }
inline D3DXMATRIX operator*(FLOAT f, const D3DXMATRIX& mat) { return mat * f; }
inline BOOL D3DXMATRIX::operator==(const D3DXMATRIX& mat) const {
    for (int i = 0; i < 16; ++i)
        if (m[i / 4][i % 4] != mat.m[i / 4][i % 4]) return FALSE;
    return TRUE;
}
inline BOOL D3DXMATRIX::operator!=(const D3DXMATRIX& mat) const { return !(*this == mat); }

// ---------------------------------------------------------------------------
// D3DXQUATERNION
inline D3DXQUATERNION::D3DXQUATERNION(const FLOAT* f) : x(f[0]), y(f[1]), z(f[2]), w(f[3]) {}
inline D3DXQUATERNION::D3DXQUATERNION(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw) : x(fx), y(fy), z(fz), w(fw) {}
inline D3DXQUATERNION::operator FLOAT*() { return &x; }
inline D3DXQUATERNION::operator const FLOAT*() const { return &x; }
inline D3DXQUATERNION& D3DXQUATERNION::operator+=(const D3DXQUATERNION& q) { x += q.x; y += q.y; z += q.z; w += q.w; return *this; }
inline D3DXQUATERNION& D3DXQUATERNION::operator-=(const D3DXQUATERNION& q) { x -= q.x; y -= q.y; z -= q.z; w -= q.w; return *this; }
inline D3DXQUATERNION& D3DXQUATERNION::operator*=(const D3DXQUATERNION& q) { D3DXQuaternionMultiply(this, this, &q); return *this; }
inline D3DXQUATERNION& D3DXQUATERNION::operator*=(FLOAT f) { x *= f; y *= f; z *= f; w *= f; return *this; }
inline D3DXQUATERNION& D3DXQUATERNION::operator/=(FLOAT f) { x /= f; y /= f; z /= f; w /= f; return *this; }
inline D3DXQUATERNION D3DXQUATERNION::operator+() const { return *this; }
inline D3DXQUATERNION D3DXQUATERNION::operator-() const { return D3DXQUATERNION(-x, -y, -z, -w); }
inline D3DXQUATERNION D3DXQUATERNION::operator+(const D3DXQUATERNION& q) const { return D3DXQUATERNION(x + q.x, y + q.y, z + q.z, w + q.w); }
inline D3DXQUATERNION D3DXQUATERNION::operator-(const D3DXQUATERNION& q) const { return D3DXQUATERNION(x - q.x, y - q.y, z - q.z, w - q.w); }
inline D3DXQUATERNION D3DXQUATERNION::operator*(const D3DXQUATERNION& q) const {
    D3DXQUATERNION r;
    D3DXQuaternionMultiply(&r, this, &q);
    return r;
}
inline D3DXQUATERNION D3DXQUATERNION::operator*(FLOAT f) const { return D3DXQUATERNION(x * f, y * f, z * f, w * f); }
inline D3DXQUATERNION D3DXQUATERNION::operator/(FLOAT f) const { return D3DXQUATERNION(x / f, y / f, z / f, w / f); }
inline D3DXQUATERNION operator*(FLOAT f, const D3DXQUATERNION& q) { return D3DXQUATERNION(f * q.x, f * q.y, f * q.z, f * q.w); }
inline BOOL D3DXQUATERNION::operator==(const D3DXQUATERNION& q) const { return x == q.x && y == q.y && z == q.z && w == q.w; }
inline BOOL D3DXQUATERNION::operator!=(const D3DXQUATERNION& q) const { return !(*this == q); }

// ---------------------------------------------------------------------------
// D3DXCOLOR
inline D3DXCOLOR::D3DXCOLOR(DWORD argb)
    : r((FLOAT)((argb >> 16) & 0xff) * (1.0f / 255.0f)), g((FLOAT)((argb >> 8) & 0xff) * (1.0f / 255.0f)),
      b((FLOAT)(argb & 0xff) * (1.0f / 255.0f)), a((FLOAT)((argb >> 24) & 0xff) * (1.0f / 255.0f)) {}
inline D3DXCOLOR::D3DXCOLOR(const FLOAT* f) : r(f[0]), g(f[1]), b(f[2]), a(f[3]) {}
inline D3DXCOLOR::D3DXCOLOR(const D3DCOLORVALUE& c) : r(c.r), g(c.g), b(c.b), a(c.a) {}
inline D3DXCOLOR::D3DXCOLOR(FLOAT fr, FLOAT fg, FLOAT fb, FLOAT fa) : r(fr), g(fg), b(fb), a(fa) {}
inline D3DXCOLOR::operator DWORD() const {
    auto byte = [](FLOAT v) -> DWORD { return v >= 1.0f ? 0xffu : v <= 0.0f ? 0x00u : (DWORD)(v * 255.0f + 0.5f); };
    return (byte(a) << 24) | (byte(r) << 16) | (byte(g) << 8) | byte(b);
}
inline D3DXCOLOR::operator FLOAT*() { return &r; }
inline D3DXCOLOR::operator const FLOAT*() const { return &r; }
// D3DXCOLOR and D3DCOLORVALUE are both four floats r, g, b, a.
inline D3DXCOLOR::operator D3DCOLORVALUE&() { return *reinterpret_cast<D3DCOLORVALUE*>(&r); }
inline D3DXCOLOR::operator const D3DCOLORVALUE&() const { return *reinterpret_cast<const D3DCOLORVALUE*>(&r); }
inline D3DXCOLOR& D3DXCOLOR::operator+=(const D3DXCOLOR& c) { r += c.r; g += c.g; b += c.b; a += c.a; return *this; }
inline D3DXCOLOR& D3DXCOLOR::operator-=(const D3DXCOLOR& c) { r -= c.r; g -= c.g; b -= c.b; a -= c.a; return *this; }
inline D3DXCOLOR& D3DXCOLOR::operator*=(FLOAT f) { r *= f; g *= f; b *= f; a *= f; return *this; }
inline D3DXCOLOR& D3DXCOLOR::operator/=(FLOAT f) { r /= f; g /= f; b /= f; a /= f; return *this; }
inline D3DXCOLOR D3DXCOLOR::operator+() const { return *this; }
inline D3DXCOLOR D3DXCOLOR::operator-() const { return D3DXCOLOR(-r, -g, -b, -a); }
inline D3DXCOLOR D3DXCOLOR::operator+(const D3DXCOLOR& c) const { return D3DXCOLOR(r + c.r, g + c.g, b + c.b, a + c.a); }
inline D3DXCOLOR D3DXCOLOR::operator-(const D3DXCOLOR& c) const { return D3DXCOLOR(r - c.r, g - c.g, b - c.b, a - c.a); }
inline D3DXCOLOR D3DXCOLOR::operator*(FLOAT f) const { return D3DXCOLOR(r * f, g * f, b * f, a * f); }
inline D3DXCOLOR D3DXCOLOR::operator/(FLOAT f) const { return D3DXCOLOR(r / f, g / f, b / f, a / f); }
inline D3DXCOLOR operator*(FLOAT f, const D3DXCOLOR& c) { return D3DXCOLOR(f * c.r, f * c.g, f * c.b, f * c.a); }
inline BOOL D3DXCOLOR::operator==(const D3DXCOLOR& c) const { return r == c.r && g == c.g && b == c.b && a == c.a; }
inline BOOL D3DXCOLOR::operator!=(const D3DXCOLOR& c) const { return !(*this == c); }

// ---------------------------------------------------------------------------
// 2-D vectors
inline FLOAT D3DXVec2LengthSq(const D3DXVECTOR2* pV) { return pV->x * pV->x + pV->y * pV->y; }
inline FLOAT D3DXVec2Length(const D3DXVECTOR2* pV) { return std::sqrt(D3DXVec2LengthSq(pV)); }
inline FLOAT D3DXVec2Dot(const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2) { return pV1->x * pV2->x + pV1->y * pV2->y; }
inline D3DXVECTOR2* D3DXVec2Add(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2) {
    *pOut = D3DXVECTOR2(pV1->x + pV2->x, pV1->y + pV2->y);
    return pOut;
}
inline D3DXVECTOR2* D3DXVec2Subtract(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2) {
    *pOut = D3DXVECTOR2(pV1->x - pV2->x, pV1->y - pV2->y);
    return pOut;
}
inline D3DXVECTOR2* D3DXVec2Scale(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV, FLOAT s) {
    *pOut = D3DXVECTOR2(pV->x * s, pV->y * s);
    return pOut;
}
inline D3DXVECTOR2* D3DXVec2Lerp(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV1, const D3DXVECTOR2* pV2, FLOAT s) {
    *pOut = D3DXVECTOR2(pV1->x + s * (pV2->x - pV1->x), pV1->y + s * (pV2->y - pV1->y));
    return pOut;
}

// ---------------------------------------------------------------------------
// 3-D vectors
inline FLOAT D3DXVec3LengthSq(const D3DXVECTOR3* pV) { return pV->x * pV->x + pV->y * pV->y + pV->z * pV->z; }
inline FLOAT D3DXVec3Length(const D3DXVECTOR3* pV) { return std::sqrt(D3DXVec3LengthSq(pV)); }
inline FLOAT D3DXVec3Dot(const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
    return pV1->x * pV2->x + pV1->y * pV2->y + pV1->z * pV2->z;
}
inline D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
    *pOut = D3DXVECTOR3(pV1->y * pV2->z - pV1->z * pV2->y,
                        pV1->z * pV2->x - pV1->x * pV2->z,
                        pV1->x * pV2->y - pV1->y * pV2->x);
    return pOut;
}
inline D3DXVECTOR3* D3DXVec3Add(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
    *pOut = D3DXVECTOR3(pV1->x + pV2->x, pV1->y + pV2->y, pV1->z + pV2->z);
    return pOut;
}
inline D3DXVECTOR3* D3DXVec3Subtract(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
    *pOut = D3DXVECTOR3(pV1->x - pV2->x, pV1->y - pV2->y, pV1->z - pV2->z);
    return pOut;
}
inline D3DXVECTOR3* D3DXVec3Minimize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
    *pOut = D3DXVECTOR3(pV1->x < pV2->x ? pV1->x : pV2->x,
                        pV1->y < pV2->y ? pV1->y : pV2->y,
                        pV1->z < pV2->z ? pV1->z : pV2->z);
    return pOut;
}
inline D3DXVECTOR3* D3DXVec3Maximize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2) {
    *pOut = D3DXVECTOR3(pV1->x > pV2->x ? pV1->x : pV2->x,
                        pV1->y > pV2->y ? pV1->y : pV2->y,
                        pV1->z > pV2->z ? pV1->z : pV2->z);
    return pOut;
}
inline D3DXVECTOR3* D3DXVec3Scale(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, FLOAT s) {
    *pOut = D3DXVECTOR3(pV->x * s, pV->y * s, pV->z * s);
    return pOut;
}
inline D3DXVECTOR3* D3DXVec3Lerp(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2, FLOAT s) {
    *pOut = D3DXVECTOR3(pV1->x + s * (pV2->x - pV1->x),
                        pV1->y + s * (pV2->y - pV1->y),
                        pV1->z + s * (pV2->z - pV1->z));
    return pOut;
}

// ---------------------------------------------------------------------------
// Quaternions
inline FLOAT D3DXQuaternionDot(const D3DXQUATERNION* pQ1, const D3DXQUATERNION* pQ2) {
    return pQ1->x * pQ2->x + pQ1->y * pQ2->y + pQ1->z * pQ2->z + pQ1->w * pQ2->w;
}
inline FLOAT D3DXQuaternionLengthSq(const D3DXQUATERNION* pQ) { return D3DXQuaternionDot(pQ, pQ); }
inline FLOAT D3DXQuaternionLength(const D3DXQUATERNION* pQ) { return std::sqrt(D3DXQuaternionLengthSq(pQ)); }
inline D3DXQUATERNION* D3DXQuaternionIdentity(D3DXQUATERNION* pOut) {
    *pOut = D3DXQUATERNION(0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}
inline BOOL D3DXQuaternionIsIdentity(const D3DXQUATERNION* pQ) {
    return pQ->x == 0.0f && pQ->y == 0.0f && pQ->z == 0.0f && pQ->w == 1.0f;
}
inline D3DXQUATERNION* D3DXQuaternionConjugate(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
    *pOut = D3DXQUATERNION(-pQ->x, -pQ->y, -pQ->z, pQ->w);
    return pOut;
}

// ---------------------------------------------------------------------------
// Matrices
inline D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut) {
    *pOut = D3DXMATRIX(1.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 1.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 1.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}
inline BOOL D3DXMatrixIsIdentity(const D3DXMATRIX* pM) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (pM->m[r][c] != (r == c ? 1.0f : 0.0f)) return FALSE;
    return TRUE;
}

#endif
