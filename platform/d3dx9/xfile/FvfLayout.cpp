#include "FvfLayout.h"

#include "XFileReport.h"

namespace d3dxfile {

bool fvfLayout(DWORD fvf, FvfLayout& out) {
    const DWORD known = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEXCOUNT_MASK;
    const UINT texCount = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if ((fvf & D3DFVF_POSITION_MASK) != D3DFVF_XYZ || (fvf & ~known) != 0 || texCount > 8) {
        reportUnhandled("mesh FVF", fvf);
        return false;
    }
    out = FvfLayout();
    out.fvf = fvf;
    UINT offset = 12;
    if (fvf & D3DFVF_NORMAL) {
        out.normal = int(offset);
        offset += 12;
    }
    if (fvf & D3DFVF_DIFFUSE) {
        out.diffuse = int(offset);
        offset += 4;
    }
    if (texCount > 0) {
        out.tex = int(offset);
        out.texCount = texCount;
        offset += 8 * texCount;
    }
    out.stride = offset;
    return true;
}

}  // namespace d3dxfile
