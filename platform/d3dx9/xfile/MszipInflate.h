// MSZIP decompression of the body of a compressed .x file ("tzip"/"bzip").
#ifndef ZV_D3DX9_XFILE_MSZIPINFLATE_H
#define ZV_D3DX9_XFILE_MSZIPINFLATE_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace d3dxfile {

// `data` is the file from byte 16 on: a DWORD holding the uncompressed size
// including the 16-byte header, then chunks of {WORD uncompressed size (at
// most 32 KiB), WORD compressed size counting the "CK" signature, "CK", raw
// deflate data}. Each chunk continues the previous chunk's history, so it is
// inflated with the last 32 KiB of output as its dictionary.
// Returns false (and leaves `out` empty) for a truncated or corrupt chunk, a
// chunk whose sizes do not match its data, or a total that differs from the
// stated size.
bool inflateMszip(const uint8_t* data, size_t size, std::vector<uint8_t>& out);

}  // namespace d3dxfile

#endif
