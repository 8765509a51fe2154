// Test hooks of the Direct3D 9 device (platform/d3d9). The game never calls
// them. They act on every device of the process.
#ifndef ZV_PLATFORM_DEVICE_TESTING_H
#define ZV_PLATFORM_DEVICE_TESTING_H

#include <cstdint>
#include <vector>

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
    uint64_t presentCpuNanoseconds; // CPU time of the calling thread in Present
};
DeviceCounters deviceCounters();
void resetDeviceCounters();

// --- Frame capture for benchmarks -------------------------------------------
// What the device sent to GL for one frame, as a replay needs it: every clear
// and every draw in order, each draw's vertices already transformed to clip
// space (as the generated vertex shader writes gl_Position) with the first
// texture stage's coordinates, and the GL state the draw ran under.
struct CapturedVertex {
    float position[4];  // clip space
    float tex[2];       // first stage's coordinates (0 when it samples none)
};
struct CapturedStep {
    bool clear;               // a clear (below), else a draw
    // Clear: GL_COLOR_BUFFER_BIT / GL_DEPTH_BUFFER_BIT, colour (RGBA 0..1),
    // depth, and the scissor box (GL window coordinates) when not whole.
    uint32_t clearBits;
    float clearColor[4];
    float clearDepth;
    bool scissored;
    int scissor[4];
    // Draw: GL primitive mode over vertices [first, first + count) of the
    // frame's list, the state it ran under (GL enums), and its first
    // stage's texture (texWidth 0: none).
    uint32_t mode;
    uint32_t first, count;
    int viewport[4];
    float depthRange[2];
    bool depthTest, depthWrite;
    uint32_t depthFunc;
    bool blend;
    uint32_t blendSrc, blendDst, blendEquation;
    bool cull;
    uint32_t cullFace, frontFace;
    bool alphaTest;           // the program discards by alpha
    uint64_t texture;         // which texture (the same value for the same one)
    int texWidth, texHeight, texLevels;
    bool texCube;
    uint32_t minFilter, magFilter;
};
struct FrameCapture {
    int width = 0, height = 0;   // back buffer
    uint32_t colorFormat = 0;    // GL internal format of the back buffer
    bool alphaWrites = true;     // colour mask of the alpha channel
    uint32_t depthFormat = 0;    // GL internal format, 0 without a depth buffer
    // The copy to the window at Present: drawable size, destination box
    // (GL window coordinates), filter, and whether bars are cleared first.
    int drawable[2] = {0, 0};
    int dest[4] = {0, 0, 0, 0};
    uint32_t filter = 0;
    bool clearsBars = false;
    std::vector<CapturedStep> steps;
    std::vector<CapturedVertex> vertices;
    bool complete = false;       // a Present ended the frame
};
// Records into `out` from now until the end of the next Present (out is
// emptied first). nullptr stops a capture that has not finished.
void captureFrame(FrameCapture* out);

// --- GL health -------------------------------------------------------------
// Drains the GL error queue of the current device's context and returns how
// many errors were pending (0 when none, or when no device exists).
int drainGLErrors();
// The renderer string of the current device's context ("" without a device).
const char* glRenderer();

}  // namespace zvtest

#endif
