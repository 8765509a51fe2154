// Runs one scene of the game offscreen beside its floor (bench/support/
// FloorRenderer: the same triangles drawn the cheapest way) and prints one
// table: engine and floor frame time (mean, 99th percentile) and their
// ratio, draws, GL state changes, heap allocations per frame, the engine's
// main-thread work per frame, start to first frame and, in a completed
// level, the time of a level change. Engine and floor frames alternate, so
// that the noise of a shared machine hits both alike. The clock is a manual
// one stepped by 1/144 s per frame and the random seed is fixed, so that
// runs compare.
//
//   bench_scene SCENE [frames] [--json FILE] [--summary FILE]
//     (run from the repository root; bench_scene --list names the scenes)
// --json appends the figures as one JSON object per line; --summary appends
// one row of the summary table.
//
// It reads the content the way the game does (found from the executable:
// the source tree for a build folder) and writes its logs into a fresh
// temporary player's folder.
#include <windows.h>
#include <dinput.h>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "FloorRenderer.h"
#include "QNEngineCore.h"
#include "QNGameState.h"
#include "QNMemory.h"
#include "testing/DeviceTesting.h"
#include "testing/PlatformTesting.h"
#include "win32/PathResolver.h"
#include "ZVApp.h"

namespace {

struct Scene {
    const char* name;
    const char* script;  // entry scene
    int level;           // > 0: this level is started from the level select
    int phase;           // its phase
    bool options;        // the menu's options panel open
    bool fullScreen;
};
const Scene kScenes[] = {
    {"menu", "zv.menu.scene", 0, 0, false, false},
    {"menu-options", "zv.menu.scene", 0, 0, true, false},
    {"level-select", "zv.lvlsel.scene", 0, 0, false, false},
    {"3x3-ready", "zv.lvlsel.scene", 1, LP_GET_READY, false, false},
    {"3x3-play", "zv.lvlsel.scene", 1, LP_PLAYING, false, false},
    {"3x3-completed", "zv.lvlsel.scene", 1, LP_COMPLETED, false, false},
    {"6x5-ready", "zv.lvlsel.scene", 40, LP_GET_READY, false, false},
    {"6x5-play", "zv.lvlsel.scene", 40, LP_PLAYING, false, false},
    {"6x5-completed", "zv.lvlsel.scene", 40, LP_COMPLETED, false, false},
    {"6x5-play-fullscreen", "zv.lvlsel.scene", 40, LP_PLAYING, false, true},
};
const double kStep = 1.0 / 144.0;

LRESULT CALLBACK benchProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

double seconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

double cpuSeconds(clockid_t clock) {
    timespec t;
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}
double threadSeconds() { return cpuSeconds(CLOCK_THREAD_CPUTIME_ID); }
// Every thread of the process: the rasteriser's threads too. On a shared
// machine this is steadier than the wall clock.
double processSeconds() { return cpuSeconds(CLOCK_PROCESS_CPUTIME_ID); }

struct Stats {
    double mean = 0, p99 = 0;
};
Stats stats(std::vector<double> v) {
    Stats s;
    if (v.empty()) return s;
    for (double t : v) s.mean += t;
    s.mean /= double(v.size());
    std::sort(v.begin(), v.end());
    size_t at = size_t(double(v.size()) * 0.99);
    s.p99 = v[std::min(at, v.size() - 1)];
    return s;
}

// One engine frame, the clock stepped first; waits for the picture.
void engineFrame(CZVApp& app) {
    bool quit = false;
    zvtest::advanceClock(kStep);
    app.update(&quit);
    app.render();
    glFinish();
}

void floorFrame(FloorRenderer& floor) {
    floor.render();
    glFinish();
}

// Writes the window's front picture as DIR/NAME.ppm (a check that the floor
// covers what the engine covers).
void dumpWindow(const char* dir, const char* name) {
    GLint viewport[4] = {0, 0, 0, 0};
    SDL_GL_GetDrawableSize(SDL_GL_GetCurrentWindow(), &viewport[2], &viewport[3]);
    int w = viewport[2], h = viewport[3];
    std::vector<unsigned char> pixels(size_t(w) * h * 3);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_FRONT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    std::string path = std::string(dir) + "/" + name + ".ppm";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fprintf(f, "P6\n%d %d\n255\n", w, h);
        for (int y = h - 1; y >= 0; --y) std::fwrite(&pixels[size_t(y) * w * 3], 1, size_t(w) * 3, f);
        std::fclose(f);
    }
}

// Writes the captured frame's steps as DIR/steps.txt, one line each.
void dumpSteps(const char* dir, const zvtest::FrameCapture& frame) {
    std::string path = std::string(dir) + "/steps.txt";
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return;
    for (const zvtest::CapturedStep& s : frame.steps) {
        if (s.clear) {
            std::fprintf(f, "clear bits 0x%x scissored %d\n", s.clearBits, s.scissored);
            continue;
        }
        std::fprintf(f,
                     "draw mode %u vertices %u depth %d/%d blend %d (0x%x 0x%x) cull %d alphaTest %d "
                     "texture %dx%d levels %d cube %d\n",
                     s.mode, s.count, s.depthTest, s.depthWrite, s.blend, s.blendSrc, s.blendDst, s.cull,
                     s.alphaTest, s.texWidth, s.texHeight, s.texLevels, s.texCube);
    }
    std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
    const double start = seconds();
    const Scene* scene = nullptr;
    int frames = 300;
    const char* json = nullptr;
    const char* summary = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--list") == 0) {
            for (const Scene& s : kScenes) std::printf("%s\n", s.name);
            return 0;
        } else if (std::strcmp(argv[i], "--json") == 0 && i + 1 < argc) {
            json = argv[++i];
        } else if (std::strcmp(argv[i], "--summary") == 0 && i + 1 < argc) {
            summary = argv[++i];
        } else if (!scene) {
            for (const Scene& s : kScenes)
                if (std::strcmp(argv[i], s.name) == 0) scene = &s;
            if (!scene) {
                std::fprintf(stderr, "bench_scene: no scene %s (--list names them)\n", argv[i]);
                return 2;
            }
        } else {
            frames = std::max(10, std::atoi(argv[i]));
        }
    }
    if (!scene) scene = &kScenes[0];
    PathResolver& paths = PathResolver::instance();
    char player[] = "/tmp/zarvel-bench-XXXXXX";
    if (!paths.useInstalledContent() || !mkdtemp(player) || !paths.setPlayerDir(player)) {
        std::fprintf(stderr, "bench_scene: no content beside the executable or no temporary folder\n");
        return 1;
    }
    if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::srand(1);
    zvtest::setClock(1000000000);

    const char* config = "/tmp/zarvel-bench.cfg";
    if (FILE* f = std::fopen(config, "w")) {
        std::fprintf(f, "[RESOLUTION] 800 600\n[FULLSCREEN] %s\n[ENTRY_SCENE] Assets\\Scripts\\Scenes\\%s\n",
                     scene->fullScreen ? "TRUE" : "FALSE", scene->script);
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
    CQNGameState* state = CQNGameState::getInstance();
    if (std::strstr(scene->script, "lvlsel")) state->m_state = GS_LEVEL_SELECT;
    engineFrame(app);
    const double firstFrame = seconds() - start;

    if (scene->level > 0) {
        state->m_level = scene->level;
        state->m_state = GS_START_LEVEL;
        engineFrame(app);  // loads the level scene
    }
    if (scene->options) state->m_menuSelection = 1;
    // Warm-up: shaders and glyphs are built on first use.
    for (int i = 0; i < 30; ++i) {
        if (scene->options) state->m_showOptions = true;
        if (scene->level > 0) state->m_levelPhase = scene->phase;
        engineFrame(app);
    }
    if (scene->options) state->m_showOptions = true;

    zvtest::FrameCapture capture;
    zvtest::captureFrame(&capture);
    engineFrame(app);
    zvtest::captureFrame(nullptr);
    FloorRenderer floor;
    if (!capture.complete || !floor.init(SDL_GL_GetCurrentWindow(), capture)) {
        std::fprintf(stderr, "bench_scene: no floor for this frame\n");
        return 1;
    }
    for (int i = 0; i < 10; ++i) {
        floorFrame(floor);
        engineFrame(app);
    }
    if (const char* dump = std::getenv("ZV_BENCH_DUMP")) {
        // The window's pixels after an engine frame and after a floor frame.
        dumpWindow(dump, "engine");
        dumpSteps(dump, capture);
        floorFrame(floor);
        dumpWindow(dump, "floor");
        engineFrame(app);
    }

    std::vector<double> engineTimes(frames), floorTimes(frames), work(frames), update(frames);
    std::vector<double> engineCpu(frames), floorCpu(frames), floorWork(frames);
    zvtest::resetDeviceCounters();
    uint64_t presentCpu = 0, allocs = 0;
    for (int i = 0; i < frames; ++i) {
        unsigned allocsBefore = getAllocationCount();
        uint64_t presentBefore = zvtest::deviceCounters().presentCpuNanoseconds;
        double t = seconds(), cpu = threadSeconds(), all = processSeconds();
        bool quit = false;
        zvtest::advanceClock(kStep);
        app.update(&quit);
        double updated = threadSeconds();
        app.render();
        double cpuEnd = threadSeconds();
        glFinish();
        engineTimes[i] = seconds() - t;
        engineCpu[i] = processSeconds() - all;
        uint64_t present = zvtest::deviceCounters().presentCpuNanoseconds - presentBefore;
        presentCpu += present;
        update[i] = updated - cpu;
        work[i] = cpuEnd - cpu - double(present) * 1e-9;
        allocs += getAllocationCount() - allocsBefore;

        t = seconds();
        all = processSeconds();
        floorFrame(floor);
        floorTimes[i] = seconds() - t;
        floorCpu[i] = processSeconds() - all;
        floorWork[i] = floor.submitSeconds();
    }
    zvtest::DeviceCounters counters = zvtest::deviceCounters();

    // A level change: Enter on a completed board loads the next level of
    // the same size (the level before is set first, the board size kept).
    std::vector<double> changes;
    if (scene->level > 0 && scene->phase == LP_COMPLETED) {
        for (int i = 0; i < 20; ++i) {
            state->m_level = scene->level - 1 > 0 ? scene->level - 1 : 40;
            state->m_levelPhase = LP_COMPLETED;
            zvtest::setKey(DIK_RETURN, true);
            bool quit = false;
            zvtest::advanceClock(kStep);
            double t = seconds();
            app.update(&quit);
            changes.push_back(seconds() - t);
            app.render();
            zvtest::setKey(DIK_RETURN, false);
            engineFrame(app);
        }
    }

    Stats e = stats(engineTimes), f = stats(floorTimes), w = stats(work), u = stats(update);
    Stats c = stats(changes), ec = stats(engineCpu), fc = stats(floorCpu), fw = stats(floorWork);
    double n = frames;
    double draws = double(counters.drawCalls) / n, stateChanges = double(counters.stateChanges) / n;
    double allocsPerFrame = double(allocs) / n;
    const char* mode = scene->fullScreen ? "full screen 16-bit, scaled" : "800x600 windowed";
    std::printf("scene %s (%s, %d frames each, %s)\n", scene->name, mode, frames, zvtest::glRenderer());
    std::printf("                          engine      floor      ratio\n");
    std::printf("  frame time mean ms   %9.3f  %9.3f  %9.2f   (%.0f / %.0f frames/s)\n", e.mean * 1e3,
                f.mean * 1e3, e.mean / f.mean, 1.0 / e.mean, 1.0 / f.mean);
    std::printf("  frame time p99 ms    %9.3f  %9.3f  %9.2f\n", e.p99 * 1e3, f.p99 * 1e3, e.p99 / f.p99);
    std::printf("  CPU ms, all threads  %9.3f  %9.3f  %9.2f\n", ec.mean * 1e3, fc.mean * 1e3, ec.mean / fc.mean);
    std::printf("  draws / frame        %9.1f  %9u\n", draws, floor.draws());
    std::printf("  GL state changes / f %9.1f  %9u\n", stateChanges, floor.stateChanges());
    std::printf("  heap allocs / frame  %9.2f\n", allocsPerFrame);
    std::printf("  main-thread work ms  %9.3f  %9.3f            (engine: update %.3f, the rest is draw\n"
                "                                                  submission; floor: its draws)\n",
                w.mean * 1e3, fw.mean * 1e3, u.mean * 1e3);
    std::printf("  start to first frame %9.3f s\n", firstFrame);
    if (!changes.empty()) std::printf("  level change ms      %9.3f   (p99 %.3f)\n", c.mean * 1e3, c.p99 * 1e3);

    if (json) {
        if (FILE* out = std::fopen(json, "a")) {
            std::fprintf(out,
                         "{\"scene\": \"%s\", \"frames\": %d, \"renderer\": \"%s\", "
                         "\"engine_mean_ms\": %.4f, \"engine_p99_ms\": %.4f, \"floor_mean_ms\": %.4f, "
                         "\"floor_p99_ms\": %.4f, \"ratio\": %.4f, \"draws\": %.2f, \"floor_draws\": %u, "
                         "\"state_changes\": %.2f, \"floor_state_changes\": %u, \"heap_allocs\": %.3f, "
                         "\"main_thread_ms\": %.4f, \"update_ms\": %.4f, \"start_to_first_frame_s\": %.4f, "
                         "\"engine_cpu_ms\": %.4f, \"floor_cpu_ms\": %.4f, \"floor_main_thread_ms\": %.4f",
                         scene->name, frames, zvtest::glRenderer(), e.mean * 1e3, e.p99 * 1e3, f.mean * 1e3,
                         f.p99 * 1e3, e.mean / f.mean, draws, floor.draws(), stateChanges, floor.stateChanges(),
                         allocsPerFrame, w.mean * 1e3, u.mean * 1e3, firstFrame, ec.mean * 1e3, fc.mean * 1e3, fw.mean * 1e3);
            if (!changes.empty()) std::fprintf(out, ", \"level_change_ms\": %.4f", c.mean * 1e3);
            std::fprintf(out, "}\n");
            std::fclose(out);
        }
    }
    if (summary) {
        if (FILE* out = std::fopen(summary, "a")) {
            char change[32] = "";
            if (!changes.empty()) std::snprintf(change, sizeof change, "%.2f", c.mean * 1e3);
            std::fprintf(out, "%-20s %7.2f %7.2f %7.2f %6.2f %6.2f %6.1f %7.1f %6.2f %6.3f %6.3f %6s\n",
                         scene->name, e.mean * 1e3, e.p99 * 1e3, f.mean * 1e3, e.mean / f.mean,
                         ec.mean / fc.mean, draws, stateChanges,
                         allocsPerFrame, w.mean * 1e3, firstFrame, change);
            std::fclose(out);
        }
    }
    app.shutdown();
    return 0;
}
