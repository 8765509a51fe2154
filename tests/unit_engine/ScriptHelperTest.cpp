// Script reading and the token rules every loader relies on.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "QNBase.h"
#include "QNResults.h"
#include "QNScriptHelper.h"
#include "TestSupport.h"
#include "win32/Win32Window.h"

using zvtestsupport::ScratchDir;
using zvtestsupport::writeFile;

namespace {

std::string stripped(const std::string& text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    CScriptHelper::stripComments(buffer.data(), buffer.data());
    return buffer.data();
}

std::vector<std::string> tokens(std::string text, const char* delimiters) {
    std::vector<std::string> out;
    for (char* t = std::strtok(&text[0], delimiters); t; t = std::strtok(nullptr, delimiters))
        out.push_back(t);
    return out;
}

TEST(StripComments, RemovesEachCommentWithItsLineFeed) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"a 1 // first\nb 2", "a 1 b 2"},
        {"a 1// first\nb 2", "a 1b 2"},           // the line feed goes with the comment
        {"a 1\n// own line\nb 2", "a 1\nb 2"},     // a comment line leaves the line feed before it
        {"x 1 // no line feed at the end", "x 1 "},
        {"// only\n// comments\n", ""},
        {"", ""},
        {"no comment at all", "no comment at all"},
        {"a/b /c", "a/b /c"},                      // single slashes are text
        {"[SCALE] 2 2 2 // big\n[ROTATION] 0 90 0", "[SCALE] 2 2 2 [ROTATION] 0 90 0"},
        {"p ///triple\nq", "p q"},
    };
    for (const Case& c : cases) EXPECT_EQ(stripped(c.in), c.out) << "input: " << c.in;
}

TEST(TokenRules, DelimiterSetsSplitPathsAndValues) {
    // Values may be grouped with braces and commas.
    EXPECT_EQ(tokens("[TRANSLATION] { 0.0, 10.0, -5.0 }", QN_DELIMITERS_STANDARD),
              (std::vector<std::string>{"[TRANSLATION]", "0.0", "10.0", "-5.0"}));
    // A path keeps its blanks under the path set and is cut under the standard set.
    const char* line = "Assets\\Scripts\\Base Objects\\zv.defblock.base\r\n";
    EXPECT_EQ(tokens(line, QN_DELIMITERS_PATH),
              (std::vector<std::string>{"Assets\\Scripts\\Base Objects\\zv.defblock.base"}));
    EXPECT_EQ(tokens(line, QN_DELIMITERS_STANDARD),
              (std::vector<std::string>{"Assets\\Scripts\\Base", "Objects\\zv.defblock.base"}));
}

class ScriptFiles : public ::testing::Test {
protected:
    void SetUp() override {
        CQNResults::getInstance()->open("log.htm", "t");
    }
    void TearDown() override { CQNResults::destroyInstance(); }
    std::string log() {
        CQNResults::destroyInstance();
        return zvtestsupport::readFile("log.htm");
    }
    ScratchDir dir;
};

TEST_F(ScriptFiles, SizeIsFileSizePlusOneAndContentsAreWhole) {
    writeFile("Assets\\Scripts\\a.txt", "hello\n// c\nworld");
    uint32_t size = 0;
    ASSERT_EQ(CScriptHelper::getFileSize("Assets\\Scripts\\a.txt", &size), QNRSLT_OK);
    EXPECT_EQ(size, 17u);
    std::vector<char> buffer(size, 0);
    ASSERT_EQ(CScriptHelper::extractContectsFromFile("Assets\\Scripts\\a.txt", buffer.data(), size), QNRSLT_OK);
    EXPECT_STREQ(buffer.data(), "hello\n// c\nworld");

    char* text = nullptr;
    ASSERT_EQ(CScriptHelper::readScript("Assets\\Scripts\\a.txt", &text), QNRSLT_OK);
    EXPECT_STREQ(text, "hello\nworld");
    CScriptHelper::freeScript(text);
}

TEST_F(ScriptFiles, EmptyFileGivesEmptyText) {
    writeFile("empty.txt", "");
    char* text = nullptr;
    ASSERT_EQ(CScriptHelper::readScript("empty.txt", &text), QNRSLT_OK);
    EXPECT_STREQ(text, "");
    CScriptHelper::freeScript(text);
}

TEST_F(ScriptFiles, MissingOrHugeFilesAndNullArgumentsAreReported) {
    uint32_t size = 0;
    EXPECT_EQ(CScriptHelper::getFileSize("nowhere.txt", &size), QNRSLT_MISSINGSCRIPT);
    EXPECT_EQ(CScriptHelper::getFileSize(nullptr, &size), QNRSLT_INVALIDPARAM);
    EXPECT_EQ(CScriptHelper::getFileSize("nowhere.txt", nullptr), QNRSLT_INVALIDPARAM);
    char buffer[4] = {};
    EXPECT_EQ(CScriptHelper::extractContectsFromFile(nullptr, buffer), QNRSLT_INVALIDPARAM);
    EXPECT_EQ(CScriptHelper::extractContectsFromFile("nowhere.txt", buffer), QNRSLT_MISSINGSCRIPT);
    // No script is 17 MiB: such a file (sparse here) is refused before reading.
    writeFile("huge.txt", "");
    ASSERT_EQ(truncate("huge.txt", 17 << 20), 0);
    EXPECT_EQ(CScriptHelper::getFileSize("huge.txt", &size), QNRSLT_MISSINGSCRIPT);
    EXPECT_EQ(CScriptHelper::extractContectsFromFile("huge.txt", buffer), QNRSLT_MISSINGSCRIPT);
    std::string text = log();
    const size_t huge = text.find("Script too large: huge.txt");
    ASSERT_NE(huge, std::string::npos);
    EXPECT_NE(text.rfind("Script too large: huge.txt"), huge) << "both calls report it";
    EXPECT_NE(text.find("<td><font size=\"2\" face=\"Arial\">CScriptHelper::getFileSize( )</font></td>"),
              std::string::npos);
    EXPECT_NE(text.find("<td><font size=\"2\" face=\"Arial\">Script: nowhere.txt</font></td>"),
              std::string::npos);
    EXPECT_NE(text.find("CScriptHelper::extractContectsFromFile( )"), std::string::npos);
}

TEST_F(ScriptFiles, LongPathIsCutInTheReportNotOverflowed) {
    std::string path(300, 'x');
    uint32_t size = 0;
    EXPECT_EQ(CScriptHelper::getFileSize(path.c_str(), &size), QNRSLT_MISSINGSCRIPT);
    // "Script: " and the path cut to 49 characters in all.
    std::string expected = "Script: " + std::string(41, 'x') + "</font>";
    EXPECT_NE(log().find(expected), std::string::npos);
}

TEST_F(ScriptFiles, FileHeldWithoutSharingCannotBeOpened) {
    writeFile("held.txt", "x");
    HANDLE held = CreateFileA("held.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    uint32_t size = 0;
    EXPECT_EQ(CScriptHelper::getFileSize("held.txt", &size), QNRSLT_MISSINGSCRIPT);
    CloseHandle(held);
    EXPECT_EQ(CScriptHelper::getFileSize("held.txt", &size), QNRSLT_OK);
}

TEST_F(ScriptFiles, ExtractNeverWritesPastTheGivenBuffer) {
    writeFile("grow.txt", "abc");
    uint32_t size = 0;
    ASSERT_EQ(CScriptHelper::getFileSize("grow.txt", &size), QNRSLT_OK);
    writeFile("grow.txt", "abcdefghijklmnop");  // the file grew after it was measured
    std::vector<char> buffer(size + 8, '#');
    std::fill(buffer.begin(), buffer.begin() + size, '\0');
    ASSERT_EQ(CScriptHelper::extractContectsFromFile("grow.txt", buffer.data(), size), QNRSLT_OK);
    EXPECT_STREQ(buffer.data(), "abc");
    EXPECT_EQ(buffer[size], '#');
}

struct TransformCase {
    const char* script;
    QNVector3 t, r, s;
};

TEST_F(ScriptFiles, BaseObjectReadsTransformKeys) {
    const TransformCase cases[] = {
        {"[CLASS_TYPE] CQNBase", {0, 0, 0}, {0, 0, 0}, {1, 1, 1}},
        {"[SCALE] 2 2 2 // big\n[ROTATION] 0 90 0", {0, 0, 0}, {0, 90, 0}, {2, 2, 2}},
        {"[ROTATION] { 0, 45, 0 }", {0, 0, 0}, {0, 45, 0}, {1, 1, 1}},
        {"[TRANSLATION] 1 2 3 [TRANSLATION] 4 5 6", {4, 5, 6}, {0, 0, 0}, {1, 1, 1}},
        {"[scale] 5 5 5 [SCALE]x 5 5 5", {0, 0, 0}, {0, 0, 0}, {1, 1, 1}},  // not keywords
        {"[SCALE] 3", {0, 0, 0}, {0, 0, 0}, {3, 0, 0}},  // missing values read as 0
    };
    for (const TransformCase& c : cases) {
        writeFile("obj.base", c.script);
        CQNBase object;
        EXPECT_EQ(object.initialize("obj.base"), QNRSLT_OK);
        SCOPED_TRACE(c.script);
        EXPECT_FLOAT_EQ(object.m_translation.x, c.t.x);
        EXPECT_FLOAT_EQ(object.m_translation.y, c.t.y);
        EXPECT_FLOAT_EQ(object.m_translation.z, c.t.z);
        EXPECT_FLOAT_EQ(object.m_rotation.x, c.r.x);
        EXPECT_FLOAT_EQ(object.m_rotation.y, c.r.y);
        EXPECT_FLOAT_EQ(object.m_rotation.z, c.r.z);
        EXPECT_FLOAT_EQ(object.m_scale.x, c.s.x);
        EXPECT_FLOAT_EQ(object.m_scale.y, c.s.y);
        EXPECT_FLOAT_EQ(object.m_scale.z, c.s.z);
        EXPECT_FALSE(object.m_remove);
    }
    // A missing script keeps the defaults and still succeeds.
    CQNBase missing;
    EXPECT_EQ(missing.initialize("missing.base"), QNRSLT_OK);
    EXPECT_FLOAT_EQ(missing.m_scale.x, 1.0f);
}

}  // namespace
