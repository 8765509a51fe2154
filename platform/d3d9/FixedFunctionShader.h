// GLSL text of the fixed-function pipeline for one ShaderKey.
//
// Vertex stage: world-view-projection with Direct3D's depth range (clip z
// 0..w turned into GL's -w..w) and pixel centres (geometry moved by just
// under half a pixel, so edges on integer coordinates cover the pixels they
// cover in Direct3D 9); per-vertex lighting with directional lights:
//   rgb = Ce + Ca*Ga + sum(Ca*La + Cd*Ld*clamp(dot(N, L), 0, 1)), a = Cd.a,
// clamped to [0, 1]; Cd is the vertex diffuse when the FVF has one (Direct3D's
// default colour source), else the material's. Unlit vertices take their
// diffuse, or opaque white.
// Fragment stage: the texture stages in order, then the alpha test on the
// 8-bit alpha.
#ifndef ZV_D3D9_FIXEDFUNCTIONSHADER_H
#define ZV_D3D9_FIXEDFUNCTIONSHADER_H

#include <string>

#include "ShaderKey.h"

namespace zvd3d {

void buildVertexShader(const ShaderKey& key, std::string* out);
void buildFragmentShader(const ShaderKey& key, std::string* out);

}  // namespace zvd3d

#endif
