// Hooks for tests only: they replace what a person or the machine would
// supply (keys, pointer, focus, time, answers to message boxes, device faults).
// The game never calls them.
#ifndef ZV_PLATFORM_TESTING_H
#define ZV_PLATFORM_TESTING_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace zvtest {

// --- Time -----------------------------------------------------------------
// Once a manual clock is set, QueryPerformanceCounter returns its value
// (nanoseconds) instead of CLOCK_MONOTONIC until useRealClock() is called.
void setClock(int64_t nanoseconds);
void advanceClock(double seconds);
void useRealClock();

// --- Input ----------------------------------------------------------------
// The layer's own keyboard and mouse state, as the SDL events would set it.
void setKey(int dikCode, bool down);
void setMouseButton(int button, bool down);
// Pointer position in client-area pixels.
void setPointer(int x, int y);
void releaseAllInput();

// --- Focus ----------------------------------------------------------------
// Forces GetFocus() to answer the game window (true) or nothing (false),
// whatever the window system says. clearFocusOverride() returns to reality.
void setFocus(bool focused);
void clearFocusOverride();

// --- Message boxes --------------------------------------------------------
// While a handler is installed, MessageBoxA calls it instead of showing a
// box and returns IDOK. Pass nullptr to remove it.
typedef void (*MessageBoxHandler)(const char* text, const char* caption, unsigned type);
void setMessageBoxHandler(MessageBoxHandler handler);

// --- Files ----------------------------------------------------------------
// A full disk: WriteFile writes at most `bytes` more bytes in all, then
// fails as a full disk does. A negative value lifts the limit.
void setDiskSpace(long long bytes);

// --- Window ---------------------------------------------------------------
// Delivers a close request to the game window, as the window manager would.
void requestClose();

// --- Files ----------------------------------------------------------------
// While served, a CreateFileA that opens `path` (as the game spells it, '\'
// or '/') for reading gets a fresh in-memory file holding a copy of the
// size bytes at data, whatever the disk holds. Serving a path again replaces
// its bytes; stopServingFiles() forgets every served path.
void serveFile(const char* path, const void* data, size_t size);
void stopServingFiles();

}  // namespace zvtest

#endif
