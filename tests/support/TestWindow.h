// The window a test draws into or takes input from, and the platform's test
// hooks around it. Header-only on purpose: every tests/support/*.cpp goes
// into every test program, and most of those do not link the window layer;
// an inline function costs a program nothing until it calls it.
#ifndef ZV_TEST_WINDOW_H
#define ZV_TEST_WINDOW_H

#include <windows.h>

#include "testing/PlatformTesting.h"

namespace zvtestsupport {

inline LRESULT CALLBACK defaultWindowProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return DefWindowProcA(h, m, w, l);
}

// Registers `className` (every message to the default handling) and creates
// an overlapped window of that class titled "Zarvel". Null when that fails.
inline HWND createTestWindow(int width, int height, int x = CW_USEDEFAULT, int y = CW_USEDEFAULT,
                             const char* className = "Zarvel") {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = defaultWindowProc;
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    return CreateWindowExA(0, className, "Zarvel", WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr, nullptr,
                           nullptr, nullptr);
}

// Shows the window and makes GetFocus answer it whatever the (offscreen)
// window system thinks, as if the player had clicked it.
inline void showFocused(HWND window) {
    ShowWindow(window, SW_SHOW);
    zvtest::setFocus(true);
}

namespace detail {
inline void ignoreMessageBox(const char*, const char*, unsigned) {}
}  // namespace detail

// Message boxes answer IDOK at once instead of waiting for a person.
inline void silenceMessageBoxes() { zvtest::setMessageBoxHandler(detail::ignoreMessageBox); }

// Undoes every platform hook a test may have set: the real clock again, no
// injected keys or buttons, the real focus, message boxes shown. Each is a
// no-op where the hook was not set.
inline void resetPlatformHooks() {
    zvtest::releaseAllInput();
    zvtest::clearFocusOverride();
    zvtest::useRealClock();
    zvtest::setMessageBoxHandler(nullptr);
    zvtest::setDiskSpace(-1);
}

}  // namespace zvtestsupport

#endif
