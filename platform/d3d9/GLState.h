// A cache of the GL context's pipeline state: each setter issues its GL call
// only when the value differs from the one last set, and counts the change.
// After a new context, invalidate() makes every next setter issue its call.
#ifndef ZV_D3D9_GLSTATE_H
#define ZV_D3D9_GLSTATE_H

#include "GLHeaders.h"

namespace zvd3d {

class GLState {
public:
    static const unsigned kUnits = 3;

    GLState() { invalidate(); }
    void invalidate();

    void depthTest(bool on);
    void depthMask(bool on);
    void depthFunc(GLenum func);
    void blend(bool on);
    void blendFunc(GLenum src, GLenum dst);
    void blendEquation(GLenum op);
    // cullFace 0 turns culling off.
    void cull(GLenum frontFace, GLenum cullFace);
    void scissorTest(bool on);
    void scissor(GLint x, GLint y, GLsizei w, GLsizei h);
    void viewport(GLint x, GLint y, GLsizei w, GLsizei h);
    void depthRange(float nearZ, float farZ);
    void colorMask(bool r, bool g, bool b, bool a);

    void useProgram(GLuint program);
    void bindTexture(unsigned unit, GLenum target, GLuint texture);
    void bindSampler(unsigned unit, GLuint sampler);
    void bindArrayBuffer(GLuint buffer);
    void bindElementBuffer(GLuint buffer);
    void bindDrawFramebuffer(GLuint fbo);
    void bindReadFramebuffer(GLuint fbo);

    // Names deleted (GL may hand them out again): drop them from the cache.
    void forgetTexture(GLuint texture);
    void forgetBuffer(GLuint buffer);
    void forgetProgram(GLuint program);
    // Counts deleted buffers, so vertex-array setups that name a buffer can
    // tell a reused name from the buffer they were made with.
    unsigned bufferDeletions() const { return m_bufferDeletions; }

private:
    void activeTexture(unsigned unit);

    int m_depthTest, m_depthMask, m_blend, m_scissorTest, m_cullOn;
    GLenum m_depthFunc, m_blendSrc, m_blendDst, m_blendOp, m_frontFace, m_cullFace;
    GLint m_scissor[4], m_viewport[4];
    float m_depthRange[2];
    int m_colorMask;
    GLuint m_program;
    unsigned m_activeUnit;
    GLuint m_texture2D[kUnits], m_textureCube[kUnits], m_sampler[kUnits];
    GLuint m_arrayBuffer, m_elementBuffer, m_drawFbo, m_readFbo;
    unsigned m_bufferDeletions = 0;
};

}  // namespace zvd3d

#endif
