// Where each component of a flexible vertex format sits in a vertex.
#ifndef ZV_D3DX9_XFILE_FVFLAYOUT_H
#define ZV_D3DX9_XFILE_FVFLAYOUT_H

#include <d3d9.h>

namespace d3dxfile {

struct FvfLayout {
    DWORD fvf = 0;
    UINT stride = 0;
    int normal = -1;   // byte offset, -1 when absent
    int diffuse = -1;  // byte offset, -1 when absent
    int tex = -1;      // byte offset of the first coordinate set
    UINT texCount = 0;
};

// XYZ with optional NORMAL, DIFFUSE and up to 8 two-float coordinate sets.
// Any other format is reported once and refused (false).
bool fvfLayout(DWORD fvf, FvfLayout& out);

}  // namespace d3dxfile

#endif
