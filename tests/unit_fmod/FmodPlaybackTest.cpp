// Samples, streams and modules as heard in the mixer's output.
#include "DiskCapture.h"
#include "FmodTestSupport.h"

#include "testing/AudioTesting.h"

#include <SDL.h>

#include <cmath>
#include <set>

using namespace fmodtest;

namespace {

class FmodPlaybackTest : public FmodTest {};

struct LoopCase {
    const char* name;
    unsigned int mode;
    bool heardLate;
};

// A 0.25 s stream, listened to between 0.55 s and 0.75 s after it started:
// only a looping stream can still be heard there.
TEST_F(FmodPlaybackTest, StreamLoopsOnlyInLoopMode) {
    const LoopCase cases[] = {
        {"FSOUND_LOOP_NORMAL", FSOUND_LOOP_NORMAL, true},
        {"default mode", 0, false},
    };
    writeWav(file("tone.wav"), tone(440, 0.25, 0.5));
    for (const LoopCase& c : cases) {
        SCOPED_TRACE(c.name);
        DiskCapture capture(m_dir, std::string("loop-") + (c.heardLate ? "on" : "off") + ".raw");
        ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
        FSOUND_STREAM* stream = FSOUND_Stream_Open(file("tone.wav").c_str(), 0, 0, 0);
        ASSERT_NE(stream, nullptr);
        EXPECT_TRUE(FSOUND_Stream_SetMode(stream, c.mode));
        EXPECT_GE(FSOUND_Stream_Play(FSOUND_FREE, stream), 0);
        ASSERT_TRUE(capture.waitFor(0.8));
        FSOUND_Close();

        const Signal out = capture.read();
        const long start = out.onset();
        ASSERT_GE(start, 0) << "the stream was never heard";
        const double t0 = start / 44100.0;
        EXPECT_NEAR(out.zeroCrossingHz(t0 + 0.05, 0.15), 440, 15);
        if (c.heardLate) {
            EXPECT_NEAR(out.rms(t0 + 0.55, 0.2), 0.5 / std::sqrt(2.0), 0.05);
            EXPECT_NEAR(out.zeroCrossingHz(t0 + 0.55, 0.2), 440, 15);
        } else {
            EXPECT_LT(out.rms(t0 + 0.55, 0.2), 0.005);
        }
    }
}

TEST_F(FmodPlaybackTest, ClickSampleIsHeardOnceAtItsPitch) {
    writeWav(file("click.wav"), tone(1000, 0.12, 0.4));
    DiskCapture capture(m_dir);
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    FSOUND_SAMPLE* click = FSOUND_Sample_Load(FSOUND_FREE, file("click.wav").c_str(), 0, 0, 0);
    ASSERT_NE(click, nullptr);
    EXPECT_GE(FSOUND_PlaySound(FSOUND_FREE, click), 0);
    ASSERT_TRUE(capture.waitFor(0.4));
    FSOUND_Close();

    const Signal out = capture.read();
    const long start = out.onset();
    ASSERT_GE(start, 0) << "the click was never heard";
    const double t0 = start / 44100.0;
    EXPECT_NEAR(out.zeroCrossingHz(t0 + 0.01, 0.1), 1000, 20);
    EXPECT_NEAR(out.rms(t0 + 0.01, 0.1), 0.4 / std::sqrt(2.0), 0.04);
    EXPECT_NEAR(out.audibleSeconds(), 0.12, 0.02);
}

// The same 0.6 s click twice, 0.1 s apart: two channels, so the first is not
// cut and, where they overlap, two sweeps at different pitches add up.
TEST_F(FmodPlaybackTest, TwoClicksInQuickSuccessionOverlap) {
    const double amp = 0.3;
    writeWav(file("sweep.wav"), chirp(400, 2000, 0.6, amp));
    DiskCapture capture(m_dir);
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    FSOUND_SAMPLE* click = FSOUND_Sample_Load(FSOUND_FREE, file("sweep.wav").c_str(), 0, 0, 0);
    ASSERT_NE(click, nullptr);
    const int first = FSOUND_PlaySound(FSOUND_FREE, click);
    SDL_Delay(100);
    const int second = FSOUND_PlaySound(FSOUND_FREE, click);
    EXPECT_GE(first, 0);
    EXPECT_GE(second, 0);
    EXPECT_NE(first, second);
    ASSERT_TRUE(capture.waitFor(0.8));
    FSOUND_Close();

    const Signal out = capture.read();
    const long start = out.onset();
    ASSERT_GE(start, 0);
    const double single = amp / std::sqrt(2.0);
    EXPECT_GT(out.audibleSeconds(), 0.63) << "the second click cut the first";
    EXPECT_GT(out.maxWindowRms(start / 44100.0, 0.02), 1.25 * single);
}

TEST_F(FmodPlaybackTest, TwoDifferentSamplesSoundAtOnce) {
    writeWav(file("low.wav"), tone(500, 0.4, 0.3));
    writeWav(file("high.wav"), tone(1500, 0.4, 0.3));
    DiskCapture capture(m_dir);
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    FSOUND_SAMPLE* low = FSOUND_Sample_Load(FSOUND_FREE, file("low.wav").c_str(), 0, 0, 0);
    FSOUND_SAMPLE* high = FSOUND_Sample_Load(FSOUND_FREE, file("high.wav").c_str(), 0, 0, 0);
    ASSERT_NE(low, nullptr);
    ASSERT_NE(high, nullptr);
    EXPECT_GE(FSOUND_PlaySound(FSOUND_FREE, low), 0);
    EXPECT_GE(FSOUND_PlaySound(FSOUND_FREE, high), 0);
    ASSERT_TRUE(capture.waitFor(0.5));
    FSOUND_Close();

    const Signal out = capture.read();
    const long start = out.onset();
    ASSERT_GE(start, 0);
    // The later of the two starts a mix chunk or so after the other.
    const double t = start / 44100.0 + 0.1;
    EXPECT_NEAR(out.amplitudeAt(500, t, 0.2), 0.3, 0.05);
    EXPECT_NEAR(out.amplitudeAt(1500, t, 0.2), 0.3, 0.05);
    EXPECT_LT(out.amplitudeAt(1000, t, 0.2), 0.02);
}

struct ChannelCase {
    int channels;
};

// FSOUND_FREE hands out each channel once; when all are busy the sound that
// has played longest gives its channel up, so a click is never lost.
TEST_F(FmodPlaybackTest, FreeChannelsAreHandedOutThenTheOldestIsReused) {
    writeWav(file("long.wav"), tone(300, 2.0, 0.1));
    for (const ChannelCase& c : {ChannelCase{4}, ChannelCase{32}}) {
        SCOPED_TRACE(c.channels);
        ASSERT_TRUE(initSilent(c.channels));
        FSOUND_SAMPLE* s = FSOUND_Sample_Load(FSOUND_FREE, file("long.wav").c_str(), 0, 0, 0);
        ASSERT_NE(s, nullptr);
        std::set<int> used;
        for (int i = 0; i < c.channels; ++i) {
            const int channel = FSOUND_PlaySound(FSOUND_FREE, s);
            EXPECT_GE(channel, 0);
            EXPECT_LT(channel, c.channels);
            used.insert(channel);
        }
        EXPECT_EQ(used.size(), static_cast<size_t>(c.channels));
        const int stolen = FSOUND_PlaySound(FSOUND_FREE, s);
        EXPECT_GE(stolen, 0);
        EXPECT_LT(stolen, c.channels);
        EXPECT_EQ(FSOUND_PlaySound(2, s), 2) << "an explicit channel is taken as asked";
        EXPECT_EQ(FSOUND_PlaySound(c.channels, s), -1);
        EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM);
        FSOUND_Close();
    }
}

TEST_F(FmodPlaybackTest, ModulePlaysAsMusic) {
    writeModule(file("tone.mod"));
    DiskCapture capture(m_dir);
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    FMUSIC_MODULE* song = FMUSIC_LoadSong(file("tone.mod").c_str());
    ASSERT_NE(song, nullptr) << FSOUND_GetError();
    EXPECT_TRUE(FMUSIC_PlaySong(song));
    ASSERT_TRUE(capture.waitFor(0.5));
    FSOUND_Close();

    const Signal out = capture.read();
    const long start = out.onset(0.005);
    ASSERT_GE(start, 0) << "the module was never heard";
    const double t0 = start / 44100.0;
    EXPECT_GT(out.rms(t0 + 0.05, 0.3), 0.02);
    EXPECT_NEAR(out.zeroCrossingHz(t0 + 0.05, 0.3), kModuleToneHz, kModuleToneHz * 0.1);
}

// Close stops a looping sample, a looping stream and the CD while they play,
// and leaves nothing behind: the next start is silent.
TEST_F(FmodPlaybackTest, CloseStopsAndFreesEverything) {
    writeWav(file("loop.wav"), tone(440, 0.2, 0.2));
    writeWav(file("music.wav"), tone(660, 0.2, 0.2));
    writeCdImage(file("disc.cue"), file("disc.bin"), {{true, 880, 75}});
    zvtest::setCdSource(file("disc.cue").c_str());

    DiskCapture capture(m_dir, "playing.raw");
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    FSOUND_SAMPLE* loop =
        FSOUND_Sample_Load(FSOUND_FREE, file("loop.wav").c_str(), FSOUND_LOOP_NORMAL, 0, 0);
    FSOUND_STREAM* music = FSOUND_Stream_Open(file("music.wav").c_str(), 0, 0, 0);
    ASSERT_NE(loop, nullptr);
    ASSERT_NE(music, nullptr);
    EXPECT_TRUE(FSOUND_Stream_SetMode(music, FSOUND_LOOP_NORMAL));
    EXPECT_GE(FSOUND_PlaySound(FSOUND_FREE, loop), 0);
    EXPECT_GE(FSOUND_Stream_Play(FSOUND_FREE, music), 0);
    ASSERT_TRUE(FSOUND_CD_Play(0, 1));
    FSOUND_CD_SetPlayMode(0, FSOUND_CD_PLAYLOOPED);
    ASSERT_TRUE(capture.waitFor(0.4));
    FSOUND_Close();
    const size_t closedAt = capture.writtenFrames();
    SDL_Delay(150);
    EXPECT_EQ(capture.writtenFrames(), closedAt) << "output goes on after FSOUND_Close";

    const Signal playing = capture.read();
    const double end = playing.seconds();
    for (double hz : {440.0, 660.0, 880.0}) {
        EXPECT_GT(playing.amplitudeAt(hz, end - 0.1, 0.1), 0.1) << hz << " Hz not playing at close";
    }

    DiskCapture after(m_dir, "after.raw");
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    ASSERT_TRUE(after.waitFor(0.3));
    FSOUND_Close();
    const Signal silence = after.read();
    EXPECT_GT(silence.seconds(), 0.3);
    EXPECT_EQ(silence.onset(0.0001), -1) << "something played on after FSOUND_Close";
    zvtest::setCdSource(nullptr);
}

}  // namespace
