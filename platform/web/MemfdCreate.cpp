// The browser's C library has no memfd_create. Only the test hook that
// serves a file from memory calls it, and no test runs in the browser: the
// call fails as on a kernel without it.
#include <sys/mman.h>

#include <cerrno>

extern "C" int memfd_create(const char*, unsigned) {
    errno = ENOSYS;
    return -1;
}
