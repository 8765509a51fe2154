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

Program* ProgramCache::get(const ShaderKey& key, GLState& gl) {
    if (m_last && m_last->key == key) return m_last;
    for (const std::unique_ptr<Program>& p : m_programs) {
        if (p->key == key) {
            m_last = p.get();
            return m_last;
        }
    }
    std::unique_ptr<Program> program(new Program{});
    program->key = key;
    build(program.get(), gl);
    m_last = program.get();
    m_programs.push_back(std::move(program));
    return m_last;
}

void ProgramCache::build(Program* out, GLState& gl) {
    ++g_counters.shaderBuilds;
    for (GLint& l : out->location) l = -1;
    std::string source;
    buildVertexShader(out->key, &source);
    GLuint vs = compile(GL_VERTEX_SHADER, source);
    buildFragmentShader(out->key, &source);
    GLuint fs = compile(GL_FRAGMENT_SHADER, source);
    if (!vs || !fs) {
        if (vs) glDeleteShader(vs);
        if (fs) glDeleteShader(fs);
        return;
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
        return;
    }
    out->name = program;
    for (unsigned i = 0; i < kUniformCount; ++i) out->location[i] = glGetUniformLocation(program, kUniforms[i].name);
    // Stage i samples texture unit i.
    gl.useProgram(program);
    const char* names[kStages] = {"tex0", "tex1", "tex2"};
    for (unsigned i = 0; i < kStages; ++i) {
        GLint location = glGetUniformLocation(program, names[i]);
        if (location >= 0) glUniform1i(location, static_cast<GLint>(i));
    }
}

void ProgramCache::clear(GLState& gl, bool contextAlive) {
    for (const std::unique_ptr<Program>& p : m_programs) {
        if (!p->name) continue;
        gl.forgetProgram(p->name);
        if (contextAlive) glDeleteProgram(p->name);
    }
    m_programs.clear();
    m_last = nullptr;
}

}  // namespace zvd3d
