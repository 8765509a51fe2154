// The process entry: the window, the message loop (which is also the frame
// loop) and the application's life.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "QNMemory.h"
#include "QNScriptHelper.h"
#include "ZVApp.h"

namespace {

const char kConfigPath[] = "Assets\\Scripts\\Config\\qnengine.cfg";
HWND g_hWnd = nullptr;

LRESULT CALLBACK windowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(18);
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

}  // namespace

// Fills width and height from "[RESOLUTION]"; leaves them when the key is
// absent or its values are missing, as the device wrapper does for the back
// buffer, so that window and back buffer always agree.
void readResolution(const char* configPath, int* width, int* height) {
    char* text = nullptr;
    if (CScriptHelper::readScript(configPath, &text) > QNRSLT_OK) return;
    for (char* token = std::strtok(text, QN_DELIMITERS_STANDARD); token;
         token = std::strtok(nullptr, QN_DELIMITERS_STANDARD)) {
        if (std::strcmp(token, "[RESOLUTION]") == 0) {
            const char* w = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
            const char* h = w ? std::strtok(nullptr, QN_DELIMITERS_STANDARD) : nullptr;
            if (w && h) {
                *width = std::atoi(w);
                *height = std::atoi(h);
            }
        }
    }
    CScriptHelper::freeScript(text);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nShowCmd) {
    CZVApp app;
    // Without "[RESOLUTION]" the window gets the back buffer's default size
    // instead of an unusable one of zero.
    int width = 800;
    int height = 600;
    readResolution(kConfigPath, &width, &height);

    WNDCLASSA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.style = 0;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "Zarvel";
    if (!RegisterClassA(&wc)) return 0;

    RECT rect;
    SetRect(&rect, 0, 0, width, height);
    AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, TRUE);
    g_hWnd = CreateWindowExA(0, "Zarvel", "Zarvel", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                             rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                             hInstance, nullptr);
    ShowWindow(g_hWnd, nShowCmd);

    bool quit = false;
    app.startup(g_hWnd, kConfigPath);

    MSG msg;
    std::memset(&msg, 0, sizeof msg);
    do {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else if (GetFocus() == g_hWnd) {
            app.update(&quit);
            if (quit) {
                PostQuitMessage(18);
                DestroyWindow(g_hWnd);
            }
            app.render();
        } else {
            // Without the focus no frame runs; sleep until something happens
            // instead of polling. The next frame still measures the whole gap.
            WaitMessage();
        }
    } while (msg.message != WM_QUIT);

    app.shutdown();
    return static_cast<int>(msg.wParam);
}
