// A frame of a loaded X-file hierarchy, as the engine's allocator makes it:
// the D3DX frame plus the matrix that places it in the model.
#ifndef QN_FRAME_H
#define QN_FRAME_H

#include <d3dx9.h>

class CQNFrame : public D3DXFRAME {
public:
    // Unnamed and unlinked, both matrices identity.
    CQNFrame();

    // TransformationMatrix times the combined matrices of all parents;
    // recomputed by every CQNXModel::update. Bones point at it.
    D3DXMATRIX m_combinedMatrix;
};

#endif
