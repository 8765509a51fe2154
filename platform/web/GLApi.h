// OpenGL ES 3.0 entry points, which emscripten maps onto WebGL 2; the S3TC
// names come from the extension header (the device decodes DXT itself where
// the browser offers no S3TC).
#ifndef ZV_WEB_GLAPI_H
#define ZV_WEB_GLAPI_H

#include <GLES3/gl3.h>
#include <GLES2/gl2ext.h>

// The texture table names Direct3D's B, G, R, A layout with the desktop's
// name, which ES has only as an extension (the same value); GLProfile turns
// such texels into a layout WebGL takes.
#ifndef GL_BGRA
#define GL_BGRA GL_BGRA_EXT
#endif

#endif
