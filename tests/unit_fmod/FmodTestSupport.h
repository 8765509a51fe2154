// A fixture that gives each test its own directory for generated inputs and
// closes the sound library afterwards, whatever the test did.
#ifndef ZV_TEST_FMOD_FMODTESTSUPPORT_H
#define ZV_TEST_FMOD_FMODTESTSUPPORT_H

#include "SoundFiles.h"

#include <fmod.h>
#include <gtest/gtest.h>

#include <string>

namespace fmodtest {

class FmodTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = makeTempDir();
        ASSERT_FALSE(m_dir.empty());
    }
    void TearDown() override {
        FSOUND_Close();
        removeTree(m_dir);
    }
    std::string file(const std::string& name) const { return m_dir + "/" + name; }
    // Output to nowhere, in real time: for tests that do not listen.
    static bool initSilent(int channels = 32) {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        return FSOUND_Init(44100, channels, 0) != FALSE;
    }

    std::string m_dir;
};

}  // namespace fmodtest

#endif
