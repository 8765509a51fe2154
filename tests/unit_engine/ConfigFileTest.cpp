// One configuration key changed in place: every other byte of the player's
// file stays, and the file is replaced whole.
#include <gtest/gtest.h>

#include <string>

#include "QNConfigFile.h"
#include "TestSupport.h"

using zvtestsupport::ScratchDir;

namespace {

std::string withMute(const std::string& text, const char* value) {
    char out[512];
    EXPECT_TRUE(CQNConfigFile::withValue(text.c_str(), "[MUTE]", value, out, sizeof out));
    return out;
}

TEST(ConfigFile, OnlyTheKeysLineChanges) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        // The key's own line, wherever it is; comments naming it stay.
        {"// [MUTE] TRUE: silence\n[RESOLUTION] 640 480\n  [MUTE]   FALSE\n[ENV_MAPS] TRUE\n",
         "// [MUTE] TRUE: silence\n[RESOLUTION] 640 480\n  [MUTE] TRUE\n[ENV_MAPS] TRUE\n"},
        // CRLF lines keep their ends; a line that only starts like the key is another key.
        {"[MUTED] FALSE\r\n[MUTE] FALSE\r\n", "[MUTED] FALSE\r\n[MUTE] TRUE\r\n"},
        // Absent: a last line with the file's own line end, after a line end
        // the file lacked.
        {"[FULLSCREEN] FALSE\r\n[CDPLAYBACK] FALSE", "[FULLSCREEN] FALSE\r\n[CDPLAYBACK] FALSE\r\n[MUTE] TRUE\r\n"},
        {"// nothing\n\n", "// nothing\n\n[MUTE] TRUE\n"},
        {"", "[MUTE] TRUE\n"},
        // Only the first of two lines with the key is changed.
        {"[MUTE]\n[MUTE] FALSE\n", "[MUTE] TRUE\n[MUTE] FALSE\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(withMute(c.in, "TRUE"), c.out) << c.in;
    char small[8];
    EXPECT_FALSE(CQNConfigFile::withValue("[MUTE] FALSE\n", "[MUTE]", "TRUE", small, sizeof small));
    EXPECT_STREQ(small, "");
}

TEST(ConfigFile, SetValueRewritesTheFileOrLeavesIt) {
    ScratchDir dir;
    const std::string text = "// mine\r\n[RESOLUTION] 1024 768 // big\r\n\r\n[MUTE] FALSE\r\n[ENV_MAPS] FALSE\r\n";
    zvtestsupport::writeFile("Config\\qn.cfg", text);
    EXPECT_EQ(CQNConfigFile::setValue("Config\\qn.cfg", "[MUTE]", "TRUE"), QNRSLT_OK);
    EXPECT_EQ(zvtestsupport::readFile("Config\\qn.cfg"),
              "// mine\r\n[RESOLUTION] 1024 768 // big\r\n\r\n[MUTE] TRUE\r\n[ENV_MAPS] FALSE\r\n");
    EXPECT_EQ(zvtestsupport::readFile("Config\\qn.cfg.tmp"), "<missing>");
    EXPECT_GT(CQNConfigFile::setValue("Config\\none.cfg", "[MUTE]", "TRUE"), QNRSLT_OK);
    EXPECT_EQ(zvtestsupport::readFile("Config\\none.cfg"), "<missing>") << "a missing file was created";
}

}  // namespace
