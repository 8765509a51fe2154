// The floor of a frame: the same triangles as a captured engine frame,
// drawn with plain OpenGL 3.3 core and the cheapest shading that covers the
// same pixels (a pass-through vertex shader, one texture fetch per pixel or
// none), into a render target like the engine's, with the same clears and
// the same copy to the window. Its frame time is what the engine's frame
// could cost at best.
#ifndef ZV_BENCH_FLOOR_RENDERER_H
#define ZV_BENCH_FLOOR_RENDERER_H

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "testing/DeviceTesting.h"

class FloorRenderer {
public:
    ~FloorRenderer();
    // Builds its own GL context on `window` and the objects the frame needs.
    // False (with a line on stderr) when it cannot.
    bool init(SDL_Window* window, const zvtest::FrameCapture& frame);
    // One frame: makes its context current, replays, copies and swaps.
    void render();
    // GL state changes per frame of the replay.
    unsigned stateChanges() const { return m_stateChanges; }
    unsigned draws() const { return m_draws; }
    // Main-thread CPU time of the last frame's clears and draws (not the
    // copy to the window), seconds.
    double submitSeconds() const { return m_submitSeconds; }

private:
    struct Texture {
        uint64_t id;
        int width, height, levels;
        bool cube;
        uint32_t minFilter, magFilter;
        unsigned name, sampler;
    };
    unsigned textureFor(const zvtest::CapturedStep& step);

    SDL_Window* m_window = nullptr;
    SDL_GLContext m_context = nullptr;
    const zvtest::FrameCapture* m_frame = nullptr;
    unsigned m_fbo = 0, m_color = 0, m_depth = 0, m_vao = 0, m_buffer = 0;
    unsigned m_textured = 0, m_plain = 0;
    std::vector<Texture> m_textures;
    std::vector<unsigned> m_stepTexture;  // index + 1 into m_textures, 0 none
    unsigned m_stateChanges = 0, m_draws = 0;
    double m_submitSeconds = 0;
};

#endif
