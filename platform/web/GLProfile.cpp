// OpenGL ES 3.0, which is WebGL 2 in the browser. WebGL has no B, G, R, A
// layouts (neither for vertex colours nor for textures or read-back), no
// texture swizzle and no base vertex: colours are swizzled in the shader,
// texels are reordered on upload, and the device moves its attribute
// pointers to the base vertex.
// Direct3D's headers come before GL's (both define APIENTRY; ours defers).
#include "d3d9/GLConvert.h"
#include "d3d9/GLProfile.h"

#include <SDL.h>

#include <cstring>
#include <vector>

namespace zvd3d {

namespace {
std::vector<uint8_t> g_scratch;  // one converted image, kept between uploads
}

void GLProfile::requestContext() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
}

const char* GLProfile::contextName() { return "WebGL 2"; }

bool GLProfile::versionSupported() {
    GLint major = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    return major >= 3;
}

bool GLProfile::reportsResets() {
    return false;  // WebGL tells the page of a lost context, not the program
}

const char* GLProfile::shaderPrologue() {
    return "#version 300 es\nprecision highp float;\nprecision highp int;\n";
}

GLint GLProfile::colorAttributeSize() { return 4; }

const char* GLProfile::colorAttributeSwizzle() { return ".bgra"; }

void GLProfile::uploadTexture(GLenum image, GLint level, const TextureFormat& f, GLsizei w, GLsizei h,
                              const void* pixels, bool create) {
    GLenum format = f.format, type = f.type, internal = f.internalFormat;
    if (format == GL_BGRA) {
        // B, G, R, A (or X) bytes to R, G, B, A; an X8 format's alpha is 1.
        size_t n = size_t(w) * size_t(h);
        g_scratch.resize(n * 4);
        const uint8_t* in = static_cast<const uint8_t*>(pixels);
        uint8_t* o = g_scratch.data();
        for (size_t i = 0; i < n; ++i, in += 4, o += 4) {
            o[0] = in[2];
            o[1] = in[1];
            o[2] = in[0];
            o[3] = f.opaque ? 0xFF : in[3];
        }
        pixels = g_scratch.data();
        format = GL_RGBA;
        type = GL_UNSIGNED_BYTE;
        internal = GL_RGBA8;
    }
    if (create)
        glTexImage2D(image, level, static_cast<GLint>(internal), w, h, 0, format, type, pixels);
    else
        glTexSubImage2D(image, level, 0, 0, w, h, format, type, pixels);
}

void GLProfile::makeAlphaOpaque(GLenum) {
    // Done on upload: WebGL has no texture swizzle.
}

void GLProfile::readPixels(GLsizei w, GLsizei h, bool x8, void* out) {
    // R, G, B, A bytes are the one layout every WebGL read-back offers.
    size_t n = size_t(w) * size_t(h);
    g_scratch.resize(n * 4);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, g_scratch.data());
    const uint8_t* in = g_scratch.data();
    if (x8) {
        uint8_t* o = static_cast<uint8_t*>(out);
        for (size_t i = 0; i < n; ++i, in += 4, o += 4) {
            o[0] = in[2];
            o[1] = in[1];
            o[2] = in[0];
            o[3] = in[3];
        }
    } else {
        uint16_t* o = static_cast<uint16_t*>(out);
        for (size_t i = 0; i < n; ++i, in += 4)
            o[i] = uint16_t(((in[0] >> 3) << 11) | ((in[1] >> 2) << 5) | (in[2] >> 3));
    }
}

void GLProfile::prepareContext() {
    // ES 3.0 always samples cube maps across their seams.
}

void GLProfile::clearDepth(float depth) { glClearDepthf(depth); }

void GLProfile::depthRange(float nearZ, float farZ) { glDepthRangef(nearZ, farZ); }

bool GLProfile::drawsBaseVertex() { return false; }

void GLProfile::drawElements(GLenum mode, GLsizei count, GLenum type, uintptr_t offset, GLint) {
    glDrawElements(mode, count, type, reinterpret_cast<const void*>(offset));
}

}  // namespace zvd3d
