// The process entry in the browser. The page has packed the game's content
// at /usr/share/games/zarvel (as installed on the desktop) and pre.js has
// mounted the player's folder, kept in the browser's storage, where the
// desktop keeps it. main() calls the program's WinMain as the Windows
// start-up code does, then ends the program so that its exit-time logs are
// written and stored.
#include <windows.h>

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "common/HostEvents.h"
#include "win32/PathResolver.h"
#include "win32/Win32Internal.h"

namespace {

const char kContent[] = "/usr/share/games/zarvel";
const char kPlayer[] = "/home/web_user/.local/share/zarvel";

// Before any other static constructor: the memory tracker writes its log
// from one.
__attribute__((constructor(105))) void chooseFolders() {
    PathResolver& paths = PathResolver::instance();
    paths.setContentDir(kContent);
    paths.setPlayerDir(kPlayer);
    paths.setWritable(true);
}

}  // namespace

int main() {
    if (!zvwin32::ensureVideo()) {
        std::fprintf(stderr, "zarvel: cannot start: the page's canvas could not be used (%s)\n", SDL_GetError());
        std::exit(6);
    }
    static char empty[] = "";
    int status = WinMain(GetModuleHandleA(nullptr), nullptr, empty, SW_SHOWDEFAULT);
    HostEvents::programEnds();
    std::exit(status);
}
