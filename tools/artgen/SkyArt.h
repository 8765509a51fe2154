// The sky box (an inward-facing cube whose six textures together form one
// seamless panorama of a calm night sky with a soft nebula) and the
// environment cube map that gives the blocks their sheen.
#ifndef ARTGEN_SKYART_H
#define ARTGEN_SKYART_H

#include "Image.h"
#include "XFile.h"

#include <string>

namespace sky {

// Faces in cube-map order: +X, -X, +Y, -Y, +Z, -Z.
extern const char* const kFaceNames[6];

// Direction through texture position (u, v) of a cube face, v growing down
// the stored rows; Direct3D and OpenGL share this layout.
void faceDirection(int face, float u, float v, float dir[3]);

// The inverse: where a direction meets a face, if it points towards it.
bool faceUv(int face, const float dir[3], float& u, float& v);

Image paintSkyFace(int face, int size);
// The environment is looked up with reflection vectors in camera space:
// +y is up on the screen and +z points back towards the viewer.
Image paintEnvFace(int face, int size);
// The environment's colour in a unit direction (camera space).
Rgba environment(const float dir[3]);

// A cube of the given half size seen from inside; textureNames in face order.
Mesh buildSkyMesh(float halfSize, const std::string textureNames[6], int textureSize);

}  // namespace sky

#endif
