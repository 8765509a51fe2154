// The process entry: main() calls the program's WinMain, as the Windows
// start-up code does. Command-line arguments are not passed on.
#include <windows.h>

#include <csignal>

#include "win32/Win32Internal.h"

namespace {
extern "C" void onTerminate(int) { zvwin32::requestCloseFromAnyThread(); }
}  // namespace

int main(int, char**) {
    // SIGINT and SIGTERM close the window as its close box would.
    struct sigaction sa {};
    sa.sa_handler = onTerminate;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    static char empty[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, empty, SW_SHOWDEFAULT);
}
