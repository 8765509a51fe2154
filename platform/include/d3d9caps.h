// Direct3D 9 device capabilities: the part of D3DCAPS9 the engine reads.
#ifndef ZV_PLATFORM_D3D9CAPS_H
#define ZV_PLATFORM_D3D9CAPS_H

#include <d3d9types.h>

// DevCaps bits.
#define D3DDEVCAPS_HWTRANSFORMANDLIGHT 0x00010000L
#define D3DDEVCAPS_HWRASTERIZATION 0x00080000L

// The leading fields of the SDK's D3DCAPS9, in its order; the later fields
// (limits of textures, stages, shaders) are left out on this platform.
typedef struct _D3DCAPS9 {
    D3DDEVTYPE DeviceType;
    UINT AdapterOrdinal;
    DWORD Caps;
    DWORD Caps2;
    DWORD Caps3;
    DWORD PresentationIntervals;
    DWORD CursorCaps;
    DWORD DevCaps;
} D3DCAPS9;

#endif
