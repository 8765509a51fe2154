#include "XFileReport.h"

#include "common/UnhandledReport.h"

namespace d3dxfile {

void reportUnhandled(const char* what, unsigned long value) {
    static zvplatform::UnhandledReport report("d3dx9 mesh");
    report(nullptr, what, value);
}

}  // namespace d3dxfile
