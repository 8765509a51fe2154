// Samples, streams and modules as heard in the mixer's output.
#include "FmodTestSupport.h"

#include "testing/AudioTesting.h"

#include <SDL.h>

#include <set>

using namespace fmodtest;

namespace {

using FmodPlaybackTest = FmodTest;

// A 0.25 s stream, listened to between 0.55 s and 0.75 s after it started:
// only a looping stream can still be heard there.
TEST_F(FmodPlaybackTest, StreamLoopsPastItsLengthOnlyInLoopMode) {
    writeWav(file("tone.wav"), tone(440, 0.25, 0.5));
    for (unsigned int mode : {unsigned(FSOUND_LOOP_NORMAL), 0u}) {
        SCOPED_TRACE(mode ? "FSOUND_LOOP_NORMAL" : "default mode");
        const Signal out = record(0.8, [&] {
            FSOUND_STREAM* stream = FSOUND_Stream_Open(file("tone.wav").c_str(), 0, 0, 0);
            ASSERT_NE(stream, nullptr);
            EXPECT_TRUE(FSOUND_Stream_SetMode(stream, mode));
            EXPECT_GE(FSOUND_Stream_Play(FSOUND_FREE, stream), 0);
        });
        ASSERT_GT(out.seconds(), 0.75) << "the stream was never heard";
        EXPECT_NEAR(out.amplitudeAt(440, 0.05, 0.15), 0.5, 0.05);
        if (mode) {
            EXPECT_NEAR(out.amplitudeAt(440, 0.55, 0.2), 0.5, 0.05);
        } else {
            EXPECT_LT(out.rms(0.55, 0.2), 0.005);
        }
    }
}

TEST_F(FmodPlaybackTest, ClickSampleIsHeardOnceAtItsPitch) {
    writeWav(file("click.wav"), tone(1000, 0.12, 0.4));
    const Signal out = record(0.4, [&] {
        FSOUND_SAMPLE* click = FSOUND_Sample_Load(FSOUND_FREE, file("click.wav").c_str(), 0, 0, 0);
        ASSERT_NE(click, nullptr);
        EXPECT_GE(FSOUND_PlaySound(FSOUND_FREE, click), 0);
    });
    EXPECT_NEAR(out.amplitudeAt(1000, 0.01, 0.1), 0.4, 0.04);
    EXPECT_NEAR(out.audibleSeconds(), 0.12, 0.02);
}

// The same 0.6 s sweep twice, 0.1 s apart: two channels, so the first is not
// cut and, where they overlap, the two (at different pitches) add up.
TEST_F(FmodPlaybackTest, TwoClicksInQuickSuccessionOverlap) {
    const double amp = 0.3;
    writeWav(file("sweep.wav"), tone(400, 0.6, amp, 2000));
    const Signal out = record(0.8, [&] {
        FSOUND_SAMPLE* click = FSOUND_Sample_Load(FSOUND_FREE, file("sweep.wav").c_str(), 0, 0, 0);
        ASSERT_NE(click, nullptr);
        const int first = FSOUND_PlaySound(FSOUND_FREE, click);
        SDL_Delay(100);
        const int second = FSOUND_PlaySound(FSOUND_FREE, click);
        EXPECT_GE(first, 0);
        EXPECT_GE(second, 0);
        EXPECT_NE(first, second);
    });
    EXPECT_GT(out.audibleSeconds(), 0.63) << "the second click cut the first";
    EXPECT_GT(out.maxWindowRms(0.02), 1.25 * amp / std::sqrt(2.0));
}

// FSOUND_FREE hands out each channel once; when all are busy the sound that
// has played longest gives its channel up, so a click is never lost.
TEST_F(FmodPlaybackTest, FreeChannelsAreHandedOutThenTheOldestIsReused) {
    writeWav(file("long.wav"), tone(300, 2.0, 0.1));
    ASSERT_TRUE(initSilent(4));
    FSOUND_SAMPLE* s = FSOUND_Sample_Load(FSOUND_FREE, file("long.wav").c_str(), 0, 0, 0);
    ASSERT_NE(s, nullptr);
    std::set<int> used;
    for (int i = 0; i < 5; ++i) {
        const int channel = FSOUND_PlaySound(FSOUND_FREE, s);
        EXPECT_TRUE(channel >= 0 && channel < 4) << channel;
        used.insert(channel);
    }
    EXPECT_EQ(used.size(), 4u);
    EXPECT_EQ(FSOUND_PlaySound(2, s), 2) << "an explicit channel is taken as asked";
    EXPECT_EQ(FSOUND_PlaySound(4, s), -1);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM);
}

TEST_F(FmodPlaybackTest, ModulePlaysAsMusic) {
    writeModule(file("tone.mod"));
    const Signal out = record(0.5, [&] {
        FMUSIC_MODULE* song = FMUSIC_LoadSong(file("tone.mod").c_str());
        ASSERT_NE(song, nullptr) << FSOUND_GetError();
        EXPECT_TRUE(FMUSIC_PlaySong(song));
    });
    EXPECT_GT(out.amplitudeAt(kModuleToneHz, 0.05, 0.3), 0.02) << "the module was not heard at its pitch";
}

// A mute set before the library starts holds across FSOUND_Init for clicks,
// music and CD audio, until it is lifted.
TEST_F(FmodPlaybackTest, MuteSilencesEverythingUntilLifted) {
    writeWav(file("click.wav"), tone(1000, 0.3, 0.4));
    writeWav(file("music.wav"), tone(660, 0.3, 0.3));
    writeCdImage(file("disc.cue"), file("disc.bin"), {{true, 880, 75}});
    zvtest::setCdSource(file("disc.cue").c_str());
    EXPECT_FALSE(FSOUND_SetMute(0, TRUE)) << "only FSOUND_ALL is handled";
    const auto playAll = [&] {
        FSOUND_SAMPLE* click = FSOUND_Sample_Load(FSOUND_FREE, file("click.wav").c_str(), 0, 0, 0);
        FSOUND_STREAM* music = FSOUND_Stream_Open(file("music.wav").c_str(), 0, 0, 0);
        ASSERT_TRUE(click && music);
        EXPECT_GE(FSOUND_PlaySound(FSOUND_FREE, click), 0);
        EXPECT_GE(FSOUND_Stream_Play(FSOUND_FREE, music), 0);
        EXPECT_TRUE(FSOUND_CD_Play(0, 1));
    };
    for (bool mute : {true, false}) {
        SCOPED_TRACE(mute ? "muted" : "unmuted");
        EXPECT_TRUE(FSOUND_SetMute(FSOUND_ALL, mute ? TRUE : FALSE));
        EXPECT_EQ(FSOUND_GetMute(FSOUND_ALL), mute ? TRUE : FALSE);
        const Signal out = record(0.4, playAll, 0.0001);
        if (mute) {
            EXPECT_EQ(out.seconds(), 0) << "something was heard while muted";
        } else {
            for (double hz : {1000.0, 660.0, 880.0})
                EXPECT_GT(out.amplitudeAt(hz, 0.02, 0.15), 0.05) << hz << " Hz not heard";
        }
    }
    zvtest::setCdSource(nullptr);
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
    FSOUND_SAMPLE* loop = FSOUND_Sample_Load(FSOUND_FREE, file("loop.wav").c_str(), FSOUND_LOOP_NORMAL, 0, 0);
    FSOUND_STREAM* music = FSOUND_Stream_Open(file("music.wav").c_str(), 0, 0, 0);
    ASSERT_TRUE(loop && music);
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
    for (double hz : {440.0, 660.0, 880.0})
        EXPECT_GT(playing.amplitudeAt(hz, playing.seconds() - 0.1, 0.1), 0.1) << hz << " Hz not playing at close";
    zvtest::setCdSource(nullptr);

    const Signal after = record(
        0.3, [] {}, 0.0001);
    EXPECT_EQ(after.seconds(), 0) << "something played on after FSOUND_Close";
}

}  // namespace
