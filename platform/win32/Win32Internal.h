// Shared between the files of platform/win32 only.
#ifndef ZV_PLATFORM_WIN32_INTERNAL_H
#define ZV_PLATFORM_WIN32_INTERNAL_H

#include <SDL.h>

namespace zvwin32 {

// Starts SDL's video and event subsystems once; false when they cannot start.
bool ensureVideo();
// True when no window system is there to show anything (offscreen driver, or
// video not started).
bool headless();
// -1 when GetFocus answers the truth, 0 or 1 when a test forces it.
int focusOverride();
// Safe from a signal handler: the message pump turns it into WM_CLOSE.
void requestCloseFromAnyThread();
// Updates the input state from one SDL event.
void observeInputEvent(const SDL_Event& e);
// Maps an SDL scancode to a DirectInput key code, 0 when there is none.
unsigned char dikFromScancode(SDL_Scancode sc);

}  // namespace zvwin32

#endif
