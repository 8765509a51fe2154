#ifndef QNMEMORY_H
#define QNMEMORY_H

// The memory tracker replaces the global operator new and delete (all their
// C++17 forms) for the whole executable. Every live allocation is recorded
// with its owner; "Logs\QNMemory.log" collects error lines and
// "Logs\QNMemleaks.log" lists what is still live when the process exits.
//
// Engine and game code announce the owner of their next new or delete:
//     setOwner(__FILE__, __LINE__, "??"); p = new X;
// The owner belongs to the calling thread and is consumed by that thread's
// next tracked new, new[], delete or delete[], whatever it is; allocations
// without one are reported as "??(00000)::??".
//
// `file` and `function` are copied (cut to 39 characters; the file keeps only
// its name after the last '\' or '/'), so they need only live until that
// next operation. Returns `file`.
const char* setOwner(const char* file, unsigned line, const char* function);

// Tracked allocations attempted since the process started (for benchmarks:
// the difference over a frame is that frame's heap allocations).
unsigned getAllocationCount();

#endif
