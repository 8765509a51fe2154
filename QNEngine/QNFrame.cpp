#include "QNFrame.h"

CQNFrame::CQNFrame() {
    Name = nullptr;
    D3DXMatrixIdentity(&TransformationMatrix);
    pMeshContainer = nullptr;
    pFrameSibling = nullptr;
    pFrameFirstChild = nullptr;
    D3DXMatrixIdentity(&m_combinedMatrix);
}
