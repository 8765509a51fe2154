// Quaternion functions. A quaternion (x, y, z, w) = (axis sin(a/2), cos(a/2))
// stands for the same rotation as D3DXMatrixRotationAxis(axis, a).
#include <d3dx9math.h>

D3DXQUATERNION* D3DXQuaternionNormalize(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
    const double x = pQ->x, y = pQ->y, z = pQ->z, w = pQ->w;
    const double length = std::sqrt(x * x + y * y + z * z + w * w);  // double: no underflow
    if (length == 0.0) {
        *pOut = D3DXQUATERNION(0.0f, 0.0f, 0.0f, 0.0f);
    } else {
        *pOut = D3DXQUATERNION((FLOAT)(x / length), (FLOAT)(y / length), (FLOAT)(z / length), (FLOAT)(w / length));
    }
    return pOut;
}

D3DXQUATERNION* D3DXQuaternionInverse(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ) {
    const FLOAT lengthSq = D3DXQuaternionLengthSq(pQ);
    if (lengthSq == 0.0f) {
        *pOut = D3DXQUATERNION(0.0f, 0.0f, 0.0f, 0.0f);
    } else {
        *pOut = D3DXQUATERNION(-pQ->x / lengthSq, -pQ->y / lengthSq, -pQ->z / lengthSq, pQ->w / lengthSq);
    }
    return pOut;
}

D3DXQUATERNION* D3DXQuaternionMultiply(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1, const D3DXQUATERNION* pQ2) {
    // Hamilton product b a with a = pQ1, b = pQ2: with row vectors the first
    // rotation is the right-hand factor of the quaternion product.
    const D3DXQUATERNION a = *pQ1, b = *pQ2;
    *pOut = D3DXQUATERNION(b.w * a.x + b.x * a.w + b.y * a.z - b.z * a.y,
                           b.w * a.y - b.x * a.z + b.y * a.w + b.z * a.x,
                           b.w * a.z + b.x * a.y - b.y * a.x + b.z * a.w,
                           b.w * a.w - b.x * a.x - b.y * a.y - b.z * a.z);
    return pOut;
}

D3DXQUATERNION* D3DXQuaternionRotationMatrix(D3DXQUATERNION* pOut, const D3DXMATRIX* pM) {
    const D3DXMATRIX& m = *pM;
    const FLOAT trace = m._11 + m._22 + m._33;
    D3DXQUATERNION q;
    // Divide by the largest of 4w, 4x, 4y, 4z for precision.
    if (trace > 0.0f) {
        const FLOAT s = 2.0f * std::sqrt(trace + 1.0f);  // 4w
        q = D3DXQUATERNION((m._23 - m._32) / s, (m._31 - m._13) / s, (m._12 - m._21) / s, 0.25f * s);
    } else if (m._11 >= m._22 && m._11 >= m._33) {
        const FLOAT s = 2.0f * std::sqrt(1.0f + m._11 - m._22 - m._33);  // 4x
        q = D3DXQUATERNION(0.25f * s, (m._12 + m._21) / s, (m._31 + m._13) / s, (m._23 - m._32) / s);
    } else if (m._22 >= m._33) {
        const FLOAT s = 2.0f * std::sqrt(1.0f + m._22 - m._11 - m._33);  // 4y
        q = D3DXQUATERNION((m._12 + m._21) / s, 0.25f * s, (m._23 + m._32) / s, (m._31 - m._13) / s);
    } else {
        const FLOAT s = 2.0f * std::sqrt(1.0f + m._33 - m._11 - m._22);  // 4z
        q = D3DXQUATERNION((m._31 + m._13) / s, (m._23 + m._32) / s, 0.25f * s, (m._12 - m._21) / s);
    }
    *pOut = q;
    return pOut;
}

D3DXQUATERNION* D3DXQuaternionRotationAxis(D3DXQUATERNION* pOut, const D3DXVECTOR3* pV, FLOAT angle) {
    D3DXVECTOR3 axis;
    D3DXVec3Normalize(&axis, pV);
    const FLOAT s = std::sin(angle * 0.5f);
    *pOut = D3DXQUATERNION(axis.x * s, axis.y * s, axis.z * s, std::cos(angle * 0.5f));
    return pOut;
}

D3DXQUATERNION* D3DXQuaternionRotationYawPitchRoll(D3DXQUATERNION* pOut, FLOAT yaw, FLOAT pitch, FLOAT roll) {
    // roll, then pitch, then yaw (as in the matrix form), multiplied out.
    const FLOAT sy = std::sin(yaw * 0.5f), cy = std::cos(yaw * 0.5f);
    const FLOAT sp = std::sin(pitch * 0.5f), cp = std::cos(pitch * 0.5f);
    const FLOAT sr = std::sin(roll * 0.5f), cr = std::cos(roll * 0.5f);
    *pOut = D3DXQUATERNION(sy * cp * sr + cy * sp * cr,
                           sy * cp * cr - cy * sp * sr,
                           cy * cp * sr - sy * sp * cr,
                           cy * cp * cr + sy * sp * sr);
    return pOut;
}

D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1, const D3DXQUATERNION* pQ2,
                                    FLOAT t) {
    const D3DXQUATERNION a = *pQ1;
    D3DXQUATERNION b = *pQ2;
    FLOAT cosTheta = D3DXQuaternionDot(&a, &b);
    // q and -q are the same rotation: take the one that gives the shorter arc.
    if (cosTheta < 0.0f) {
        b = -b;
        cosTheta = -cosTheta;
    }
    FLOAT wa = 1.0f - t, wb = t;
    // Nearly parallel: sin(theta) is too small to divide by, and the arc is a line.
    if (cosTheta < 0.9999f) {
        const FLOAT theta = std::acos(cosTheta);
        const FLOAT sinTheta = std::sin(theta);
        wa = std::sin((1.0f - t) * theta) / sinTheta;
        wb = std::sin(t * theta) / sinTheta;
    }
    *pOut = D3DXQUATERNION(wa * a.x + wb * b.x, wa * a.y + wb * b.y, wa * a.z + wb * b.z, wa * a.w + wb * b.w);
    return pOut;
}
