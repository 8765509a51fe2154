#include "FloorRenderer.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

const char kVertex[] =
    "#version 330 core\n"
    "layout(location = 0) in vec4 inPosition;\n"
    "layout(location = 1) in vec2 inTex;\n"
    "out vec2 vTex;\n"
    "void main() { gl_Position = inPosition; vTex = inTex; }\n";
const char kTextured[] =
    "#version 330 core\n"
    "uniform sampler2D tex;\n"
    "in vec2 vTex;\n"
    "out vec4 fragColor;\n"
    "void main() { fragColor = texture(tex, vTex); }\n";
const char kPlain[] =
    "#version 330 core\n"
    "out vec4 fragColor;\n"
    "void main() { fragColor = vec4(0.5, 0.5, 0.5, 1.0); }\n";

GLuint compile(GLenum type, const char* text) {
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    return shader;
}

GLuint link(const char* fragment) {
    GLuint program = glCreateProgram();
    GLuint vs = compile(GL_VERTEX_SHADER, kVertex), fs = compile(GL_FRAGMENT_SHADER, fragment);
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glLinkProgram(program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) std::fprintf(stderr, "floor: a program did not link\n");
    return program;
}

}  // namespace

FloorRenderer::~FloorRenderer() {
    if (m_context) SDL_GL_DeleteContext(m_context);
}

unsigned FloorRenderer::textureFor(const zvtest::CapturedStep& step) {
    for (size_t i = 0; i < m_textures.size(); ++i) {
        const Texture& t = m_textures[i];
        if (t.id == step.texture && t.minFilter == step.minFilter && t.magFilter == step.magFilter)
            return unsigned(i + 1);
    }
    // One for each texture of the engine's, so that the floor binds as often.
    Texture t{step.texture, step.texWidth, step.texHeight, step.texLevels, step.texCube, step.minFilter, step.magFilter, 0, 0};
    // A texture of the same size and chain: a checker of opaque greys.
    std::vector<uint8_t> texels(size_t(t.width) * t.height * 4);
    for (int y = 0; y < t.height; ++y)
        for (int x = 0; x < t.width; ++x) {
            uint8_t v = ((x / 8 + y / 8) & 1) ? 200 : 90;
            uint8_t* p = &texels[(size_t(y) * t.width + x) * 4];
            p[0] = p[1] = p[2] = v;
            p[3] = 255;
        }
    glGenTextures(1, &t.name);
    glBindTexture(GL_TEXTURE_2D, t.name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, t.levels > 0 ? t.levels - 1 : 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, t.width, t.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    if (t.levels > 1) glGenerateMipmap(GL_TEXTURE_2D);
    glGenSamplers(1, &t.sampler);
    glSamplerParameteri(t.sampler, GL_TEXTURE_MIN_FILTER, GLint(t.minFilter));
    glSamplerParameteri(t.sampler, GL_TEXTURE_MAG_FILTER, GLint(t.magFilter));
    glSamplerParameteri(t.sampler, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glSamplerParameteri(t.sampler, GL_TEXTURE_WRAP_T, GL_REPEAT);
    m_textures.push_back(t);
    return unsigned(m_textures.size());
}

bool FloorRenderer::init(SDL_Window* window, const zvtest::FrameCapture& frame) {
    m_window = window;
    m_frame = &frame;
    m_context = SDL_GL_CreateContext(window);
    if (!m_context) {
        std::fprintf(stderr, "floor: no GL context: %s\n", SDL_GetError());
        return false;
    }
    SDL_GL_MakeCurrent(window, m_context);
    SDL_GL_SetSwapInterval(0);

    glGenFramebuffers(1, &m_fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, m_fbo);
    glGenRenderbuffers(1, &m_color);
    glBindRenderbuffer(GL_RENDERBUFFER, m_color);
    glRenderbufferStorage(GL_RENDERBUFFER, frame.colorFormat, frame.width, frame.height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_color);
    if (frame.depthFormat) {
        glGenRenderbuffers(1, &m_depth);
        glBindRenderbuffer(GL_RENDERBUFFER, m_depth);
        glRenderbufferStorage(GL_RENDERBUFFER, frame.depthFormat, frame.width, frame.height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, m_depth);
    }
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        std::fprintf(stderr, "floor: the framebuffer is incomplete\n");
        return false;
    }
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, frame.alphaWrites ? GL_TRUE : GL_FALSE);

    m_textured = link(kTextured);
    m_plain = link(kPlain);
    glGenVertexArrays(1, &m_vao);
    glBindVertexArray(m_vao);
    glGenBuffers(1, &m_buffer);
    glBindBuffer(GL_ARRAY_BUFFER, m_buffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(frame.vertices.size() * sizeof(zvtest::CapturedVertex)),
                 frame.vertices.data(), GL_STATIC_DRAW);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, sizeof(zvtest::CapturedVertex), nullptr);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(zvtest::CapturedVertex),
                          reinterpret_cast<const void*>(offsetof(zvtest::CapturedVertex, tex)));
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    for (const zvtest::CapturedStep& step : frame.steps)
        m_stepTexture.push_back(!step.clear && step.texWidth > 0 ? textureFor(step) : 0);
    return glGetError() == GL_NO_ERROR;
}

namespace {
double threadSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}
}  // namespace

void FloorRenderer::render() {
    SDL_GL_MakeCurrent(m_window, m_context);
    const double start = threadSeconds();
    const zvtest::FrameCapture& frame = *m_frame;
    unsigned changes = 0;
    // A small cache, as any renderer keeps: a GL call only when a value changes.
    int depthTest = -1, depthWrite = -1, blend = -1, cull = -1, scissor = -1;
    GLenum depthFunc = 0, src = 0, dst = 0, equation = 0, cullFace = 0, frontFace = 0;
    GLuint program = 0, texture = ~0u;
    int viewport[4] = {-1, -1, -1, -1};
    float range[2] = {-1, -1};
    auto flag = [&](int* cached, bool on, GLenum cap) {
        if (*cached == int(on)) return;
        *cached = on;
        on ? glEnable(cap) : glDisable(cap);
        ++changes;
    };

    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, m_fbo);
    m_draws = 0;
    for (size_t i = 0; i < frame.steps.size(); ++i) {
        const zvtest::CapturedStep& s = frame.steps[i];
        if (s.clear) {
            flag(&scissor, s.scissored, GL_SCISSOR_TEST);
            if (s.scissored) glScissor(s.scissor[0], s.scissor[1], s.scissor[2], s.scissor[3]);
            if (s.clearBits & GL_DEPTH_BUFFER_BIT) {
                if (depthWrite != 1) {
                    glDepthMask(GL_TRUE);
                    depthWrite = 1;
                    ++changes;
                }
                glClearDepth(s.clearDepth);
            }
            glClearColor(s.clearColor[0], s.clearColor[1], s.clearColor[2], s.clearColor[3]);
            glClear(s.clearBits);
            continue;
        }
        flag(&scissor, false, GL_SCISSOR_TEST);
        if (std::memcmp(viewport, s.viewport, sizeof viewport) != 0) {
            std::memcpy(viewport, s.viewport, sizeof viewport);
            glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
            ++changes;
        }
        if (range[0] != s.depthRange[0] || range[1] != s.depthRange[1]) {
            range[0] = s.depthRange[0];
            range[1] = s.depthRange[1];
            glDepthRange(range[0], range[1]);
            ++changes;
        }
        flag(&depthTest, s.depthTest, GL_DEPTH_TEST);
        if (depthWrite != int(s.depthWrite)) {
            depthWrite = s.depthWrite;
            glDepthMask(s.depthWrite ? GL_TRUE : GL_FALSE);
            ++changes;
        }
        if (s.depthTest && depthFunc != s.depthFunc) {
            depthFunc = s.depthFunc;
            glDepthFunc(depthFunc);
            ++changes;
        }
        flag(&blend, s.blend, GL_BLEND);
        if (s.blend && (src != s.blendSrc || dst != s.blendDst)) {
            src = s.blendSrc;
            dst = s.blendDst;
            glBlendFunc(src, dst);
            ++changes;
        }
        if (s.blend && equation != s.blendEquation) {
            equation = s.blendEquation;
            glBlendEquation(equation);
            ++changes;
        }
        flag(&cull, s.cull, GL_CULL_FACE);
        if (s.cull && (cullFace != s.cullFace || frontFace != s.frontFace)) {
            cullFace = s.cullFace;
            frontFace = s.frontFace;
            glCullFace(cullFace);
            glFrontFace(frontFace);
            changes += 2;
        }
        unsigned t = m_stepTexture[i];
        GLuint wanted = t ? m_textured : m_plain;
        if (program != wanted) {
            program = wanted;
            glUseProgram(program);
            ++changes;
        }
        if (t && texture != t) {
            texture = t;
            glBindTexture(GL_TEXTURE_2D, m_textures[t - 1].name);
            glBindSampler(0, m_textures[t - 1].sampler);
            changes += 2;
        }
        glDrawArrays(s.mode, GLint(s.first), GLsizei(s.count));
        ++m_draws;
    }
    m_stateChanges = changes;
    m_submitSeconds = threadSeconds() - start;

    // The copy to the window, as the engine's Present makes it.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_fbo);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    if (frame.clearsBars) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glBlitFramebuffer(0, 0, frame.width, frame.height, frame.dest[0], frame.dest[1], frame.dest[2],
                      frame.dest[3], GL_COLOR_BUFFER_BIT, frame.filter);
    SDL_GL_SwapWindow(m_window);
}
