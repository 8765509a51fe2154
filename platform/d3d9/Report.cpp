#include "Report.h"

#include <cstdio>

#include "common/UnhandledReport.h"

namespace zvd3d {

void reportUnhandled(const char* what, unsigned long value) {
    static zvplatform::UnhandledReport report("d3d9");
    report(nullptr, what, value);
}

void reportFailure(const char* what, const char* detail) {
    std::fprintf(stderr, "d3d9: %s%s%s\n", what, detail ? ": " : "", detail ? detail : "");
}

}  // namespace zvd3d
