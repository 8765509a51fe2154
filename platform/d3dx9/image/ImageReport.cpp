#include "ImageReport.h"

#include "common/UnhandledReport.h"

namespace d3dximage {

void reportUnhandled(const char* what, unsigned long value) {
    static zvplatform::UnhandledReport report("d3dx9 image");
    report(nullptr, what, value);
}

}  // namespace d3dximage
