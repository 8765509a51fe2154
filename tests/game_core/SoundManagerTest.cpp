// The sound manager's records and its report lines (the disk driver stands in
// for a sound card: nothing is listened to here, see the end-to-end test).
#include <cstdlib>

#include "EngineFixture.h"
#include "QNSoundManager.h"
#include "testing/AudioTesting.h"

using zvtestsupport::writeFile;

namespace {

// A short 16-bit mono WAV of silence.
void writeWav(const std::string& path) {
    std::string data(4410 * 2, '\0');
    auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    std::string wav = "RIFF" + u32(36 + data.size()) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(44100) +
                      u32(88200) + u16(2) + u16(16) + "data" + u32(data.size()) + data;
    writeFile(path, wav);
}

class SoundManager : public EngineFixture {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
        EngineFixture::SetUp();
        CQNSoundManager::getInstance();
        CQNSoundManager::initialize();
    }
    void TearDown() override {
        CQNSoundManager::destroyInstance();
        EngineFixture::TearDown();
    }
    CQNSoundManager* sounds() { return CQNSoundManager::getInstance(); }
};

TEST_F(SoundManager, OneRecordPerFileWhateverTypeIsAsked) {
    writeWav("Assets\\Audio\\click.wav");
    QNSound* sample = sounds()->loadSound("Assets\\Audio\\click.wav", SOUND_SAMPLE);
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->m_type, SOUND_SAMPLE);
    EXPECT_EQ(sounds()->loadSound("Assets\\Audio\\click.wav", SOUND_SAMPLE), sample);
    EXPECT_EQ(sounds()->loadSound("Assets\\Audio\\click.wav", SOUND_STREAM), sample);
    EXPECT_EQ(sounds()->getCount(), 1u);
    EXPECT_EQ(sounds()->getSoundFromList("Assets\\Audio\\click.wav"), sample);
    EXPECT_EQ(sounds()->getSoundFromList("Assets\\Audio\\CLICK.wav"), nullptr);  // names are exact
    EXPECT_EQ(sounds()->playSound(sample), QNRSLT_OK);
    EXPECT_EQ(sounds()->loadSound("Assets\\Audio\\click.wav", 7), nullptr);  // unknown type
}

TEST_F(SoundManager, MissingFilesAreReportedWhenPlayedNotWhenLoaded) {
    // A missing music file: nothing at load time, one "NULL pointer" line when played.
    sounds()->playSound(sounds()->loadSound("Assets\\Audio\\nomusic.mp3", SOUND_STREAM));
    // A missing click sound: one line per click.
    for (int i = 0; i < 3; ++i) sounds()->playSound(sounds()->getSoundFromList("Assets\\Audio\\noclick.wav"));
    sounds()->loadSound(nullptr, SOUND_SAMPLE);
    sounds()->getSoundFromList(nullptr);
    EXPECT_EQ(sounds()->getCount(), 0u);
    std::string text = log();
    EXPECT_EQ(count(text, "<td><font size=\"2\" face=\"Arial\">NULL pointer</font></td>"), 4);
    EXPECT_EQ(count(text, "Null string sent"), 1);
    EXPECT_EQ(count(text, "NULL pointer sent"), 1);
}

TEST_F(SoundManager, ARecordWithoutItsHandleIsReported) {
    QNSound broken;
    broken.m_type = SOUND_STREAM;
    EXPECT_EQ(sounds()->playSound(&broken), QNRSLT_NULLMEMBER);
    broken.m_type = 9;
    EXPECT_EQ(sounds()->playSound(&broken), QNRSLT_INVALIDPARAM);
    std::string text = log();
    EXPECT_NE(text.find(">a_sound->m_stream<"), std::string::npos);
    EXPECT_EQ(count(text, "CQNSoundManager::playSound( )"), 2);
}

TEST_F(SoundManager, AnOutputLostDuringPlayIsLoggedOnceAndPlayGoesOn) {
    writeWav("Assets\\Audio\\click.wav");
    QNSound* click = sounds()->loadSound("Assets\\Audio\\click.wav", SOUND_SAMPLE);
    ASSERT_NE(click, nullptr);
    EXPECT_EQ(sounds()->playSound(click), QNRSLT_OK);
    zvtest::loseAudioOutput();
    EXPECT_LT(FSOUND_PlaySound(FSOUND_FREE, click->m_sample), 0);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INIT);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(sounds()->playSound(click), QNRSLT_OK);
    const std::string text = log();
    EXPECT_EQ(count(text, "Audio device lost: the game runs on without sound"), 1);
    EXPECT_EQ(count(text, "QNRSLT_NOHARDWARECAP"), 1);
}

TEST(SoundWithoutDevice, TheGameRunsSilentlyAndSaysSoOnce) {
    zvtestsupport::ScratchDir dir;
    zvtestsupport::makeDirs("Logs");
    setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    CQNResults::getInstance()->open("Logs\\QNResultLog.htm", "t");
    CQNSoundManager::getInstance();
    EXPECT_FALSE(CQNSoundManager::initialize());
    QNSound* none = CQNSoundManager::getInstance()->loadSound("Assets\\Audio\\x.wav", SOUND_SAMPLE);
    EXPECT_EQ(none, nullptr);
    CQNSoundManager::destroyInstance();
    CQNResults::destroyInstance();
    std::string text = zvtestsupport::readFile("Logs/QNResultLog.htm");
    EXPECT_NE(text.find("No audio device: the game runs without sound"), std::string::npos);
}

}  // namespace
