// A block's face and its turn: flips swap the face at once and the picture
// follows at 360 degrees a second, always in the same direction.
#include "LevelFixture.h"
#include "QNBaseRend.h"
#include "QNGameTimer.h"
#include "ZVBlock.h"
#include "testing/PlatformTesting.h"

namespace {

class LevelBlock : public LevelFixture {
protected:
    // A block showing `state` at once.
    void start(ZVBlock& block, int state) {
        block.initialize("none");
        block.m_state = state;
        block.snapToState();
    }
    // Advances the game timer by dt and turns the block once.
    void turn(ZVBlock& block, double dt) {
        zvtest::advanceClock(dt);
        CQNGameTimer::getInstance()->update();
        block.animate();
    }
    float shown(const ZVBlock& block) { return block.m_rend->m_rotation.y; }
};

TEST_F(LevelBlock, TwoQuickFlipsMakeOneFullTurnInOneSecond) {
    ZVBlock block;
    start(block, BLOCK_FRONT);
    EXPECT_EQ(shown(block), 360.0f);
    block.flip();
    EXPECT_EQ(block.m_state, BLOCK_BACK);
    turn(block, 0.1);
    block.flip();  // while still turning: another half turn the same way
    EXPECT_EQ(block.m_state, BLOCK_FRONT);
    EXPECT_EQ(block.m_targetAngle, 720.0f);
    float last = shown(block);
    for (int f = 0; f < 8; ++f) {
        turn(block, 0.1);
        EXPECT_GT(shown(block), last) << "frame " << f;
        last = shown(block);
    }
    EXPECT_LT(shown(block), 720.0f);  // 0.9 s: not there yet
    turn(block, 0.1);
    EXPECT_NEAR(shown(block), 720.0f, 0.01f);
    turn(block, 0.1);
    EXPECT_EQ(shown(block), 720.0f);
}

TEST_F(LevelBlock, ALongFrameStopsExactlyOnTheTargetEitherWay) {
    for (double dt : {0.7, 5.0}) {
        ZVBlock block;
        start(block, BLOCK_BACK);
        block.flip();
        turn(block, dt);
        EXPECT_EQ(shown(block), 360.0f) << "dt " << dt;
    }
    // A target below the shown angle turns back.
    ZVBlock block;
    block.initialize("none");
    block.m_rend->m_rotation.y = 500.0f;
    block.m_targetAngle = 360.0f;
    turn(block, 0.25);
    EXPECT_FLOAT_EQ(shown(block), 410.0f);
    turn(block, 1.0);
    EXPECT_EQ(shown(block), 360.0f);
}

TEST_F(LevelBlock, SnapShowsTheFaceAtOnceAfterAnyFlips) {
    ZVBlock block;
    start(block, BLOCK_BACK);
    EXPECT_EQ(shown(block), 180.0f);
    block.flip();
    block.flip();
    block.flip();
    turn(block, 0.2);
    EXPECT_EQ(block.m_state, BLOCK_FRONT);
    block.snapToState();
    EXPECT_EQ(shown(block), 360.0f);
    EXPECT_EQ(block.m_targetAngle, 360.0f);
}

}  // namespace
