// Runs a scene offscreen for a fixed number of frames and prints the frame
// time (mean and 99th percentile), draw calls and heap allocations per frame,
// and the time from start to the first presented frame.
//
//   bench_scene [scene script] [frames]
//
// It reads the content the way the game does (found from the executable:
// the source tree for a build folder) and writes its logs into a fresh
// temporary player's folder.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "QNEngineCore.h"
#include "QNGameState.h"
#include "QNMemory.h"
#include "testing/DeviceTesting.h"
#include "win32/PathResolver.h"
#include "ZVApp.h"

namespace {
LRESULT CALLBACK benchProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }
double seconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

int main(int argc, char** argv) {
    const double start = seconds();
    const char* scene = argc > 1 ? argv[1] : "Assets\\Scripts\\Scenes\\zv.menu.scene";
    int frames = argc > 2 ? std::atoi(argv[2]) : 600;
    if (frames < 10) frames = 10;
    PathResolver& paths = PathResolver::instance();
    char player[] = "/tmp/zarvel-bench-XXXXXX";
    if (!paths.useInstalledContent() || !mkdtemp(player) || !paths.setPlayerDir(player)) {
        std::fprintf(stderr, "bench_scene: no content beside the executable or no temporary folder\n");
        return 1;
    }
    if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    const char* config = "/tmp/zarvel-bench.cfg";
    if (FILE* f = std::fopen(config, "w")) {
        std::fprintf(f, "[RESOLUTION] 800 600\n[ENTRY_SCENE] %s\n", scene);
        std::fclose(f);
    }
    WNDCLASSA wc = {};
    wc.lpfnWndProc = benchProc;
    wc.lpszClassName = "Zarvel";
    RegisterClassA(&wc);
    HWND hWnd = CreateWindowExA(0, "Zarvel", "Zarvel", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 800, 600, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(hWnd, SW_SHOW);

    CZVApp app;
    app.startup(hWnd, config);
    if (!CQNEngineCore::isRunning()) {
        std::fprintf(stderr, "bench_scene: the engine did not start\n");
        return 1;
    }
    // The level scene plays: the state machine must not leave it.
    if (std::strstr(scene, "intro")) CQNGameState::getInstance()->m_state = GS_PLAYING;
    bool quit = false;
    app.update(&quit);
    app.render();
    const double firstFrame = seconds() - start;

    // Warm-up: shaders and glyphs are built on first use.
    for (int i = 0; i < 30; ++i) {
        app.update(&quit);
        app.render();
    }
    std::vector<double> times(frames);
    zvtest::resetDeviceCounters();
    unsigned allocsBefore = getAllocationCount();
    for (int i = 0; i < frames; ++i) {
        double t = seconds();
        app.update(&quit);
        app.render();
        times[i] = seconds() - t;
    }
    unsigned allocs = getAllocationCount() - allocsBefore;
    zvtest::DeviceCounters counters = zvtest::deviceCounters();

    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    double sum = 0;
    for (double t : times) sum += t;
    double mean = sum / frames;
    double p99 = sorted[static_cast<size_t>(frames * 0.99) - 1];
    std::printf("scene                %s\n", scene);
    std::printf("renderer             %s\n", zvtest::glRenderer());
    std::printf("frames               %d (800x600)\n", frames);
    std::printf("frame time mean      %.3f ms (%.0f frames/s)\n", mean * 1000, 1.0 / mean);
    std::printf("frame time p99       %.3f ms\n", p99 * 1000);
    std::printf("draw calls / frame   %.1f\n", static_cast<double>(counters.drawCalls) / frames);
    std::printf("GL state changes / f %.1f\n", static_cast<double>(counters.stateChanges) / frames);
    std::printf("heap allocs / frame  %.2f\n", static_cast<double>(allocs) / frames);
    std::printf("start to first frame %.3f s\n", firstFrame);
    std::printf("logs in              %s\n", player);
    app.shutdown();
    return 0;
}
