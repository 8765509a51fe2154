// The D3DX 9 umbrella header: everything the engine takes from D3DX. Each part
// lives in its own header, as in D3DX; this one pulls in those that exist on
// this platform, so a part can be added without touching its neighbours.
#ifndef ZV_PLATFORM_D3DX9_H
#define ZV_PLATFORM_D3DX9_H

#include <cfloat>

#if __has_include(<d3d9.h>)
#include <d3d9.h>
#endif

// Sentinels for size, mip-level and filter arguments. A part header that
// needs one may define it too, guarded the same way.
#ifndef D3DX_DEFAULT
#define D3DX_DEFAULT ((UINT)-1)
#endif
#ifndef D3DX_DEFAULT_NONPOW2
#define D3DX_DEFAULT_NONPOW2 ((UINT)-2)
#endif
#ifndef D3DX_DEFAULT_FLOAT
#define D3DX_DEFAULT_FLOAT FLT_MAX
#endif
#ifndef D3DX_FROM_FILE
#define D3DX_FROM_FILE ((UINT)-3)
#endif

#if __has_include(<d3dx9math.h>)
#include <d3dx9math.h>
#endif
#if __has_include(<d3dx9core.h>)
#include <d3dx9core.h>
#endif
#if __has_include(<d3dx9mesh.h>)
#include <d3dx9mesh.h>
#endif
#if __has_include(<d3dx9tex.h>)
#include <d3dx9tex.h>
#endif
#if __has_include(<d3dx9anim.h>)
#include <d3dx9anim.h>
#endif

#endif
