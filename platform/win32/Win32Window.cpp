// Window classes, windows, the message queue and focus, over SDL2.
#include "Win32Window.h"

#include <SDL.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "Win32Internal.h"

namespace {

struct WindowClass {
    std::string name;
    WNDPROC proc;
};

struct Window {
    SDL_Window* sdl = nullptr;
    WNDPROC proc = nullptr;
    bool alive = false;
};

std::vector<WindowClass> g_classes;
// Windows are kept until the process ends, so a stale handle stays a valid
// pointer to a dead window instead of dangling (a deque never moves them).
std::deque<Window> g_windowStore;
std::vector<Window*> g_windows;
std::deque<MSG> g_queue;
bool g_quitPosted = false;
int g_quitCode = 0;
std::atomic<bool> g_closeRequested{false};

Window* fromHandle(HWND hWnd) {
    for (Window* w : g_windows)
        if (reinterpret_cast<HWND>(w) == hWnd) return w;
    return nullptr;
}

HWND toHandle(Window* w) { return reinterpret_cast<HWND>(w); }

Window* fromSdlId(Uint32 id) {
    for (Window* w : g_windows)
        if (w->alive && SDL_GetWindowID(w->sdl) == id) return w;
    return nullptr;
}

Window* firstLiveWindow() {
    for (Window* w : g_windows)
        if (w->alive) return w;
    return nullptr;
}

void post(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    MSG msg{};
    msg.hwnd = hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = SDL_GetTicks();
    g_queue.push_back(msg);
}

bool videoIsHeadless() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

// Turns one SDL event into window messages and input state.
void handleEvent(const SDL_Event& e) {
    zvwin32::observeInputEvent(e);
    switch (e.type) {
        case SDL_QUIT:
            if (Window* w = firstLiveWindow()) post(toHandle(w), WM_CLOSE);
            break;
        case SDL_WINDOWEVENT: {
            Window* w = fromSdlId(e.window.windowID);
            if (!w) break;
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    post(toHandle(w), WM_CLOSE);
                    break;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    post(toHandle(w), WM_SETFOCUS);
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    zvwin32::releaseInput();
                    zvwin32::noteFocusLost();
                    post(toHandle(w), WM_KILLFOCUS);
                    break;
                default:
                    break;
            }
            break;
        }
        default:
            break;
    }
}

void pumpEvents() {
    if (g_closeRequested.exchange(false)) {
        if (Window* w = firstLiveWindow()) post(toHandle(w), WM_CLOSE);
    }
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_Event e;
    while (SDL_PollEvent(&e)) handleEvent(e);
}

bool messageWaiting() { return !g_queue.empty() || g_quitPosted; }

int g_fullscreenOverride = -1;

}  // namespace

namespace zvwin32 {

void setFullscreenOverride(int mode) { g_fullscreenOverride = mode < 0 ? -1 : mode ? 1 : 0; }
int fullscreenOverride() { return g_fullscreenOverride; }

SDL_Window* sdlWindow(HWND hWnd) {
    Window* w = fromHandle(hWnd);
    return (w && w->alive) ? w->sdl : nullptr;
}

HWND focusedWindow() {
    int forced = focusOverride();
    if (forced >= 0) {
        Window* w = firstLiveWindow();
        return (forced && w) ? toHandle(w) : nullptr;
    }
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return nullptr;
    // Without a window system there is nothing else that could hold the
    // focus: a shown window has it.
    if (videoIsHeadless()) {
        for (Window* w : g_windows)
            if (w->alive && (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_SHOWN)) return toHandle(w);
        return nullptr;
    }
    SDL_Window* focused = SDL_GetKeyboardFocus();
    for (Window* w : g_windows)
        if (w->alive && w->sdl == focused) return toHandle(w);
    return nullptr;
}

void requestCloseFromAnyThread() { g_closeRequested = true; }

namespace {
unsigned g_focusLosses = 0;
}
unsigned focusLosses() { return g_focusLosses; }
void noteFocusLost() { ++g_focusLosses; }

bool ensureVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    // The program handles SIGINT and SIGTERM itself (as a close request).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "Zarvel: cannot start the video system: %s\n", SDL_GetError());
        return false;
    }
    return true;
}

bool headless() { return !SDL_WasInit(SDL_INIT_VIDEO) || videoIsHeadless(); }

}  // namespace zvwin32

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc) {
    if (!wc || !wc->lpszClassName || !wc->lpfnWndProc) return 0;
    for (const WindowClass& c : g_classes)
        if (c.name == wc->lpszClassName) return 0;  // already registered, as on Windows
    g_classes.push_back({wc->lpszClassName, wc->lpfnWndProc});
    return static_cast<ATOM>(0xC000 + g_classes.size());
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR name) {
    // The standard arrow is the only cursor; SDL shows it by default.
    return name == IDC_ARROW ? reinterpret_cast<HCURSOR>(uintptr_t{32512}) : nullptr;
}

HGDIOBJ WINAPI GetStockObject(int object) {
    // Stock objects are only named, never drawn with: the device paints the window.
    return reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(object) + 1);
}

BOOL WINAPI SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (!rect) return FALSE;
    rect->left = left;
    rect->top = top;
    rect->right = right;
    rect->bottom = bottom;
    return TRUE;
}

BOOL WINAPI AdjustWindowRect(LPRECT rect, DWORD, BOOL) {
    // The window manager draws any frame outside the SDL window, and there is
    // no menu bar: the outer size is the client size.
    return rect ? TRUE : FALSE;
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD, int x, int y,
                            int width, int height, HWND, HMENU, HINSTANCE, LPVOID) {
    if (!className) return nullptr;
    const WindowClass* cls = nullptr;
    for (const WindowClass& c : g_classes)
        if (c.name == className) cls = &c;
    if (!cls) return nullptr;
    // X11 takes the window's class from these; set before the video system starts.
    setenv("SDL_VIDEO_X11_WMCLASS", className, 0);
    SDL_SetHint(SDL_HINT_APP_NAME, className);
    if (!zvwin32::ensureVideo()) return nullptr;

    // SDL cannot make a window of zero size; a missing size gives the smallest.
    int w = width > 0 ? width : 1;
    int h = height > 0 ? height : 1;
    int px = x == CW_USEDEFAULT ? SDL_WINDOWPOS_CENTERED : x;
    int py = (x == CW_USEDEFAULT || y == CW_USEDEFAULT) ? SDL_WINDOWPOS_CENTERED : y;
    SDL_Window* sdl = SDL_CreateWindow(windowName ? windowName : "", px, py, w, h,
                                       SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!sdl) {
        std::fprintf(stderr, "Zarvel: cannot create the window: %s\n", SDL_GetError());
        return nullptr;
    }
    g_windowStore.emplace_back();
    Window* win = &g_windowStore.back();
    win->sdl = sdl;
    win->proc = cls->proc;
    win->alive = true;
    g_windows.push_back(win);
    win->proc(toHandle(win), WM_CREATE, 0, 0);
    return toHandle(win);
}

BOOL WINAPI ShowWindow(HWND hWnd, int showCmd) {
    Window* w = fromHandle(hWnd);
    if (!w || !w->alive) return FALSE;
    bool wasVisible = (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_SHOWN) != 0;
    if (showCmd == SW_HIDE) {
        SDL_HideWindow(w->sdl);
    } else {
        SDL_ShowWindow(w->sdl);
        SDL_RaiseWindow(w->sdl);
        // Windows activates a newly shown top-level window at once; the X
        // server gives it the focus a moment later. Wait (briefly) so that
        // what starts right after, such as DirectInput, finds it focused.
        if (!wasVisible && !zvwin32::headless()) {
            for (int i = 0; i < 100 && SDL_GetKeyboardFocus() != w->sdl; ++i) {
                SDL_PumpEvents();
                SDL_Delay(5);
            }
        }
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL WINAPI IsWindow(HWND hWnd) {
    Window* w = fromHandle(hWnd);
    return (w && w->alive) ? TRUE : FALSE;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    Window* w = fromHandle(hWnd);
    if (!w || !w->alive) return FALSE;
    // WM_DESTROY is sent while the window still exists, as on Windows.
    w->proc(hWnd, WM_DESTROY, 0, 0);
    w->alive = false;
    // The SDL window is only hidden: a device may still have its OpenGL
    // context on it (the frame that closed the window still renders), and
    // the window system frees it when the process ends.
    SDL_HideWindow(w->sdl);
    // Messages still queued for the window go nowhere.
    for (MSG& m : g_queue)
        if (m.hwnd == hWnd) m.message = WM_NULL;
    return TRUE;
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND hWnd, UINT, UINT, UINT removeMsg) {
    if (!msg) return FALSE;
    pumpEvents();
    while (!g_queue.empty() && g_queue.front().message == WM_NULL) g_queue.pop_front();
    for (auto it = g_queue.begin(); it != g_queue.end(); ++it) {
        if (hWnd && it->hwnd != hWnd) continue;
        *msg = *it;
        if (removeMsg & PM_REMOVE) g_queue.erase(it);
        return TRUE;
    }
    // WM_QUIT comes only once the queue holds nothing else, as on Windows.
    if (g_quitPosted && !hWnd) {
        std::memset(msg, 0, sizeof(*msg));
        msg->message = WM_QUIT;
        msg->wParam = static_cast<WPARAM>(g_quitCode);
        if (removeMsg & PM_REMOVE) g_quitPosted = false;
        return TRUE;
    }
    return FALSE;
}

BOOL WINAPI WaitMessage(void) {
    pumpEvents();
    while (!messageWaiting()) {
        if (!SDL_WasInit(SDL_INIT_VIDEO)) {
            // Nothing can arrive but a signal.
            SDL_Delay(50);
        } else {
            SDL_Event e;
            // The timeout bounds how late a signal's close request is noticed.
            if (SDL_WaitEventTimeout(&e, 100)) handleEvent(e);
        }
        pumpEvents();
        // Any input arrived: let the caller look at the focus again.
        if (zvwin32::focusedWindow()) break;
    }
    return TRUE;
}

BOOL WINAPI TranslateMessage(const MSG*) {
    // No character messages are used: keys are read through DirectInput.
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (!msg) return 0;
    Window* w = fromHandle(msg->hwnd);
    if (!w || !w->alive) return 0;
    return w->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) DestroyWindow(hWnd);
    return 0;
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUIT) return FALSE;
    post(hWnd, message, wParam, lParam);
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
    g_quitPosted = true;
    g_quitCode = exitCode;
}

HWND WINAPI GetFocus(void) { return zvwin32::focusedWindow(); }

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT rect) {
    Window* w = fromHandle(hWnd);
    if (!w || !w->alive || !rect) return FALSE;
    int width = 0, height = 0;
    SDL_GetWindowSize(w->sdl, &width, &height);
    return SetRect(rect, 0, 0, width, height);
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR text) {
    Window* w = fromHandle(hWnd);
    if (!w || !w->alive) return FALSE;
    SDL_SetWindowTitle(w->sdl, text ? text : "");
    return TRUE;
}

namespace zvtest {
void requestClose() { zvwin32::requestCloseFromAnyThread(); }
}  // namespace zvtest
