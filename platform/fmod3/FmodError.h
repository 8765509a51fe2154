// The FSOUND_GetError state and the once-only report of API corners this
// layer leaves out.
#ifndef ZV_FMOD3_FMODERROR_H
#define ZV_FMOD3_FMODERROR_H

namespace fmod3 {

// Sets the code FSOUND_GetError answers; every entry point sets it.
void setError(int code);
int lastError();

// Writes one line to stderr the first time a given (call, what, value) is
// seen, so an unhandled mode or argument is visible without flooding the
// output. `call` and `what` must be string literals.
void reportUnhandled(const char* call, const char* what, long value);

}  // namespace fmod3

#endif
