// OpenGL ES 3.0 entry points, which emscripten maps onto WebGL 2; the S3TC
// names come from the extension header (the device decodes DXT itself where
// the browser offers no S3TC).
#ifndef ZV_WEB_GLAPI_H
#define ZV_WEB_GLAPI_H

#include <GLES3/gl3.h>
#include <GLES2/gl2ext.h>

// The names the device's tables use where ES has them only as extensions
// (the same values): B, G, R, A is Direct3D's layout, which GLProfile turns
// into one WebGL takes; the robustness query fails harmlessly on WebGL.
#ifndef GL_BGRA
#define GL_BGRA GL_BGRA_EXT
#endif
#ifndef GL_RESET_NOTIFICATION_STRATEGY
#define GL_RESET_NOTIFICATION_STRATEGY GL_RESET_NOTIFICATION_STRATEGY_KHR
#define GL_LOSE_CONTEXT_ON_RESET GL_LOSE_CONTEXT_ON_RESET_KHR
#endif

#endif
