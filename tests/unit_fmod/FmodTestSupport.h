// A fixture that gives each test its own directory for generated inputs,
// records what plays, and closes the sound library afterwards, whatever the
// test did.
#ifndef ZV_TEST_FMOD_FMODTESTSUPPORT_H
#define ZV_TEST_FMOD_FMODTESTSUPPORT_H

#include "DiskCapture.h"
#include "SoundFiles.h"

#include <fmod.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace fmodtest {

class FmodTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/zv-fmod-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override {
        FSOUND_Close();
        std::system(("rm -rf '" + m_dir + "'").c_str());
    }
    std::string file(const std::string& name) const { return m_dir + "/" + name; }
    // Output to nowhere, in real time: for tests that do not listen.
    static bool initSilent(int channels = 32) {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        return FSOUND_Init(44100, channels, 0) != FALSE;
    }
    // Initialises the library with its output to a file, runs `start`, lets
    // `seconds` of output play and closes the library: the output from the
    // first sample louder than `threshold` on (empty when nothing was heard).
    Signal record(double seconds, const std::function<void()>& start, double threshold = 0.01) {
        DiskCapture capture(m_dir, "out" + std::to_string(m_recordings++) + ".raw");
        EXPECT_TRUE(FSOUND_Init(44100, 32, 0));
        start();
        EXPECT_TRUE(capture.waitFor(seconds));
        FSOUND_Close();
        return capture.read().fromOnset(threshold);
    }

    std::string m_dir;
    int m_recordings = 0;
};

}  // namespace fmodtest

#endif
