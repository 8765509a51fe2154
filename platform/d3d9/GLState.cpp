#include "GLState.h"

#include "GLProfile.h"

#include "Counters.h"

namespace zvd3d {

namespace {
// A value no GL call returns or takes, so the first setter call always runs.
const GLuint kUnknown = 0xFFFFFFFFu;

void counted() { ++g_counters.stateChanges; }

void enableCap(GLenum cap, bool on) {
    if (on)
        glEnable(cap);
    else
        glDisable(cap);
    counted();
}
}  // namespace

void GLState::invalidate() {
    m_depthTest = m_depthMask = m_blend = m_scissorTest = m_cullOn = -1;
    m_depthFunc = m_blendSrc = m_blendDst = m_blendOp = m_frontFace = m_cullFace = kUnknown;
    for (int i = 0; i < 4; ++i) m_scissor[i] = m_viewport[i] = -1;
    m_depthRange[0] = m_depthRange[1] = -1.0f;
    m_colorMask = -1;
    m_program = kUnknown;
    m_activeUnit = kUnknown;
    for (unsigned i = 0; i < kUnits; ++i)
        m_texture2D[i] = m_textureCube[i] = m_sampler[i] = kUnknown;
    m_arrayBuffer = m_elementBuffer = m_drawFbo = m_readFbo = kUnknown;
}

void GLState::depthTest(bool on) {
    if (m_depthTest == int(on)) return;
    m_depthTest = on;
    enableCap(GL_DEPTH_TEST, on);
}

void GLState::depthMask(bool on) {
    if (m_depthMask == int(on)) return;
    m_depthMask = on;
    glDepthMask(on ? GL_TRUE : GL_FALSE);
    counted();
}

void GLState::depthFunc(GLenum func) {
    if (m_depthFunc == func) return;
    m_depthFunc = func;
    glDepthFunc(func);
    counted();
}

void GLState::blend(bool on) {
    if (m_blend == int(on)) return;
    m_blend = on;
    enableCap(GL_BLEND, on);
}

void GLState::blendFunc(GLenum src, GLenum dst) {
    if (m_blendSrc == src && m_blendDst == dst) return;
    m_blendSrc = src;
    m_blendDst = dst;
    glBlendFunc(src, dst);
    counted();
}

void GLState::blendEquation(GLenum op) {
    if (m_blendOp == op) return;
    m_blendOp = op;
    glBlendEquation(op);
    counted();
}

void GLState::cull(GLenum frontFace, GLenum cullFace) {
    bool on = cullFace != 0;
    if (m_cullOn != int(on)) {
        m_cullOn = on;
        enableCap(GL_CULL_FACE, on);
    }
    if (!on) return;
    if (m_frontFace != frontFace) {
        m_frontFace = frontFace;
        glFrontFace(frontFace);
        counted();
    }
    if (m_cullFace != cullFace) {
        m_cullFace = cullFace;
        glCullFace(cullFace);
        counted();
    }
}

void GLState::scissorTest(bool on) {
    if (m_scissorTest == int(on)) return;
    m_scissorTest = on;
    enableCap(GL_SCISSOR_TEST, on);
}

void GLState::scissor(GLint x, GLint y, GLsizei w, GLsizei h) {
    if (m_scissor[0] == x && m_scissor[1] == y && m_scissor[2] == w && m_scissor[3] == h) return;
    m_scissor[0] = x;
    m_scissor[1] = y;
    m_scissor[2] = w;
    m_scissor[3] = h;
    glScissor(x, y, w, h);
    counted();
}

void GLState::viewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    if (m_viewport[0] == x && m_viewport[1] == y && m_viewport[2] == w && m_viewport[3] == h)
        return;
    m_viewport[0] = x;
    m_viewport[1] = y;
    m_viewport[2] = w;
    m_viewport[3] = h;
    glViewport(x, y, w, h);
    counted();
}

void GLState::depthRange(float nearZ, float farZ) {
    if (m_depthRange[0] == nearZ && m_depthRange[1] == farZ) return;
    m_depthRange[0] = nearZ;
    m_depthRange[1] = farZ;
    GLProfile::depthRange(nearZ, farZ);
    counted();
}

void GLState::colorMask(bool r, bool g, bool b, bool a) {
    int mask = r | g << 1 | b << 2 | a << 3;
    if (m_colorMask == mask) return;
    m_colorMask = mask;
    glColorMask(r, g, b, a);
    counted();
}

void GLState::useProgram(GLuint program) {
    if (m_program == program) return;
    m_program = program;
    glUseProgram(program);
    ++g_counters.programSwitches;
    counted();
}

void GLState::activeTexture(unsigned unit) {
    if (m_activeUnit == unit) return;
    m_activeUnit = unit;
    glActiveTexture(GL_TEXTURE0 + unit);
    counted();
}

void GLState::bindTexture(unsigned unit, GLenum target, GLuint texture) {
    GLuint* slot = target == GL_TEXTURE_CUBE_MAP ? &m_textureCube[unit] : &m_texture2D[unit];
    if (*slot == texture) return;
    *slot = texture;
    activeTexture(unit);
    glBindTexture(target, texture);
    counted();
}

void GLState::bindSampler(unsigned unit, GLuint sampler) {
    if (m_sampler[unit] == sampler) return;
    m_sampler[unit] = sampler;
    glBindSampler(unit, sampler);
    counted();
}

void GLState::bindArrayBuffer(GLuint buffer) {
    if (m_arrayBuffer == buffer) return;
    m_arrayBuffer = buffer;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    counted();
}

void GLState::bindElementBuffer(GLuint buffer) {
    if (m_elementBuffer == buffer) return;
    m_elementBuffer = buffer;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
    counted();
}

void GLState::bindDrawFramebuffer(GLuint fbo) {
    if (m_drawFbo == fbo) return;
    m_drawFbo = fbo;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, fbo);
    counted();
}

void GLState::bindReadFramebuffer(GLuint fbo) {
    if (m_readFbo == fbo) return;
    m_readFbo = fbo;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
    counted();
}

void GLState::forgetTexture(GLuint texture) {
    for (unsigned i = 0; i < kUnits; ++i) {
        if (m_texture2D[i] == texture) m_texture2D[i] = kUnknown;
        if (m_textureCube[i] == texture) m_textureCube[i] = kUnknown;
    }
}

void GLState::forgetBuffer(GLuint buffer) {
    ++m_bufferDeletions;
    if (m_arrayBuffer == buffer) m_arrayBuffer = kUnknown;
    if (m_elementBuffer == buffer) m_elementBuffer = kUnknown;
}

void GLState::forgetProgram(GLuint program) {
    if (m_program == program) m_program = kUnknown;
}

}  // namespace zvd3d
