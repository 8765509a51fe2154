// What the engine-level fuzz targets share: the memory tracker's owner call
// (the targets use the sanitizer's allocator, so leaks show per input), the
// engine's shut-down after every input, and corpus seeding.
#ifndef ZV_FUZZ_ENGINE_FUZZ_SUPPORT_H
#define ZV_FUZZ_ENGINE_FUZZ_SUPPORT_H

#include <string>
#include <vector>

namespace zvfuzz {

// Opens the result log on /dev/null, so every report is formatted and
// written but nothing piles up on the disk.
void startEngine();
// Destroys every engine singleton in the engine's own shut-down order.
void stopEngine();

// The bytes of a file of the repository (the targets run from its root).
std::string readRepositoryFile(const std::string& path);

// Seeds the corpus folder named by the first non-flag argument, once.
void seedCorpus(int argc, char** argv, const std::vector<std::string>& seeds);

}  // namespace zvfuzz

#endif
