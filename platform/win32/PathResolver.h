// Where a path of the program lies on this system. The program names its
// files relative to its own folder with '\' between names, as in
// "Logs\QNResultLog.htm". Here two folders stand for
// that one: the player's folder, which holds everything the program writes
// (records, logs, screenshots, a configuration the player edited), and the
// read-only content folder where the game was installed. A read finds the
// player's copy when there is one, else the installed one; a write always
// goes to the player's folder. Absolute paths are taken as they are, and
// with no folder set a relative path is taken from the current folder.
//
// Nothing here allocates from the C++ heap: the memory tracker's own log
// goes through it while it holds its lock.
#ifndef ZV_PLATFORM_WIN32_PATH_RESOLVER_H
#define ZV_PLATFORM_WIN32_PATH_RESOLVER_H

#include <cstddef>
#include <string>

class PathResolver {
public:
    enum Access {
        Read,    // the player's copy, else the installed one
        Write,   // the player's folder; missing folders on the way are made
        Update,  // read and write one file: the installed copy is first copied over
    };

    static PathResolver& instance();

    // Absolute folders (no trailing '/' needed); null or "" clears one.
    // False, and the folder unchanged, when the name is too long or relative.
    bool setPlayerDir(const char* dir);
    bool setContentDir(const char* dir);
    const char* playerDir() const { return m_player; }
    const char* contentDir() const { return m_content; }
    // While false, a path resolved for Write or Update fails: the player's
    // folder belongs to another running copy, or this run only prints help.
    void setWritable(bool writable) { m_readOnly = !writable; }

    // The native path of a path of the program for the given use, in out.
    // False (out empty) when it does not fit or path is null.
    bool resolve(const char* path, Access access, char* out, size_t size) const;
    // The same as a string; "" when it cannot be formed.
    std::string resolve(const char* path, Access access) const;

    // The access an fopen mode stands for.
    static Access accessOfMode(const char* mode);

    // The folders where installed content is looked for, relative to the
    // running executable: where the install rules put it (<exe dir>/../share/
    // games/zarvel by default, under any prefix) and <exe dir>/share/games/zarvel (a build
    // folder, where the build links it to the source tree). Index 0 or 1;
    // false when the executable's folder is unknown or the name too long.
    static bool contentCandidate(int index, char* out, size_t size);
    // Sets the content folder to the first candidate that holds Assets/.
    bool useInstalledContent();
    // $XDG_DATA_HOME/zarvel, or ~/.local/share/zarvel; false without a home.
    static bool defaultPlayerDir(char* out, size_t size);

private:
    static const size_t kMax = 2048;
    char m_player[kMax];
    char m_content[kMax];
    bool m_readOnly;
};

#endif
