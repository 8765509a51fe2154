#include "ZVMouse.h"

#include <windows.h>

#include <cfloat>

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "QNBaseRend.h"
#include "QNMemory.h"

ZVMouse::ZVMouse() : m_cursor(nullptr) {}

ZVMouse::~ZVMouse() {
    if (m_cursor) {
        setOwner(__FILE__, __LINE__, "??");
        delete m_cursor;
        m_cursor = nullptr;
    }
}

void ZVMouse::initialize(const char* path) {
    setOwner(__FILE__, __LINE__, "??");
    m_cursor = new CQNBaseRend;
    m_cursor->initialize(path);
}

void getCursorPosition(float* x, float* y) {
    CDX_D3DWrapper* d3d = CDX_D3DWrapper::getInstance();
    POINT pointer = {0, 0};
    GetCursorPos(&pointer);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(d3d->getWindowHandle(), &placement);
    // The reference corner is the outer window's (on this platform the window
    // has no frame, so it is also the client area's).
    const LONG left = placement.rcNormalPosition.left;
    const LONG top = placement.rcNormalPosition.top;
    const int halfWidth = static_cast<int>(d3d->getWidth() * -0.5f);
    const int halfHeight = static_cast<int>(d3d->getHeight() * -0.5f);
    const int cx = static_cast<int>(pointer.x - left) + halfWidth;
    const int cy = -static_cast<int>(pointer.y - top) - halfHeight;
    if (x) *x = static_cast<float>(cx);
    if (y) *y = static_cast<float>(cy);
}

void computePickRay(float x, float y, D3DXVECTOR3* direction, D3DXVECTOR3* origin) {
    CDX_D3DWrapper* d3d = CDX_D3DWrapper::getInstance();
    const float w = d3d->getWidth();
    const float h = d3d->getHeight();
    const D3DXMATRIX& projection = d3d->m_projection;

    // View-space slopes of the line through the pixel.
    const float px = ((w * 0.5f + x) * 2.0f / w - 1.0f) / projection._11;
    const float py = -(((h * 0.5f - y) * 2.0f / h) - 1.0f) / projection._22;

    D3DXMATRIX m;
    D3DXMatrixInverse(&m, nullptr, CDX_Camera::getInstance()->getViewMatrix());

    D3DXVECTOR3 d(px * m._11 + py * m._21 + m._31,
                  px * m._12 + py * m._22 + m._32,
                  px * m._13 + py * m._23 + m._33);
    // The view looks down its -z axis.
    d.z = -d.z;
    if (direction) D3DXVec3Normalize(direction, &d);
    if (origin) *origin = D3DXVECTOR3(m._41, m._42, m._43);
}

bool rayHitsSphere(D3DXVECTOR3 origin, D3DXVECTOR3 direction, D3DXVECTOR3 centre, float radius,
                   float* distance) {
    const D3DXVECTOR3 toCentre = centre - origin;
    const float t = D3DXVec3Dot(&direction, &toCentre);
    const D3DXVECTOR3 nearest = origin + direction * t;
    const D3DXVECTOR3 offset = centre - nearest;
    const float dist = D3DXVec3Length(&offset);
    if (dist < radius) {
        if (distance) *distance = dist;
        return true;
    }
    if (distance) *distance = FLT_MAX;
    return false;
}
