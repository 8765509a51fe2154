// CD audio, read from generated disc images through the test hook.
#include "FmodTestSupport.h"
#include "testing/AudioTesting.h"

#include <cdio/cdio.h>

using namespace fmodtest;

namespace {

class FmodCdTest : public FmodTest {
protected:
    void SetUp() override {
        FmodTest::SetUp();
        // Two audio tracks of 38 sectors (0.51 s): 440 Hz, then 880 Hz.
        writeCdImage(file("disc.cue"), file("disc.bin"), {{true, 440, 38}, {true, 880, 38}});
    }
    void TearDown() override {
        zvtest::setCdSource(nullptr);
        FSOUND_CD_SetPlayMode(0, FSOUND_CD_PLAYCONTINUOUS);
        FmodTest::TearDown();
    }
};

TEST_F(FmodCdTest, DiscPlaysFromTheTrackOnAsTheModeSays) {
    const struct {
        const char* what;
        int track;
        signed char mode;
        double earlyHz;  // heard 0.1 s to 0.35 s after the start
        double lateHz;   // heard 0.65 s to 0.9 s after it; 0: silence
    } cases[] = {
        {"continuous from track 1", 1, FSOUND_CD_PLAYCONTINUOUS, 440, 880},
        {"once", 1, FSOUND_CD_PLAYONCE, 440, 0},
        {"looped", 1, FSOUND_CD_PLAYLOOPED, 440, 440},
        {"continuous from track 2", 2, FSOUND_CD_PLAYCONTINUOUS, 880, 0},
    };
    zvtest::setCdSource(file("disc.cue").c_str());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Signal out = record(1.0, [&] {
            // The order the game uses: play, then set the mode.
            ASSERT_TRUE(FSOUND_CD_Play(0, c.track));
            FSOUND_CD_SetPlayMode(0, c.mode);
        });
        ASSERT_GT(out.seconds(), 0.9) << "the disc was never heard";
        EXPECT_NEAR(out.amplitudeAt(c.earlyHz, 0.1, 0.25), 0.4, 0.04);
        if (c.lateHz > 0) {
            EXPECT_NEAR(out.amplitudeAt(c.lateHz, 0.65, 0.25), 0.4, 0.04);
        } else {
            EXPECT_LT(out.rms(0.65, 0.25), 0.005);
        }
    }
}

TEST_F(FmodCdTest, NothingToPlayGivesFalse) {
    writeCdImage(file("data.cue"), file("data.bin"), {{false, 0, 300}});
    const struct {
        const char* what;
        const char* source;  // file name in the test directory
        char drive;
        int track;
        int error;
    } cases[] = {
        {"missing image", "none.cue", 0, 1, FMOD_ERR_CDDEVICE},
        {"data disc", "data.cue", 0, 1, FMOD_ERR_CDDEVICE},
        {"track past the last", "disc.cue", 0, 3, FMOD_ERR_CDDEVICE},
        {"track 0", "disc.cue", 0, 0, FMOD_ERR_INVALID_PARAM},
        {"drive letter", "disc.cue", 'D', 1, FMOD_ERR_INVALID_PARAM},
    };
    ASSERT_TRUE(initSilent());
    for (const auto& c : cases) {
        zvtest::setCdSource(file(c.source).c_str());
        EXPECT_FALSE(FSOUND_CD_Play(c.drive, c.track)) << c.what;
        EXPECT_EQ(FSOUND_GetError(), c.error) << c.what;
    }
    zvtest::setCdSource(file("disc.cue").c_str());
    EXPECT_TRUE(FSOUND_CD_Play(0, 2)) << "a refused play leaves the player usable";
}

TEST_F(FmodCdTest, NoDriveGivesFalse) {
    char* device = cdio_get_default_device(nullptr);
    const bool haveDrive = device != nullptr;
    std::free(device);
    if (haveDrive) GTEST_SKIP() << "this machine has a CD drive";
    ASSERT_TRUE(initSilent());
    EXPECT_FALSE(FSOUND_CD_Play(0, 1));
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_CDDEVICE);
}

}  // namespace
