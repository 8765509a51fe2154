// Drawing: what is dirty goes to GL, then one GL draw call.
#include <algorithm>
#include <cmath>

#include "Buffers.h"
#include "Counters.h"
#include "Device.h"
#include "GLConvert.h"
#include "GLProfile.h"
#include "Report.h"
#include "Textures.h"

namespace zvd3d {

namespace {

// Pixel centres: Direct3D 9 samples pixels at integer coordinates, GL at
// half-integers. Moving the geometry by just under half a pixel makes edges
// on integer coordinates cover the same pixels in both, without leaving
// shared edges to the rasteriser's tie-breaking.
const float kPixelCentreShift = 63.0f / 128.0f;

// Largest DrawPrimitiveUP upload; far above text and sprites.
const uint64_t kMaxUserBytes = 64u << 20;

UINT fvfSize(DWORD fvf) {
    UINT size = (fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW ? 16 : 12;
    if (fvf & D3DFVF_NORMAL) size += 12;
    if (fvf & D3DFVF_DIFFUSE) size += 4;
    size += 8 * ((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT);
    return size;
}

uint8_t stageOp(DWORD op) {
    switch (op) {
    case D3DTOP_SELECTARG1: return OP_SELECTARG1;
    case D3DTOP_SELECTARG2: return OP_SELECTARG2;
    case D3DTOP_MODULATE: return OP_MODULATE;
    case D3DTOP_BLENDCURRENTALPHA: return OP_BLENDCURRENTALPHA;
    default: return OP_DISABLE;
    }
}

uint8_t stageArg(DWORD arg) {
    switch (arg & D3DTA_SELECTMASK) {
    case D3DTA_CURRENT: return ARG_CURRENT;
    case D3DTA_TEXTURE: return ARG_TEXTURE;
    default: return ARG_DIFFUSE;
    }
}

bool usesArg1(uint8_t op) { return op != OP_DISABLE && op != OP_SELECTARG2; }
bool usesArg2(uint8_t op) { return op != OP_DISABLE && op != OP_SELECTARG1; }

// The alpha test's outcome for an eight-bit alpha a8.
bool passes(uint8_t func, float a8, float ref) {
    switch (func) {
    case D3DCMP_LESS: return a8 < ref;
    case D3DCMP_EQUAL: return a8 == ref;
    case D3DCMP_LESSEQUAL: return a8 <= ref;
    case D3DCMP_GREATER: return a8 > ref;
    case D3DCMP_NOTEQUAL: return a8 != ref;
    case D3DCMP_GREATEREQUAL: return a8 >= ref;
    case D3DCMP_ALWAYS: return true;
    default: return false;
    }
}

// A blend factor with the source alpha known to be 1.
GLenum atFullAlpha(GLenum factor) {
    if (factor == GL_SRC_ALPHA) return GL_ONE;
    if (factor == GL_ONE_MINUS_SRC_ALPHA) return GL_ZERO;
    return factor;
}

// out = a * b, Direct3D row-major matrices.
void multiply(const D3DMATRIX& a, const D3DMATRIX& b, float* out) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            out[r * 4 + c] = a.m[r][0] * b.m[0][c] + a.m[r][1] * b.m[1][c] + a.m[r][2] * b.m[2][c] +
                             a.m[r][3] * b.m[3][c];
}

// Normals transform with the inverse transpose of the world-view matrix's
// 3x3 block (Direct3D's fixed function); out is row-major 4x4, 3x3 filled.
void normalMatrix(const float* wv, float* out) {
    const float a = wv[0], b = wv[1], c = wv[2];
    const float d = wv[4], e = wv[5], f = wv[6];
    const float g = wv[8], h = wv[9], i = wv[10];
    const float A = e * i - f * h, B = -(d * i - f * g), C = d * h - e * g;
    float det = a * A + b * B + c * C;
    for (int k = 0; k < 16; ++k) out[k] = 0.0f;
    if (det == 0.0f) return;
    float s = 1.0f / det;
    // inverse = adjugate / det; its transpose is the cofactor matrix / det.
    out[0] = A * s;
    out[1] = B * s;
    out[2] = C * s;
    out[4] = -(b * i - c * h) * s;
    out[5] = (a * i - c * g) * s;
    out[6] = -(a * h - b * g) * s;
    out[8] = (b * f - c * e) * s;
    out[9] = -(a * f - c * d) * s;
    out[10] = (a * e - b * d) * s;
}

void copyColor(const D3DCOLORVALUE& c, float* out) {
    out[0] = c.r;
    out[1] = c.g;
    out[2] = c.b;
    out[3] = c.a;
}

}  // namespace

void Device::applyProgram() {
    ShaderKey k{};
    bool rhw = (m_fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW;
    unsigned sets = (m_fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    k.rhw = rhw;
    k.normal = !rhw && (m_fvf & D3DFVF_NORMAL) != 0;
    k.diffuse = (m_fvf & D3DFVF_DIFFUSE) != 0;
    k.texSets = static_cast<uint8_t>(sets < kStages ? sets : kStages);
    // Pre-transformed vertices are never lit.
    k.lighting = !rhw && renderState(D3DRS_LIGHTING) != FALSE;
    if (k.lighting)
        for (const LightSlot& l : m_lights) k.lightCount += l.enabled;
    k.normalize = k.normal && renderState(D3DRS_NORMALIZENORMALS) != FALSE;
    DWORD alphaFunc = renderState(D3DRS_ALPHAFUNC);
    if (renderState(D3DRS_ALPHATESTENABLE) && alphaFunc != D3DCMP_ALWAYS)
        k.alphaFunc = static_cast<uint8_t>(alphaFunc);

    for (unsigned i = 0; i < kStages; ++i) {
        const StageState& s = m_stages[i];
        uint8_t colorOp = stageOp(s.colorOp);
        if (colorOp == OP_DISABLE) break;  // this stage and the later ones
        uint8_t alphaOp = stageOp(s.alphaOp);
        StageKey& st = k.stage[i];
        st.colorOp = colorOp;
        st.alphaOp = alphaOp;
        if (usesArg1(colorOp)) st.colorArg1 = stageArg(s.colorArg1);
        if (usesArg2(colorOp)) st.colorArg2 = stageArg(s.colorArg2);
        if (usesArg1(alphaOp)) st.alphaArg1 = stageArg(s.alphaArg1);
        if (usesArg2(alphaOp)) st.alphaArg2 = stageArg(s.alphaArg2);
        bool readsTexture = st.colorArg1 == ARG_TEXTURE || st.colorArg2 == ARG_TEXTURE ||
                            st.alphaArg1 == ARG_TEXTURE || st.alphaArg2 == ARG_TEXTURE;
        if (readsTexture) {
            // A stage that reads a texture with none bound is off, and so are
            // the stages after it.
            if (!m_textures[i]) {
                st = StageKey{};
                break;
            }
            st.texKind = m_textureObjects[i]->store().cube() ? TEX_CUBE : TEX_2D;
            st.reflect = (s.texCoordIndex & 0xFFFF0000u) == D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR;
            st.coordSet = st.reflect ? 0 : static_cast<uint8_t>(s.texCoordIndex & 0xFFFFu);
        }
        k.stageCount = static_cast<uint8_t>(i + 1);
    }

    // Whether every fragment's alpha is one known value: each stage's alpha
    // then comes from textures without alpha (1), a diffuse alpha that is
    // the same at every vertex, or both. Then the alpha test has a fixed
    // outcome (no per-pixel test when it passes), and with an alpha of 1
    // blending by source alpha is a plain write (applyFixedState).
    struct Known {
        bool known;
        float value;
    };
    Known diffuse{!k.diffuse, 1.0f};
    if (k.lighting && !k.diffuse) diffuse.value = std::min(1.0f, std::max(0.0f, m_material.Diffuse.a));
    Known alpha = diffuse;
    for (unsigned i = 0; i < k.stageCount; ++i) {
        const StageKey& st = k.stage[i];
        Known current = alpha;
        auto value = [&](uint8_t arg) {
            if (arg == ARG_CURRENT) return current;
            if (arg == ARG_TEXTURE) return Known{m_textureObjects[i]->store().format().opaque, 1.0f};
            return diffuse;
        };
        Known a1 = value(st.alphaArg1), a2 = value(st.alphaArg2);
        switch (st.alphaOp) {
        case OP_SELECTARG1: alpha = a1; break;
        case OP_SELECTARG2: alpha = a2; break;
        case OP_MODULATE: alpha = Known{a1.known && a2.known, a1.value * a2.value}; break;
        case OP_BLENDCURRENTALPHA:
            alpha = Known{a1.known && a2.known && current.known,
                          a2.value + (a1.value - a2.value) * current.value};
            break;
        default: break;
        }
    }
    // The test compares floor(alpha * 255 + 0.5): decided here only where
    // an interpolation's last-bit error cannot move that value.
    if (alpha.known && k.alphaFunc) {
        float scaled = alpha.value * 255.0f + 0.5f;
        bool clear = scaled - std::floor(scaled) > 0.01f && std::ceil(scaled) - scaled > 0.01f;
        if (alpha.value == 1.0f || clear) {
            float a8 = alpha.value == 1.0f ? 255.0f : std::floor(scaled);
            if (passes(k.alphaFunc, a8, m_uniforms.alphaRef[0])) k.alphaFunc = 0;
        }
    }
    bool alphaOne = alpha.known && alpha.value == 1.0f;
    if (alphaOne != m_alphaOne) {
        m_alphaOne = alphaOne;
        m_dirty |= DIRTY_BLEND;
    }

    if (k != m_key || !m_program) {
        m_key = k;
        m_program = m_programs.get(k, m_gl);
    }
    if (m_program->name) m_gl.useProgram(m_program->name);
}

void Device::computeLights() {
    unsigned n = 0;
    for (const LightSlot& slot : m_lights) {
        if (!slot.enabled) continue;
        // Towards the light, in view space.
        const D3DVECTOR& d = slot.light.Direction;
        float lx = -d.x, ly = -d.y, lz = -d.z;
        float v[3];
        for (int c = 0; c < 3; ++c) v[c] = lx * m_view.m[0][c] + ly * m_view.m[1][c] + lz * m_view.m[2][c];
        float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        float scale = length > 0.0f ? 1.0f / length : 0.0f;
        float* dir = m_uniforms.lightDirection[n];
        dir[0] = v[0] * scale;
        dir[1] = v[1] * scale;
        dir[2] = v[2] * scale;
        dir[3] = 0.0f;
        copyColor(slot.light.Diffuse, m_uniforms.lightDiffuse[n]);
        copyColor(slot.light.Ambient, m_uniforms.lightAmbient[n]);
        ++n;
    }
}

void Device::updateUniformData() {
    auto changed = [this](UniformGroup group) { m_groupVersion[group] = ++m_versionCounter; };
    if (m_dirty & DIRTY_MATRICES) {
        multiply(m_world, m_view, m_uniforms.worldView);
        normalMatrix(m_uniforms.worldView, m_uniforms.normalMatrix);
        changed(U_TRANSFORM);
    }
    if (m_dirty & DIRTY_LIGHTS) {
        computeLights();
        changed(U_LIGHTS);
    }
    if (m_dirty & DIRTY_PROJECTION) {
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) m_uniforms.projection[r * 4 + c] = m_projection.m[r][c];
        changed(U_PROJECTION);
    }
    if (m_dirty & DIRTY_MATERIAL) changed(U_MATERIAL);
    if (m_dirty & DIRTY_AMBIENT) changed(U_AMBIENT);
    if (m_dirty & DIRTY_ALPHAREF) changed(U_ALPHAREF);
    if (m_dirty & DIRTY_VIEWPORT) {
        float vx = float(m_viewport.X), vy = float(m_viewport.Y);
        float vw = float(m_viewport.Width), vh = float(m_viewport.Height);
        float nearZ = m_viewport.MinZ, farZ = m_viewport.MaxZ;
        // Screen-space vertices: pixel (x, y), y down from the top, to NDC.
        m_uniforms.screenScale[0] = 2.0f / vw;
        m_uniforms.screenScale[1] = -2.0f / vh;
        m_uniforms.screenOffset[0] = -1.0f - 2.0f * vx / vw;
        m_uniforms.screenOffset[1] = 1.0f + 2.0f * vy / vh;
        // Their z is the depth itself, which glDepthRange would map again.
        if (farZ != nearZ) {
            m_uniforms.screenScale[2] = 2.0f / (farZ - nearZ);
            m_uniforms.screenOffset[2] = -2.0f * nearZ / (farZ - nearZ) - 1.0f;
        } else {
            m_uniforms.screenScale[2] = 0.0f;
            m_uniforms.screenOffset[2] = 0.0f;
        }
        m_uniforms.screenOffset[3] = kPixelCentreShift;
        m_uniforms.clipOffset[0] = 2.0f * kPixelCentreShift / vw;
        m_uniforms.clipOffset[1] = -2.0f * kPixelCentreShift / vh;
        changed(U_SCREEN);
    }
}

void Device::uploadUniforms() {
    Program& p = *m_program;
    const uint8_t* base = reinterpret_cast<const uint8_t*>(&m_uniforms);
    for (unsigned i = 0; i < kUniformCount; ++i) {
        const UniformInfo& u = kUniforms[i];
        if (p.location[i] < 0 || p.version[u.group] == m_groupVersion[u.group]) continue;
        const float* data = reinterpret_cast<const float*>(base + u.offset);
        GLsizei count = u.group == U_LIGHTS ? GLsizei(m_key.lightCount) : GLsizei(u.count);
        if (count == 0) continue;
        if (u.matrix)
            glUniformMatrix4fv(p.location[i], count, GL_FALSE, data);
        else
            glUniform4fv(p.location[i], count, data);
        ++g_counters.stateChanges;
    }
    for (unsigned g = 0; g < kUniformGroups; ++g) p.version[g] = m_groupVersion[g];
}

void Device::applyFixedState() {
    GLenum value;
    if (m_dirty & DIRTY_DEPTH) {
        bool depth = renderState(D3DRS_ZENABLE) != D3DZB_FALSE && m_depthBuffer != 0;
        m_gl.depthTest(depth);
        m_gl.depthMask(renderState(D3DRS_ZWRITEENABLE) != FALSE);
        if (glFromD3DCmp(renderState(D3DRS_ZFUNC), &value)) m_gl.depthFunc(value);
    }
    if (m_dirty & DIRTY_BLEND) {
        GLenum src = GL_ONE, dst = GL_ZERO, op = GL_FUNC_ADD;
        glFromD3DBlend(renderState(D3DRS_SRCBLEND), &src);
        glFromD3DBlend(renderState(D3DRS_DESTBLEND), &dst);
        glFromD3DBlendOp(renderState(D3DRS_BLENDOP), &op);
        if (m_alphaOne) {
            src = atFullAlpha(src);
            dst = atFullAlpha(dst);
        }
        // A blend that writes the source as it is costs a read of every
        // pixel for nothing: off.
        bool copy = src == GL_ONE && dst == GL_ZERO && (op == GL_FUNC_ADD || op == GL_FUNC_SUBTRACT);
        bool on = renderState(D3DRS_ALPHABLENDENABLE) != FALSE && !copy;
        m_gl.blend(on);
        if (on) {
            m_gl.blendFunc(src, dst);
            m_gl.blendEquation(op);
        }
    }
    if (m_dirty & DIRTY_CULL) {
        // No y-flip between Direct3D's screen and GL's window, so clockwise
        // stays clockwise.
        switch (renderState(D3DRS_CULLMODE)) {
        case D3DCULL_CW: m_gl.cull(GL_CW, GL_FRONT); break;
        case D3DCULL_CCW: m_gl.cull(GL_CW, GL_BACK); break;
        default: m_gl.cull(0, 0); break;
        }
    }
    if (m_dirty & DIRTY_VIEWPORT) {
        GLint height = GLint(m_params.BackBufferHeight);
        m_gl.viewport(GLint(m_viewport.X), height - GLint(m_viewport.Y) - GLint(m_viewport.Height),
                      GLsizei(m_viewport.Width), GLsizei(m_viewport.Height));
        m_gl.depthRange(m_viewport.MinZ, m_viewport.MaxZ);
    }
}

bool Device::applyTextures() {
    for (unsigned i = 0; i < m_key.stageCount; ++i) {
        if (m_key.stage[i].texKind == TEX_NONE) continue;
        m_textureObjects[i]->store().prepare(m_gl, i, m_generation);
        if (m_samplerDirty & (1u << i)) {
            const SamplerState& s = m_samplerStates[i];
            GLenum u = GL_REPEAT, v = GL_REPEAT, mag = GL_NEAREST, min = GL_NEAREST;
            glFromD3DAddress(s.addressU, &u);
            glFromD3DAddress(s.addressV, &v);
            glFromD3DMagFilter(s.magFilter, &mag);
            glFromD3DMinFilter(s.minFilter, s.mipFilter, &min);
            glSamplerParameteri(m_samplers[i], GL_TEXTURE_WRAP_S, GLint(u));
            glSamplerParameteri(m_samplers[i], GL_TEXTURE_WRAP_T, GLint(v));
            glSamplerParameteri(m_samplers[i], GL_TEXTURE_WRAP_R, GLint(v));
            glSamplerParameteri(m_samplers[i], GL_TEXTURE_MAG_FILTER, GLint(mag));
            glSamplerParameteri(m_samplers[i], GL_TEXTURE_MIN_FILTER, GLint(min));
            g_counters.stateChanges += 5;
            m_samplerDirty &= ~(1u << i);
        }
    }
    return true;
}

HRESULT Device::beginDraw() {
    if (!m_inScene) return D3DERR_INVALIDCALL;
    if (!m_fvf) return D3DERR_INVALIDCALL;
    // Without a context (a reset that failed) draws do nothing, as on a lost device.
    if (!makeCurrent()) return S_FALSE;
    m_gl.bindDrawFramebuffer(m_fbo);
    if ((m_dirty & DIRTY_PROGRAM) || !m_program) applyProgram();
    if (!m_program->name) return D3DERR_DRIVERINTERNALERROR;
    if (m_dirty & DIRTY_UNIFORMS) updateUniformData();
    uploadUniforms();
    applyFixedState();
    applyTextures();
    m_dirty = 0;
    return D3D_OK;
}

void Device::applyVertexLayout(GLuint buffer, UINT offset, UINT stride) {
    if (m_layout.buffer == buffer && m_layout.offset == offset && m_layout.stride == stride &&
        m_layout.fvf == m_fvf && m_layout.generation == m_generation &&
        m_layout.deletions == m_gl.bufferDeletions())
        return;
    // A new context starts with every array off.
    uint32_t enabled = m_layout.generation == m_generation ? m_layout.enabled : 0;
    m_gl.bindArrayBuffer(buffer);
    GLsizei s = GLsizei(stride);
    uintptr_t at = offset;
    uint32_t wanted = 0;
    auto pointer = [&](GLuint location, GLint size, GLenum type, GLboolean normalized, UINT bytes) {
        glVertexAttribPointer(location, size, type, normalized, s, reinterpret_cast<const void*>(at));
        ++g_counters.stateChanges;
        wanted |= 1u << location;
        at += bytes;
    };
    bool rhw = (m_fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW;
    pointer(0, rhw ? 4 : 3, GL_FLOAT, GL_FALSE, rhw ? 16 : 12);
    if (m_fvf & D3DFVF_NORMAL) pointer(1, 3, GL_FLOAT, GL_FALSE, 12);
    // A D3DCOLOR is B, G, R, A in memory.
    if (m_fvf & D3DFVF_DIFFUSE) pointer(2, GLProfile::colorAttributeSize(), GL_UNSIGNED_BYTE, GL_TRUE, 4);
    unsigned sets = (m_fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    for (unsigned i = 0; i < kStages && i < sets; ++i) pointer(3 + i, 2, GL_FLOAT, GL_FALSE, 8);
    for (GLuint location = 0; location < 3 + kStages; ++location) {
        uint32_t bit = 1u << location;
        if ((wanted & bit) == (enabled & bit)) continue;
        if (wanted & bit)
            glEnableVertexAttribArray(location);
        else
            glDisableVertexAttribArray(location);
        ++g_counters.stateChanges;
    }
    m_layout = Layout{buffer, offset, stride, m_fvf, m_generation, m_gl.bufferDeletions(), wanted};
}

HRESULT Device::checkVertexRange(UINT first, uint64_t count, UINT stride, UINT offset,
                                 UINT bufferSize) const {
    if (count == 0) return D3DERR_INVALIDCALL;
    uint64_t end = uint64_t{offset} + (uint64_t{first} + count - 1) * stride + fvfSize(m_fvf);
    return end <= bufferSize ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
    GLenum mode;
    uint64_t count;
    if (!glFromD3DPrimitive(type, primitiveCount, &mode, &count) || primitiveCount == 0)
        return D3DERR_INVALIDCALL;
    if (!m_stream || m_streamStride == 0) return D3DERR_INVALIDCALL;
    if (FAILED(checkVertexRange(startVertex, count, m_streamStride, m_streamOffset,
                                m_stream->store().size())))
        return D3DERR_INVALIDCALL;
    HRESULT hr = beginDraw();
    if (hr != D3D_OK) return SUCCEEDED(hr) ? D3D_OK : hr;
    GLuint buffer = m_stream->store().prepare(m_gl, false, m_generation);
    applyVertexLayout(buffer, m_streamOffset, m_streamStride);
    glDrawArrays(mode, GLint(startVertex), GLsizei(count));
    ++g_counters.drawCalls;
    if (g_capture)
        captureDraw(mode, m_stream->store().data() + m_streamOffset, m_streamStride, nullptr, 0, startVertex,
                    UINT(count), 0);
    return D3D_OK;
}

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex,
                                     UINT numVertices, UINT startIndex, UINT primitiveCount) {
    GLenum mode;
    uint64_t count;
    if (!glFromD3DPrimitive(type, primitiveCount, &mode, &count) || primitiveCount == 0)
        return D3DERR_INVALIDCALL;
    if (!m_stream || m_streamStride == 0 || !m_indices || numVertices == 0) return D3DERR_INVALIDCALL;
    UINT indexSize = m_indices->indexSize();
    if ((uint64_t{startIndex} + count) * indexSize > m_indices->store().size()) return D3DERR_INVALIDCALL;
    // The vertices the caller says the indices reach must lie in the buffer,
    // and so must those the indices do reach: GL would read past its end.
    int64_t firstVertex = int64_t{baseVertexIndex} + minVertexIndex;
    if (firstVertex < 0 ||
        FAILED(checkVertexRange(UINT(firstVertex), numVertices, m_streamStride, m_streamOffset,
                                m_stream->store().size())))
        return D3DERR_INVALIDCALL;
    int64_t lastVertex = int64_t{baseVertexIndex} + m_indices->maxIndex(startIndex, UINT(count));
    if (lastVertex < 0 ||
        FAILED(checkVertexRange(UINT(lastVertex), 1, m_streamStride, m_streamOffset, m_stream->store().size())))
        return D3DERR_INVALIDCALL;
    HRESULT hr = beginDraw();
    if (hr != D3D_OK) return SUCCEEDED(hr) ? D3D_OK : hr;
    GLuint buffer = m_stream->store().prepare(m_gl, false, m_generation);
    // Without a base vertex in the draw, the attributes start at it instead
    // (it is at or after the buffer's start: the first vertex is checked).
    INT base = baseVertexIndex;
    int64_t layoutOffset = m_streamOffset;
    if (!GLProfile::drawsBaseVertex()) {
        layoutOffset += int64_t{base} * m_streamStride;
        base = 0;
        if (layoutOffset < 0) return D3DERR_INVALIDCALL;
    }
    applyVertexLayout(buffer, UINT(layoutOffset), m_streamStride);
    m_indices->store().prepare(m_gl, true, m_generation);
    GLProfile::drawElements(mode, GLsizei(count), indexSize == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT,
                            uintptr_t{startIndex} * indexSize, base);
    ++g_counters.drawCalls;
    if (g_capture)
        captureDraw(mode, m_stream->store().data() + m_streamOffset, m_streamStride,
                    m_indices->store().data(), indexSize, startIndex, UINT(count), baseVertexIndex);
    return D3D_OK;
}

HRESULT Device::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices,
                                UINT stride) {
    GLenum mode;
    uint64_t count;
    if (!glFromD3DPrimitive(type, primitiveCount, &mode, &count) || primitiveCount == 0 || !vertices)
        return D3DERR_INVALIDCALL;
    if (stride == 0 || stride < fvfSize(m_fvf) || count * stride > kMaxUserBytes) return D3DERR_INVALIDCALL;
    HRESULT hr = beginDraw();
    if (SUCCEEDED(hr) && hr != S_FALSE) {
        UINT bytes = UINT(count * stride);
        // A ring in one GL buffer: each draw goes after the last at a whole
        // multiple of the stride, so the attribute pointers (at offset 0) stay
        // valid and the draw starts at a vertex index. When full, the buffer
        // is orphaned and filled again from the start.
        UINT first = (m_streamBufferUsed + stride - 1) / stride;
        UINT offset = first * stride;
        m_gl.bindArrayBuffer(m_streamBuffer);
        if (bytes > m_streamBufferSize || uint64_t{offset} + bytes > m_streamBufferSize) {
            if (bytes > m_streamBufferSize) {
                UINT size = m_streamBufferSize ? m_streamBufferSize : 256u << 10;
                while (size < bytes) size *= 2;
                m_streamBufferSize = size;
            }
            glBufferData(GL_ARRAY_BUFFER, m_streamBufferSize, nullptr, GL_STREAM_DRAW);
            first = offset = 0;
        }
        glBufferSubData(GL_ARRAY_BUFFER, offset, bytes, vertices);
        ++g_counters.uploads;
        m_streamBufferUsed = offset + bytes;
        applyVertexLayout(m_streamBuffer, 0, stride);
        glDrawArrays(mode, GLint(first), GLsizei(count));
        ++g_counters.drawCalls;
        if (g_capture)
            captureDraw(mode, static_cast<const uint8_t*>(vertices), stride, nullptr, 0, 0, UINT(count), 0);
    }
    // As in Direct3D, drawing from user memory leaves stream 0 unset.
    SetStreamSource(0, nullptr, 0, 0);
    return FAILED(hr) ? hr : D3D_OK;
}

}  // namespace zvd3d
