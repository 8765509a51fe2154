#include "ImageDecode.h"

HRESULT WINAPI D3DXGetImageInfoFromFileA(LPCSTR pSrcFile, D3DXIMAGE_INFO* pSrcInfo) {
    if (!pSrcFile) return D3DERR_INVALIDCALL;
    std::vector<uint8_t> bytes;
    // D3DX answers a missing file with D3DXERR_INVALIDDATA, not a file error.
    if (!d3dximage::readWholeFile(pSrcFile, &bytes)) return D3DXERR_INVALIDDATA;
    if (!pSrcInfo) return D3D_OK;
    d3dximage::DecodedImage image;
    HRESULT hr = d3dximage::decodeImage(bytes.data(), bytes.size(),
                                        d3dximage::DecodeMode::InfoOnly, &image);
    if (FAILED(hr)) return hr;
    *pSrcInfo = image.info;
    return D3D_OK;
}
