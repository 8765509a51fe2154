// The checks the decoder tests share: decoding a whole file, and a one-level
// 2-D image's description and pixels.
#ifndef ZV_TESTS_IMAGE_IMAGECHECKS_H
#define ZV_TESTS_IMAGE_IMAGECHECKS_H

#include <gtest/gtest.h>

#include "ImageWriters.h"
#include "d3dx9/image/ImageDecode.h"

namespace imgtest {

using d3dximage::DecodedImage;
using d3dximage::DecodeMode;

inline HRESULT decode(const Bytes& file, DecodeMode mode = DecodeMode::Pixels, DecodedImage* out = nullptr) {
    DecodedImage img;
    return d3dximage::decodeImage(file.data(), file.size(), mode, out ? out : &img);
}

inline void expectImage(const Bytes& file, D3DXIMAGE_FILEFORMAT kind, D3DFORMAT format, bool hasAlpha, UINT w, UINT h,
                        const std::vector<uint32_t>& pixels) {
    DecodedImage img;
    ASSERT_EQ(D3D_OK, decode(file, DecodeMode::Pixels, &img));
    const D3DXIMAGE_INFO& i = img.info;
    EXPECT_TRUE(i.Width == w && i.Height == h && i.Depth == 1 && i.MipLevels == 1) << i.Width << "x" << i.Height;
    EXPECT_TRUE(i.ResourceType == D3DRTYPE_TEXTURE && i.ImageFileFormat == kind);
    EXPECT_EQ(format, i.Format);
    EXPECT_EQ(hasAlpha, img.hasAlpha);
    ASSERT_TRUE(img.faces.size() == 1 && img.faces[0].size() == 1);
    ASSERT_EQ(pixels.size(), img.faces[0][0].pixels.size());
    for (size_t p = 0; p < pixels.size(); ++p)
        ASSERT_EQ(pixels[p], img.faces[0][0].pixels[p]) << "pixel " << p % w << "," << p / w;
    // The description alone agrees, without pixels.
    DecodedImage info;
    ASSERT_EQ(D3D_OK, decode(file, DecodeMode::InfoOnly, &info));
    EXPECT_EQ(format, info.info.Format);
    EXPECT_TRUE(info.faces.empty());
}

}  // namespace imgtest

#endif
