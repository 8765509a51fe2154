// DDS output: an uncompressed A8R8G8B8 cube map with a full mip chain.
#ifndef ARTGEN_DDSFILE_H
#define ARTGEN_DDSFILE_H

#include "Image.h"

#include <string>

// faces: +X, -X, +Y, -Y, +Z, -Z, square, all of one power-of-two size.
// Each face's smaller levels are 2x2 box averages of the level above.
bool writeCubeDds(const std::string& path, const Image faces[6]);

#endif
