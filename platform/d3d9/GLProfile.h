// What the device does differently on desktop OpenGL 3.3 core and on
// OpenGL ES 3.0 (WebGL 2 in the browser). The build links the backend's
// GLProfile.cpp: platform/desktop/ or platform/web/.
#ifndef ZV_D3D9_GLPROFILE_H
#define ZV_D3D9_GLPROFILE_H

#include <cstdint>

#include "GLHeaders.h"

namespace zvd3d {

struct TextureFormat;

class GLProfile {
public:
    // Sets SDL's attributes for the context the device asks for.
    static void requestContext();
    // The context's name in messages ("OpenGL 3.3 core").
    static const char* contextName();
    // Whether the current context is the version asked for, or newer.
    static bool versionSupported();
    // Whether the current context reports a reset (a lost device) through
    // glGetGraphicsResetStatus.
    static bool reportsResets();

    // The first lines of every generated shader: version and precision.
    static const char* shaderPrologue();
    // A D3DCOLOR vertex attribute is B, G, R, A bytes: the size argument of
    // glVertexAttribPointer that fetches it, and the swizzle that then gives
    // R, G, B, A in the shader ("" where the fetch already does).
    static GLint colorAttributeSize();
    static const char* colorAttributeSwizzle();

    // One image of a texture in an uncompressed format, from Direct3D's
    // memory layout; `create` allocates the level, else it is replaced.
    static void uploadTexture(GLenum image, GLint level, const TextureFormat& format, GLsizei width,
                              GLsizei height, const void* pixels, bool create);
    // Called once for a new texture of a format without alpha (X8R8G8B8):
    // makes it sample alpha as 1.
    static void makeAlphaOpaque(GLenum target);

    // Reads the bound read framebuffer, bottom row first, as Direct3D's
    // X8R8G8B8 (B, G, R, X bytes) or R5G6B5 (16-bit words).
    static void readPixels(GLsizei width, GLsizei height, bool x8r8g8b8, void* out);

    // Once for a new context: what the device relies on that is not the
    // default (cube maps sampled across their seams, as Direct3D does).
    static void prepareContext();
    static void clearDepth(float depth);
    static void depthRange(float nearZ, float farZ);

    // Whether drawElements honours a base vertex. Without it the device
    // points the vertex attributes at the base vertex instead.
    static bool drawsBaseVertex();
    static void drawElements(GLenum mode, GLsizei count, GLenum indexType, uintptr_t indexOffset,
                             GLint baseVertex);
};

}  // namespace zvd3d

#endif
