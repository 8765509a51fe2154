// A program of its own for each tracker scenario, so that every run starts
// with an empty allocation table and ends with its own leak report. It runs in
// a fresh directory and prints "leak <address>" for every block it leaks, in
// allocation order, so the test can rebuild the report's lines.
#include "QNMemory.h"

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

void leak(const void* p) {
    printf("leak %llX\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(p)));
}

// Deliberate misuse goes through volatile pointers, so the compiler neither
// removes it nor warns about it.
void* volatile g_sink;

void none() {
    std::string text(100, 'x');
    std::vector<int> numbers(1000);
    std::ostringstream stream;
    stream << text << numbers.size() << 3.5;
    int* p = new int(3);
    delete p;
    char* a = new char[10];
    delete[] a;
}

void oneLeak() { leak(new char[10]); }

void owners() {
    setOwner("C:\\Zarvel\\QNEngine\\ZVBaseLevel.cpp", 42, "??");
    leak(new char[12]);
    leak(::operator new(0));
    setOwner("/home/player/QNEngine/ZVBlock.cpp", 7, "update");
    char* written = static_cast<char*>(::operator new(9));
    memset(written, 0, 4);
    leak(written);
    leak(new int);  // the owner above was consumed
    setOwner("ZVMainMenu.cpp", 3, "??");
    void* volatile nothing = nullptr;
    ::operator delete(nothing);  // a delete takes the owner too, even of null
    leak(new char[4]);
    setOwner("QNEngine\\AFileNameLongerThanThirtyNineCharacters.cpp", 123456,
             "aFunctionNameLongerThanThirtyNineCharacters");
    leak(new char[16]);
}

struct alignas(64) Wide {
    char bytes[64];
};

void aligned() {
    Wide* volatile freed = new Wide;
    delete freed;
    Wide* kept = new Wide;
    leak(kept);
    if (reinterpret_cast<uintptr_t>(kept) % 64 != 0) printf("misaligned\n");
    leak(new (std::nothrow) Wide[2]);
}

// The library's own code allocates through the tracker too.
void library() {
    alignas(std::string) static unsigned char text[sizeof(std::string)];
    alignas(std::vector<int>) static unsigned char numbers[sizeof(std::vector<int>)];
    std::string* s = new (text) std::string(64, 'x');
    std::vector<int>* v = new (numbers) std::vector<int>(10);
    leak(s->data());
    leak(v->data());
}

// Operator new must not be visible to shared libraries, or they would
// allocate through the tracker and their blocks would be reported as ours.
// Another object may rightly export one of its own (the sanitizer runtime
// does): only the program's own must not be the one found.
void exports() {
    void* (*own)(std::size_t) = &::operator new;
    void* found = dlsym(RTLD_DEFAULT, "_Znwm");
    printf("operator new exported: %s\n", found == reinterpret_cast<void*>(own) ? "yes" : "no");
}

void errors() {
    int* p = new int;
    int* volatile stale = p;
    delete p;
    delete stale;
    char* block = new char[16];
    char* volatile inside = block + 4;
    delete[] inside;
    int local = 0;
    int* volatile onStack = &local;
    delete onStack;
    printf("alive\n");
    leak(block);
}

int g_handlerCalls;
void handlerGivingUp() {
    if (++g_handlerCalls == 2) std::set_new_handler(nullptr);
}

void tryNew(size_t size) {
    try {
        g_sink = ::operator new(size);
        printf("allocated\n");
    } catch (const std::bad_alloc&) {
        printf("bad_alloc\n");
    }
}

void huge() {
    volatile size_t sizes[] = {SIZE_MAX, SIZE_MAX - 31, 0xFFFFFFE0u};
    for (size_t size : sizes)
        tryNew(size);
    volatile size_t size = SIZE_MAX - 8;
    char* none = new (std::nothrow) char[size];
    printf("nothrow %s\n", none ? "block" : "null");
    std::set_new_handler(handlerGivingUp);
    tryNew(size);
    printf("handler calls %d\n", g_handlerCalls);
    leak(new char[4]);
}

void noLogs() {
    leak(new char[3]);
    char* volatile p = new char[3];
    delete[] p;
    delete[] p;
}

void churn(int seed) {
    char* live[16] = {};
    for (int n = 0; n < 4000; ++n) {
        char*& slot = live[(n * 7 + seed) % 16];
        setOwner(__FILE__, n, "??");
        delete[] slot;
        size_t size = 1 + (n * 13 + seed) % 200;
        setOwner(__FILE__, n, "??");
        slot = new char[size];
        memset(slot, seed, size);
    }
    for (char* p : live)
        delete[] p;
}

void threads() {
    std::vector<std::thread> workers;
    for (int i = 0; i < 4; ++i)
        workers.emplace_back(churn, i);
    for (std::thread& t : workers)
        t.join();
}

// A thread's pending owner is its own: another thread allocating in between
// neither takes nor clears it. Plain pthreads, so that no other allocation
// comes between the two.
std::atomic<int> g_step;
void* otherThread(void*) {
    while (g_step.load() != 1) {}
    leak(new char[4]);
    g_step.store(2);
    return nullptr;
}

void threadOwner() {
    pthread_t other;
    pthread_create(&other, nullptr, otherThread, nullptr);
    setOwner("QNSoundManager.cpp", 77, "??");
    g_step.store(1);
    while (g_step.load() != 2) {}
    leak(new char[8]);
    pthread_join(other, nullptr);
}

// Registered before the tracker's exit handler, so it runs after it: the
// release then has to rewrite the report. The report as first written is
// kept as Logs/first.log.
char* g_late;
void releaseLate() {
    if (FILE* in = fopen("Logs/QNMemleaks.log", "rb")) {
        if (FILE* out = fopen("Logs/first.log", "wb")) {
            char buffer[4096];
            size_t n;
            while ((n = fread(buffer, 1, sizeof buffer, in)) > 0)
                fwrite(buffer, 1, n, out);
            fclose(out);
        }
        fclose(in);
    }
    delete[] g_late;
}
__attribute__((constructor(101))) void registerLateRelease() { atexit(releaseLate); }

void afterExit() { g_late = new char[10]; }

struct Scenario {
    const char* name;
    void (*run)();
};
const Scenario kScenarios[] = {
    {"none", none},           {"one", oneLeak},     {"owners", owners},
    {"aligned", aligned},     {"library", library}, {"exports", exports},
    {"errors", errors},       {"huge", huge},       {"nologs", noLogs},
    {"threads", threads},     {"thread-owner", threadOwner},
    {"after-exit", afterExit},
};

}  // namespace

int main(int argc, char** argv) {
    for (const Scenario& s : kScenarios) {
        if (argc == 2 && strcmp(argv[1], s.name) == 0) {
            s.run();
            fflush(stdout);
            return 0;
        }
    }
    fprintf(stderr, "usage: memory_probe <scenario>\n");
    return 2;
}
