#include "ImageDecode.h"

HRESULT WINAPI D3DXGetImageInfoFromFileInMemory(LPCVOID pSrcData, UINT SrcDataSize,
                                                D3DXIMAGE_INFO* pSrcInfo) {
    if (!pSrcData || SrcDataSize == 0) return D3DERR_INVALIDCALL;
    if (!pSrcInfo) return D3D_OK;
    d3dximage::DecodedImage image;
    HRESULT hr = d3dximage::decodeImage(static_cast<const uint8_t*>(pSrcData), SrcDataSize,
                                        d3dximage::DecodeMode::InfoOnly, &image);
    if (FAILED(hr)) return hr;
    *pSrcInfo = image.info;
    return D3D_OK;
}

HRESULT WINAPI D3DXGetImageInfoFromFileA(LPCSTR pSrcFile, D3DXIMAGE_INFO* pSrcInfo) {
    if (!pSrcFile) return D3DERR_INVALIDCALL;
    std::vector<uint8_t> bytes;
    // D3DX answers a missing file with D3DXERR_INVALIDDATA, not a file error.
    if (!d3dximage::readWholeFile(pSrcFile, &bytes)) return D3DXERR_INVALIDDATA;
    if (!pSrcInfo) return D3D_OK;
    // An empty file is no image, not a bad call.
    if (bytes.empty()) return D3DXERR_INVALIDDATA;
    return D3DXGetImageInfoFromFileInMemory(bytes.data(), static_cast<UINT>(bytes.size()), pSrcInfo);
}
