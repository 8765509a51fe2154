// The memory of a 2-D or cube texture: every level of every face in one
// system-memory block that locks hand out, and its GL texture, created with
// all levels and then updated level by level after writes.
#ifndef ZV_D3D9_TEXTURESTORE_H
#define ZV_D3D9_TEXTURESTORE_H

#include <cstdint>
#include <vector>

#include <d3d9.h>

#include "GLConvert.h"
#include "GLState.h"

namespace zvd3d {

class TextureStore {
public:
    static const UINT kMaxSize = 16384;
    static const UINT kMaxLevels = 15;

    // levels 0 asks for the full chain. Fails with D3DERR_INVALIDCALL for a
    // size of 0, above kMaxSize, or more levels than the chain has.
    HRESULT init(const TextureFormat* format, UINT width, UINT height, UINT levels, unsigned faces);

    const TextureFormat& format() const { return *m_format; }
    UINT levelCount() const { return m_levelCount; }
    UINT width(UINT level) const { return m_levels[level].width; }
    UINT height(UINT level) const { return m_levels[level].height; }
    bool cube() const { return m_faces == 6; }

    HRESULT lock(unsigned face, UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags);
    HRESULT unlock(unsigned face, UINT level);
    void describe(UINT level, DWORD usage, D3DPOOL pool, D3DSURFACE_DESC* desc) const;

    // The GL texture of the context of `generation`, bound to `unit` and up
    // to date with every write.
    GLuint prepare(GLState& gl, unsigned unit, unsigned generation);
    void releaseGL(GLState& gl, unsigned generation);

private:
    struct Level {
        size_t offset;  // within a face
        UINT width, height, pitch, rows;
    };
    GLenum target() const { return m_faces == 6 ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D; }
    void upload(unsigned face, UINT level, bool create);

    const TextureFormat* m_format = nullptr;
    unsigned m_faces = 1;
    UINT m_levelCount = 0;
    Level m_levels[kMaxLevels] = {};
    size_t m_faceBytes = 0;
    std::vector<uint8_t> m_data;
    uint16_t m_dirty[6] = {};
    uint16_t m_locked[6] = {};
    GLuint m_name = 0;
    unsigned m_generation = 0;
};

}  // namespace zvd3d

#endif
