// The puzzle block: a rounded tile whose front (+z) shows a cream sun on
// amber and whose back (-z) a pale star on blue, and its two textures.
#ifndef ARTGEN_BLOCKART_H
#define ARTGEN_BLOCKART_H

#include "Image.h"
#include "XFile.h"

namespace block {

// Blocks stand 32 units apart and each gets a random turn about z, so the
// tile's outline must stay inside a circle of radius 16 at every turn:
// a rounded square of half width 13 with 6.5-unit corners reaches 15.7.
constexpr float kHalfWidth = 13.0f;
constexpr float kCornerRadius = 6.5f;
constexpr float kHalfDepth = 4.0f;
constexpr float kEdgeRadius = 2.0f;

Mesh buildMesh(const char* frontTexture, const char* backTexture);
// 256 x 256 opaque face textures, mapped flat over the tile's x-y extent.
Image paintFace(bool front, int size);

}  // namespace block

#endif
