// Files, time, message boxes, the pointer and the module handle.
#include <SDL.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "PathResolver.h"
#include "Win32Internal.h"
#include "Win32Window.h"
#include "testing/PlatformTesting.h"

namespace {

bool g_manualClock = false;
int64_t g_clockNs = 0;
int g_focusOverride = -1;
zvtest::MessageBoxHandler g_messageBoxHandler = nullptr;
int g_cursorCount = 0;
// Files the tests serve from memory, by their '/' path.
std::map<std::string, std::string> g_servedFiles;

float g_mapOffsetX = 0, g_mapOffsetY = 0, g_mapScale = 1;

long long g_diskSpace = -1;  // bytes WriteFile may still write; -1: no limit

std::string nativePath(const char* path, PathResolver::Access access) {
    return PathResolver::instance().resolve(path, access);
}

// File handles carry the descriptor plus one, so that no valid handle is null.
HANDLE handleFromFd(int fd) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd) + 1); }
int fdFromHandle(HANDLE h) {
    if (h == nullptr || h == INVALID_HANDLE_VALUE) return -1;
    return static_cast<int>(reinterpret_cast<intptr_t>(h) - 1);
}

}  // namespace

namespace zvwin32 {
int focusOverride() { return g_focusOverride; }

void setBackBufferMapping(HWND, float offsetX, float offsetY, float scale) {
    g_mapOffsetX = offsetX;
    g_mapOffsetY = offsetY;
    g_mapScale = scale > 0 ? scale : 1;
}
}  // namespace zvwin32

HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD shareMode, LPVOID, DWORD creation,
                          DWORD, HANDLE) {
    if (!name) return INVALID_HANDLE_VALUE;
    int flags = O_CLOEXEC;
    bool read = (access & GENERIC_READ) != 0, write = (access & GENERIC_WRITE) != 0;
    flags |= (read && write) ? O_RDWR : write ? O_WRONLY : O_RDONLY;
    switch (creation) {
        case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
        case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
        case OPEN_ALWAYS: flags |= O_CREAT; break;
        case OPEN_EXISTING: break;
        default: return INVALID_HANDLE_VALUE;
    }
    // Only a plain read may be served from the installed content; anything
    // that may create or change a file works on the player's copy.
    PathResolver::Access use = PathResolver::Update;
    if (creation == OPEN_EXISTING && !write) use = PathResolver::Read;
    if (creation == CREATE_NEW || creation == CREATE_ALWAYS) use = PathResolver::Write;
    std::string path = nativePath(name, use);
    if (path.empty()) return INVALID_HANDLE_VALUE;
    if (!g_servedFiles.empty() && !write) {
        auto served = g_servedFiles.find(path);
        if (served != g_servedFiles.end()) {
            int fd = memfd_create("served", MFD_CLOEXEC);
            if (fd < 0) return INVALID_HANDLE_VALUE;
            const std::string& bytes = served->second;
            if ((!bytes.empty() && pwrite(fd, bytes.data(), bytes.size(), 0) != ssize_t(bytes.size())) ||
                lseek(fd, 0, SEEK_SET) != 0) {
                close(fd);
                return INVALID_HANDLE_VALUE;
            }
            return handleFromFd(fd);
        }
    }
    int fd = open(path.c_str(), flags, 0644);
    if (fd < 0) return INVALID_HANDLE_VALUE;
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        close(fd);
        return INVALID_HANDLE_VALUE;
    }
    // Sharing is advisory here: an opener that shares nothing takes an
    // exclusive lock, one that shares reading a shared lock, so two openers
    // that would exclude each other on Windows exclude each other here.
    int lock = -1;
    if (shareMode == 0)
        lock = LOCK_EX;
    else if (!(shareMode & FILE_SHARE_WRITE))
        lock = LOCK_SH;
    if (lock != -1 && flock(fd, lock | LOCK_NB) != 0) {
        close(fd);
        return INVALID_HANDLE_VALUE;
    }
    return handleFromFd(fd);
}

DWORD WINAPI GetFileSize(HANDLE file, LPDWORD sizeHigh) {
    struct stat st;
    int fd = fdFromHandle(file);
    if (fd < 0 || fstat(fd, &st) != 0) return INVALID_FILE_SIZE;
    uint64_t size = static_cast<uint64_t>(st.st_size);
    if (sizeHigh) *sizeHigh = static_cast<DWORD>(size >> 32);
    return static_cast<DWORD>(size & 0xFFFFFFFFu);
}

BOOL WINAPI ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD readOut, LPVOID) {
    int fd = fdFromHandle(file);
    if (readOut) *readOut = 0;
    if (fd < 0 || (!buffer && toRead)) return FALSE;
    DWORD done = 0;
    while (done < toRead) {
        ssize_t n = read(fd, static_cast<char*>(buffer) + done, toRead - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            if (readOut) *readOut = done;
            return FALSE;
        }
        if (n == 0) break;  // end of file: success with fewer bytes
        done += static_cast<DWORD>(n);
    }
    if (readOut) *readOut = done;
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD writtenOut, LPVOID) {
    int fd = fdFromHandle(file);
    if (writtenOut) *writtenOut = 0;
    if (fd < 0 || (!buffer && toWrite)) return FALSE;
    DWORD done = 0;
    if (g_diskSpace >= 0 && toWrite > g_diskSpace) {
        // A full disk, as the test hook describes it: what fits is written.
        DWORD fits = static_cast<DWORD>(g_diskSpace);
        BOOL ok = fits == 0 || WriteFile(file, buffer, fits, &done, nullptr);
        g_diskSpace = 0;
        if (writtenOut) *writtenOut = ok ? fits : done;
        errno = ENOSPC;
        return FALSE;
    }
    if (g_diskSpace >= 0) g_diskSpace -= toWrite;
    while (done < toWrite) {
        ssize_t n = write(fd, static_cast<const char*>(buffer) + done, toWrite - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (writtenOut) *writtenOut = done;
            return FALSE;
        }
        done += static_cast<DWORD>(n);
    }
    if (writtenOut) *writtenOut = done;
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE object) {
    int fd = fdFromHandle(object);
    if (fd < 0) return FALSE;
    return close(fd) == 0 ? TRUE : FALSE;
}

BOOL WINAPI FlushFileBuffers(HANDLE file) {
    int fd = fdFromHandle(file);
    return (fd >= 0 && fsync(fd) == 0) ? TRUE : FALSE;
}

BOOL WINAPI MoveFileExA(LPCSTR existing, LPCSTR newName, DWORD flags) {
    if (!existing || !newName) return FALSE;
    std::string from = nativePath(existing, PathResolver::Write);
    std::string to = nativePath(newName, PathResolver::Write);
    struct stat st;
    // Without MOVEFILE_REPLACE_EXISTING an existing target makes the move fail.
    if (!(flags & MOVEFILE_REPLACE_EXISTING) && stat(to.c_str(), &st) == 0) return FALSE;
    if (rename(from.c_str(), to.c_str()) != 0) return FALSE;
    if (flags & MOVEFILE_WRITE_THROUGH) {
        // The rename is durable once the folder that holds it is synced.
        size_t slash = to.rfind('/');
        std::string folder = slash == std::string::npos ? "." : to.substr(0, slash ? slash : 1);
        int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            fsync(dir);
            close(dir);
        }
    }
    return TRUE;
}

DWORD WINAPI GetFileAttributesA(LPCSTR name) {
    struct stat st;
    if (!name) return INVALID_FILE_ATTRIBUTES;
    const std::string path = nativePath(name, PathResolver::Read);
    if (stat(path.c_str(), &st) != 0) return INVALID_FILE_ATTRIBUTES;
    DWORD attributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : 0;
    // The installed content is read-only to everybody, but a write to one of
    // its files goes to the player's folder: only the player's own files and
    // folders are reported read-only.
    const char* content = PathResolver::instance().contentDir();
    const size_t n = content ? std::strlen(content) : 0;
    const bool installed = n > 0 && path.compare(0, n, content) == 0 && (path.size() == n || path[n] == '/');
    if (!installed && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

BOOL WINAPI DeleteFileA(LPCSTR name) {
    if (!name) return FALSE;
    return unlink(nativePath(name, PathResolver::Write).c_str()) == 0 ? TRUE : FALSE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (!count) return FALSE;
    if (g_manualClock) {
        count->QuadPart = g_clockNs;
        return TRUE;
    }
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    count->QuadPart = static_cast<LONGLONG>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
    return TRUE;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (!frequency) return FALSE;
    frequency->QuadPart = 1000000000LL;
    return TRUE;
}

DWORD WINAPI GetTickCount(void) {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<DWORD>(c.QuadPart / 1000000);
}

// SDL's delay sleeps the thread on the desktop and yields to the page in the
// browser, where a sleeping thread would stop the page.
void WINAPI Sleep(DWORD milliseconds) { SDL_Delay(milliseconds); }

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    if (g_messageBoxHandler) {
        g_messageBoxHandler(text ? text : "", caption ? caption : "", type);
        return IDOK;
    }
    // A box nobody can see would wait forever: without a display the text goes
    // to the terminal and the program goes on.
    if (!zvwin32::headless()) {
        Uint32 flags = (type & MB_ICONERROR) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
        if (SDL_ShowSimpleMessageBox(flags, caption ? caption : "", text ? text : "", nullptr) == 0)
            return IDOK;
    }
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    return IDOK;
}

BOOL WINAPI GetCursorPos(LPPOINT point) {
    if (!point) return FALSE;
    // Screen coordinates are the window's corner plus the pointer's position
    // in back-buffer pixels: there is no window frame on this platform.
    const zvwin32::InputState& in = zvwin32::inputState();
    int wx = 0, wy = 0;
    if (HWND focused = zvwin32::focusedWindow())
        if (SDL_Window* w = zvwin32::sdlWindow(focused)) SDL_GetWindowPosition(w, &wx, &wy);
    point->x = wx + static_cast<LONG>((in.pointerX - g_mapOffsetX) / g_mapScale);
    point->y = wy + static_cast<LONG>((in.pointerY - g_mapOffsetY) / g_mapScale);
    return TRUE;
}

BOOL WINAPI GetWindowPlacement(HWND hWnd, WINDOWPLACEMENT* placement) {
    SDL_Window* w = zvwin32::sdlWindow(hWnd);
    if (!w || !placement) return FALSE;
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(w, &x, &y);
    SDL_GetWindowSize(w, &width, &height);
    placement->length = sizeof(WINDOWPLACEMENT);
    placement->flags = 0;
    placement->showCmd = SW_SHOWNORMAL;
    placement->ptMinPosition = {-1, -1};
    placement->ptMaxPosition = {-1, -1};
    placement->rcNormalPosition = {x, y, x + width, y + height};
    return TRUE;
}

int WINAPI ShowCursor(BOOL show) {
    g_cursorCount += show ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(g_cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return g_cursorCount;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
    // Only the program's own module exists.
    static char self;
    return name ? nullptr : reinterpret_cast<HMODULE>(&self);
}

namespace zvtest {

void setClock(int64_t nanoseconds) {
    g_manualClock = true;
    g_clockNs = nanoseconds;
}

void advanceClock(double seconds) {
    if (!g_manualClock) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        g_clockNs = now.QuadPart;
        g_manualClock = true;
    }
    g_clockNs += static_cast<int64_t>(seconds * 1e9 + (seconds >= 0 ? 0.5 : -0.5));
}

void useRealClock() { g_manualClock = false; }

void setDiskSpace(long long bytes) { g_diskSpace = bytes < 0 ? -1 : bytes; }

void setFocus(bool focused) {
    if (!focused && g_focusOverride != 0) zvwin32::noteFocusLost();
    g_focusOverride = focused ? 1 : 0;
}
void clearFocusOverride() { g_focusOverride = -1; }

void setMessageBoxHandler(MessageBoxHandler handler) { g_messageBoxHandler = handler; }

void serveFile(const char* path, const void* data, size_t size) {
    if (!path) return;
    g_servedFiles[nativePath(path, PathResolver::Read)].assign(static_cast<const char*>(data), size);
}

void stopServingFiles() { g_servedFiles.clear(); }

}  // namespace zvtest
