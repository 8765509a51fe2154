// Small helpers shared by the test binaries: a scratch folder to run in, and
// whole-file reads and writes.
#ifndef ZV_TEST_SUPPORT_H
#define ZV_TEST_SUPPORT_H

#include <string>

namespace zvtestsupport {

// Creates a fresh folder under /tmp and makes it the working directory for
// the object's life; the previous directory is restored and the folder
// removed afterwards.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    std::string m_previous;
};

// Writes text to path (relative to the working directory; backslashes are
// folder separators), creating the folders on the way.
void writeFile(const std::string& path, const std::string& text);
// The whole file, or "<missing>" when it cannot be read.
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
void makeDirs(const std::string& path);

}  // namespace zvtestsupport

#endif
