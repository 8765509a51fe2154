// Vector functions of the D3DX math subset that are not inline.
#include <d3dx9math.h>

// The length is taken in double so that very small and very large vectors
// neither underflow to a false zero nor overflow.
D3DXVECTOR2* D3DXVec2Normalize(D3DXVECTOR2* pOut, const D3DXVECTOR2* pV) {
    const double x = pV->x, y = pV->y;
    const double length = std::sqrt(x * x + y * y);
    // A zero vector has no direction; keep it zero rather than produce NaN.
    if (length == 0.0) {
        *pOut = D3DXVECTOR2(0.0f, 0.0f);
    } else {
        *pOut = D3DXVECTOR2((FLOAT)(x / length), (FLOAT)(y / length));
    }
    return pOut;
}

D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV) {
    const double x = pV->x, y = pV->y, z = pV->z;
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0) {
        *pOut = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    } else {
        *pOut = D3DXVECTOR3((FLOAT)(x / length), (FLOAT)(y / length), (FLOAT)(z / length));
    }
    return pOut;
}

D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    const D3DXVECTOR3 v = *pV;
    const D3DXMATRIX& m = *pM;
    *pOut = D3DXVECTOR4(v.x * m._11 + v.y * m._21 + v.z * m._31 + m._41,
                        v.x * m._12 + v.y * m._22 + v.z * m._32 + m._42,
                        v.x * m._13 + v.y * m._23 + v.z * m._33 + m._43,
                        v.x * m._14 + v.y * m._24 + v.z * m._34 + m._44);
    return pOut;
}

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    D3DXVECTOR4 h;
    D3DXVec3Transform(&h, pV, pM);
    // Like D3DX, no guard for w = 0: a point on the eye plane has no image.
    *pOut = D3DXVECTOR3(h.x / h.w, h.y / h.w, h.z / h.w);
    return pOut;
}

D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    const D3DXVECTOR3 v = *pV;
    const D3DXMATRIX& m = *pM;
    *pOut = D3DXVECTOR3(v.x * m._11 + v.y * m._21 + v.z * m._31,
                        v.x * m._12 + v.y * m._22 + v.z * m._32,
                        v.x * m._13 + v.y * m._23 + v.z * m._33);
    return pOut;
}
