#include "PngFile.h"

#include <png.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

unsigned char toByte(float v) {
    v = v < 0 ? 0 : (v > 1 ? 1 : v);
    return static_cast<unsigned char>(std::lround(v * 255.0f));
}

// Straight 8-bit RGBA with the colours of transparent pixels filled in.
std::vector<unsigned char> straightBytes(const Image& img) {
    const int w = img.width(), h = img.height();
    std::vector<unsigned char> out(static_cast<size_t>(w) * h * 4);
    std::vector<float> rgb(static_cast<size_t>(w) * h * 3, 0.0f);
    std::vector<char> known(static_cast<size_t>(w) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            size_t i = static_cast<size_t>(y) * w + x;
            Rgba c = img.get(x, y);
            out[i * 4 + 3] = toByte(c.a);
            if (out[i * 4 + 3] > 0) {
                rgb[i * 3] = c.r, rgb[i * 3 + 1] = c.g, rgb[i * 3 + 2] = c.b;
                known[i] = 1;
            }
        }
    for (int pass = 0; pass < 24; ++pass) {
        std::vector<char> next = known;
        bool any = false;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                size_t i = static_cast<size_t>(y) * w + x;
                if (known[i]) continue;
                float acc[3] = {0, 0, 0};
                int n = 0;
                for (int j = -1; j <= 1; ++j)
                    for (int k = -1; k <= 1; ++k) {
                        int nx = x + k, ny = y + j;
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                        size_t ni = static_cast<size_t>(ny) * w + nx;
                        if (!known[ni]) continue;
                        for (int c = 0; c < 3; ++c) acc[c] += rgb[ni * 3 + c];
                        ++n;
                    }
                if (n) {
                    for (int c = 0; c < 3; ++c) rgb[i * 3 + c] = acc[c] / n;
                    next[i] = 1;
                    any = true;
                }
            }
        known.swap(next);
        if (!any) break;
    }
    // Whatever is still unknown lies far from anything visible.
    double mean[3] = {0, 0, 0};
    size_t count = 0;
    for (size_t i = 0; i < known.size(); ++i)
        if (known[i]) {
            for (int c = 0; c < 3; ++c) mean[c] += rgb[i * 3 + c];
            ++count;
        }
    for (size_t i = 0; i < known.size(); ++i) {
        for (int c = 0; c < 3; ++c) {
            float v = known[i] ? rgb[i * 3 + c] : (count ? static_cast<float>(mean[c] / count) : 0.0f);
            out[i * 4 + c] = toByte(v);
        }
    }
    return out;
}

}  // namespace

bool writePng(const std::string& path, const Image& img, PngAlpha alpha) {
    std::vector<unsigned char> rgba = straightBytes(img);
    const int w = img.width(), h = img.height();
    const int channels = alpha == PngAlpha::Opaque ? 3 : 4;
    std::vector<unsigned char> rows(static_cast<size_t>(w) * h * channels);
    for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i)
        for (int c = 0; c < channels; ++c) rows[i * channels + c] = rgba[i * 4 + c];

    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, w, h, 8, channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y) png_write_row(png, &rows[static_cast<size_t>(y) * w * channels]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

bool readPng(const std::string& path, Image& img) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> bytes(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) return false;
    img = Image(static_cast<int>(image.width), static_cast<int>(image.height));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const unsigned char* p = &bytes[(static_cast<size_t>(y) * img.width() + x) * 4];
            img.set(x, y, Rgba{p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, p[3] / 255.0f});
        }
    return true;
}
