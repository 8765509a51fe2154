// The HTML result log, byte for byte.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "QNResults.h"
#include "TestSupport.h"
#include "testing/PlatformTesting.h"

using zvtestsupport::readFile;
using zvtestsupport::ScratchDir;

namespace {

const std::string kHead =
    "<html>\n<head>\n<title>QN Engine Result Log</title>\n</head>\n<body>\n<b><p align=\"center\">"
    "<font size=\"3\" face=\"Arial\">QN Engine Result Log</font></p></b>\n\n<font size=\"2\" "
    "face=\"Arial\">\n"
    "\n<center><table border=\"1\" cellpadding=\"5\" cellspacing=\"0\">"
    "\n<tr>\n"
    "\t<td><font size=\"2\" face=\"Arial\"><b>RESULT DEFINE:</b></font></td>\n"
    "\t<td><font size=\"2\" face=\"Arial\"><b>DESCRIPTION:\t</b></font></td>\n"
    "\t<td><font size=\"2\" face=\"Arial\"><b>LOCATION:\t\t</b></font></td>\n"
    "\t<td><font size=\"2\" face=\"Arial\"><b>ADDITIONAL INFO:</b></font></td>\n"
    "</tr>\n";
const std::string kTail = "\n</table></center>\n\n</body>\n\n</html>";

int g_boxes = 0;
std::string g_boxText, g_boxCaption;
unsigned g_boxType = 0;
void countBox(const char* text, const char* caption, unsigned type) {
    ++g_boxes;
    g_boxText = text;
    g_boxCaption = caption;
    g_boxType = type;
}

class ResultLog : public ::testing::Test {
protected:
    void SetUp() override {
        g_boxes = 0;
        zvtest::setMessageBoxHandler(countBox);
        zvtestsupport::makeDirs("Logs");
    }
    void TearDown() override {
        CQNResults::destroyInstance();
        zvtest::setMessageBoxHandler(nullptr);
    }
    ScratchDir dir;
};

TEST_F(ResultLog, RunWithoutFailuresIsHeadHeaderAndTail) {
    CQNResults::getInstance()->open("Logs\\QNResultLog.htm", "QN Engine Result Log");
    EXPECT_EQ(logResult(QNRSLT_OK, "X::y( )", "info", 1), QNRSLT_OK);  // writes nothing, no box
    CQNResults::destroyInstance();
    EXPECT_EQ(readFile("Logs/QNResultLog.htm"), kHead + kTail);
    EXPECT_EQ(g_boxes, 0);
}

TEST_F(ResultLog, NonCriticalReportsArePurpleThenPlain) {
    CQNResults::getInstance()->open("Logs\\QNResultLog.htm", "QN Engine Result Log");
    EXPECT_EQ(logResult(QNRSLT_MISSINGSCRIPT, "CScriptHelper::getFileSize( )", nullptr, 0), QNRSLT_MISSINGSCRIPT);
    EXPECT_EQ(logResult(QNRSLT_NULLMEMBER, "A::b( )", "a_sound->m_sample", 2), QNRSLT_NULLMEMBER);
    CQNResults::destroyInstance();
    const std::string rows =
        "\n<tr>\n"
        "\t<td><font size=\"2\" face=\"Arial\" color=\"Purple\">QNRSLT_MISSINGSCRIPT</font></td>\n"
        "\t<td><font size=\"2\" face=\"Arial\">Attempted to parse a script that does not exist</font></td>\n"
        "\t<td><font size=\"2\" face=\"Arial\">CScriptHelper::getFileSize( )</font></td>\n"
        "\t<td><font size=\"2\" face=\"Arial\">--</font></td>\n"
        "</tr>\n"
        "\n<tr>\n"
        "\t<td><font size=\"2\" face=\"Arial\" color=\"Purple\">QNRSLT_NULLMEMBER</font></td>\n"
        "\t<td><font size=\"2\" face=\"Arial\">Tried to access a member that is NULL</font></td>\n"
        "\t<td><font size=\"2\" face=\"Arial\">A::b( )</font></td>\n"
        "\t<td><font size=\"2\" face=\"Arial\">a_sound->m_sample</font></td>\n"
        "</tr>\n";
    EXPECT_EQ(readFile("Logs/QNResultLog.htm"), kHead + rows + kTail);
    EXPECT_EQ(g_boxes, 0);  // critical 2 is not critical
}

TEST_F(ResultLog, CriticalReportIsRedShowsTheBoxAndFinishesTheLog) {
    CQNResults::getInstance()->open("Logs\\QNResultLog.htm", "QN Engine Result Log");
    EXPECT_EQ(logResult(QNRSLT_D3DFAILED, "CDX_D3DWrapper::_createD3DObject()", nullptr, 1), QNRSLT_D3DFAILED);
    EXPECT_EQ(g_boxes, 1);
    EXPECT_EQ(g_boxCaption, "Critical Error");
    EXPECT_EQ(g_boxText,
              "A critical error has occurred!  Please see the log file in the directory that the \n"
              "game was installed to in order to check what went wrong.\n <Install Folder>/Logs/QNResultLog.htm");
    EXPECT_EQ(g_boxType, static_cast<unsigned>(MB_ICONERROR));
    // After the box: not written, code still returned; shut-down adds no second tail.
    EXPECT_EQ(logResult(QNRSLT_INVALIDPARAM, "Late::report( )", "x", 0), QNRSLT_INVALIDPARAM);
    CQNResults::destroyInstance();
    const std::string row =
        "\n<tr>\n"
        "\t<td><font size=\"2\" face=\"Arial\" color=\"Red\">QNRSLT_D3DFAILED</font></td>\n"
        "\t<td><font size=\"2\" face=\"Arial\" color=\"Red\">Direct3D failed in some way</font></td>\n"
        "\t<td><font size=\"2\" face=\"Arial\" color=\"Red\">CDX_D3DWrapper::_createD3DObject()</font></td>\n"
        "\t<td><font size=\"2\" face=\"Arial\" color=\"Red\">--</font></td>\n"
        "</tr>\n";
    EXPECT_EQ(readFile("Logs/QNResultLog.htm"), kHead + row + kTail);
}

TEST_F(ResultLog, ReportsBeforeOpenAndWithoutFolderAreLostQuietly) {
    EXPECT_EQ(logResult(QNRSLT_INVALIDPARAM, "Early::report( )", nullptr, 0), QNRSLT_INVALIDPARAM);
    CQNResults::getInstance()->open("Logs\\QNResultLog.htm", "QN Engine Result Log");
    CQNResults::destroyInstance();
    EXPECT_EQ(readFile("Logs/QNResultLog.htm"), kHead + kTail);

    CQNResults::getInstance()->open("NoSuchFolder\\QNResultLog.htm", "t");
    EXPECT_EQ(logResult(QNRSLT_INVALIDPARAM, "A::b( )", nullptr, 1), QNRSLT_INVALIDPARAM);
    EXPECT_EQ(g_boxes, 1);
    EXPECT_TRUE(CQNResults::destroyInstance());
}

TEST_F(ResultLog, StandardErrorDoesNotReachTheLog) {
    CQNResults::getInstance()->open("Logs\\QNResultLog.htm", "QN Engine Result Log");
    std::fputs("driver diagnostics\n", stderr);
    CQNResults::destroyInstance();
    EXPECT_EQ(readFile("Logs/QNResultLog.htm"), kHead + kTail);
}

TEST_F(ResultLog, UnknownCodesAreWrittenWithoutReadingPastTheTable) {
    CQNResults::getInstance()->open("Logs\\QNResultLog.htm", "QN Engine Result Log");
    EXPECT_EQ(logResult(42, "A::b( )", nullptr, 0), 42);
    EXPECT_EQ(logResult(-3, "A::b( )", nullptr, 0), -3);
    CQNResults::destroyInstance();
    std::string text = readFile("Logs/QNResultLog.htm");
    EXPECT_NE(text.find("color=\"Purple\">UNKNOWN</font>"), std::string::npos);
}

}  // namespace
