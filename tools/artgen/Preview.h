// Mock screens for checking the pictures together, by eye: each picture is
// placed where the game's scripts and code put it on an 800 x 600 screen.
#ifndef ARTGEN_PREVIEW_H
#define ARTGEN_PREVIEW_H

#include <string>

// Reads the pictures (and the base-object scripts that place them) from
// assetsDir and writes menu.png, options.png, credits.png, lvlsel.png,
// level.png and completed.png into outDir.
bool writePreviews(const std::string& assetsDir, const std::string& outDir);

#endif
