#include "FontReport.h"

#include <cstdio>
#include <cstring>

namespace d3dxfont {

void reportUnhandled(const char* what, unsigned long value) {
    // A fixed table, not a container: a report may come from a draw call,
    // which must not allocate.
    struct Seen {
        const char* what;
        unsigned long value;
    };
    static Seen seen[64];
    static int count = 0;
    for (int i = 0; i < count; ++i) {
        if (seen[i].value == value && std::strcmp(seen[i].what, what) == 0) return;
    }
    if (count < 64) seen[count++] = Seen{what, value};
    std::fprintf(stderr, "d3dx9 font: unhandled %s: %lu (0x%lx)\n", what, value, value);
}

}  // namespace d3dxfont
