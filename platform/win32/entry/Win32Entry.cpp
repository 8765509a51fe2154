// The process entry: main() reads the command line, finds the game's content
// and the player's folder, checks that the game can start, and then calls the
// program's WinMain as the Windows start-up code does.
//
// The folders are set before any other static constructor runs (the memory
// tracker writes its log from one), so every file the program opens, from the
// first, goes through the same lookup.
#include <windows.h>
#include <zvfile.h>

#include <SDL.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CommandLine.h"
#include "d3d9/GLProfile.h"
#include "win32/PathResolver.h"
#include "win32/Win32Internal.h"
#include "win32/Win32Window.h"

#ifndef ZV_VERSION
#define ZV_VERSION "unknown"
#endif

namespace {

// Exit statuses of a start that did not happen (18 is the game's own "quit").
enum StartFailure {
    kUsage = 2,
    kNoContent = 3,
    kPlayerFolder = 4,
    kAlreadyRunning = 5,
    kNoDisplay = 6,
    kNoOpenGL = 7,
};

const char kResultLog[] = "Logs\\QNResultLog.htm";
char g_playerDir[PATH_MAX];
bool g_playerDirKnown = false;

extern "C" void onTerminate(int) { zvwin32::requestCloseFromAnyThread(); }

// The lock on the player's folder: held while the game runs.
int g_lock = -1;
int g_lockError = 0;  // errno of a failed open; EWOULDBLOCK: another copy holds it

// glibc calls the functions of .init_array with main's arguments.
__attribute__((constructor(105))) void chooseFolders(int argc, char** argv, char**) {
    PathResolver& paths = PathResolver::instance();
    paths.useInstalledContent();
    const char* dir = CommandLine::findDataDir(argc, argv);
    if (dir && *dir) {
        if (dir[0] == '/') {
            g_playerDirKnown = std::snprintf(g_playerDir, sizeof g_playerDir, "%s", dir) < int(sizeof g_playerDir);
        } else {
            char cwd[PATH_MAX];
            g_playerDirKnown = getcwd(cwd, sizeof cwd) &&
                               std::snprintf(g_playerDir, sizeof g_playerDir, "%s/%s", cwd, dir) <
                                   int(sizeof g_playerDir);
        }
    } else {
        g_playerDirKnown = PathResolver::defaultPlayerDir(g_playerDir, sizeof g_playerDir);
    }
    g_playerDirKnown = g_playerDirKnown && paths.setPlayerDir(g_playerDir);
    // Only a run that plays touches the player's folder, and only while it
    // holds the lock: nothing else may write there before it is taken.
    paths.setWritable(false);
    if (!g_playerDirKnown || CommandLine(argc, argv).action() != CommandLine::Run) return;
    std::string made;
    for (const char* c = g_playerDir; *c; ++c) {
        made += *c;
        if (c[1] == '/' || c[1] == '\0') mkdir(made.c_str(), 0755);
    }
    g_lock = open((made + "/zarvel.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (g_lock < 0) {
        g_lockError = errno;
    } else if (flock(g_lock, LOCK_EX | LOCK_NB) != 0) {
        g_lockError = EWOULDBLOCK;
        close(g_lock);
        g_lock = -1;
    } else {
        paths.setWritable(true);
    }
}

// The reason on stderr and, where one can be written, in the result log.
int cannotStart(int status, const std::string& why, bool toResultLog) {
    std::fprintf(stderr, "zarvel: cannot start: %s\n", why.c_str());
    if (toResultLog) {
        if (FILE* log = zvOpenFile(kResultLog, "w")) {
            std::fprintf(log, "<html><head><title>Zarvel results</title></head><body>\n"
                              "<p><b>Zarvel cannot start:</b> ");
            for (char c : why) {
                if (c == '<') std::fputs("&lt;", log);
                else if (c == '>') std::fputs("&gt;", log);
                else if (c == '&') std::fputs("&amp;", log);
                else std::fputc(c, log);
            }
            std::fprintf(log, "</p>\n</body></html>\n");
            std::fclose(log);
        }
    }
    return status;
}

// Tries the context the device will ask for, on a hidden window.
bool openGLWorks(std::string* why) {
    zvd3d::GLProfile::requestContext();
    SDL_Window* probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_GLContext context = probe ? SDL_GL_CreateContext(probe) : nullptr;
    if (!context) *why = SDL_GetError();
    if (context) SDL_GL_DeleteContext(context);
    if (probe) SDL_DestroyWindow(probe);
    return context != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine line(argc, argv);
    switch (line.action()) {
        case CommandLine::Usage:
            std::fprintf(stderr, "zarvel: %s\nTry 'zarvel --help' for more information.\n",
                         line.error().c_str());
            return kUsage;
        case CommandLine::Help: std::fputs(CommandLine::helpText(), stdout); return 0;
        case CommandLine::Version: std::printf("zarvel %s\n", ZV_VERSION); return 0;
        case CommandLine::Run: break;
    }

    PathResolver& paths = PathResolver::instance();
    if (!g_playerDirKnown)
        return cannotStart(kPlayerFolder,
                           "no folder for the player's files: HOME is not set (or --data-dir is too long)",
                           false);
    std::string player = g_playerDir;
    if (g_lockError == EWOULDBLOCK)
        return cannotStart(kAlreadyRunning,
                           "Zarvel is already running with the player's folder " + player +
                               " (one copy at a time may use it; --data-dir names another)",
                           false);
    if (g_lock < 0)
        return cannotStart(kPlayerFolder,
                           "the player's folder " + player + " cannot be written (" +
                               std::strerror(g_lockError) + ")",
                           false);

    if (!paths.contentDir()[0]) {
        std::string tried;
        for (int i = 0; i < 2; ++i) {
            char folder[PATH_MAX];
            if (PathResolver::contentCandidate(i, folder, sizeof folder))
                tried += (tried.empty() ? "" : ", ") + std::string(folder);
        }
        return cannotStart(kNoContent,
                           "the game's content (an Assets folder) was not found; looked in: " +
                               (tried.empty() ? std::string("(the program's folder is unknown)") : tried),
                           true);
    }

    // SIGINT and SIGTERM close the window as its close box would.
    struct sigaction sa {};
    sa.sa_handler = onTerminate;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);

    // Without a window system SDL falls back to drawing offscreen, where a
    // game nobody sees would run forever: only a driver asked for by name
    // (SDL_VIDEODRIVER, as the tests do) may be one without a display.
    // The window system learns the program's class name ("Zarvel", what the
    // game registers) when video starts, which is now.
    setenv("SDL_VIDEO_X11_WMCLASS", "Zarvel", 0);
    const bool videoStarted = zvwin32::ensureVideo();
    if (!videoStarted || (zvwin32::headless() && !std::getenv("SDL_VIDEODRIVER"))) {
        std::string detail = videoStarted ? "only an offscreen driver was found" : SDL_GetError();
        return cannotStart(kNoDisplay,
                           "no display could be opened (is DISPLAY or WAYLAND_DISPLAY set?): " + detail,
                           true);
    }
    std::string why;
    if (!openGLWorks(&why))
        return cannotStart(kNoOpenGL,
                           "OpenGL 3.3 is not available (" + why +
                               "); the game needs an OpenGL 3.3 core profile from the graphics driver",
                           true);

    zvwin32::setFullscreenOverride(line.fullscreen());
    static char empty[] = "";
    int status = WinMain(GetModuleHandleA(nullptr), nullptr, empty, SW_SHOWDEFAULT);
    return status;  // the lock goes with the process, after the last log is written
}
