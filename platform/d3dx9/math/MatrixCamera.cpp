// View and projection matrices. Right-handed only: the engine's world is
// right-handed and nothing asks for the left-handed forms.
#include <d3dx9math.h>

D3DXMATRIX* D3DXMatrixLookAtRH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                               const D3DXVECTOR3* pUp) {
    const D3DXVECTOR3 eye = *pEye;
    D3DXVECTOR3 xAxis, yAxis, zAxis;
    D3DXVECTOR3 back = eye - *pAt;
    D3DXVec3Normalize(&zAxis, &back);
    D3DXVec3Cross(&xAxis, pUp, &zAxis);
    D3DXVec3Normalize(&xAxis, &xAxis);
    D3DXVec3Cross(&yAxis, &zAxis, &xAxis);
    *pOut = D3DXMATRIX(xAxis.x, yAxis.x, zAxis.x, 0.0f,
                       xAxis.y, yAxis.y, zAxis.y, 0.0f,
                       xAxis.z, yAxis.z, zAxis.z, 0.0f,
                       -D3DXVec3Dot(&xAxis, &eye), -D3DXVec3Dot(&yAxis, &eye), -D3DXVec3Dot(&zAxis, &eye), 1.0f);
    return pOut;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovRH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT aspect, FLOAT zn, FLOAT zf) {
    const FLOAT yScale = 1.0f / std::tan(fovy * 0.5f);
    const FLOAT xScale = yScale / aspect;
    *pOut = D3DXMATRIX(xScale, 0.0f, 0.0f, 0.0f,
                       0.0f, yScale, 0.0f, 0.0f,
                       0.0f, 0.0f, zf / (zn - zf), -1.0f,
                       0.0f, 0.0f, zn * zf / (zn - zf), 0.0f);
    return pOut;
}

D3DXMATRIX* D3DXMatrixOrthoRH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf) {
    *pOut = D3DXMATRIX(2.0f / w, 0.0f, 0.0f, 0.0f,
                       0.0f, 2.0f / h, 0.0f, 0.0f,
                       0.0f, 0.0f, 1.0f / (zn - zf), 0.0f,
                       0.0f, 0.0f, zn / (zn - zf), 1.0f);
    return pOut;
}
