// The frame capture behind zvtest::captureFrame: each clear and draw as GL
// received it, with the vertices transformed on the CPU exactly as the
// generated vertex shader transforms them, so that a plain replay covers
// the same pixels under the same state.
#include <cmath>
#include <cstring>

#include "Counters.h"
#include "Device.h"
#include "Textures.h"

namespace zvd3d {

namespace {

bool glFlag(GLenum cap) { return glIsEnabled(cap) == GL_TRUE; }

uint32_t glInt(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return uint32_t(value);
}

// Direct3D row vector times a row-major 4x4 matrix (what GLSL's M * v does
// with the matrices uploaded as they are).
void transform(const float* m, const float* v, float* out) {
    for (int c = 0; c < 4; ++c) out[c] = v[0] * m[c] + v[1] * m[4 + c] + v[2] * m[8 + c] + v[3] * m[12 + c];
}

}  // namespace

void Device::captureClear(GLbitfield bits, D3DCOLOR color, float z, bool scissored, const GLint* box) {
    zvtest::CapturedStep step{};
    step.clear = true;
    step.clearBits = bits;
    step.clearColor[0] = ((color >> 16) & 0xFF) / 255.0f;
    step.clearColor[1] = ((color >> 8) & 0xFF) / 255.0f;
    step.clearColor[2] = (color & 0xFF) / 255.0f;
    step.clearColor[3] = (color >> 24) / 255.0f;
    step.clearDepth = z < 0.0f ? 0.0f : z > 1.0f ? 1.0f : z;
    step.scissored = scissored;
    if (scissored) std::memcpy(step.scissor, box, sizeof step.scissor);
    g_capture->steps.push_back(step);
}

void Device::captureDraw(GLenum mode, const uint8_t* vertices, UINT stride, const uint8_t* indices,
                         UINT indexSize, UINT first, UINT count, INT baseVertex) {
    zvtest::FrameCapture& frame = *g_capture;
    zvtest::CapturedStep step{};
    step.mode = mode;
    step.first = uint32_t(frame.vertices.size());
    step.count = count;
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    std::memcpy(step.viewport, viewport, sizeof viewport);
    glGetFloatv(GL_DEPTH_RANGE, step.depthRange);
    step.depthTest = glFlag(GL_DEPTH_TEST);
    GLboolean depthWrite = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrite);
    step.depthWrite = depthWrite == GL_TRUE;
    step.depthFunc = glInt(GL_DEPTH_FUNC);
    step.blend = glFlag(GL_BLEND);
    step.blendSrc = glInt(GL_BLEND_SRC_RGB);
    step.blendDst = glInt(GL_BLEND_DST_RGB);
    step.blendEquation = glInt(GL_BLEND_EQUATION_RGB);
    step.cull = glFlag(GL_CULL_FACE);
    step.cullFace = glInt(GL_CULL_FACE_MODE);
    step.frontFace = glInt(GL_FRONT_FACE);
    step.alphaTest = m_key.alphaFunc != 0;

    const StageKey& stage = m_key.stage[0];
    bool textured = m_key.stageCount > 0 && stage.texKind != TEX_NONE;
    if (textured) {
        const TextureStore& store = m_textureObjects[0]->store();
        step.texture = reinterpret_cast<uintptr_t>(m_textureObjects[0]);
        step.texWidth = int(store.width(0));
        step.texHeight = int(store.height(0));
        step.texLevels = int(store.levelCount());
        step.texCube = store.cube();
        GLint filter = 0;
        glGetSamplerParameteriv(m_samplers[0], GL_TEXTURE_MIN_FILTER, &filter);
        step.minFilter = uint32_t(filter);
        glGetSamplerParameteriv(m_samplers[0], GL_TEXTURE_MAG_FILTER, &filter);
        step.magFilter = uint32_t(filter);
    }

    const FixedFunctionUniforms& u = m_uniforms;
    bool rhw = m_key.rhw != 0;
    UINT normalAt = rhw ? 16 : 12;
    UINT texAt = normalAt + ((m_fvf & D3DFVF_NORMAL) ? 12 : 0) + ((m_fvf & D3DFVF_DIFFUSE) ? 4 : 0);
    for (UINT k = 0; k < count; ++k) {
        int64_t index = first + k;
        if (indices) {
            const uint8_t* at = indices + size_t(first + k) * indexSize;
            uint32_t i = 0;
            if (indexSize == 2) {
                uint16_t v;
                std::memcpy(&v, at, 2);
                i = v;
            } else {
                std::memcpy(&i, at, 4);
            }
            index = int64_t(i) + baseVertex;
        }
        const uint8_t* v = vertices + size_t(index) * stride;
        float p[4] = {0, 0, 0, 1};
        std::memcpy(p, v, rhw ? 16 : 12);
        zvtest::CapturedVertex out{};
        float viewPos[4] = {0, 0, 0, 1};
        if (rhw) {
            float w = p[3] > 0.0f ? 1.0f / p[3] : 1.0f;
            out.position[0] = ((p[0] + u.screenOffset[3]) * u.screenScale[0] + u.screenOffset[0]) * w;
            out.position[1] = ((p[1] + u.screenOffset[3]) * u.screenScale[1] + u.screenOffset[1]) * w;
            out.position[2] = (p[2] * u.screenScale[2] + u.screenOffset[2]) * w;
            out.position[3] = w;
        } else {
            p[3] = 1.0f;
            transform(u.worldView, p, viewPos);
            float clip[4];
            transform(u.projection, viewPos, clip);
            clip[0] += u.clipOffset[0] * clip[3];
            clip[1] += u.clipOffset[1] * clip[3];
            clip[2] = 2.0f * clip[2] - clip[3];
            std::memcpy(out.position, clip, sizeof clip);
        }
        if (textured) {
            if (stage.reflect && m_key.normal) {
                // The reflection vector's x and y, folded into 0..1.
                float n[3], e[3];
                std::memcpy(n, v + normalAt, 12);
                float vn[4] = {n[0], n[1], n[2], 0.0f}, tn[4];
                transform(u.normalMatrix, vn, tn);
                float len = std::sqrt(viewPos[0] * viewPos[0] + viewPos[1] * viewPos[1] + viewPos[2] * viewPos[2]);
                for (int c = 0; c < 3; ++c) e[c] = len > 0.0f ? viewPos[c] / len : 0.0f;
                float d = e[0] * tn[0] + e[1] * tn[1] + e[2] * tn[2];
                out.tex[0] = 0.5f + 0.5f * (e[0] - 2.0f * d * tn[0]);
                out.tex[1] = 0.5f + 0.5f * (e[1] - 2.0f * d * tn[1]);
            } else if (stage.coordSet < m_key.texSets) {
                std::memcpy(out.tex, v + texAt + 8u * stage.coordSet, 8);
            }
        }
        frame.vertices.push_back(out);
    }
    frame.steps.push_back(step);
}

void Device::capturePresent(int drawableWidth, int drawableHeight, const GLint* dest, GLenum filter,
                            bool clearsBars) {
    zvtest::FrameCapture& frame = *g_capture;
    frame.width = int(m_params.BackBufferWidth);
    frame.height = int(m_params.BackBufferHeight);
    GLint format = 0;
    glBindRenderbuffer(GL_RENDERBUFFER, m_colorBuffer);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_INTERNAL_FORMAT, &format);
    frame.colorFormat = uint32_t(format);
    GLboolean mask[4] = {GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE};
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    frame.alphaWrites = mask[3] == GL_TRUE;
    frame.depthFormat = !m_depthBuffer ? 0
                        : m_params.AutoDepthStencilFormat == D3DFMT_D16 ? GL_DEPTH_COMPONENT16
                                                                         : GL_DEPTH_COMPONENT24;
    frame.drawable[0] = drawableWidth;
    frame.drawable[1] = drawableHeight;
    std::memcpy(frame.dest, dest, sizeof frame.dest);
    frame.filter = filter;
    frame.clearsBars = clearsBars;
    frame.complete = true;
    g_capture = nullptr;
}

}  // namespace zvd3d
