// What the library answers when it cannot do what is asked: missing or
// foreign files, no audio device, handles that are not (or no longer) valid.
#include "FmodTestSupport.h"

#include <fstream>

using namespace fmodtest;

namespace {

using FmodFailureTest = FmodTest;

TEST_F(FmodFailureTest, LoadersGiveNullForFilesTheyCannotOpen) {
    ASSERT_EQ(system(("mkdir '" + file("sub") + "'").c_str()), 0);
    std::ofstream(file("text.wav")) << "this is not a sound";
    writeWav(file("sub/tone.wav"), tone(440, 0.1, 0.3));
    writeModule(file("sub/tone.mod"));
    enum Loader { SAMPLE, STREAM, SONG };
    const struct {
        const char* what;
        Loader loader;
        const char* name;  // relative to the test directory; '\' as scripts write it
        int error;         // FMOD_ERR_NONE: loads
    } cases[] = {
        {"missing sample", SAMPLE, "missing.wav", FMOD_ERR_FILE_NOTFOUND},
        {"missing stream", STREAM, "missing.mp3", FMOD_ERR_FILE_NOTFOUND},
        {"missing song", SONG, "missing.mod", FMOD_ERR_FILE_NOTFOUND},
        {"text as sample", SAMPLE, "text.wav", FMOD_ERR_FILE_FORMAT},
        {"text as stream", STREAM, "text.wav", FMOD_ERR_FILE_FORMAT},
        {"text as song", SONG, "text.wav", FMOD_ERR_FILE_FORMAT},
        {"sampled audio as song", SONG, "sub\\tone.wav", FMOD_ERR_FILE_FORMAT},
        {"sample, backslash path", SAMPLE, "sub\\tone.wav", FMOD_ERR_NONE},
        {"stream, backslash path", STREAM, "sub\\tone.wav", FMOD_ERR_NONE},
        {"song, backslash path", SONG, "sub\\tone.mod", FMOD_ERR_NONE},
    };
    ASSERT_TRUE(initSilent());
    for (const auto& c : cases) {
        const std::string path = m_dir + "\\" + c.name;
        const bool loaded = c.loader == SAMPLE   ? FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), 0, 0, 0) != nullptr
                            : c.loader == STREAM ? FSOUND_Stream_Open(path.c_str(), 0, 0, 0) != nullptr
                                                 : FMUSIC_LoadSong(path.c_str()) != nullptr;
        EXPECT_EQ(loaded, c.error == FMOD_ERR_NONE) << c.what;
        EXPECT_EQ(FSOUND_GetError(), c.error) << c.what;
    }
    // Arguments for what this layer leaves out are refused, not ignored.
    const std::string wav = file("sub/tone.wav");
    const struct {
        const char* what;
        int index;
        const char* name;
        unsigned int mode;
        int offset, length;
    } refused[] = {
        {"in-memory data", FSOUND_FREE, wav.c_str(), FSOUND_LOADMEMORY, 0, 0},
        {"file segment", FSOUND_FREE, wav.c_str(), 0, 44, 100},
        {"unmanaged slot", FSOUND_UNMANAGED, wav.c_str(), 0, 0, 0},
        {"null name", FSOUND_FREE, nullptr, 0, 0, 0},
    };
    for (const auto& c : refused) {
        EXPECT_EQ(FSOUND_Sample_Load(c.index, c.name, c.mode, c.offset, c.length), nullptr) << c.what;
        EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM) << c.what;
    }
}

// A slot number given to FSOUND_Sample_Load replaces the sample in it; freed
// handles are refused afterwards instead of being used.
TEST_F(FmodFailureTest, SampleSlotsAndFreedHandles) {
    writeWav(file("tone.wav"), tone(440, 0.5, 0.3));
    writeModule(file("tone.mod"));
    const std::string wav = file("tone.wav");
    const char* path = wav.c_str();
    ASSERT_TRUE(initSilent());
    FSOUND_SAMPLE* a = FSOUND_Sample_Load(3, path, 0, 0, 0);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, a), 0);
    FSOUND_SAMPLE* b = FSOUND_Sample_Load(3, path, 0, 0, 0);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, b), 0) << "the replaced sample still plays";
    FSOUND_Sample_Free(b);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_NONE);
    FSOUND_Sample_Free(b);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, b), -1);

    FSOUND_STREAM* stream = FSOUND_Stream_Open(path, 0, 0, 0);
    ASSERT_NE(stream, nullptr);
    EXPECT_TRUE(FSOUND_Stream_Close(stream));
    EXPECT_FALSE(FSOUND_Stream_Close(stream));
    EXPECT_EQ(FSOUND_Stream_Play(FSOUND_FREE, stream), -1);

    FMUSIC_MODULE* song = FMUSIC_LoadSong(file("tone.mod").c_str());
    ASSERT_NE(song, nullptr);
    EXPECT_TRUE(FMUSIC_FreeSong(song));
    EXPECT_FALSE(FMUSIC_FreeSong(song));
    EXPECT_FALSE(FMUSIC_PlaySong(song));
}

// Every call after a failed FSOUND_Init (and before any) is harmless, and a
// later FSOUND_Init with a device works.
TEST_F(FmodFailureTest, WithoutAnAudioDeviceEverythingIsSilentAndSafe) {
    writeWav(file("tone.wav"), tone(440, 0.1, 0.3));
    writeModule(file("tone.mod"));
    const std::string wav = file("tone.wav");
    setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    for (bool tried : {true, false}) {
        SCOPED_TRACE(tried ? "failed init" : "no init at all");
        if (tried) {
            EXPECT_FALSE(FSOUND_Init(44100, 32, 0));
            EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INIT);
        }
        FSOUND_SAMPLE* sample = FSOUND_Sample_Load(FSOUND_FREE, wav.c_str(), 0, 0, 0);
        EXPECT_EQ(sample, nullptr);
        EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_UNINITIALIZED);
        EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, sample), -1);
        FSOUND_Sample_Free(sample);
        FSOUND_STREAM* stream = FSOUND_Stream_Open(wav.c_str(), 0, 0, 0);
        EXPECT_EQ(stream, nullptr);
        EXPECT_FALSE(FSOUND_Stream_SetMode(stream, FSOUND_LOOP_NORMAL));
        EXPECT_EQ(FSOUND_Stream_Play(FSOUND_FREE, stream), -1);
        EXPECT_FALSE(FSOUND_Stream_Close(stream));
        FMUSIC_MODULE* song = FMUSIC_LoadSong(file("tone.mod").c_str());
        EXPECT_EQ(song, nullptr);
        EXPECT_FALSE(FMUSIC_PlaySong(song));
        EXPECT_FALSE(FMUSIC_FreeSong(song));
        EXPECT_FALSE(FSOUND_CD_Play(0, 1));
        FSOUND_CD_SetPlayMode(0, FSOUND_CD_PLAYCONTINUOUS);
        FSOUND_Close();
        FSOUND_Close();
    }
    EXPECT_TRUE(initSilent());
    EXPECT_NE(FSOUND_Sample_Load(FSOUND_FREE, wav.c_str(), 0, 0, 0), nullptr);
}

}  // namespace
