// Products, transpose, determinant and inverse of 4x4 matrices.
#include <d3dx9math.h>

namespace {

// The 2x2 minors of the top two rows (s) and of the bottom two rows (c) that
// both the determinant and the adjugate are built from (Laplace expansion
// along row pairs). Worked in double so that singular float matrices give an
// exact zero far more often than a float sum would.
struct Minors {
    double a[4][4];
    double s[6];
    double c[6];
    double det;

    explicit Minors(const D3DXMATRIX& m) {
        for (int r = 0; r < 4; ++r)
            for (int col = 0; col < 4; ++col) a[r][col] = m.m[r][col];
        s[0] = a[0][0] * a[1][1] - a[1][0] * a[0][1];
        s[1] = a[0][0] * a[1][2] - a[1][0] * a[0][2];
        s[2] = a[0][0] * a[1][3] - a[1][0] * a[0][3];
        s[3] = a[0][1] * a[1][2] - a[1][1] * a[0][2];
        s[4] = a[0][1] * a[1][3] - a[1][1] * a[0][3];
        s[5] = a[0][2] * a[1][3] - a[1][2] * a[0][3];
        c[5] = a[2][2] * a[3][3] - a[3][2] * a[2][3];
        c[4] = a[2][1] * a[3][3] - a[3][1] * a[2][3];
        c[3] = a[2][1] * a[3][2] - a[3][1] * a[2][2];
        c[2] = a[2][0] * a[3][3] - a[3][0] * a[2][3];
        c[1] = a[2][0] * a[3][2] - a[3][0] * a[2][2];
        c[0] = a[2][0] * a[3][1] - a[3][0] * a[2][1];
        det = s[0] * c[5] - s[1] * c[4] + s[2] * c[3] + s[3] * c[2] - s[4] * c[1] + s[5] * c[0];
    }
};

}  // namespace

FLOAT D3DXMatrixDeterminant(const D3DXMATRIX* pM) {
    return (FLOAT)Minors(*pM).det;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
    D3DXMATRIX r;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            r.m[row][col] = pM1->m[row][0] * pM2->m[0][col] + pM1->m[row][1] * pM2->m[1][col] +
                            pM1->m[row][2] * pM2->m[2][col] + pM1->m[row][3] * pM2->m[3][col];
        }
    }
    *pOut = r;
    return pOut;
}

D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM) {
    D3DXMATRIX r;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) r.m[row][col] = pM->m[col][row];
    *pOut = r;
    return pOut;
}

D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* pOut, FLOAT* pDeterminant, const D3DXMATRIX* pM) {
    const Minors k(*pM);
    if (pDeterminant) *pDeterminant = (FLOAT)k.det;
    // Singular as far as a float determinant can tell: D3DX answers NULL then.
    if ((FLOAT)k.det == 0.0f) return nullptr;

    const double (&a)[4][4] = k.a;
    const double* s = k.s;
    const double* c = k.c;
    const double adj[4][4] = {
        {a[1][1] * c[5] - a[1][2] * c[4] + a[1][3] * c[3],
         -a[0][1] * c[5] + a[0][2] * c[4] - a[0][3] * c[3],
         a[3][1] * s[5] - a[3][2] * s[4] + a[3][3] * s[3],
         -a[2][1] * s[5] + a[2][2] * s[4] - a[2][3] * s[3]},
        {-a[1][0] * c[5] + a[1][2] * c[2] - a[1][3] * c[1],
         a[0][0] * c[5] - a[0][2] * c[2] + a[0][3] * c[1],
         -a[3][0] * s[5] + a[3][2] * s[2] - a[3][3] * s[1],
         a[2][0] * s[5] - a[2][2] * s[2] + a[2][3] * s[1]},
        {a[1][0] * c[4] - a[1][1] * c[2] + a[1][3] * c[0],
         -a[0][0] * c[4] + a[0][1] * c[2] - a[0][3] * c[0],
         a[3][0] * s[4] - a[3][1] * s[2] + a[3][3] * s[0],
         -a[2][0] * s[4] + a[2][1] * s[2] - a[2][3] * s[0]},
        {-a[1][0] * c[3] + a[1][1] * c[1] - a[1][2] * c[0],
         a[0][0] * c[3] - a[0][1] * c[1] + a[0][2] * c[0],
         -a[3][0] * s[3] + a[3][1] * s[1] - a[3][2] * s[0],
         a[2][0] * s[3] - a[2][1] * s[1] + a[2][2] * s[0]},
    };
    const double invDet = 1.0 / k.det;
    D3DXMATRIX r;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) r.m[row][col] = (FLOAT)(adj[row][col] * invDet);
    *pOut = r;
    return pOut;
}
