// Desktop OpenGL 3.3 core: every Direct3D layout has a GL equivalent.
// Direct3D's headers come before GL's (both define APIENTRY; ours defers).
#include "d3d9/GLConvert.h"
#include "d3d9/GLProfile.h"

#include <SDL.h>

namespace zvd3d {

void GLProfile::requestContext() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
}

const char* GLProfile::contextName() { return "OpenGL 3.3 core"; }

bool GLProfile::versionSupported() {
    GLint major = 0, minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    return major > 3 || (major == 3 && minor >= 3);
}

bool GLProfile::reportsResets() {
    GLint strategy = 0;
    glGetIntegerv(GL_RESET_NOTIFICATION_STRATEGY, &strategy);
    return strategy == GL_LOSE_CONTEXT_ON_RESET;
}

const char* GLProfile::shaderPrologue() { return "#version 330 core\n"; }

GLint GLProfile::colorAttributeSize() { return GL_BGRA; }

const char* GLProfile::colorAttributeSwizzle() { return ""; }

void GLProfile::uploadTexture(GLenum image, GLint level, const TextureFormat& f, GLsizei w, GLsizei h,
                              const void* pixels, bool create) {
    if (create)
        glTexImage2D(image, level, static_cast<GLint>(f.internalFormat), w, h, 0, f.format, f.type, pixels);
    else
        glTexSubImage2D(image, level, 0, 0, w, h, f.format, f.type, pixels);
}

void GLProfile::makeAlphaOpaque(GLenum target) { glTexParameteri(target, GL_TEXTURE_SWIZZLE_A, GL_ONE); }

void GLProfile::readPixels(GLsizei w, GLsizei h, bool x8, void* out) {
    glReadPixels(0, 0, w, h, x8 ? GL_BGRA : GL_RGB, x8 ? GL_UNSIGNED_BYTE : GL_UNSIGNED_SHORT_5_6_5, out);
}

void GLProfile::prepareContext() { glEnable(GL_TEXTURE_CUBE_MAP_SEAMLESS); }

void GLProfile::clearDepth(float depth) { glClearDepth(depth); }

void GLProfile::depthRange(float nearZ, float farZ) { glDepthRange(nearZ, farZ); }

bool GLProfile::drawsBaseVertex() { return true; }

void GLProfile::drawElements(GLenum mode, GLsizei count, GLenum type, uintptr_t offset, GLint baseVertex) {
    glDrawElementsBaseVertex(mode, count, type, reinterpret_cast<const void*>(offset), baseVertex);
}

}  // namespace zvd3d
