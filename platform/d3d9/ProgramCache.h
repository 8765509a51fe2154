// Linked fixed-function programs by ShaderKey. A program is built the first
// time its key is met and kept until the context goes away, so steady frames
// compile nothing and allocate nothing.
#ifndef ZV_D3D9_PROGRAMCACHE_H
#define ZV_D3D9_PROGRAMCACHE_H

#include <vector>

#include "GLHeaders.h"
#include "GLState.h"
#include "ShaderKey.h"

namespace zvd3d {

class ProgramCache {
public:
    // The program for `key`, built on a miss (and left bound then); 0 when it
    // does not build (reported once; the key is remembered as failing).
    GLuint get(const ShaderKey& key, GLState& gl);
    // Deletes the programs (when `contextAlive`) and forgets them.
    void clear(GLState& gl, bool contextAlive);
    size_t size() const { return m_entries.size(); }

private:
    struct Entry {
        ShaderKey key;
        GLuint program;
    };
    GLuint build(const ShaderKey& key, GLState& gl);

    std::vector<Entry> m_entries;
    size_t m_last = 0;  // most recent hit, tried first
};

}  // namespace zvd3d

#endif
