#include "FmodError.h"

#include <fmod.h>

#include "common/UnhandledReport.h"

namespace fmod3 {

namespace {
int s_error = FMOD_ERR_NONE;
}  // namespace

void setError(int code) { s_error = code; }

int lastError() { return s_error; }

void reportUnhandled(const char* call, const char* what, long value) {
    // Reports happen before and after the memory tracker's life: the table
    // allocates nothing.
    static zvplatform::UnhandledReport report("fmod3");
    report(call, what, static_cast<unsigned long>(value));
}

}  // namespace fmod3
