#include "ScriptPeek.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

const char* kStandard = "\r\n\t ,;{}";
const char* kPath = "\r\n\t,;{}";

// The game's comment rule: from "//" up to and including the line feed.
std::string stripComments(const std::string& in) {
    std::string out;
    size_t pos = 0;
    for (;;) {
        size_t c = in.find("//", pos);
        if (c == std::string::npos) {
            out += in.substr(pos);
            return out;
        }
        out += in.substr(pos, c - pos);
        size_t nl = in.find('\n', c);
        if (nl == std::string::npos) return out;
        pos = nl + 1;
    }
}

// strtok over a string: one position, one delimiter consumed per token.
class Tokens {
public:
    explicit Tokens(std::string text) : m_text(std::move(text)) {}
    bool next(std::string& tok, const char* delims) {
        while (m_pos < m_text.size() && std::strchr(delims, m_text[m_pos])) ++m_pos;
        if (m_pos >= m_text.size()) return false;
        size_t end = m_pos;
        while (end < m_text.size() && !std::strchr(delims, m_text[end])) ++end;
        tok = m_text.substr(m_pos, end - m_pos);
        m_pos = end < m_text.size() ? end + 1 : end;
        return true;
    }
    float number() {
        std::string t;
        return next(t, kStandard) ? static_cast<float>(std::atof(t.c_str())) : 0.0f;
    }

private:
    std::string m_text;
    size_t m_pos = 0;
};

bool readText(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::stringstream ss;
    ss << in.rdbuf();
    text = stripComments(ss.str());
    return true;
}

}  // namespace

std::string ScriptPeek::file(const std::string& gamePath) const {
    std::string rel = gamePath.rfind("Assets\\", 0) == 0 ? gamePath.substr(7) : gamePath;
    for (char& c : rel)
        if (c == '\\') c = '/';
    return m_assets + "/" + rel;
}

std::vector<std::string> ScriptPeek::scene(const std::string& gamePath) const {
    std::vector<std::string> out;
    std::string text;
    if (!readText(file(gamePath), text)) return out;
    Tokens t(text);
    std::string tok;
    int n = -1;
    while (t.next(tok, kStandard)) {
        if (tok == "[SIZE]") {
            n = static_cast<int>(t.number());
        } else if (tok == "[SCRIPTS]" && n >= 1) {
            for (int i = 0; i < n && t.next(tok, kPath); ++i) out.push_back(tok);
        }
    }
    return out;
}

ObjectScript ScriptPeek::object(const std::string& gamePath) const {
    ObjectScript o;
    std::string text;
    if (!readText(file(gamePath), text)) return o;
    o.found = true;
    Tokens t(text);
    std::string tok;
    while (t.next(tok, kStandard)) {
        if (tok == "[CLASS_TYPE]") {
            t.next(o.className, kStandard);
        } else if (tok == "[MODEL_TYPE]") {
            t.next(o.modelType, kStandard);
        } else if (tok == "[MODEL_SCRIPT]") {
            t.next(o.modelScript, kPath);
        } else if (tok == "[PARTICLE_SCRIPT]") {
            t.next(o.particleScript, kPath);
        } else if (tok == "[NUM_PARTICLES]") {
            o.numParticles = static_cast<int>(t.number());
        } else if (tok == "[TRANSLATION]" || tok == "[ROTATION]" || tok == "[SCALE]") {
            float* v = tok == "[TRANSLATION]" ? o.translation : (tok == "[ROTATION]" ? o.rotation : o.scale);
            for (int i = 0; i < 3; ++i) v[i] = t.number();
        }
    }
    return o;
}

ModelScript ScriptPeek::model(const std::string& gamePath) const {
    ModelScript m;
    std::string text;
    if (!readText(file(gamePath), text)) return m;
    m.found = true;
    Tokens t(text);
    std::string tok;
    while (t.next(tok, kStandard)) {
        if (tok == "[TEXTURE]") {
            t.next(m.texture, kPath);
        } else if (tok == "[XFILE]") {
            t.next(m.xFile, kStandard);
        } else if (tok == "[SIZING]") {
            t.next(tok, kStandard);
            m.sizing = tok == "ACTUAL_NORM" ? 1 : tok == "ACTUAL" ? 2 : tok == "USER_DEFINED" ? 3 : m.sizing;
        } else if (tok == "[DIMENSIONS]") {
            m.dimensions[0] = t.number();
            m.dimensions[1] = t.number();
        } else if (tok == "[ORTHO]") {
            m.ortho = t.next(tok, kStandard) && tok == "TRUE";
        } else if (tok == "[GRAVITY]") {
            m.gravity = t.number();
        } else if (tok == "[RANGE_DIRECTION]") {
            for (float& v : m.directionRange) v = t.number();
        } else if (tok == "[COLOR_STAGES]") {
            for (float& v : m.colorStages) v = t.number();
        } else if (tok == "[RANGE_LIFESPAN]") {
            for (float& v : m.lifeRange) v = t.number();
        } else if (tok == "[BILLBOARDING]") {
            m.billboarding = !(t.next(tok, kStandard) && tok == "FALSE");
        }
    }
    return m;
}
