// The program's command line: zarvel [--fullscreen | --windowed]
// [--data-dir DIR] [--help] [--version].
#ifndef ZV_PLATFORM_WIN32_ENTRY_COMMAND_LINE_H
#define ZV_PLATFORM_WIN32_ENTRY_COMMAND_LINE_H

#include <string>

class CommandLine {
public:
    enum Action { Run, Help, Version, Usage };  // Usage: the line was wrong

    // Reads argv[1..argc-1]. A later --fullscreen / --windowed wins.
    explicit CommandLine(int argc, char** argv);

    Action action() const { return m_action; }
    // Why the line was refused (Usage), without the program's name.
    const std::string& error() const { return m_error; }
    const std::string& dataDir() const { return m_dataDir; }
    // 1 full screen, 0 a window, -1 as the configuration says.
    int fullscreen() const { return m_fullscreen; }

    static const char* helpText();

    // The value of --data-dir in argv, without checking anything else; for
    // the start-up code that runs before main. Null when there is none.
    static const char* findDataDir(int argc, char** argv);

private:
    Action m_action = Run;
    std::string m_error;
    std::string m_dataDir;
    int m_fullscreen = -1;
};

#endif
