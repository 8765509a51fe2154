// The counters behind zvtest::deviceCounters(), kept by the device code.
#ifndef ZV_D3D9_COUNTERS_H
#define ZV_D3D9_COUNTERS_H

#include "testing/DeviceTesting.h"

namespace zvd3d {

extern zvtest::DeviceCounters g_counters;
// The frame being captured (zvtest::captureFrame), or nullptr.
extern zvtest::FrameCapture* g_capture;

// Fault injection set by the test hooks: each returns true (and uses up one
// injected failure) when the call should fail.
bool takePresentFailure();
bool takeResetFailure();

}  // namespace zvd3d

#endif
