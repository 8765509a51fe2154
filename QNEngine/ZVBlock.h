// One cell of the board: the renderable that shows it, the face it shows,
// and the half turn about the block's y axis that shows each flip.
#ifndef ZV_BLOCK_H
#define ZV_BLOCK_H

#include <cstdint>

#include "QNResults.h"

class CQNBaseRend;

// The faces a block shows. The angle 360 (a multiple of 360) shows the
// front of the block model, 180 (an odd multiple of 180) its back.
#define BLOCK_FRONT 1
#define BLOCK_BACK 2

class ZVBlock {
public:
    // No renderable, state 0 (no face yet), target angle 0.
    ZVBlock();
    // Deletes the renderable if there is one.
    ~ZVBlock();

    ZVBlock(const ZVBlock&) = delete;
    ZVBlock& operator=(const ZVBlock&) = delete;

    // Creates the renderable from a base-object script and gives it a random
    // tilt about z. Call once. A script that fails to load leaves a
    // renderable without a model: it draws nothing but is still placed,
    // flipped and hit. Returns the renderable's result.
    QNRESULT initialize(const char* path);
    // Once a frame, before the renderable's update: turns the shown angle
    // toward m_targetAngle at 360 degrees a second, stopping exactly on it.
    void animate();
    // Swaps the face at once and adds a half turn for the picture to follow.
    // A block whose state was never set (0) does not flip.
    void flip();
    // Shows the current state's face at once, without turning.
    void snapToState();

    CQNBaseRend* m_rend;
    int32_t m_state;
    // Degrees about y; only grows during play, so every flip turns the same way.
    float m_targetAngle;
};

#endif
