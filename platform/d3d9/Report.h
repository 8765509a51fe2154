// Diagnostics of the device layer.
#ifndef ZV_D3D9_REPORT_H
#define ZV_D3D9_REPORT_H

namespace zvd3d {

// Writes "d3d9: unhandled <what> <value>" to stderr the first time a
// (what, value) pair is met; later calls with the same pair stay silent.
void reportUnhandled(const char* what, unsigned long value);

// Writes a one-line failure message to stderr (GL context, shader build).
void reportFailure(const char* what, const char* detail);

}  // namespace zvd3d

#endif
