// The zvtest hooks of the device.
#include "testing/DeviceTesting.h"

#include "Counters.h"
#include "Device.h"

namespace zvd3d {

zvtest::DeviceCounters g_counters = {};
zvtest::FrameCapture* g_capture = nullptr;

namespace {
int g_presentFailures = 0;
int g_resetFailures = 0;
}  // namespace

bool takePresentFailure() {
    if (g_presentFailures <= 0) return false;
    --g_presentFailures;
    return true;
}

bool takeResetFailure() {
    if (g_resetFailures <= 0) return false;
    --g_resetFailures;
    return true;
}

}  // namespace zvd3d

namespace zvtest {

void failPresent(int frames) { zvd3d::g_presentFailures = frames > 0 ? frames : 0; }

void failReset(int times) { zvd3d::g_resetFailures = times > 0 ? times : 0; }

DeviceCounters deviceCounters() { return zvd3d::g_counters; }

void resetDeviceCounters() { zvd3d::g_counters = DeviceCounters{}; }

void captureFrame(FrameCapture* out) {
    if (out) *out = FrameCapture{};
    zvd3d::g_capture = out;
}

int drainGLErrors() {
    zvd3d::Device* device = zvd3d::Device::current();
    if (!device || !device->makeCurrent()) return 0;
    int errors = 0;
    while (glGetError() != GL_NO_ERROR && errors < 1000) ++errors;
    return errors;
}

const char* glRenderer() {
    zvd3d::Device* device = zvd3d::Device::current();
    return device ? device->renderer() : "";
}

}  // namespace zvtest
