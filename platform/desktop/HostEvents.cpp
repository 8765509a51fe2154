// On the desktop the window system shows frames and the files are on disk:
// nothing to tell anyone.
#include "common/HostEvents.h"

void HostEvents::frameShown() {}

void HostEvents::fileWritten(const char*) {}

void HostEvents::programEnds() {}
