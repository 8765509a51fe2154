// The memory of a vertex or index buffer: a system-memory copy that locks
// hand out, and its GL buffer, brought up to date (only the range written
// since) when a draw uses it.
#ifndef ZV_D3D9_BUFFERSTORE_H
#define ZV_D3D9_BUFFERSTORE_H

#include <cstdint>
#include <vector>

#include <d3d9.h>

#include "GLHeaders.h"
#include "GLState.h"

namespace zvd3d {

class BufferStore {
public:
    explicit BufferStore(UINT size) : m_data(size) {}

    UINT size() const { return static_cast<UINT>(m_data.size()); }
    const uint8_t* data() const { return m_data.data(); }
    // offset/size as IDirect3DVertexBuffer9::Lock; size 0 means to the end.
    HRESULT lock(UINT offset, UINT size, void** data, DWORD flags);
    HRESULT unlock();

    // The GL buffer of the context of `generation`, created or updated as
    // needed, and left bound to its target (GL_ARRAY_BUFFER or
    // GL_ELEMENT_ARRAY_BUFFER).
    GLuint prepare(GLState& gl, bool elements, unsigned generation);
    // Deletes the GL buffer if it belongs to the context of `generation`.
    void releaseGL(GLState& gl, unsigned generation);

private:
    std::vector<uint8_t> m_data;
    UINT m_dirtyBegin = 0;
    UINT m_dirtyEnd = 0;
    int m_locks = 0;
    GLuint m_name = 0;
    unsigned m_generation = 0;
};

}  // namespace zvd3d

#endif
