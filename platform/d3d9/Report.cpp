#include "Report.h"

#include <cstdio>

namespace zvd3d {

namespace {
struct Seen {
    const char* what;
    unsigned long value;
};
// A fixed table: reporting must not allocate, and a program meets only a
// handful of unsupported values. Past the table's end every value is reported.
Seen g_seen[64];
int g_seenCount = 0;
}  // namespace

void reportUnhandled(const char* what, unsigned long value) {
    for (int i = 0; i < g_seenCount; ++i)
        if (g_seen[i].what == what && g_seen[i].value == value) return;
    if (g_seenCount < 64) g_seen[g_seenCount++] = {what, value};
    std::fprintf(stderr, "d3d9: %s %lu (0x%lx) is not supported\n", what, value, value);
}

void reportFailure(const char* what, const char* detail) {
    std::fprintf(stderr, "d3d9: %s%s%s\n", what, detail ? ": " : "", detail ? detail : "");
}

}  // namespace zvd3d
