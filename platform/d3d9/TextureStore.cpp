#include "TextureStore.h"

#include "Counters.h"
#include "GLProfile.h"

namespace zvd3d {

HRESULT TextureStore::init(const TextureFormat* format, UINT width, UINT height, UINT levels,
                           unsigned faces) {
    if (!format || width == 0 || height == 0 || width > kMaxSize || height > kMaxSize)
        return D3DERR_INVALIDCALL;
    UINT chain = 1;
    for (UINT size = width > height ? width : height; size > 1; size >>= 1) ++chain;
    if (levels == 0) levels = chain;
    if (levels > chain) return D3DERR_INVALIDCALL;

    m_format = format;
    m_faces = faces;
    m_levelCount = levels;
    size_t offset = 0;
    for (UINT i = 0; i < levels; ++i) {
        Level& l = m_levels[i];
        l.width = width >> i ? width >> i : 1;
        l.height = height >> i ? height >> i : 1;
        l.pitch = rowBytes(*format, l.width);
        l.rows = rowCount(*format, l.height);
        l.offset = offset;
        offset += size_t{l.pitch} * l.rows;
    }
    // A bound on memory well above the game's needs.
    if (offset * faces > (size_t{1} << 30)) return D3DERR_OUTOFVIDEOMEMORY;
    m_faceBytes = offset;
    m_data.assign(m_faceBytes * faces, 0);
    return D3D_OK;
}

HRESULT TextureStore::lock(unsigned face, UINT level, D3DLOCKED_RECT* locked, const RECT* rect,
                           DWORD flags) {
    if (!locked || face >= m_faces || level >= m_levelCount) return D3DERR_INVALIDCALL;
    uint16_t bit = static_cast<uint16_t>(1u << level);
    if (m_locked[face] & bit) return D3DERR_INVALIDCALL;
    const Level& l = m_levels[level];
    UINT left = 0, top = 0;
    if (rect) {
        if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right ||
            rect->top >= rect->bottom || UINT(rect->right) > l.width || UINT(rect->bottom) > l.height)
            return D3DERR_INVALIDCALL;
        left = rect->left;
        top = rect->top;
        // Block formats lock whole blocks.
        if (left % m_format->blockSize || top % m_format->blockSize) return D3DERR_INVALIDCALL;
    }
    m_locked[face] |= bit;
    if (!(flags & D3DLOCK_READONLY)) m_dirty[face] |= bit;
    uint8_t* base = m_data.data() + m_faceBytes * face + l.offset;
    locked->Pitch = static_cast<INT>(l.pitch);
    locked->pBits = base + size_t{top / m_format->blockSize} * l.pitch +
                    size_t{left / m_format->blockSize} * m_format->blockBytes;
    return D3D_OK;
}

HRESULT TextureStore::unlock(unsigned face, UINT level) {
    if (face >= m_faces || level >= m_levelCount) return D3DERR_INVALIDCALL;
    uint16_t bit = static_cast<uint16_t>(1u << level);
    if (!(m_locked[face] & bit)) return D3DERR_INVALIDCALL;
    m_locked[face] &= static_cast<uint16_t>(~bit);
    return D3D_OK;
}

void TextureStore::describe(UINT level, DWORD usage, D3DPOOL pool, D3DSURFACE_DESC* desc) const {
    desc->Format = m_format->d3d;
    desc->Type = D3DRTYPE_SURFACE;
    desc->Usage = usage;
    desc->Pool = pool;
    desc->MultiSampleType = D3DMULTISAMPLE_NONE;
    desc->MultiSampleQuality = 0;
    desc->Width = m_levels[level].width;
    desc->Height = m_levels[level].height;
}

void TextureStore::upload(unsigned face, UINT level, bool create) {
    const Level& l = m_levels[level];
    const uint8_t* pixels = m_data.data() + m_faceBytes * face + l.offset;
    GLenum image = m_faces == 6 ? GL_TEXTURE_CUBE_MAP_POSITIVE_X + face : GL_TEXTURE_2D;
    GLint lv = static_cast<GLint>(level);
    GLsizei w = static_cast<GLsizei>(l.width), h = static_cast<GLsizei>(l.height);
    if (m_format->blockSize > 1) {
        GLsizei bytes = static_cast<GLsizei>(size_t{l.pitch} * l.rows);
        if (create)
            glCompressedTexImage2D(image, lv, m_format->internalFormat, w, h, 0, bytes, pixels);
        else
            glCompressedTexSubImage2D(image, lv, 0, 0, w, h, m_format->internalFormat, bytes, pixels);
    } else {
        GLProfile::uploadTexture(image, lv, *m_format, w, h, pixels, create);
    }
    ++g_counters.uploads;
}

GLuint TextureStore::prepare(GLState& gl, unsigned unit, unsigned generation) {
    if (m_generation != generation || !m_name) {
        glGenTextures(1, &m_name);
        m_generation = generation;
        gl.bindTexture(unit, target(), m_name);
        glTexParameteri(target(), GL_TEXTURE_BASE_LEVEL, 0);
        glTexParameteri(target(), GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(m_levelCount) - 1);
        // Formats without alpha sample alpha as 1, as in Direct3D.
        if (m_format->opaque) GLProfile::makeAlphaOpaque(target());
        for (unsigned f = 0; f < m_faces; ++f) {
            for (UINT level = 0; level < m_levelCount; ++level) upload(f, level, true);
            m_dirty[f] = 0;
        }
        return m_name;
    }
    gl.bindTexture(unit, target(), m_name);
    for (unsigned f = 0; f < m_faces; ++f) {
        if (!m_dirty[f]) continue;
        for (UINT level = 0; level < m_levelCount; ++level)
            if (m_dirty[f] & (1u << level)) upload(f, level, false);
        m_dirty[f] = 0;
    }
    return m_name;
}

void TextureStore::releaseGL(GLState& gl, unsigned generation) {
    if (m_name && m_generation == generation) {
        gl.forgetTexture(m_name);
        glDeleteTextures(1, &m_name);
    }
    m_name = 0;
}

}  // namespace zvd3d
