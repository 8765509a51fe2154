// In the browser the program runs on the page's only thread: once a frame it
// waits for the page's next animation frame (emscripten's ASYNCIFY unwinds
// and rewinds the stack around the wait), which shows the frame and lets the
// page handle input. Files written in the player's folder are handed to the
// page (platform/web/pre.js) at the next frame, when they are complete: it
// copies the folder into IndexedDB and offers screenshots as downloads.
#include "common/HostEvents.h"

#include <emscripten.h>

#include <cstdio>
#include <cstring>

// clang-format off
EM_JS(void, zvHostFrame, (), {
    Module.zarvelFrames = (Module.zarvelFrames || 0) + 1;
});
EM_JS(void, zvHostFileSaved, (const char* path), {
    if (Module.zarvelFileSaved) Module.zarvelFileSaved(UTF8ToString(path));
});
EM_JS(void, zvHostStore, (), {
    Module.zarvelStore();
});
EM_ASYNC_JS(void, zvHostNextFrame, (), {
    await new Promise(function(resolve) { requestAnimationFrame(function() { resolve(); }); });
});
EM_ASYNC_JS(void, zvHostStoreNow, (), {
    await Module.zarvelStore();
});
// clang-format on

namespace {

// Fixed storage: the memory tracker counts every block the program holds at
// exit, and these lists live until then.
const int kMaxPending = 32;
char g_pending[kMaxPending][512];
int g_pendingCount = 0;
bool g_dirty = false;

void handOver() {
    for (int i = 0; i < g_pendingCount; ++i) zvHostFileSaved(g_pending[i]);
    g_pendingCount = 0;
}

}  // namespace

void HostEvents::frameShown() {
    zvHostFrame();
    if (g_dirty) {
        g_dirty = false;
        handOver();
        zvHostStore();
    }
    zvHostNextFrame();
}

void HostEvents::fileWritten(const char* path) {
    g_dirty = true;
    for (int i = 0; i < g_pendingCount; ++i)
        if (std::strcmp(g_pending[i], path) == 0) return;
    if (g_pendingCount < kMaxPending &&
        std::snprintf(g_pending[g_pendingCount], sizeof g_pending[0], "%s", path) < int(sizeof g_pending[0]))
        ++g_pendingCount;
}

void HostEvents::programEnds() {
    handOver();
    g_dirty = false;
    zvHostStoreNow();
}
