// Linked fixed-function programs by ShaderKey. A program is built the first
// time its key is met and kept until the context goes away, so steady frames
// compile nothing and allocate nothing.
#ifndef ZV_D3D9_PROGRAMCACHE_H
#define ZV_D3D9_PROGRAMCACHE_H

#include <memory>
#include <vector>

#include "GLHeaders.h"
#include "GLState.h"
#include "ShaderKey.h"

namespace zvd3d {

struct Program {
    ShaderKey key;
    GLuint name;                         // 0: the program did not build
    GLint location[kUniformCount];       // -1 where the program has no use for it
    uint32_t version[kUniformGroups];    // group versions last uploaded, 0 none
};

class ProgramCache {
public:
    // The program for `key`, built on a miss (and left bound then). Its name
    // is 0 when it does not build (reported once; the key stays remembered).
    // The pointer stays valid until clear().
    Program* get(const ShaderKey& key, GLState& gl);
    // Deletes the programs (when `contextAlive`) and forgets them.
    void clear(GLState& gl, bool contextAlive);
    size_t size() const { return m_programs.size(); }

private:
    void build(Program* program, GLState& gl);

    std::vector<std::unique_ptr<Program>> m_programs;
    Program* m_last = nullptr;  // most recent hit, tried first
};

}  // namespace zvd3d

#endif
