// Once-only reports of image corners this layer does not implement, so an
// unexpected file or surface format is visible without flooding the output.
#ifndef ZV_D3DX9_IMAGE_IMAGEREPORT_H
#define ZV_D3DX9_IMAGE_IMAGEREPORT_H

namespace d3dximage {

// Writes "d3dx9 image: unhandled <what> <value>" to stderr the first time a
// given (what, value) pair is seen.
void reportUnhandled(const char* what, unsigned long value);

}  // namespace d3dximage

#endif
