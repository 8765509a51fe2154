#include "BufferStore.h"

#include "Counters.h"

namespace zvd3d {

HRESULT BufferStore::lock(UINT offset, UINT size, void** data, DWORD flags) {
    if (!data) return D3DERR_INVALIDCALL;
    UINT total = this->size();
    if (offset > total) return D3DERR_INVALIDCALL;
    if (size == 0) size = total - offset;
    if (size > total - offset) return D3DERR_INVALIDCALL;
    if (!(flags & D3DLOCK_READONLY) && size) {
        if (m_dirtyBegin == m_dirtyEnd) {
            m_dirtyBegin = offset;
            m_dirtyEnd = offset + size;
        } else {
            if (offset < m_dirtyBegin) m_dirtyBegin = offset;
            if (offset + size > m_dirtyEnd) m_dirtyEnd = offset + size;
        }
    }
    ++m_locks;
    *data = m_data.data() + offset;
    return D3D_OK;
}

HRESULT BufferStore::unlock() {
    if (m_locks == 0) return D3DERR_INVALIDCALL;
    --m_locks;
    return D3D_OK;
}

GLuint BufferStore::prepare(GLState& gl, bool elements, unsigned generation) {
    GLenum target = elements ? GL_ELEMENT_ARRAY_BUFFER : GL_ARRAY_BUFFER;
    if (m_generation != generation || !m_name) {
        // A new context (or the first use): the whole copy goes up.
        glGenBuffers(1, &m_name);
        m_generation = generation;
        if (elements)
            gl.bindElementBuffer(m_name);
        else
            gl.bindArrayBuffer(m_name);
        glBufferData(target, static_cast<GLsizeiptr>(m_data.size()), m_data.data(), GL_STATIC_DRAW);
        ++g_counters.uploads;
        m_dirtyBegin = m_dirtyEnd = 0;
        return m_name;
    }
    if (elements)
        gl.bindElementBuffer(m_name);
    else
        gl.bindArrayBuffer(m_name);
    if (m_dirtyEnd > m_dirtyBegin) {
        glBufferSubData(target, m_dirtyBegin, m_dirtyEnd - m_dirtyBegin, m_data.data() + m_dirtyBegin);
        ++g_counters.uploads;
        m_dirtyBegin = m_dirtyEnd = 0;
    }
    return m_name;
}

void BufferStore::releaseGL(GLState& gl, unsigned generation) {
    if (m_name && m_generation == generation) {
        gl.forgetBuffer(m_name);
        glDeleteBuffers(1, &m_name);
    }
    m_name = 0;
}

}  // namespace zvd3d
