// Matrices that scale, rotate and translate (row-vector convention: the
// translation is the bottom row, and in A x B the transformation A acts first).
#include <d3dx9math.h>

D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz) {
    *pOut = D3DXMATRIX(sx, 0.0f, 0.0f, 0.0f,
                       0.0f, sy, 0.0f, 0.0f,
                       0.0f, 0.0f, sz, 0.0f,
                       0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z) {
    *pOut = D3DXMATRIX(1.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 1.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 1.0f, 0.0f,
                       x, y, z, 1.0f);
    return pOut;
}

D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT angle) {
    const FLOAT c = std::cos(angle), s = std::sin(angle);
    *pOut = D3DXMATRIX(1.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, c, s, 0.0f,
                       0.0f, -s, c, 0.0f,
                       0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT angle) {
    const FLOAT c = std::cos(angle), s = std::sin(angle);
    *pOut = D3DXMATRIX(c, 0.0f, -s, 0.0f,
                       0.0f, 1.0f, 0.0f, 0.0f,
                       s, 0.0f, c, 0.0f,
                       0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT angle) {
    const FLOAT c = std::cos(angle), s = std::sin(angle);
    *pOut = D3DXMATRIX(c, s, 0.0f, 0.0f,
                       -s, c, 0.0f, 0.0f,
                       0.0f, 0.0f, 1.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* pOut, const D3DXVECTOR3* pV, FLOAT angle) {
    D3DXVECTOR3 v;
    D3DXVec3Normalize(&v, pV);
    const FLOAT c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
    *pOut = D3DXMATRIX(t * v.x * v.x + c, t * v.x * v.y + s * v.z, t * v.x * v.z - s * v.y, 0.0f,
                       t * v.x * v.y - s * v.z, t * v.y * v.y + c, t * v.y * v.z + s * v.x, 0.0f,
                       t * v.x * v.z + s * v.y, t * v.y * v.z - s * v.x, t * v.z * v.z + c, 0.0f,
                       0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* pOut, const D3DXQUATERNION* pQ) {
    const D3DXQUATERNION q = *pQ;
    const FLOAT xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
    const FLOAT xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
    const FLOAT wx = q.w * q.x, wy = q.w * q.y, wz = q.w * q.z;
    *pOut = D3DXMATRIX(1.0f - 2.0f * (yy + zz), 2.0f * (xy + wz), 2.0f * (xz - wy), 0.0f,
                       2.0f * (xy - wz), 1.0f - 2.0f * (xx + zz), 2.0f * (yz + wx), 0.0f,
                       2.0f * (xz + wy), 2.0f * (yz - wx), 1.0f - 2.0f * (xx + yy), 0.0f,
                       0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* pOut, FLOAT yaw, FLOAT pitch, FLOAT roll) {
    // RotationZ(roll) x RotationX(pitch) x RotationY(yaw), multiplied out.
    const FLOAT cy = std::cos(yaw), sy = std::sin(yaw);
    const FLOAT cp = std::cos(pitch), sp = std::sin(pitch);
    const FLOAT cr = std::cos(roll), sr = std::sin(roll);
    *pOut = D3DXMATRIX(cr * cy + sr * sp * sy, sr * cp, sr * sp * cy - cr * sy, 0.0f,
                       cr * sp * sy - sr * cy, cr * cp, sr * sy + cr * sp * cy, 0.0f,
                       cp * sy, -sp, cp * cy, 0.0f,
                       0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* D3DXMatrixTransformation(D3DXMATRIX* pOut, const D3DXVECTOR3* pScalingCenter,
                                     const D3DXQUATERNION* pScalingRotation, const D3DXVECTOR3* pScaling,
                                     const D3DXVECTOR3* pRotationCenter, const D3DXQUATERNION* pRotation,
                                     const D3DXVECTOR3* pTranslation) {
    D3DXMATRIX r, step;
    D3DXMatrixIdentity(&r);

    // Scaling about its centre, along axes oriented by the scaling rotation.
    if (pScaling) {
        const D3DXVECTOR3 sc = pScalingCenter ? *pScalingCenter : D3DXVECTOR3(0.0f, 0.0f, 0.0f);
        D3DXMATRIX toAxes, fromAxes;
        D3DXMatrixIdentity(&toAxes);
        D3DXMatrixIdentity(&fromAxes);
        if (pScalingRotation) {
            D3DXMatrixRotationQuaternion(&fromAxes, pScalingRotation);
            D3DXMatrixTranspose(&toAxes, &fromAxes);  // a rotation's inverse
        }
        D3DXMatrixTranslation(&step, -sc.x, -sc.y, -sc.z);
        D3DXMatrixMultiply(&r, &r, &step);
        D3DXMatrixMultiply(&r, &r, &toAxes);
        D3DXMatrixScaling(&step, pScaling->x, pScaling->y, pScaling->z);
        D3DXMatrixMultiply(&r, &r, &step);
        D3DXMatrixMultiply(&r, &r, &fromAxes);
        D3DXMatrixTranslation(&step, sc.x, sc.y, sc.z);
        D3DXMatrixMultiply(&r, &r, &step);
    }

    if (pRotation) {
        const D3DXVECTOR3 rc = pRotationCenter ? *pRotationCenter : D3DXVECTOR3(0.0f, 0.0f, 0.0f);
        D3DXMatrixTranslation(&step, -rc.x, -rc.y, -rc.z);
        D3DXMatrixMultiply(&r, &r, &step);
        D3DXMatrixRotationQuaternion(&step, pRotation);
        D3DXMatrixMultiply(&r, &r, &step);
        D3DXMatrixTranslation(&step, rc.x, rc.y, rc.z);
        D3DXMatrixMultiply(&r, &r, &step);
    }

    if (pTranslation) {
        r._41 += pTranslation->x;
        r._42 += pTranslation->y;
        r._43 += pTranslation->z;
    }
    *pOut = r;
    return pOut;
}

D3DXMATRIX* D3DXMatrixAffineTransformation(D3DXMATRIX* pOut, FLOAT scaling, const D3DXVECTOR3* pRotationCenter,
                                           const D3DXQUATERNION* pRotation, const D3DXVECTOR3* pTranslation) {
    const D3DXVECTOR3 s(scaling, scaling, scaling);
    return D3DXMatrixTransformation(pOut, nullptr, nullptr, &s, pRotationCenter, pRotation, pTranslation);
}
