#include "XFileReport.h"

#include <cstdio>
#include <cstring>

namespace d3dxfile {

void reportUnhandled(const char* what, unsigned long value) {
    // A fixed table: a std container would allocate through the tracked
    // operator new and outlive the leak report.
    struct Seen {
        const char* what;
        unsigned long value;
    };
    static Seen seen[32];
    static int count = 0;
    for (int i = 0; i < count; ++i) {
        if (seen[i].value == value && std::strcmp(seen[i].what, what) == 0) return;
    }
    if (count < 32) seen[count++] = Seen{what, value};
    std::fprintf(stderr, "d3dx9 mesh: unhandled %s: %lu (0x%lx)\n", what, value, value);
}

}  // namespace d3dxfile
