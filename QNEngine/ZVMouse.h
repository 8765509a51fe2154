// The game's own mouse pointer during a level, and the three steps that turn
// a click into the blocks it hits: pointer position in centred screen units,
// the world-space line through that position, and a line-to-point test.
#ifndef ZV_MOUSE_H
#define ZV_MOUSE_H

#include <d3dx9.h>

class CQNBaseRend;

// Holds the cursor's renderable, a screen-space sprite that the level moves
// to the pointer every frame and draws after the board.
class ZVMouse {
public:
    ZVMouse();
    // Deletes the cursor if there is one.
    virtual ~ZVMouse();

    ZVMouse(const ZVMouse&) = delete;
    ZVMouse& operator=(const ZVMouse&) = delete;

    // Creates the cursor from a base-object script. Call once per holder: an
    // earlier cursor is not deleted. A script that fails to load leaves a
    // cursor without a model, which draws nothing.
    void initialize(const char* path);

    CQNBaseRend* m_cursor;
};

// The pointer in centred screen units: x to the right, y up, one unit per
// back-buffer pixel, the origin half a back buffer right of and below the
// top-left corner of the game window's restored rectangle. Not clamped to
// the window.
void getCursorPosition(float* x, float* y);

// The world-space line through the screen position (x, y) in centred screen
// units, from the device wrapper's perspective projection and the camera's
// view: *origin is the eye, *direction a unit vector. Correct for cameras
// that look along -z with y up and no roll, which are the ones a level uses.
void computePickRay(float x, float y, D3DXVECTOR3* direction, D3DXVECTOR3* origin);

// True when the whole line (behind the origin too) passes the centre closer
// than radius; *distance is then that distance, otherwise the largest
// finite float. direction must have unit length. A line exactly radius away
// does not hit.
bool rayHitsSphere(D3DXVECTOR3 origin, D3DXVECTOR3 direction, D3DXVECTOR3 centre, float radius,
                   float* distance);

#endif
