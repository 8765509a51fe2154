// libFuzzer target for the image readers (BMP, DDS 2-D and cube with mip
// chains and DXT1/3/5, PNG, JPEG) through D3DXGetImageInfoFromFileInMemory
// and the decoding of the texture entry points: any bytes in, a description and
// pixels or D3DXERR_INVALIDDATA out; never a crash, a leak, a read past the
// input or an allocation a header alone asked for.
//
// On start it seeds an empty corpus folder (the first non-flag argument) with
// small valid files of every kind, made by the unit tests' image writers.
#include <png.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ImageDecode.h"
#include "ImageWriters.h"

namespace {

using namespace imgtest;

// Images larger than this are described but not decoded here: a valid file
// may rightly ask for a gigabyte, which says nothing about the readers.
constexpr uint64_t kMaxDecodedPixels = 1u << 22;

std::vector<Bytes> seeds() {
    std::vector<Bytes> out;
    BmpSpec bmp;
    bmp.width = 3;
    bmp.height = -2;
    bmp.bits = 24;
    bmp.pixelData.assign(bmpStride(3, 24) * 2, 0x31);
    out.push_back(writeBmp(bmp));
    BmpSpec rle;
    rle.width = 6;
    rle.height = 3;
    rle.bits = 8;
    rle.compression = 1;
    rle.palette = {0xff0000, 0x00ff00, 0x0000ff};
    rle.pixelData = {3, 1, 0, 3, 2, 1, 0, 0, 0, 0, 0, 2, 1, 1, 4, 2, 0, 1};
    out.push_back(writeBmp(rle));
    BmpSpec fields;
    fields.width = 4;
    fields.height = 2;
    fields.bits = 16;
    fields.compression = 3;
    fields.headerBytes = 124;
    fields.masks = {0x0f00, 0x00f0, 0x000f, 0xf000};
    fields.pixelData.assign(16, 0x5a);
    out.push_back(writeBmp(fields));

    DdsSpec argb;
    argb.width = argb.height = 4;
    argb.mipCount = 3;
    argb.pfFlags = kDdpfRgb | kDdpfAlphaPixels;
    argb.masks[3] = 0xff000000;
    argb.payload.assign((16 + 4 + 1) * 4, 0x77);
    out.push_back(writeDds(argb));
    DdsSpec dxt1;
    dxt1.width = 8;
    dxt1.height = 8;
    dxt1.pfFlags = kDdpfFourCC;
    dxt1.fourCC = D3DFMT_DXT1;
    const unsigned idx[16] = {0, 1, 2, 3, 3, 2, 1, 0, 0, 0, 3, 3, 1, 1, 2, 2};
    for (int i = 0; i < 4; ++i) {
        Bytes b = dxtColourBlock(uint16_t(0x1234 * i), 0x8000, idx);
        dxt1.payload.insert(dxt1.payload.end(), b.begin(), b.end());
    }
    out.push_back(writeDds(dxt1));
    // DXT3, 4 x 4 with its 2 x 2 and 1 x 1 levels (each one block).
    const unsigned alpha4[16] = {0, 15, 7, 3, 1, 2, 4, 8, 15, 15, 0, 0, 9, 9, 9, 9};
    const Bytes dxt3Block = dxt3AlphaBlock(alpha4) + dxtColourBlock(0x07e0, 0xf81f, idx);
    out.push_back(writeDds(dxtSpec(D3DFMT_DXT3, 4, 4, dxt3Block + dxt3Block + dxt3Block, 3)));
    DdsSpec cube;
    cube.width = cube.height = 4;
    cube.cube = true;
    cube.pfFlags = kDdpfFourCC;
    cube.fourCC = D3DFMT_DXT5;
    for (int f = 0; f < 6; ++f) {
        Bytes a = dxt5AlphaBlock(uint8_t(40 * f), 200, idx);
        Bytes c = dxtColourBlock(0xf800, 0x001f, idx);
        cube.payload.insert(cube.payload.end(), a.begin(), a.end());
        cube.payload.insert(cube.payload.end(), c.begin(), c.end());
    }
    out.push_back(writeDds(cube));

    PngSpec pal;
    pal.width = pal.height = 5;
    pal.colorType = PNG_COLOR_TYPE_PALETTE;
    pal.bitDepth = 4;
    pal.interlaced = true;
    pal.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255};
    pal.trns = {0, 128};
    for (int i = 0; i < 25; ++i) pal.samples.push_back(uint16_t(i % 3));
    out.push_back(writePng(pal));
    PngSpec deep;
    deep.width = deep.height = 3;
    deep.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    deep.bitDepth = 16;
    for (int i = 0; i < 36; ++i) deep.samples.push_back(uint16_t(i * 1800));
    out.push_back(writePng(deep));

    out.push_back(writeJpeg(16, 16, patternImage(16, 16, 1), false, true, 75));
    out.push_back(writeJpeg(9, 7, patternImage(9, 7, 2), true, false, 75));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    const char* corpus = nullptr;
    for (int i = 1; i < *argc; ++i) {
        if ((*argv)[i][0] != '-') {
            corpus = (*argv)[i];
            break;
        }
    }
    if (!corpus) return 0;
    mkdir(corpus, 0755);
    std::string first = std::string(corpus) + "/seed_0";
    if (std::FILE* f = std::fopen(first.c_str(), "rb")) {
        std::fclose(f);
        return 0;  // seeded before
    }
    std::vector<Bytes> all = seeds();
    for (size_t i = 0; i < all.size(); ++i) {
        writeFile(std::string(corpus) + "/seed_" + std::to_string(i), all[i]);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    D3DXIMAGE_INFO info;
    HRESULT hr = D3DXGetImageInfoFromFileInMemory(data, UINT(size), &info);
    if (hr != D3D_OK && hr != D3DXERR_INVALIDDATA) std::abort();
    if (hr != D3D_OK) return 0;
    if (uint64_t(info.Width) * info.Height > kMaxDecodedPixels) return 0;

    // The decoding D3DXCreate(Cube)TextureFromFileInMemory do before the
    // upload, which needs a device.
    d3dximage::DecodedImage image;
    hr = d3dximage::decodeImage(data, size, d3dximage::DecodeMode::Pixels, &image);
    if (hr != D3D_OK && hr != D3DXERR_INVALIDDATA) std::abort();
    if (hr != D3D_OK) return 0;
    if (image.info.Width != info.Width || image.info.Height != info.Height ||
        image.info.MipLevels != info.MipLevels || image.info.ResourceType != info.ResourceType) {
        std::abort();  // the header read and the full read disagree
    }
    for (auto& face : image.faces) {
        if (face.size() != image.info.MipLevels) std::abort();
        for (size_t l = 0; l < face.size(); ++l) {
            UINT w = image.info.Width >> l, h = image.info.Height >> l;
            if (face[l].width != (w ? w : 1) || face[l].height != (h ? h : 1) ||
                face[l].pixels.size() != size_t(face[l].width) * face[l].height) {
                std::abort();
            }
        }
        d3dximage::completeMipChain(&face);
    }
    return 0;
}
