// PNG through libpng: every colour type and bit depth, palettes with tRNS,
// grey with alpha, 16-bit channels (scaled to 8) and Adam7 interlacing.
#include <png.h>

#include <csetjmp>
#include <cstring>

#include "FileFormats.h"
#include "ImageDecode.h"

namespace d3dximage {

namespace {

enum PngFailure { kPngOk = 0, kPngBadData = 1, kPngNoMemory = 2 };

// Grows the caller's pixel buffer to width x height and returns one row
// pointer per row (each row width * 4 bytes), or null when memory runs out.
typedef png_bytep* (*PngAllocate)(void* owner, png_uint_32 width, png_uint_32 height);

// Everything the plain decoding function shares with its caller. libpng
// reports errors by longjmp, which must never leave a frame that owns C++
// objects, so this holds plain data only and runPng() declares no object
// with a destructor. Fields written after setjmp live here, not in locals.
struct PngJob {
    const uint8_t* data;
    size_t size;
    size_t pos;
    bool infoOnly;
    PngAllocate allocate;
    void* owner;

    png_structp png;
    png_infop info;
    jmp_buf jump;
    PngFailure failure;

    png_uint_32 width;
    png_uint_32 height;
    int bitDepth;
    int colorType;
    bool hasTrns;
};

void pngRead(png_structp png, png_bytep out, png_size_t length) {
    PngJob* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (length > job->size - job->pos) png_error(png, "truncated file");
    std::memcpy(out, job->data + job->pos, length);
    job->pos += length;
}

void pngError(png_structp png, png_const_charp) {
    PngJob* job = static_cast<PngJob*>(png_get_error_ptr(png));
    std::longjmp(job->jump, 1);
}

void pngWarning(png_structp, png_const_charp) {}

PngFailure runPng(PngJob* job) {
    job->failure = kPngBadData;
    job->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, job, pngError, pngWarning);
    if (!job->png) return kPngNoMemory;
    job->info = png_create_info_struct(job->png);
    if (!job->info) {
        png_destroy_read_struct(&job->png, nullptr, nullptr);
        return kPngNoMemory;
    }
    if (setjmp(job->jump)) {
        png_destroy_read_struct(&job->png, &job->info, nullptr);
        return job->failure;
    }
    png_structp png = job->png;
    png_infop info = job->info;
    png_set_read_fn(png, job, pngRead);
    png_set_user_limits(png, kMaxImageEdge, kMaxImageEdge);
    png_read_info(png, info);

    int interlace;
    png_get_IHDR(png, info, &job->width, &job->height, &job->bitDepth, &job->colorType,
                 &interlace, nullptr, nullptr);
    job->hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (job->infoOnly) {
        png_destroy_read_struct(&job->png, &job->info, nullptr);
        return kPngOk;
    }

    // Deflate expands at most 1032:1, so a header whose raw image could not
    // come out of the bytes present is refused before anything is allocated.
    uint64_t rawBytes = (static_cast<uint64_t>(png_get_rowbytes(png, info)) + 1) * job->height;
    if (rawBytes / 1032 > job->size) png_error(png, "image larger than its data");

    if (job->colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (job->colorType == PNG_COLOR_TYPE_GRAY && job->bitDepth < 8) {
        png_set_expand_gray_1_2_4_to_8(png);
    }
    if (job->hasTrns) png_set_tRNS_to_alpha(png);
    if (job->bitDepth == 16) png_set_scale_16(png);
    if (!(job->colorType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
    if (!(job->colorType & PNG_COLOR_MASK_ALPHA) && !job->hasTrns) {
        png_set_filler(png, 0xff, PNG_FILLER_AFTER);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<size_t>(job->width) * 4) {
        png_error(png, "unexpected row layout");
    }

    png_bytep* rows = job->allocate(job->owner, job->width, job->height);
    if (!rows) {
        job->failure = kPngNoMemory;
        png_error(png, "out of memory");
    }
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&job->png, &job->info, nullptr);
    return kPngOk;
}

struct PngPixels {
    std::vector<uint32_t> pixels;
    std::vector<png_bytep> rows;
};

png_bytep* allocatePixels(void* owner, png_uint_32 width, png_uint_32 height) {
    PngPixels* out = static_cast<PngPixels*>(owner);
    try {
        out->pixels.resize(static_cast<size_t>(width) * height);
        out->rows.resize(height);
    } catch (...) {
        return nullptr;
    }
    for (png_uint_32 y = 0; y < height; ++y) {
        out->rows[y] = reinterpret_cast<png_bytep>(&out->pixels[static_cast<size_t>(y) * width]);
    }
    return out->rows.data();
}

D3DFORMAT fileFormat(int colorType, int bitDepth) {
    bool deep = bitDepth == 16;
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY:
        return deep ? kFormatL16 : D3DFMT_L8;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return deep ? kFormatA16B16G16R16 : D3DFMT_A8L8;
    case PNG_COLOR_TYPE_PALETTE:
        return kFormatP8;
    case PNG_COLOR_TYPE_RGB:
        return deep ? kFormatA16B16G16R16 : D3DFMT_R8G8B8;
    default:
        return deep ? kFormatA16B16G16R16 : D3DFMT_A8R8G8B8;
    }
}

}  // namespace

HRESULT decodePng(const uint8_t* data, size_t size, DecodeMode mode, DecodedImage* out) {
    *out = DecodedImage();
    PngPixels pixels;
    PngJob job;
    std::memset(&job, 0, sizeof(job));
    job.data = data;
    job.size = size;
    job.infoOnly = mode == DecodeMode::InfoOnly;
    job.allocate = allocatePixels;
    job.owner = &pixels;
    PngFailure failure = runPng(&job);
    if (failure != kPngOk) return failure == kPngNoMemory ? E_OUTOFMEMORY : D3DXERR_INVALIDDATA;

    out->info.Width = job.width;
    out->info.Height = job.height;
    out->info.Depth = 1;
    out->info.MipLevels = 1;
    out->info.Format = fileFormat(job.colorType, job.bitDepth);
    out->info.ResourceType = D3DRTYPE_TEXTURE;
    out->info.ImageFileFormat = D3DXIFF_PNG;
    out->hasAlpha = (job.colorType & PNG_COLOR_MASK_ALPHA) || job.hasTrns;
    if (mode == DecodeMode::InfoOnly) return D3D_OK;

    // libpng wrote R, G, B, A bytes; make them 0xAARRGGBB words.
    for (uint32_t& p : pixels.pixels) {
        const uint8_t* b = reinterpret_cast<const uint8_t*>(&p);
        p = (static_cast<uint32_t>(b[3]) << 24) | (b[0] << 16) | (b[1] << 8) | b[2];
    }
    ImageLevel level;
    level.width = job.width;
    level.height = job.height;
    level.pixels = std::move(pixels.pixels);
    out->faces.resize(1);
    out->faces[0].push_back(std::move(level));
    return D3D_OK;
}

}  // namespace d3dximage
