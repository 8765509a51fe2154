#include "PathResolver.h"

#include "common/HostEvents.h"

#include <zvfile.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// Zero-initialised before anything runs: usable from allocations made
// before main.
PathResolver g_resolver;

bool setFolder(char* dest, size_t size, const char* dir) {
    if (!dir || !*dir) {
        dest[0] = '\0';
        return true;
    }
    size_t n = std::strlen(dir);
    while (n > 1 && dir[n - 1] == '/') --n;
    if (dir[0] != '/' || n >= size) return false;
    std::memcpy(dest, dir, n);
    dest[n] = '\0';
    return true;
}

bool exists(const char* path) {
    struct stat st;
    return stat(path, &st) == 0;
}

// Makes every missing folder of path's parent at or below base.
void makeParents(const char* path, size_t baseLength) {
    char folder[4096];
    size_t n = std::strlen(path);
    if (n >= sizeof folder) return;
    std::memcpy(folder, path, n + 1);
    for (size_t i = baseLength + 1; i < n; ++i) {
        if (folder[i] != '/') continue;
        folder[i] = '\0';
        if (mkdir(folder, 0755) != 0 && errno != EEXIST) return;
        folder[i] = '/';
    }
}

// Copies a regular file; the copy appears whole or not at all.
bool copyFile(const char* from, const char* to) {
    char temporary[4096];
    if (std::snprintf(temporary, sizeof temporary, "%s.copy", to) >= int(sizeof temporary)) return false;
    int in = open(from, O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    int out = open(temporary, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = out >= 0;
    char buffer[8192];
    while (ok) {
        ssize_t got = read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        for (ssize_t done = 0; ok && done < got;) {
            ssize_t put = write(out, buffer + done, size_t(got - done));
            if (put < 0 && errno == EINTR) continue;
            ok = put > 0;
            if (ok) done += put;
        }
    }
    close(in);
    if (out >= 0) ok = close(out) == 0 && ok;
    ok = ok && rename(temporary, to) == 0;
    if (!ok) unlink(temporary);
    return ok;
}

}  // namespace

PathResolver& PathResolver::instance() { return g_resolver; }

bool PathResolver::setPlayerDir(const char* dir) { return setFolder(m_player, kMax, dir); }
bool PathResolver::setContentDir(const char* dir) { return setFolder(m_content, kMax, dir); }

bool PathResolver::resolve(const char* path, Access access, char* out, size_t size) const {
    if (!out || size == 0) return false;
    out[0] = '\0';
    if (!path || (m_readOnly && access != Read)) return false;
    char local[kMax];
    size_t n = std::strlen(path);
    if (n >= sizeof local) return false;
    for (size_t i = 0; i <= n; ++i) local[i] = path[i] == '\\' ? '/' : path[i];

    auto place = [&](const char* base, const char* rest) {
        int w = std::snprintf(out, size, "%s/%s", base, rest);
        if (w < 0 || size_t(w) >= size) {
            out[0] = '\0';
            return false;
        }
        return true;
    };

    if (local[0] == '/' || (!m_player[0] && !m_content[0])) {
        if (n >= size) return false;
        std::memcpy(out, local, n + 1);
        return true;
    }
    const char* player = m_player[0] ? m_player : ".";
    if (!place(player, local)) return false;
    if (access == Write) {
        makeParents(out, std::strlen(player));
        HostEvents::fileWritten(out);
        return true;
    }
    if (exists(out) || !m_content[0]) {
        if (access != Read) HostEvents::fileWritten(out);
        return true;
    }

    char installed[4096];
    if (std::snprintf(installed, sizeof installed, "%s/%s", m_content, local) >= int(sizeof installed))
        return true;
    if (!exists(installed)) return true;  // nowhere: the player's name goes into the error
    if (access == Read) return place(m_content, local);
    // Update: the player's copy is made from the installed one first.
    makeParents(out, std::strlen(player));
    copyFile(installed, out);
    HostEvents::fileWritten(out);
    return true;
}

std::string PathResolver::resolve(const char* path, Access access) const {
    char out[4096];
    return resolve(path, access, out, sizeof out) ? std::string(out) : std::string();
}

PathResolver::Access PathResolver::accessOfMode(const char* mode) {
    if (!mode || mode[0] == 'r') return mode && std::strchr(mode, '+') ? Update : Read;
    if (mode[0] == 'a' && std::strchr(mode, '+')) return Update;
    return Write;
}

bool PathResolver::contentCandidate(int index, char* out, size_t size) {
#ifndef ZV_CONTENT_FROM_EXE
#define ZV_CONTENT_FROM_EXE "../share/games/zarvel"
#endif
    static const char* const kRelative[] = {"/" ZV_CONTENT_FROM_EXE, "/share/games/zarvel"};
    if (index < 0 || index > 1 || size == 0) return false;
    char exe[kMax];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return false;
    exe[n] = '\0';
    char* slash = std::strrchr(exe, '/');
    if (!slash) return false;
    *slash = '\0';
    // Each leading "../" takes one folder off the executable's folder, so
    // that messages name the folder plainly.
    const char* rest = kRelative[index];
    while (std::strncmp(rest, "/../", 4) == 0 && (slash = std::strrchr(exe, '/')) != nullptr) {
        *slash = '\0';
        rest += 3;
    }
    int w = std::snprintf(out, size, "%s%s", exe, rest);
    return w > 0 && size_t(w) < size;
}

bool PathResolver::useInstalledContent() {
    for (int i = 0; i < 2; ++i) {
        char folder[kMax], assets[kMax + 8];
        if (!contentCandidate(i, folder, sizeof folder)) continue;
        std::snprintf(assets, sizeof assets, "%s/Assets", folder);
        struct stat st;
        if (stat(assets, &st) == 0 && S_ISDIR(st.st_mode)) return setContentDir(folder);
    }
    return false;
}

bool PathResolver::defaultPlayerDir(char* out, size_t size) {
    // A relative XDG_DATA_HOME is invalid and ignored, as the base-directory rules say.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    int w = -1;
    if (xdg && xdg[0] == '/') {
        w = std::snprintf(out, size, "%s/zarvel", xdg);
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/') return false;
        w = std::snprintf(out, size, "%s/.local/share/zarvel", home);
    }
    return w > 0 && size_t(w) < size;
}

FILE* zvOpenFile(const char* path, const char* mode) {
    char native[4096];
    if (!mode || !g_resolver.resolve(path, PathResolver::accessOfMode(mode), native, sizeof native))
        return nullptr;
    return std::fopen(native, mode);
}
