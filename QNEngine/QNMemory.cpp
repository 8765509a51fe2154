#include "QNMemory.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <new>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

#include <zvfile.h>

// Nothing in this file may use operator new: tracking data comes from malloc
// and the logs are written with the C library's streams.

namespace {

const char* const kMemoryLog = "Logs\\QNMemory.log";
const char* const kLeakReport = "Logs\\QNMemleaks.log";

enum AllocType : uint32_t {
    AT_UNKNOWN, AT_NEW, AT_NEW_ARRAY, AT_MALLOC, AT_CALLOC, AT_REALLOC,
    AT_DELETE, AT_DELETE_ARRAY, AT_FREE
};
const char* const kTypeNames[] = {
    "Unknown", "new", "new[]", "malloc", "calloc", "realloc", "delete", "delete[]", "free"
};

const size_t kGuard = 16;          // bytes before and after the caller's bytes
const unsigned kBuckets = 4096;
const unsigned kUnitsPerBlock = 256;
const size_t kLineMax = 2048;      // one memory-log line: 2047 characters
// 0xFEEDFACE as it lies in memory on this (little-endian) machine.
const unsigned char kFill[4] = {0xCE, 0xFA, 0xED, 0xFE};

struct Unit {
    uint32_t actualSize;
    uint32_t reportedSize;
    void* actualAddress;
    void* reportedAddress;
    char sourceFile[40];
    char sourceFunc[40];
    uint32_t sourceLine;
    uint32_t allocationType;
    bool breakOnDealloc;
    bool breakOnRealloc;
    uint32_t allocationNumber;
    Unit* next;
    Unit* prev;
};

struct Owner {
    const char* file;
    unsigned line;
    const char* function;
};

// The pending owner is per thread, so an allocation made by another thread
// (an audio callback) between a setOwner and its new can neither take the
// owner nor clear it. Constant-initialised: no allocation, no init guard.
thread_local Owner t_owner = {"??", 0, "??"};

// Shared by all threads and guarded by g_lock. std::mutex has a constexpr
// constructor, so the lock is usable by allocations made before main.
std::mutex g_lock;
Unit* g_buckets[kBuckets];
Unit* g_freeUnits;
Unit** g_blocks;            // every block of units, so they can be freed
size_t g_blockCount;
uint32_t g_allocCounter;
uint32_t g_liveUnits;
bool g_pastExit;            // the exit handler has run; releases rewrite the report

Owner takeOwner() {
    Owner owner = t_owner;
    t_owner = Owner{"??", 0, "??"};
    return owner;
}

FILE* openFile(const char* path, const char* mode) { return zvOpenFile(path, mode); }

// Each line opens and closes the log, so it is complete even after a crash.
// A log that cannot be opened (no Logs folder) is skipped.
void logLine(const char* format, ...) {
    char line[kLineMax];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (FILE* f = openFile(kMemoryLog, "ab")) {
        fputs(line, f);
        fputs("\r\n", f);
        fclose(f);
    }
}

void writeHead() {
    const char* rule = "--------------------------------------------------------------------------------";
    time_t now = time(nullptr);
    struct tm local;
    char date[64];
    localtime_r(&now, &local);
    asctime_r(&local, date);  // ends with its own '\n', kept before the "\r\n"

    logLine("%s", rule);
    logLine("%s", "");
    logLine("      %s - Memory logging file created on %s", kMemoryLog, date);
    static const char* const text[] = {
        rule,
        "",
        "This file contains a log of all memory operations performed during the last run.",
        "",
        "Interrogate this file to track errors or to help track down memory-related",
        "issues. You can do this by tracing the allocations performed by a specific owner",
        "or by tracking a specific address through a series of allocations and",
        "reallocations.",
        "",
        "There is a lot of useful information here which, when used creatively, can be",
        "extremely helpful.",
        "",
        "Note that the following guides are used throughout this file:",
        "",
        "   [!] - Error",
        "   [+] - Allocation",
        "   [~] - Reallocation",
        "   [-] - Deallocation",
        "   [I] - Generic information",
        "   [F] - Failure induced for the purpose of stress-testing your application",
        "   [D] - Information used for debugging this memory manager",
        "",
        "...so, to find all errors in the file, search for \"[!]\"",
        "",
        rule,
    };
    for (const char* line : text)
        logLine("%s", line);
}

unsigned bucketOf(const void* reported) {
    return (reinterpret_cast<uintptr_t>(reported) >> 4) & (kBuckets - 1);
}

// Whole 32-bit words of the caller's bytes still holding the fill value; a
// trailing partial word never counts.
uint32_t unusedBytes(const Unit& u) {
    const unsigned char* bytes = static_cast<const unsigned char*>(u.reportedAddress);
    uint32_t unused = 0;
    for (uint32_t i = 0; i + 4 <= u.reportedSize; i += 4)
        if (memcmp(bytes + i, kFill, 4) == 0) unused += 4;
    return unused;
}

void fillNew(unsigned char* bytes, size_t size) {
    for (size_t i = 0; i < size; ++i)
        bytes[i] = kFill[i % 4];
}

void freeReservoir() {
    for (size_t i = 0; i < g_blockCount; ++i)
        free(g_blocks[i]);
    free(g_blocks);
    g_blocks = nullptr;
    g_blockCount = 0;
    g_freeUnits = nullptr;
}

// Caller holds g_lock.
void writeReport() {
    if (FILE* f = openFile(kLeakReport, "w+b")) {
        char dashes[131];
        memset(dashes, '-', 130);
        dashes[130] = '\0';
        time_t now = time(nullptr);
        struct tm t;
        localtime_r(&now, &t);

        fprintf(f, " %s \r\n", dashes);
        fprintf(f, "|%42sMemory leak report for:  %02d/%02d/%04d %02d:%02d:%02d%44s|\r\n", "",
                t.tm_mon + 1, t.tm_mday, t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec, "");
        fprintf(f, " %s \r\n\r\n\r\n", dashes);
        if (g_liveUnits == 0) {
            fprintf(f, "Congratulations! No memory leaks found!\r\n\r\n");
        } else {
            fprintf(f, "%u memory leak%s found:\r\n\r\n", g_liveUnits, g_liveUnits == 1 ? "" : "s");
            fprintf(f, "Alloc.   Addr       Size       Addr       Size                        BreakOn BreakOn              \r\n");
            fprintf(f, "Number Reported   Reported    Actual     Actual     Unused    Method  Dealloc Realloc Allocated by \r\n");
            fprintf(f, "%.6s %.10s %.10s %.10s %.10s %.10s %.8s %.7s %.7s %.51s \r\n", dashes, dashes,
                    dashes, dashes, dashes, dashes, dashes, dashes, dashes, dashes);
            // Addresses are printed whole: on 64-bit they are wider than the
            // eight digits of the column, which only holds for 32-bit values.
            for (unsigned b = 0; b < kBuckets; ++b) {
                for (const Unit* u = g_buckets[b]; u; u = u->next) {
                    fprintf(f, "%06u 0x%08llX 0x%08X 0x%08llX 0x%08X 0x%08X %-8s    %c       %c    %s(%05d)::%s\r\n",
                            u->allocationNumber,
                            static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(u->reportedAddress)),
                            u->reportedSize,
                            static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(u->actualAddress)),
                            u->actualSize, unusedBytes(*u), kTypeNames[u->allocationType],
                            u->breakOnDealloc ? 'Y' : 'N', u->breakOnRealloc ? 'Y' : 'N',
                            u->sourceFile, static_cast<int>(u->sourceLine), u->sourceFunc);
                }
            }
        }
        fclose(f);
    }
    if (g_liveUnits == 0) freeReservoir();
}

// Caller holds g_lock.
bool growReservoir() {
    Unit* block = static_cast<Unit*>(calloc(kUnitsPerBlock, sizeof(Unit)));
    if (!block) return false;
    for (unsigned i = 0; i < kUnitsPerBlock; ++i)
        block[i].next = i + 1 < kUnitsPerBlock ? &block[i + 1] : g_freeUnits;
    g_freeUnits = block;
    if (Unit** grown = static_cast<Unit**>(realloc(g_blocks, (g_blockCount + 1) * sizeof(Unit*)))) {
        g_blocks = grown;
        g_blocks[g_blockCount++] = block;
    }
    return true;
}

void copyCut(char (&dest)[40], const char* src) {
    snprintf(dest, sizeof dest, "%s", src ? src : "??");
}

const char* fileName(const char* path) {
    if (!path) return nullptr;
    const char* slash = strrchr(path, '\\');
    if (!slash) slash = strrchr(path, '/');
    return slash ? slash + 1 : path;
}

// Under AddressSanitizer the guards are poisoned, so a write into them is
// reported where it happens rather than never: the sanitizer only sees the
// whole block, guards included.
void poisonGuards(unsigned char* actual, size_t front, size_t size) {
#if defined(__SANITIZE_ADDRESS__)
    ASAN_POISON_MEMORY_REGION(actual, front);
    ASAN_POISON_MEMORY_REGION(actual + front + size, kGuard);
#else
    (void)actual, (void)front, (void)size;
#endif
}

void unpoisonBlock(void* actual, size_t size) {
#if defined(__SANITIZE_ADDRESS__)
    ASAN_UNPOISON_MEMORY_REGION(actual, size);
#else
    (void)actual, (void)size;
#endif
}

// Returns the caller's pointer, or null after logging why. A size the block
// (caller's bytes + guards) or its 32-bit size field cannot hold fails rather
// than wrapping to a short block. Over-aligned requests put `align` bytes in
// front instead of 16, so the caller's pointer keeps its alignment.
void* allocate(const Owner& owner, uint32_t type, size_t size, size_t align) {
    std::lock_guard<std::mutex> hold(g_lock);
    ++g_allocCounter;
    if (!g_freeUnits && !growReservoir()) {
        logLine("[!] %s", "Unable to allocate RAM for internal memory tracking data");
        return nullptr;
    }
    size_t front = align > kGuard ? align : kGuard;
    void* actual = nullptr;
    if (size <= UINT32_MAX - front - kGuard) {
        if (front == kGuard)
            actual = malloc(size + front + kGuard);
        else if (posix_memalign(&actual, align, size + front + kGuard) != 0)
            actual = nullptr;
    }
    if (!actual) {
        // The unit stays on the free list; it was never taken.
        logLine("[!] %s", "Request for allocation failed. Out of memory.");
        return nullptr;
    }

    Unit* u = g_freeUnits;
    g_freeUnits = u->next;
    memset(u, 0, sizeof *u);
    u->actualSize = static_cast<uint32_t>(size + front + kGuard);
    u->reportedSize = static_cast<uint32_t>(size);
    u->actualAddress = actual;
    u->reportedAddress = static_cast<unsigned char*>(actual) + front;
    copyCut(u->sourceFile, fileName(owner.file));
    copyCut(u->sourceFunc, owner.function);
    u->sourceLine = owner.line;
    u->allocationType = type;
    u->allocationNumber = g_allocCounter;

    Unit*& head = g_buckets[bucketOf(u->reportedAddress)];
    u->next = head;
    if (head) head->prev = u;
    head = u;
    ++g_liveUnits;

    fillNew(static_cast<unsigned char*>(u->reportedAddress), size);
    poisonGuards(static_cast<unsigned char*>(actual), front, size);
    return u->reportedAddress;
}

// Every delete form ends here: the unit is found by the caller's pointer, so
// a pointer released through another form than it was allocated with still
// frees the right block.
void release(void* p) {
    takeOwner();
    if (!p) return;
    std::lock_guard<std::mutex> hold(g_lock);
    Unit*& head = g_buckets[bucketOf(p)];
    Unit* u = head;
    while (u && u->reportedAddress != p)
        u = u->next;
    if (!u) {
        // Never allocated, already released or inside a block: freeing it
        // would corrupt the heap, so it is only reported.
        logLine("[!] %s", "Request to deallocate RAM that was never allocated");
        return;
    }
    unpoisonBlock(u->actualAddress, u->actualSize);
    free(u->actualAddress);
    if (u->prev) u->prev->next = u->next;
    else head = u->next;
    if (u->next) u->next->prev = u->prev;
    --g_liveUnits;
    memset(u, 0, sizeof *u);
    u->next = g_freeUnits;
    g_freeUnits = u;
    if (g_pastExit) writeReport();  // the report always reflects the last release
}

void* trackedNew(size_t size, uint32_t type, size_t align) {
    Owner owner = takeOwner();
    if (size == 0) size = 1;
    for (;;) {
        if (void* p = allocate(owner, type, size, align)) return p;
        std::new_handler handler = std::get_new_handler();
        if (!handler) throw std::bad_alloc();
        handler();
    }
}

void* trackedNewNoThrow(size_t size, uint32_t type, size_t align) noexcept {
    try {
        return trackedNew(size, type, align);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void onExit() {
    std::lock_guard<std::mutex> hold(g_lock);
    g_pastExit = true;
    writeReport();
}

struct Startup {
    Startup() {
        if (FILE* log = openFile(kMemoryLog, "wb")) fclose(log);  // a fresh log for this run
        writeHead();
        atexit(onExit);
    }
};
// Constructed ahead of ordinary statics, so the exit handler registered here
// runs after all their destructors and the first report is normally final.
Startup g_startup __attribute__((init_priority(110)));

}  // namespace

const char* setOwner(const char* file, unsigned line, const char* function) {
    t_owner = Owner{file, line, function};
    return file;
}

void* operator new(std::size_t n) { return trackedNew(n, AT_NEW, 0); }
void* operator new[](std::size_t n) { return trackedNew(n, AT_NEW_ARRAY, 0); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return trackedNewNoThrow(n, AT_NEW, 0); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return trackedNewNoThrow(n, AT_NEW_ARRAY, 0); }
void* operator new(std::size_t n, std::align_val_t a) { return trackedNew(n, AT_NEW, static_cast<size_t>(a)); }
void* operator new[](std::size_t n, std::align_val_t a) { return trackedNew(n, AT_NEW_ARRAY, static_cast<size_t>(a)); }
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    return trackedNewNoThrow(n, AT_NEW, static_cast<size_t>(a));
}
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    return trackedNewNoThrow(n, AT_NEW_ARRAY, static_cast<size_t>(a));
}

void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete(void* p, std::align_val_t) noexcept { release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { release(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { release(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { release(p); }

unsigned getAllocationCount() {
    std::lock_guard<std::mutex> hold(g_lock);
    return g_allocCounter;
}
