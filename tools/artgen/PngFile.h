// PNG output through libpng: 8-bit RGBA (or RGB for opaque textures).
#ifndef ARTGEN_PNGFILE_H
#define ARTGEN_PNGFILE_H

#include "Image.h"

#include <string>

enum class PngAlpha { Keep, Opaque };

// Writes the image; with PngAlpha::Opaque the alpha channel is left out
// (every pixel must then be opaque). Fully transparent pixels get the colour
// of their nearest visible neighbours, so filtering and mip-mapping do not
// pull a dark fringe in from the invisible area. False on an I/O failure.
bool writePng(const std::string& path, const Image& img, PngAlpha alpha = PngAlpha::Keep);

// Reads an 8-bit PNG of any colour type into an image; false on failure.
bool readPng(const std::string& path, Image& img);

#endif
