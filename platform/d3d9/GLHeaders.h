// The OpenGL entry points the device calls. The backend's GLApi.h names
// them: OpenGL 3.3 core on the desktop, OpenGL ES 3.0 (WebGL 2) in the
// browser. What the two do differently is behind GLProfile.
#ifndef ZV_D3D9_GLHEADERS_H
#define ZV_D3D9_GLHEADERS_H

#include <GLApi.h>

#endif
