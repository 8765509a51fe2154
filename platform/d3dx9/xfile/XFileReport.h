// Once-only reports of .x and mesh corners this layer does not implement, so
// an unexpected format shows up without flooding the output.
#ifndef ZV_D3DX9_XFILE_XFILEREPORT_H
#define ZV_D3DX9_XFILE_XFILEREPORT_H

namespace d3dxfile {

// Writes "d3dx9 mesh: unhandled <what> <value>" to stderr the first time a
// given (what, value) pair is seen.
void reportUnhandled(const char* what, unsigned long value);

}  // namespace d3dxfile

#endif
