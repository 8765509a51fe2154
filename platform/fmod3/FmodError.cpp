#include "FmodError.h"

#include <fmod.h>

#include <cstdio>
#include <cstring>

namespace fmod3 {

namespace {
int s_error = FMOD_ERR_NONE;

struct Reported {
    const char* call;
    const char* what;
    long value;
};
// A fixed table: reports happen before and after the memory tracker's life,
// so nothing here may allocate.
Reported s_reported[32];
int s_reportedCount = 0;
}  // namespace

void setError(int code) { s_error = code; }

int lastError() { return s_error; }

void reportUnhandled(const char* call, const char* what, long value) {
    for (int i = 0; i < s_reportedCount; ++i) {
        const Reported& r = s_reported[i];
        if (r.value == value && std::strcmp(r.call, call) == 0 && std::strcmp(r.what, what) == 0) {
            return;
        }
    }
    if (s_reportedCount < static_cast<int>(sizeof(s_reported) / sizeof(s_reported[0]))) {
        s_reported[s_reportedCount++] = {call, what, value};
    }
    std::fprintf(stderr, "fmod3: %s: unhandled %s %ld (0x%lx)\n", call, what, value,
                 static_cast<unsigned long>(value) & 0xffffffffUL);
}

}  // namespace fmod3
