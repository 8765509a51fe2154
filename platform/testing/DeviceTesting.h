// Test hooks of the Direct3D 9 device (platform/d3d9). The game never calls
// them. They act on every device of the process.
#ifndef ZV_PLATFORM_DEVICE_TESTING_H
#define ZV_PLATFORM_DEVICE_TESTING_H

#include <cstdint>

namespace zvtest {

// --- Lost device ------------------------------------------------------------
// The next `frames` calls of Present report D3DERR_DEVICELOST as if the GL
// context had been reset; the device then stays lost (Present keeps failing)
// until a Reset succeeds. 0 cancels what is left.
void failPresent(int frames);
// The next `times` calls of Reset fail with D3DERR_DEVICELOST and leave the
// device lost. 0 cancels what is left.
void failReset(int times);

// --- Counters for benchmarks --------------------------------------------------
struct DeviceCounters {
    uint64_t drawCalls;       // GL draw calls issued
    uint64_t stateChanges;    // GL calls that changed pipeline state (enables,
                              // blend, depth, cull, program, textures, samplers,
                              // vertex layout, viewport, uniforms uploaded)
    uint64_t programSwitches; // glUseProgram calls
    uint64_t shaderBuilds;    // GLSL programs compiled and linked
    uint64_t uploads;         // buffer and texture uploads
};
DeviceCounters deviceCounters();
void resetDeviceCounters();

// --- GL health -------------------------------------------------------------
// Drains the GL error queue of the current device's context and returns how
// many errors were pending (0 when none, or when no device exists).
int drainGLErrors();
// The renderer string of the current device's context ("" without a device).
const char* glRenderer();

}  // namespace zvtest

#endif
