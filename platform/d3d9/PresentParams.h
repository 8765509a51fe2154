// Checking of D3DPRESENT_PARAMETERS, shared by CreateDevice and Reset.
#ifndef ZV_D3D9_PRESENTPARAMS_H
#define ZV_D3D9_PRESENTPARAMS_H

#include <d3d9.h>

struct SDL_Window;

namespace zvd3d {

// Fills in what Direct3D fills in (a back buffer size of 0 takes the window's
// client size; an unknown back-buffer format in a window takes X8R8G8B8) and
// refuses with D3DERR_INVALIDCALL what this layer cannot present.
HRESULT resolvePresentParams(SDL_Window* window, D3DPRESENT_PARAMETERS* params);

}  // namespace zvd3d

#endif
