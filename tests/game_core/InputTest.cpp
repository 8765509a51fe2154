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
    zvtest::setKey(DIK_UP, true);
    int lastUpHit = -1;
    for (int f = 0; f < 150; ++f) {
        if (f == 70) zvtest::setKey(DIK_DOWN, true);
        frame();
        CDX_Input* in = CDX_Input::getInstance();
        if (in->isKeyPressed(DIK_DOWN)) {
        }
        if (in->isKeyPressed(DIK_UP) && f > 0 && f < 131) lastUpHit = f;
    }
    // DOWN went down at frame 70 and was asked about: UP is silent until 1 s later.
    EXPECT_LT(lastUpHit, 71);
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

TEST_F(Input, KeyboardComesBackWithTheFocus) {
    frame();
    zvtest::setFocus(false);
    zvtest::setKey(DIK_RETURN, true);
    frame();
    EXPECT_FALSE(CDX_Input::getInstance()->isKeyPressed(DIK_RETURN));
    zvtest::setFocus(true);
    frame();
    EXPECT_TRUE(CDX_Input::getInstance()->isKeyPressed(DIK_RETURN));
    // The mouse reports its lost read once and is made again.
    std::string text = log();
    EXPECT_NE(text.find("Lost mouse: reacquiring now"), std::string::npos);
}

}  // namespace
