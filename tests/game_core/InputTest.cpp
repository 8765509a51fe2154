// Key repeat and mouse edges, measured with the test clock at 60 frames a second.
#include <dinput.h>

#include <vector>

#include "DX_Input.h"
#include "EngineFixture.h"
#include "testing/PlatformTesting.h"

namespace {

class Input : public EngineFixture {};

// Frames (from 0) on which isKeyPressed answered while the key was held.
std::vector<int> heldFrames(Input* t, int key, int frames) {
    std::vector<int> hits;
    for (int f = 0; f < frames; ++f) {
        if (f == 0) zvtest::setKey(key, true);
        t->frame(1.0 / 64.0);  // exact in the clock's nanoseconds
        if (CDX_Input::getInstance()->isKeyPressed(key)) hits.push_back(f);
    }
    zvtest::setKey(key, false);
    return hits;
}

TEST_F(Input, NothingBeforeTheFirstUpdate) {
    zvtest::setKey(DIK_RETURN, true);
    EXPECT_FALSE(CDX_Input::getInstance()->isKeyPressed(DIK_RETURN));
    EXPECT_FALSE(CDX_Input::getInstance()->isMouseButtonPressed(0));
}

TEST_F(Input, HeldKeyRepeatsAfterOneSecondEveryTenth) {
    std::vector<int> hits = heldFrames(this, DIK_F2, 120);
    ASSERT_FALSE(hits.empty());
    EXPECT_EQ(hits[0], 0);
    ASSERT_GE(hits.size(), 2u);
    // Just past 1.0 s (frame 64 is exactly 1.0 s: not yet), then every
    // frame that is more than 0.1 s after the last repeat.
    EXPECT_EQ(hits[1], 65);
    for (size_t i = 2; i < hits.size(); ++i) EXPECT_EQ(hits[i] - hits[i - 1], 7) << "repeat " << i;
}

TEST_F(Input, ANewKeyRestartsTheDelayOfAHeldOne) {
    // UP held from frame 0, DOWN pressed at frame 80, at 64 frames a second:
    // UP repeats, falls silent for a second, then resumes. (The repeat clocks
    // are shared, so UP, asked first, takes the repeats from DOWN.)
    zvtest::setKey(DIK_UP, true);
    std::vector<int> upHits, downHits;
    for (int f = 0; f < 160; ++f) {
        if (f == 80) zvtest::setKey(DIK_DOWN, true);
        frame(1.0 / 64.0);
        CDX_Input* in = CDX_Input::getInstance();
        if (in->isKeyPressed(DIK_UP)) upHits.push_back(f);
        if (in->isKeyPressed(DIK_DOWN)) downHits.push_back(f);
    }
    // 0; 65 (just past 1 s); every 7 frames; then from 1 s after frame 80.
    EXPECT_EQ(upHits, (std::vector<int>{0, 65, 72, 79, 145, 152, 159}));
    EXPECT_EQ(downHits, std::vector<int>{80});
}

TEST_F(Input, MouseButtonCountsOnlyItsPress) {
    int presses = 0;
    zvtest::setMouseButton(0, true);
    for (int f = 0; f < 30; ++f) {
        frame();
        if (CDX_Input::getInstance()->isMouseButtonPressed(0)) ++presses;
    }
    zvtest::setMouseButton(0, false);
    frame();
    EXPECT_FALSE(CDX_Input::getInstance()->isMouseButtonPressed(0));
    EXPECT_EQ(presses, 1);
}

TEST_F(Input, PressAndReleaseBetweenTwoReadsIsNeverSeen) {
    frame();
    zvtest::setKey(DIK_RETURN, true);
    zvtest::setKey(DIK_RETURN, false);
    frame();
    EXPECT_FALSE(CDX_Input::getInstance()->isKeyPressed(DIK_RETURN));
}

TEST_F(Input, AFocusLossBetweenFramesUnacquiresBothDevices) {
    // Without the focus the main loop runs no frame: the loss and the return
    // both fall between two frames, and the devices must still notice.
    frame();
    zvtest::setFocus(false);
    zvtest::setKey(DIK_RETURN, true);
    zvtest::setFocus(true);
    frame();
    EXPECT_TRUE(CDX_Input::getInstance()->isKeyPressed(DIK_RETURN));
    frame();
    // The mouse reports its lost read once and is made again.
    EXPECT_EQ(count(log(), "Lost mouse: reacquiring now"), 1);
    // A frame run while the window is in the background reads no keys.
    zvtest::setKey(DIK_RETURN, false);
    frame();
    zvtest::setFocus(false);
    zvtest::setKey(DIK_RETURN, true);
    frame();
    EXPECT_FALSE(CDX_Input::getInstance()->isKeyPressed(DIK_RETURN));
}

}  // namespace
