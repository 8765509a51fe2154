// The C library's fopen for a path of the program ("Logs\QNResultLog.htm"):
// the path is taken relative to the program's folder with '\' between
// names, as CreateFileA takes it. Reads find the player's copy of a file
// before the installed one; writes go to the player's folder.
#ifndef ZV_PLATFORM_ZVFILE_H
#define ZV_PLATFORM_ZVFILE_H

#include <stdio.h>

FILE* zvOpenFile(const char* path, const char* mode);

#endif
