#include "ProgramCache.h"

#include <cstdio>
#include <string>

#include "Counters.h"
#include "FixedFunctionShader.h"
#include "Report.h"

namespace zvd3d {

namespace {

GLuint compile(GLenum type, const std::string& source) {
    GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[2048] = "";
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        reportFailure("fixed-function shader does not compile", log);
        std::fprintf(stderr, "%s", source.c_str());
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

GLuint ProgramCache::get(const ShaderKey& key, GLState& gl) {
    if (m_last < m_entries.size() && m_entries[m_last].key == key) return m_entries[m_last].program;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].key == key) {
            m_last = i;
            return m_entries[i].program;
        }
    }
    GLuint program = build(key, gl);
    m_entries.push_back({key, program});
    m_last = m_entries.size() - 1;
    return program;
}

GLuint ProgramCache::build(const ShaderKey& key, GLState& gl) {
    ++g_counters.shaderBuilds;
    std::string source;
    buildVertexShader(key, &source);
    GLuint vs = compile(GL_VERTEX_SHADER, source);
    buildFragmentShader(key, &source);
    GLuint fs = compile(GL_FRAGMENT_SHADER, source);
    if (!vs || !fs) {
        if (vs) glDeleteShader(vs);
        if (fs) glDeleteShader(fs);
        return 0;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glLinkProgram(program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[2048] = "";
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        reportFailure("fixed-function program does not link", log);
        glDeleteProgram(program);
        return 0;
    }
    GLuint block = glGetUniformBlockIndex(program, "FixedFunction");
    if (block != GL_INVALID_INDEX) glUniformBlockBinding(program, block, 0);
    // Stage i samples texture unit i.
    gl.useProgram(program);
    const char* names[kStages] = {"tex0", "tex1", "tex2"};
    for (unsigned i = 0; i < kStages; ++i) {
        GLint location = glGetUniformLocation(program, names[i]);
        if (location >= 0) glUniform1i(location, static_cast<GLint>(i));
    }
    return program;
}

void ProgramCache::clear(GLState& gl, bool contextAlive) {
    for (const Entry& e : m_entries) {
        if (!e.program) continue;
        gl.forgetProgram(e.program);
        if (contextAlive) glDeleteProgram(e.program);
    }
    m_entries.clear();
    m_last = 0;
}

}  // namespace zvd3d
