#include "TestSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace zvtestsupport {

namespace {
std::string native(std::string p) {
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}
}  // namespace

ScratchDir::ScratchDir() {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) m_previous = cwd;
    char pattern[] = "/tmp/zvtest.XXXXXX";
    if (char* made = mkdtemp(pattern)) m_path = made;
    if (chdir(m_path.c_str()) != 0) std::perror("chdir");
}

ScratchDir::~ScratchDir() {
    if (!m_previous.empty() && chdir(m_previous.c_str()) != 0) std::perror("chdir");
    if (!m_path.empty()) {
        std::string cmd = "rm -rf '" + m_path + "'";
        if (std::system(cmd.c_str()) != 0) std::perror("rm");
    }
}

void makeDirs(const std::string& path) {
    std::string p = native(path);
    for (size_t i = 1; i <= p.size(); ++i) {
        if (i == p.size() || p[i] == '/') mkdir(p.substr(0, i).c_str(), 0755);
    }
}

void writeFile(const std::string& path, const std::string& text) {
    std::string p = native(path);
    size_t slash = p.rfind('/');
    if (slash != std::string::npos) makeDirs(p.substr(0, slash));
    std::ofstream out(p, std::ios::binary);
    out << text;
}

std::string readFile(const std::string& path) {
    std::ifstream in(native(path), std::ios::binary);
    if (!in) return "<missing>";
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool fileExists(const std::string& path) {
    struct stat st;
    return stat(native(path).c_str(), &st) == 0;
}

}  // namespace zvtestsupport
