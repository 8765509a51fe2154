#include "FontReport.h"

#include "common/UnhandledReport.h"

namespace d3dxfont {

void reportUnhandled(const char* what, unsigned long value) {
    static zvplatform::UnhandledReport report("d3dx9 font");
    report(nullptr, what, value);
}

}  // namespace d3dxfont
