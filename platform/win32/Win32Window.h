// Internal to the layer: what the other platform parts need to know about the
// game window that windows.h does not say.
#ifndef ZV_PLATFORM_WIN32_WINDOW_H
#define ZV_PLATFORM_WIN32_WINDOW_H

#include <windows.h>

struct SDL_Window;

namespace zvwin32 {

// The SDL window behind a window handle, or nullptr for a handle that is not
// a live window. Every window is created with SDL_WINDOW_OPENGL, hidden until
// ShowWindow, not resizable.
SDL_Window* sdlWindow(HWND hWnd);

// The window that has the keyboard focus (as GetFocus answers), or nullptr.
HWND focusedWindow();

// The keyboard and mouse as the message pump has seen them. SDL's offscreen
// driver delivers no input and pushed events do not change SDL's own keyboard
// state, so the layer keeps its own, fed by the pump and by the test hooks;
// DirectInput reads it once per frame.
struct InputState {
    unsigned char keys[256];  // by DIK code; 0x80 = down
    unsigned char buttons[4];  // 0x80 = down
    long dx, dy, dz;  // movement since the last mouse read
    int pointerX, pointerY;  // client-area pixels of the focused window
};
InputState& inputState();
// Forgets every key and button held (the window lost the focus).
void releaseInput();

// How many times the game window has lost the focus. DirectInput devices
// acquired before the latest loss are no longer acquired, as on Windows.
unsigned focusLosses();
void noteFocusLost();

// How the presented back buffer sits in the window's client area: a client
// pixel p shows back-buffer pixel (p - offset) / scale. The device sets it when
// it scales a full-screen back buffer; GetCursorPos answers in back-buffer
// pixels so the game's cursor sits under the system pointer.
void setBackBufferMapping(HWND hWnd, float offsetX, float offsetY, float scale);

// The command line's choice between a full screen and a window for this run:
// 1 full screen, 0 a window, -1 (the default) as the program asks. The
// device applies it to the presentation parameters it is given.
void setFullscreenOverride(int mode);
int fullscreenOverride();

}  // namespace zvwin32

#endif
