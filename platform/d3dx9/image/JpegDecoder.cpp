// JPEG through libjpeg: greyscale and colour, baseline and progressive.
// libjpeg's warnings about corrupt or missing data are treated as errors, so
// a truncated file fails instead of coming back padded with grey.
#include <cstdio>  // jpeglib.h needs FILE and size_t first

#include <jpeglib.h>

#include <csetjmp>
#include <cstddef>
#include <cstring>

#include "ImageDecode.h"

namespace d3dximage {

namespace {

enum JpegFailure { kJpegOk = 0, kJpegBadData = 1, kJpegNoMemory = 2 };

// Working memory libjpeg may take (progressive files keep every coefficient).
constexpr long kMaxJpegWorkBytes = 1L << 30;

// Grows the caller's pixel buffer to width x height words; null when memory
// runs out.
typedef uint32_t* (*JpegAllocate)(void* owner, JDIMENSION width, JDIMENSION height);

// Shared with the plain decoding function: libjpeg's error exit longjmps,
// which must never leave a frame that owns C++ objects (see PngDecoder.cpp).
struct JpegJob {
    const uint8_t* data;
    size_t size;
    bool infoOnly;
    JpegAllocate allocate;
    void* owner;

    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    jmp_buf jump;
    JpegFailure failure;

    JDIMENSION width;
    JDIMENSION height;
    int components;
};

JpegJob* jobOf(j_common_ptr cinfo) {
    // The error manager is a member of the job, so its address leads back.
    return reinterpret_cast<JpegJob*>(reinterpret_cast<char*>(cinfo->err) -
                                      offsetof(JpegJob, err));
}

void jpegErrorExit(j_common_ptr cinfo) {
    std::longjmp(jobOf(cinfo)->jump, 1);
}

void jpegEmitMessage(j_common_ptr cinfo, int level) {
    if (level < 0) std::longjmp(jobOf(cinfo)->jump, 1);  // a warning: corrupt data
}

void jpegOutputMessage(j_common_ptr) {}

JpegFailure runJpeg(JpegJob* job) {
    job->failure = kJpegBadData;
    jpeg_decompress_struct* cinfo = &job->cinfo;
    cinfo->err = jpeg_std_error(&job->err);
    job->err.error_exit = jpegErrorExit;
    job->err.emit_message = jpegEmitMessage;
    job->err.output_message = jpegOutputMessage;
    if (setjmp(job->jump)) {
        jpeg_destroy_decompress(&job->cinfo);
        return job->failure;
    }
    jpeg_create_decompress(cinfo);
    cinfo->mem->max_memory_to_use = kMaxJpegWorkBytes;
    jpeg_mem_src(cinfo, const_cast<unsigned char*>(job->data), static_cast<unsigned long>(job->size));
    jpeg_read_header(cinfo, TRUE);

    job->width = cinfo->image_width;
    job->height = cinfo->image_height;
    job->components = cinfo->num_components;
    bool supported = (cinfo->jpeg_color_space == JCS_GRAYSCALE && job->components == 1) ||
                     ((cinfo->jpeg_color_space == JCS_YCbCr || cinfo->jpeg_color_space == JCS_RGB) &&
                      job->components == 3);
    if (!supported || job->width == 0 || job->height == 0 || job->width > kMaxImageEdge ||
        job->height > kMaxImageEdge) {
        jpeg_destroy_decompress(cinfo);
        return kJpegBadData;
    }
    if (job->infoOnly) {
        jpeg_destroy_decompress(cinfo);
        return kJpegOk;
    }
    // Every 8x8 luminance block costs at least one bit of entropy-coded data,
    // so a header claiming far more blocks than the file could hold is
    // refused before the image is allocated.
    uint64_t blocks = static_cast<uint64_t>((job->width + 7) / 8) * ((job->height + 7) / 8);
    if (blocks / 8 > job->size) {
        jpeg_destroy_decompress(cinfo);
        return kJpegBadData;
    }

    cinfo->out_color_space = JCS_RGB;
    jpeg_start_decompress(cinfo);
    if (cinfo->output_width != job->width || cinfo->output_height != job->height ||
        cinfo->output_components != 3) {
        jpeg_destroy_decompress(cinfo);
        return kJpegBadData;
    }
    uint32_t* pixels = job->allocate(job->owner, job->width, job->height);
    if (!pixels) {
        job->failure = kJpegNoMemory;
        jpeg_destroy_decompress(cinfo);
        return kJpegNoMemory;
    }
    while (cinfo->output_scanline < cinfo->output_height) {
        uint32_t* rowWords = pixels + static_cast<size_t>(cinfo->output_scanline) * job->width;
        JSAMPROW row = reinterpret_cast<JSAMPROW>(rowWords);
        jpeg_read_scanlines(cinfo, &row, 1);
        // The row holds width RGB triples at its start; widen them in place
        // from the right so no triple is overwritten before it is read.
        for (JDIMENSION x = job->width; x-- > 0;) {
            const uint8_t* p = row + 3 * x;
            rowWords[x] = 0xff000000u | (static_cast<uint32_t>(p[0]) << 16) | (p[1] << 8) | p[2];
        }
    }
    jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    return kJpegOk;
}

uint32_t* allocatePixels(void* owner, JDIMENSION width, JDIMENSION height) {
    std::vector<uint32_t>* pixels = static_cast<std::vector<uint32_t>*>(owner);
    try {
        pixels->resize(static_cast<size_t>(width) * height);
    } catch (...) {
        return nullptr;
    }
    return pixels->data();
}

}  // namespace

HRESULT decodeJpeg(const uint8_t* data, size_t size, DecodeMode mode, DecodedImage* out) {
    *out = DecodedImage();
    std::vector<uint32_t> pixels;
    JpegJob job;
    std::memset(&job, 0, sizeof(job));
    job.data = data;
    job.size = size;
    job.infoOnly = mode == DecodeMode::InfoOnly;
    job.allocate = allocatePixels;
    job.owner = &pixels;
    JpegFailure failure = runJpeg(&job);
    if (failure != kJpegOk) return failure == kJpegNoMemory ? E_OUTOFMEMORY : D3DXERR_INVALIDDATA;

    out->info.Width = job.width;
    out->info.Height = job.height;
    out->info.Depth = 1;
    out->info.MipLevels = 1;
    out->info.Format = job.components == 1 ? D3DFMT_L8 : D3DFMT_X8R8G8B8;
    out->info.ResourceType = D3DRTYPE_TEXTURE;
    out->info.ImageFileFormat = D3DXIFF_JPG;
    out->hasAlpha = false;
    if (mode == DecodeMode::InfoOnly) return D3D_OK;

    ImageLevel level;
    level.width = job.width;
    level.height = job.height;
    level.pixels = std::move(pixels);
    out->faces.resize(1);
    out->faces[0].push_back(std::move(level));
    return D3D_OK;
}

}  // namespace d3dximage
