#include "CommandLine.h"

#include <cstring>

namespace {
const char kDataDir[] = "--data-dir";
}

CommandLine::CommandLine(int argc, char** argv) {
    bool help = false, version = false;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h")) {
            help = true;
        } else if (!std::strcmp(a, "--version")) {
            version = true;
        } else if (!std::strcmp(a, "--fullscreen")) {
            m_fullscreen = 1;
        } else if (!std::strcmp(a, "--windowed")) {
            m_fullscreen = 0;
        } else if (!std::strcmp(a, kDataDir)) {
            if (i + 1 >= argc || !argv[i + 1][0]) {
                m_action = Usage;
                m_error = "option '--data-dir' needs a folder";
                return;
            }
            m_dataDir = argv[++i];
        } else if (!std::strncmp(a, "--data-dir=", 11)) {
            m_dataDir = a + 11;
            if (m_dataDir.empty()) {
                m_action = Usage;
                m_error = "option '--data-dir' needs a folder";
                return;
            }
        } else {
            m_action = Usage;
            m_error = a[0] == '-' ? std::string("unknown option '") + a + "'"
                                  : std::string("unexpected argument '") + a + "'";
            return;
        }
    }
    m_action = help ? Help : version ? Version : Run;
}

const char* CommandLine::helpText() {
    return "Usage: zarvel [OPTION]...\n"
           "Zarvel, a 3-D puzzle game: flip the blocks until every one shows the same face.\n"
           "\n"
           "  --fullscreen      play full screen this time, whatever the configuration says\n"
           "  --windowed        play in a window this time, whatever the configuration says\n"
           "  --data-dir DIR    keep the player's files (records, configuration, logs,\n"
           "                    screenshots) in DIR instead of $XDG_DATA_HOME/zarvel\n"
           "  -h, --help        show this help and exit\n"
           "      --version     show the version and exit\n"
           "\n"
           "The player's files are in $XDG_DATA_HOME/zarvel (by default\n"
           "~/.local/share/zarvel) unless --data-dir names another folder.\n"
           "See zarvel(6) for the keys, the files and the exit statuses.\n";
}

const char* CommandLine::findDataDir(int argc, char** argv) {
    for (int i = 1; argv && i < argc; ++i) {
        if (!std::strcmp(argv[i], kDataDir)) return i + 1 < argc ? argv[i + 1] : nullptr;
        if (!std::strncmp(argv[i], "--data-dir=", 11)) return argv[i] + 11;
    }
    return nullptr;
}
