// OpenGL 3.3 core entry points, linked directly (GL_GLEXT_PROTOTYPES): the
// GL library dispatches to whichever context SDL made current.
#ifndef ZV_DESKTOP_GLAPI_H
#define ZV_DESKTOP_GLAPI_H

#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/gl.h>
#include <GL/glext.h>

#endif
