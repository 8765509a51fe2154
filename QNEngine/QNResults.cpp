#include "QNResults.h"

#include <windows.h>
#include <zvfile.h>

#include <cstring>

#include "QNMemory.h"

CQNResults* CQNResults::s_instance = nullptr;

namespace {

const char* const kDescriptions[QNRSLT_COUNT] = {
    "No Error Occurred",
    "An invalid parameter has been set to this function",
    "Attempted to parse a script that does not exist",
    "Direct3D failed in some way",
    "Your hardware does not support a required feature",
    "Tried to access a member that is NULL",
    "Object has thrown the remove message",
};

const char* const kDefines[QNRSLT_COUNT] = {
    "QNRSLT_OK",        "QNRSLT_INVALIDPARAM", "QNRSLT_MISSINGSCRIPT", "QNRSLT_D3DFAILED",
    "QNRSLT_NOHARDWARECAP", "QNRSLT_NULLMEMBER", "QNRSLT_REMOVEOBJECT",
};

const char kHead[] =
    "<html>\n<head>\n<title>%s</title>\n</head>\n<body>\n<b><p align=\"center\"><font size=\"3\" "
    "face=\"Arial\">%s</font></p></b>\n\n<font size=\"2\" face=\"Arial\">\n";
const char kTableStart[] = "\n<center><table border=\"1\" cellpadding=\"5\" cellspacing=\"0\">";
const char kRowStart[] = "\n<tr>\n";
const char kRowEnd[] = "</tr>\n";
const char kHeaderCells[] =
    "\t<td><font size=\"2\" face=\"Arial\"><b>RESULT DEFINE:</b></font></td>\n"
    "\t<td><font size=\"2\" face=\"Arial\"><b>DESCRIPTION:\t</b></font></td>\n"
    "\t<td><font size=\"2\" face=\"Arial\"><b>LOCATION:\t\t</b></font></td>\n"
    "\t<td><font size=\"2\" face=\"Arial\"><b>ADDITIONAL INFO:</b></font></td>\n";
const char kDefineCell[] = "\t<td><font size=\"2\" face=\"Arial\" color=\"Purple\">%s</font></td>\n";
const char kPlainCell[] = "\t<td><font size=\"2\" face=\"Arial\">%s</font></td>\n";
const char kPlainEmptyCell[] = "\t<td><font size=\"2\" face=\"Arial\">--</font></td>\n";
const char kCriticalCell[] = "\t<td><font size=\"2\" face=\"Arial\" color=\"Red\">%s</font></td>\n";
const char kCriticalEmptyCell[] = "\t<td><font size=\"2\" face=\"Arial\" color=\"Red\">--</font></td>\n";
const char kTail[] = "\n</table></center>\n\n</body>\n\n</html>";

const char kBoxCaption[] = "Critical Error";
const char kBoxText[] =
    "A critical error has occurred!  Please see the log file in the directory that the \ngame "
    "was installed to in order to check what went wrong.\n <Install Folder>/Logs/QNResultLog.htm";

}  // namespace

CQNResults::CQNResults() : m_stream(nullptr), m_finished(false) {
    std::memset(m_codes, 0, sizeof m_codes);
}

CQNResults::~CQNResults() {}

CQNResults* CQNResults::getInstance() {
    if (!s_instance) {
        setOwner(__FILE__, __LINE__, "??");
        s_instance = new CQNResults;
    }
    return s_instance;
}

bool CQNResults::destroyInstance() {
    if (s_instance) {
        s_instance->_finish();
        setOwner(__FILE__, __LINE__, "??");
        delete s_instance;
        s_instance = nullptr;
    }
    return true;
}

bool CQNResults::open(const char* path, const char* title) {
    // The log has a stream of its own: other libraries in the process write
    // diagnostics to standard error, which must not end up in the HTML.
    if (m_stream) std::fclose(m_stream);
    m_stream = zvOpenFile(path, "w");
    m_finished = false;
    const char* t = title ? title : "";
    if (m_stream) {
        std::fprintf(m_stream, kHead, t, t);
        std::fputs(kTableStart, m_stream);
        std::fputs(kRowStart, m_stream);
        std::fputs(kHeaderCells, m_stream);
        std::fputs(kRowEnd, m_stream);
        std::fflush(m_stream);
    }
    for (int i = 0; i < QNRSLT_COUNT; ++i) {
        std::snprintf(m_codes[i].description, sizeof m_codes[i].description, "%s", kDescriptions[i]);
        std::snprintf(m_codes[i].define, sizeof m_codes[i].define, "%s", kDefines[i]);
    }
    return true;
}

QNRESULT CQNResults::logResult(QNRESULT code, const char* location, const char* info, int critical) {
    if (code == QNRSLT_OK) return QNRSLT_OK;
    // Codes without a table entry are written with the define "UNKNOWN" so a
    // report is never lost or read out of bounds.
    const char* define = "UNKNOWN";
    const char* description = "Unknown result code";
    if (code > 0 && code < QNRSLT_COUNT) {
        define = m_codes[code].define;
        description = m_codes[code].description;
    }
    const char* where = location ? location : "";
    if (m_stream && !m_finished) {
        std::fputs(kRowStart, m_stream);
        if (critical == 1) {
            std::fprintf(m_stream, kCriticalCell, define);
            std::fprintf(m_stream, kCriticalCell, description);
            std::fprintf(m_stream, kCriticalCell, where);
            if (info)
                std::fprintf(m_stream, kCriticalCell, info);
            else
                std::fputs(kCriticalEmptyCell, m_stream);
        } else {
            std::fprintf(m_stream, kDefineCell, define);
            std::fprintf(m_stream, kPlainCell, description);
            std::fprintf(m_stream, kPlainCell, where);
            if (info)
                std::fprintf(m_stream, kPlainCell, info);
            else
                std::fputs(kPlainEmptyCell, m_stream);
        }
        std::fputs(kRowEnd, m_stream);
        // Flushed per report, so the log is complete even if the game dies.
        std::fflush(m_stream);
    }
    if (critical == 1) {
        MessageBoxA(nullptr, kBoxText, kBoxCaption, MB_ICONERROR);
        _finish();
    }
    return code;
}

void CQNResults::_finish() {
    if (m_finished) return;
    m_finished = true;
    if (m_stream) {
        std::fputs(kTail, m_stream);
        std::fclose(m_stream);
        m_stream = nullptr;
    }
}

QNRESULT logResult(QNRESULT code, const char* location, const char* info, int critical) {
    return CQNResults::getInstance()->logResult(code, location, info, critical);
}
