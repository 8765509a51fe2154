#include "ImageWriters.h"

#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

// jpeglib.h needs FILE and size_t first.
#include <jpeglib.h>

namespace imgtest {

uint32_t patternPixel(unsigned x, unsigned y, unsigned seed) {
    uint32_t v = (x * 73856093u) ^ (y * 19349663u) ^ (seed * 83492791u);
    v ^= v >> 13;
    v *= 0x5bd1e995u;
    v ^= v >> 15;
    return v;
}

std::vector<uint32_t> patternImage(unsigned w, unsigned h, unsigned seed) {
    std::vector<uint32_t> p(static_cast<size_t>(w) * h);
    for (unsigned y = 0; y < h; ++y) {
        for (unsigned x = 0; x < w; ++x) p[y * w + x] = patternPixel(x, y, seed);
    }
    return p;
}

// --- PNG -----------------------------------------------------------------------

namespace {

void pngWriteToVector(png_structp png, png_bytep data, png_size_t length) {
    Bytes* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void pngFlush(png_structp) {}

int channelsOf(int colorType) {
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE:
        return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    default:
        return 4;
    }
}

}  // namespace

Bytes writePng(const PngSpec& spec) {
    const int channels = channelsOf(spec.colorType);
    const size_t rowBits = static_cast<size_t>(spec.width) * channels * spec.bitDepth;
    const size_t rowBytes = (rowBits + 7) / 8;
    std::vector<Bytes> rows(spec.height, Bytes(rowBytes, 0));
    for (unsigned y = 0; y < spec.height; ++y) {
        for (unsigned i = 0; i < spec.width * channels; ++i) {
            uint32_t v = spec.samples.at(static_cast<size_t>(y) * spec.width * channels + i);
            Bytes& row = rows[y];
            if (spec.bitDepth == 16) {
                row[2 * i] = static_cast<uint8_t>(v >> 8);
                row[2 * i + 1] = static_cast<uint8_t>(v);
            } else if (spec.bitDepth == 8) {
                row[i] = static_cast<uint8_t>(v);
            } else {
                size_t bit = static_cast<size_t>(i) * spec.bitDepth;
                row[bit / 8] |= static_cast<uint8_t>(v << (8 - spec.bitDepth - bit % 8));
            }
        }
    }

    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::abort();  // the test image itself is wrong
    }
    png_set_write_fn(png, &out, pngWriteToVector, pngFlush);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colorType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (size_t i = 0; i + 2 < spec.palette.size(); i += 3) {
        palette.push_back(png_color{spec.palette[i], spec.palette[i + 1], spec.palette[i + 2]});
    }
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!spec.trns.empty()) {
        if (spec.colorType == PNG_COLOR_TYPE_PALETTE) {
            std::vector<png_byte> alpha(spec.trns.begin(), spec.trns.end());
            png_set_tRNS(png, info, alpha.data(), static_cast<int>(alpha.size()), nullptr);
        } else {
            png_color_16 colour{};
            if (spec.colorType == PNG_COLOR_TYPE_GRAY) {
                colour.gray = spec.trns[0];
            } else {
                colour.red = spec.trns[0];
                colour.green = spec.trns[1];
                colour.blue = spec.trns[2];
            }
            png_set_tRNS(png, info, nullptr, 0, &colour);
        }
    }
    png_write_info(png, info);
    std::vector<png_bytep> rowPtrs;
    for (Bytes& r : rows) rowPtrs.push_back(r.data());
    png_write_image(png, rowPtrs.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

void patchPngChunk(Bytes* png, const char type[4], size_t offset, const Bytes& newBytes) {
    size_t pos = 8;
    while (pos + 12 <= png->size()) {
        uint8_t* c = png->data() + pos;
        uint32_t length = (uint32_t(c[0]) << 24) | (c[1] << 16) | (c[2] << 8) | c[3];
        if (std::memcmp(c + 4, type, 4) == 0) {
            std::memcpy(c + 8 + offset, newBytes.data(), newBytes.size());
            uLong crc = crc32(0, c + 4, 4 + length);
            uint8_t* crcAt = c + 8 + length;
            crcAt[0] = uint8_t(crc >> 24);
            crcAt[1] = uint8_t(crc >> 16);
            crcAt[2] = uint8_t(crc >> 8);
            crcAt[3] = uint8_t(crc);
            return;
        }
        pos += 12 + length;
    }
    throw std::runtime_error("chunk not found");
}

// --- JPEG ----------------------------------------------------------------------

Bytes writeJpeg(unsigned w, unsigned h, const std::vector<uint32_t>& pixels, bool grey,
                bool progressive, int quality) {
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
    Bytes row(static_cast<size_t>(w) * 3);
    while (cinfo.next_scanline < h) {
        for (unsigned x = 0; x < w; ++x) {
            uint32_t p = pixels[static_cast<size_t>(cinfo.next_scanline) * w + x];
            if (grey) {
                row[x] = uint8_t(p);
            } else {
                row[3 * x] = uint8_t(p >> 16);
                row[3 * x + 1] = uint8_t(p >> 8);
                row[3 * x + 2] = uint8_t(p);
            }
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

void patchJpegSize(Bytes* jpeg, unsigned w, unsigned h) {
    for (size_t i = 2; i + 9 < jpeg->size(); ++i) {
        uint8_t* p = jpeg->data() + i;
        if (p[0] == 0xff && (p[1] == 0xc0 || p[1] == 0xc2)) {
            p[5] = uint8_t(h >> 8);
            p[6] = uint8_t(h);
            p[7] = uint8_t(w >> 8);
            p[8] = uint8_t(w);
            return;
        }
    }
    throw std::runtime_error("no SOF marker");
}

// --- BMP -----------------------------------------------------------------------

void put16(Bytes* b, uint32_t v) {
    b->push_back(uint8_t(v));
    b->push_back(uint8_t(v >> 8));
}

void put32(Bytes* b, uint32_t v) {
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}

size_t bmpStride(int width, unsigned bits) {
    return (static_cast<size_t>(width) * bits + 31) / 32 * 4;
}

Bytes writeBmp(const BmpSpec& spec) {
    Bytes header;
    if (spec.headerBytes == 12) {
        put32(&header, 12);
        put16(&header, static_cast<uint32_t>(spec.width));
        put16(&header, static_cast<uint32_t>(spec.height));
        put16(&header, 1);
        put16(&header, spec.bits);
    } else {
        put32(&header, spec.headerBytes);
        put32(&header, static_cast<uint32_t>(spec.width));
        put32(&header, static_cast<uint32_t>(spec.height));
        put16(&header, 1);
        put16(&header, spec.bits);
        put32(&header, spec.compression);
        put32(&header, static_cast<uint32_t>(spec.pixelData.size()));
        put32(&header, 2835);
        put32(&header, 2835);
        put32(&header, static_cast<uint32_t>(spec.palette.size()));
        put32(&header, 0);
        if (spec.headerBytes > 40) {
            // V4/V5: masks live in the header.
            for (size_t i = 0; i < 4; ++i) put32(&header, i < spec.masks.size() ? spec.masks[i] : 0);
            while (header.size() < spec.headerBytes) header.push_back(0);
        } else if (spec.compression == 3) {
            for (size_t i = 0; i < 3; ++i) put32(&header, spec.masks.at(i));
        }
    }
    for (uint32_t c : spec.palette) {
        header.push_back(uint8_t(c));
        header.push_back(uint8_t(c >> 8));
        header.push_back(uint8_t(c >> 16));
        if (spec.headerBytes != 12) header.push_back(0);
    }
    Bytes file;
    file.push_back('B');
    file.push_back('M');
    put32(&file, static_cast<uint32_t>(14 + header.size() + spec.pixelData.size()));
    put32(&file, 0);
    put32(&file, static_cast<uint32_t>(14 + header.size()));
    file.insert(file.end(), header.begin(), header.end());
    file.insert(file.end(), spec.pixelData.begin(), spec.pixelData.end());
    return file;
}

// --- DDS -----------------------------------------------------------------------

Bytes writeDds(const DdsSpec& spec) {
    Bytes b{'D', 'D', 'S', ' '};
    uint32_t flags = 0x1 | 0x2 | 0x4 | 0x1000;  // CAPS HEIGHT WIDTH PIXELFORMAT
    if (spec.mipCount) flags |= 0x20000;
    put32(&b, 124);
    put32(&b, flags);
    put32(&b, spec.height);
    put32(&b, spec.width);
    put32(&b, 0);  // pitch / linear size: ignored by readers
    put32(&b, 0);  // depth
    put32(&b, spec.mipCount);
    for (int i = 0; i < 11; ++i) put32(&b, 0);
    put32(&b, 32);
    put32(&b, spec.pfFlags);
    put32(&b, spec.fourCC);
    put32(&b, spec.bits);
    for (uint32_t m : spec.masks) put32(&b, m);
    put32(&b, 0x1000 | (spec.mipCount > 1 ? 0x400008 : 0) | (spec.cube ? 0x8 : 0));
    put32(&b, spec.cube ? 0x200 | 0xfc00 : 0);
    put32(&b, 0);
    put32(&b, 0);
    put32(&b, 0);
    b.insert(b.end(), spec.payload.begin(), spec.payload.end());
    return b;
}

Bytes packPixels(const std::vector<uint32_t>& pixels, unsigned bits, const uint32_t masks[4]) {
    Bytes out;
    for (uint32_t p : pixels) {
        uint32_t channels[4] = {(p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff, p >> 24};
        uint32_t v = 0;
        for (int c = 0; c < 4; ++c) {
            uint32_t m = masks[c];
            if (!m) continue;
            int shift = 0, width = 0;
            while (!((m >> shift) & 1)) ++shift;
            while (shift + width < 32 && ((m >> (shift + width)) & 1)) ++width;
            uint32_t value = channels[c] >> (8 - (width < 8 ? width : 8));
            v |= (value << shift) & m;
        }
        for (unsigned i = 0; i < bits / 8; ++i) out.push_back(uint8_t(v >> (8 * i)));
    }
    return out;
}

// --- DXT -----------------------------------------------------------------------

uint16_t rgb565(unsigned r, unsigned g, unsigned b) {
    return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

uint32_t expand565(uint16_t c) {
    uint32_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
    return 0xff000000u | (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) |
           ((b << 3) | (b >> 2));
}

Bytes dxtColourBlock(uint16_t c0, uint16_t c1, const unsigned indices[16]) {
    Bytes b;
    put16(&b, c0);
    put16(&b, c1);
    uint32_t bits = 0;
    for (int i = 0; i < 16; ++i) bits |= (indices[i] & 3u) << (2 * i);
    put32(&b, bits);
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

// --- Files ---------------------------------------------------------------------

std::string makeTempDir(const std::string& tag) {
    std::string pattern = "image_" + tag + "_XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
    return std::string(buf.data());
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

Bytes readFile(const std::string& path) {
    Bytes out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    uint8_t buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
    std::fclose(f);
    return out;
}

void removeTree(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}

}  // namespace imgtest
