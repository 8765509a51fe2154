#include "ImageWriters.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

// jpeglib.h needs FILE and size_t first.
#include <jpeglib.h>

namespace imgtest {

uint32_t patternPixel(unsigned x, unsigned y, unsigned seed) {
    uint32_t v = (x * 73856093u) ^ (y * 19349663u) ^ (seed * 83492791u);
    v ^= v >> 13;
    v *= 0x5bd1e995u;
    return v ^ (v >> 15);
}

std::vector<uint32_t> patternImage(unsigned w, unsigned h, unsigned seed) {
    std::vector<uint32_t> p;
    for (unsigned i = 0; i < w * h; ++i) p.push_back(patternPixel(i % w, i / w, seed));
    return p;
}

uint32_t throughMask(uint32_t v8, uint32_t mask) {
    int width = 0;
    for (; mask; mask >>= 1) width += mask & 1;
    if (width == 0 || width >= 8) return width ? v8 : 0xff;
    uint32_t out = 0;
    int filled = 0;
    for (; filled < 8; filled += width) out = (out << width) | (v8 >> (8 - width));
    return (out >> (filled - 8)) & 0xff;
}

// --- PNG -----------------------------------------------------------------------

static void appendPng(png_structp png, png_bytep data, png_size_t length) {
    Bytes* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

Bytes writePng(const PngSpec& shape) {
    // Samples per pixel: a palette index, or grey or RGB, plus alpha.
    const int type = shape.colorType;
    const int channels = type == PNG_COLOR_TYPE_PALETTE
                             ? 1
                             : (type & PNG_COLOR_MASK_COLOR ? 3 : 1) + (type & PNG_COLOR_MASK_ALPHA ? 1 : 0);
    const size_t rowBytes = (static_cast<size_t>(shape.width) * channels * shape.bitDepth + 7) / 8;
    std::vector<Bytes> rows(shape.height, Bytes(rowBytes, 0));
    for (unsigned y = 0; y < shape.height; ++y) {
        for (unsigned i = 0; i < shape.width * channels; ++i) {
            const uint32_t v = shape.samples.at(static_cast<size_t>(y) * shape.width * channels + i);
            if (shape.bitDepth == 16) {
                rows[y][2 * i] = static_cast<uint8_t>(v >> 8);
                rows[y][2 * i + 1] = static_cast<uint8_t>(v);
            } else {
                const size_t bit = static_cast<size_t>(i) * shape.bitDepth;
                rows[y][bit / 8] |= static_cast<uint8_t>(v << (8 - shape.bitDepth - bit % 8));
            }
        }
    }
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) std::abort();  // the test image itself is wrong
    png_set_write_fn(png, &out, appendPng, [](png_structp) {});
    png_set_IHDR(png, info, shape.width, shape.height, shape.bitDepth, shape.colorType,
                 shape.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (size_t i = 0; i + 2 < shape.palette.size(); i += 3)
        palette.push_back(png_color{shape.palette[i], shape.palette[i + 1], shape.palette[i + 2]});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (shape.colorType == PNG_COLOR_TYPE_PALETTE && !shape.trns.empty()) {
        std::vector<png_byte> alpha(shape.trns.begin(), shape.trns.end());
        png_set_tRNS(png, info, alpha.data(), static_cast<int>(alpha.size()), nullptr);
    } else if (!shape.trns.empty()) {
        png_color_16 colour{};
        colour.gray = colour.red = shape.trns[0];
        if (shape.trns.size() == 3) {
            colour.green = shape.trns[1];
            colour.blue = shape.trns[2];
        }
        png_set_tRNS(png, info, nullptr, 0, &colour);
    }
    png_write_info(png, info);
    std::vector<png_bytep> rowPointers;
    for (Bytes& r : rows) rowPointers.push_back(r.data());
    png_write_image(png, rowPointers.data());  // interlacing included
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// --- JPEG ----------------------------------------------------------------------

Bytes writeJpeg(unsigned w, unsigned h, const std::vector<uint32_t>& pixels, bool grey, bool progressive, int quality) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = w;
    cinfo.image_height = h;
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    Bytes row;
    while (cinfo.next_scanline < h) {
        row.clear();
        for (unsigned x = 0; x < w; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(cinfo.next_scanline) * w + x];
            if (!grey) row.insert(row.end(), {uint8_t(p >> 16), uint8_t(p >> 8)});
            row.push_back(uint8_t(p));
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// --- BMP and DDS -----------------------------------------------------------------

void put(Bytes* b, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b->push_back(uint8_t(v >> (8 * i)));
}

size_t bmpStride(int width, unsigned bits) { return (static_cast<size_t>(width) * bits + 31) / 32 * 4; }

Bytes writeBmp(const BmpSpec& shape) {
    Bytes header;
    put(&header, shape.headerBytes);
    if (shape.headerBytes == 12) {
        for (uint32_t v : {uint32_t(shape.width), uint32_t(shape.height), 1u, shape.bits}) put(&header, v, 2);
    } else {
        put(&header, uint32_t(shape.width));
        put(&header, uint32_t(shape.height));
        put(&header, 1 | shape.bits << 16);
        for (uint32_t v : {shape.compression, uint32_t(shape.pixelData.size()), 2835u, 2835u,
                           uint32_t(shape.palette.size()), 0u})
            put(&header, v);
        // V4/V5 keep the masks in the header; BI_BITFIELDS puts them after it.
        for (size_t i = 0; i < shape.masks.size() && (shape.headerBytes > 40 || i < 3); ++i) put(&header, shape.masks[i]);
        if (shape.headerBytes > 40) header.resize(shape.headerBytes, 0);
    }
    for (uint32_t c : shape.palette) put(&header, c, shape.headerBytes == 12 ? 3 : 4);
    Bytes file{'B', 'M'};
    put(&file, static_cast<uint32_t>(14 + header.size() + shape.pixelData.size()));
    put(&file, 0);
    put(&file, static_cast<uint32_t>(14 + header.size()));
    return file + header + shape.pixelData;
}

Bytes writeDds(const DdsSpec& shape) {
    Bytes b{'D', 'D', 'S', ' '};
    // CAPS HEIGHT WIDTH PIXELFORMAT (MIPMAPCOUNT); pitch and depth unused.
    for (uint32_t v : {124u, 0x1007u | (shape.mipCount ? 0x20000u : 0), shape.height, shape.width, 0u, 0u, shape.mipCount})
        put(&b, v);
    b.resize(b.size() + 44, 0);
    for (uint32_t v : {32u, shape.pfFlags, shape.fourCC, shape.bits}) put(&b, v);
    for (uint32_t m : shape.masks) put(&b, m);
    put(&b, 0x1000 | (shape.mipCount > 1 ? 0x400008 : 0) | (shape.cube ? 0x8 : 0));
    put(&b, shape.cube ? 0x200 | 0xfc00 : 0);
    b.resize(b.size() + 12, 0);
    return b + shape.payload;
}

DdsSpec dxtSpec(uint32_t fourCC, unsigned w, unsigned h, const Bytes& blocks, unsigned mips) {
    DdsSpec shape;
    shape.width = w;
    shape.height = h;
    shape.mipCount = mips;
    shape.pfFlags = kDdpfFourCC;
    shape.fourCC = fourCC;
    shape.bits = 0;
    for (uint32_t& m : shape.masks) m = 0;
    shape.payload = blocks;
    return shape;
}

Bytes packPixels(const std::vector<uint32_t>& pixels, unsigned bits, const uint32_t masks[4]) {
    Bytes out;
    for (uint32_t p : pixels) {
        const uint32_t channels[4] = {(p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff, p >> 24};
        uint32_t v = 0;
        for (int c = 0; c < 4; ++c) {
            if (!masks[c]) continue;
            int shift = 0, width = 0;
            while (!((masks[c] >> shift) & 1)) ++shift;
            while (shift + width < 32 && ((masks[c] >> (shift + width)) & 1)) ++width;
            v |= ((channels[c] >> (8 - std::min(width, 8))) << shift) & masks[c];
        }
        put(&out, v, bits / 8);
    }
    return out;
}

uint32_t expand565(uint16_t c) {
    return 0xff000000u | throughMask((c >> 8) & 0xf8, 0xf8) << 16 | throughMask((c >> 3) & 0xfc, 0xfc) << 8 |
           throughMask((c << 3) & 0xf8, 0xf8);
}

Bytes dxtColourBlock(uint16_t c0, uint16_t c1, const unsigned indices[16]) {
    Bytes b;
    put(&b, c0 | uint32_t(c1) << 16);
    uint32_t bits = 0;
    for (int i = 0; i < 16; ++i) bits |= (indices[i] & 3u) << (2 * i);
    put(&b, bits);
    return b;
}

Bytes dxt3AlphaBlock(const unsigned alpha4[16]) {
    Bytes b(8, 0);
    for (int i = 0; i < 16; ++i) b[i / 2] |= static_cast<uint8_t>((alpha4[i] & 15u) << ((i & 1) * 4));
    return b;
}

Bytes dxt5AlphaBlock(uint8_t a0, uint8_t a1, const unsigned indices[16]) {
    Bytes b{a0, a1};
    uint64_t bits = 0;
    for (int i = 0; i < 16; ++i) bits |= static_cast<uint64_t>(indices[i] & 7u) << (3 * i);
    for (int i = 0; i < 6; ++i) b.push_back(uint8_t(bits >> (8 * i)));
    return b;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// --- Files ---------------------------------------------------------------------

std::string makeTempDir(const std::string& tag) {
    std::string pattern = "image_" + tag + "_XXXXXX";
    return mkdtemp(&pattern[0]) ? pattern : std::string();
}

void removeTree(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace imgtest
