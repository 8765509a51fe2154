// PNG pictures for tests that draw: plain-colour and per-pixel images to
// load as textures, and frames saved for a person to look at. Header-only so
// that programs which never write a picture do not need libpng.
#ifndef ZV_TEST_PNG_FILES_H
#define ZV_TEST_PNG_FILES_H

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Rgb.h"
#include "TestSupport.h"

namespace zvtestsupport {

// A w x h PNG whose pixels are given as 0xAARRGGBB, top row first; `path`
// may use backslashes and its folders are made. Fails the test when the
// file cannot be written.
inline void writePngPixels(const std::string& path, int w, int h, const std::vector<uint32_t>& argb) {
    std::string file = path;
    for (char& c : file)
        if (c == '\\') c = '/';
    const size_t slash = file.rfind('/');
    if (slash != std::string::npos) makeDirs(file.substr(0, slash));
    std::vector<unsigned char> rgba(argb.size() * 4);
    for (size_t i = 0; i < argb.size(); ++i) {
        rgba[i * 4 + 0] = (argb[i] >> 16) & 0xFF;
        rgba[i * 4 + 1] = (argb[i] >> 8) & 0xFF;
        rgba[i * 4 + 2] = argb[i] & 0xFF;
        rgba[i * 4 + 3] = (argb[i] >> 24) & 0xFF;
    }
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = PNG_FORMAT_RGBA;
    ASSERT_TRUE(png_image_write_to_file(&image, file.c_str(), 0, rgba.data(), 0, nullptr)) << file;
}

// A w x h PNG of one colour and alpha, as writePngPixels.
inline void writePng(const std::string& path, int w, int h, Rgb c, int alpha = 255) {
    const uint32_t argb = (static_cast<uint32_t>(alpha) << 24) | (static_cast<uint32_t>(c.r) << 16) |
                          (static_cast<uint32_t>(c.g) << 8) | static_cast<uint32_t>(c.b);
    writePngPixels(path, w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, argb));
}

// Saves a frame read back (0x..RRGGBB values, top row first) as an RGB PNG
// at the native `path`. False when there is no frame or no file.
inline bool saveFramePng(const std::string& path, int w, int h, const std::vector<uint32_t>& frame) {
    if (frame.empty()) return false;
    std::vector<unsigned char> rgb(frame.size() * 3);
    for (size_t i = 0; i < frame.size(); ++i) {
        rgb[i * 3 + 0] = (frame[i] >> 16) & 0xFF;
        rgb[i * 3 + 1] = (frame[i] >> 8) & 0xFF;
        rgb[i * 3 + 2] = frame[i] & 0xFF;
    }
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
}

}  // namespace zvtestsupport

#endif
