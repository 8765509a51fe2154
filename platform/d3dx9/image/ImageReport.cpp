#include "ImageReport.h"

#include <cstdio>
#include <cstring>

namespace d3dximage {

void reportUnhandled(const char* what, unsigned long value) {
    // A small fixed table: the set of distinct unhandled values is tiny, and
    // a std container would allocate through the tracked operator new.
    struct Seen {
        const char* what;
        unsigned long value;
    };
    static Seen seen[64];
    static int count = 0;
    for (int i = 0; i < count; ++i) {
        if (seen[i].value == value && std::strcmp(seen[i].what, what) == 0) return;
    }
    if (count == 64) return;  // corrupt files could name endless values: stop
    seen[count++] = Seen{what, value};
    std::fprintf(stderr, "d3dx9 image: unhandled %s: %lu (0x%lx)\n", what, value, value);
    if (count == 64) std::fprintf(stderr, "d3dx9 image: further unhandled values not shown\n");
}

}  // namespace d3dximage
