#include "DX_D3DWrapper.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <zvfile.h>

#include "DX_Camera.h"
#include "DX_TextureManager.h"
#include "QNGameState.h"
#include "QNMemory.h"
#include "QNScriptHelper.h"

CDX_D3DWrapper* CDX_D3DWrapper::s_instance = nullptr;

namespace {
D3DLIGHT9 g_light;

D3DCOLOR opaque(int r, int g, int b) {
    return 0xFF000000u | (static_cast<DWORD>(r & 0xFF) << 16) |
           (static_cast<DWORD>(g & 0xFF) << 8) | static_cast<DWORD>(b & 0xFF);
}
// A size read from the configuration as a whole number of pixels: the
// fraction dropped, and a negative, not-a-number or absurd value (which the
// conversion to an unsigned type could not represent) held to 0 .. 16384.
UINT pixelSize(float size) {
    if (!(size > 0.0f)) return 0;
    return size < 16384.0f ? static_cast<UINT>(size) : 16384u;
}

}  // namespace

CDX_D3DWrapper::CDX_D3DWrapper()
    : m_hWnd(nullptr),
      m_width(800.0f),
      m_height(600.0f),
      m_pD3D(nullptr),
      m_pDevice(nullptr),
      m_fullScreen(0) {
    std::memset(&m_presentParams, 0, sizeof m_presentParams);
    D3DXMatrixIdentity(&m_projection);
}

CDX_D3DWrapper::~CDX_D3DWrapper() {}

CDX_D3DWrapper* CDX_D3DWrapper::getInstance() {
    if (!s_instance) {
        setOwner(__FILE__, __LINE__, "??");
        s_instance = new CDX_D3DWrapper;
    }
    return s_instance;
}

QNRESULT CDX_D3DWrapper::destroyInstance() {
    if (!s_instance) return QNRSLT_OK;
    if (s_instance->m_pDevice) {
        s_instance->m_pDevice->Release();
        s_instance->m_pDevice = nullptr;
    }
    if (s_instance->m_pD3D) {
        s_instance->m_pD3D->Release();
        s_instance->m_pD3D = nullptr;
    }
    setOwner(__FILE__, __LINE__, "??");
    delete s_instance;
    s_instance = nullptr;
    return QNRSLT_OK;
}

QNRESULT CDX_D3DWrapper::initialize(HWND hWnd, const char* configPath) {
    m_hWnd = hWnd;
    m_fullScreen = 0;
    m_width = 800.0f;
    m_height = 600.0f;
    _readConfig(configPath);
    if (_createD3DObject() > QNRSLT_OK || _createD3DDevice(m_fullScreen) > QNRSLT_OK ||
        _createViewport() > QNRSLT_OK)
        return logResult(QNRSLT_D3DFAILED, "CDX_D3DWrapper::initialize( )", nullptr, 1);
    _setRenderStates();
    setPerspective(60.0f, 1.0f, 8000.0f);
    return QNRSLT_OK;
}

void CDX_D3DWrapper::_readConfig(const char* path) {
    char* text = nullptr;
    // A missing file has been reported by the reader; the defaults stay.
    if (CScriptHelper::readScript(path, &text) > QNRSLT_OK) return;
    CQNGameState* state = CQNGameState::getInstance();
    for (char* token = std::strtok(text, QN_DELIMITERS_STANDARD); token;
         token = std::strtok(nullptr, QN_DELIMITERS_STANDARD)) {
        if (std::strcmp(token, "[RESOLUTION]") == 0) {
            // A key whose values are missing at the end of the text counts as absent.
            const char* w = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
            const char* h = w ? std::strtok(nullptr, QN_DELIMITERS_STANDARD) : nullptr;
            if (w && h) {
                m_width = static_cast<float>(std::atof(w));
                m_height = static_cast<float>(std::atof(h));
            }
        } else if (std::strcmp(token, "[FULLSCREEN]") == 0) {
            const char* v = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
            if (v && std::strcmp(v, "TRUE") == 0) m_fullScreen = 1;
        } else if (std::strcmp(token, "[ENV_MAPS]") == 0) {
            const char* v = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
            if (v && std::strcmp(v, "FALSE") == 0) state->m_envMaps = false;
        } else if (std::strcmp(token, "[CDPLAYBACK]") == 0) {
            const char* v = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
            if (v && std::strcmp(v, "TRUE") == 0) state->m_cdPlayback = true;
        } else if (std::strcmp(token, "[MUTE]") == 0) {
            const char* v = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
            if (v && std::strcmp(v, "TRUE") == 0) state->m_muted = true;
        }
    }
    CScriptHelper::freeScript(text);
}

QNRESULT CDX_D3DWrapper::_createD3DObject() {
    m_pD3D = Direct3DCreate9(D3D_SDK_VERSION);
    if (!m_pD3D)
        return logResult(QNRSLT_D3DFAILED, "CDX_D3DWrapper::_createD3DObject()", nullptr, 1);
    return QNRSLT_OK;
}

void CDX_D3DWrapper::_fillPresentParams(unsigned char fullScreen, D3DPRESENT_PARAMETERS* out) {
    std::memset(&m_presentParams, 0, sizeof m_presentParams);
    m_presentParams.BackBufferWidth = pixelSize(m_width);
    m_presentParams.BackBufferHeight = pixelSize(m_height);
    m_presentParams.BackBufferFormat = fullScreen ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8;
    m_presentParams.BackBufferCount = 0;
    m_presentParams.MultiSampleType = D3DMULTISAMPLE_NONE;
    m_presentParams.MultiSampleQuality = 0;
    m_presentParams.SwapEffect = D3DSWAPEFFECT_DISCARD;
    m_presentParams.hDeviceWindow = m_hWnd;
    m_presentParams.Windowed = fullScreen ? FALSE : TRUE;
    m_presentParams.EnableAutoDepthStencil = TRUE;
    m_presentParams.AutoDepthStencilFormat = D3DFMT_D16;
    m_presentParams.Flags = 0;
    m_presentParams.FullScreen_RefreshRateInHz = 0;
    m_presentParams.PresentationInterval =
        fullScreen ? D3DPRESENT_INTERVAL_ONE : D3DPRESENT_INTERVAL_IMMEDIATE;
    if (out) *out = m_presentParams;
}

QNRESULT CDX_D3DWrapper::_createD3DDevice(unsigned char fullScreen) {
    D3DPRESENT_PARAMETERS params;
    _fillPresentParams(fullScreen, &params);
    D3DCAPS9 caps;
    std::memset(&caps, 0, sizeof caps);
    m_pD3D->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps);
    DWORD vertexProcessing = D3DCREATE_HARDWARE_VERTEXPROCESSING;
    if (!(caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT)) {
        logResult(QNRSLT_NOHARDWARECAP, "CDX_D3DWrapper::_createD3DDevice( )",
                  "Videocard does not support hardware T&L", 0);
        vertexProcessing = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    }
    if (FAILED(m_pD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m_hWnd, vertexProcessing,
                                    &m_presentParams, &m_pDevice))) {
        m_pDevice = nullptr;
        return logResult(QNRSLT_D3DFAILED, "CDX_D3DWrapper::_createD3DDevice( )", nullptr, 1);
    }
    return QNRSLT_OK;
}

QNRESULT CDX_D3DWrapper::_createViewport() {
    D3DVIEWPORT9 viewport;
    viewport.X = 0;
    viewport.Y = 0;
    viewport.Width = pixelSize(m_width);
    viewport.Height = pixelSize(m_height);
    viewport.MinZ = 0.0f;
    viewport.MaxZ = 1.0f;
    if (FAILED(m_pDevice->SetViewport(&viewport)))
        return logResult(QNRSLT_D3DFAILED, "CDX_D3DWrapper::_createViewport()", nullptr, 1);
    return QNRSLT_OK;
}

QNRESULT CDX_D3DWrapper::_setRenderStates() {
    IDirect3DDevice9* d = m_pDevice;
    d->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2);

    d->SetRenderState(D3DRS_LIGHTING, TRUE);
    setAmbientLight(100, 100, 100);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    d->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    d->SetRenderState(D3DRS_ALPHAREF, 0);
    d->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    d->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    d->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    d->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);

    d->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    d->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
    d->SetSamplerState(1, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    d->SetSamplerState(1, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);

    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_CURRENT);
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_BLENDCURRENTALPHA);
    d->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
    d->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(1, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    d->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR | 1);
    d->SetTextureStageState(2, D3DTSS_COLOROP, D3DTOP_DISABLE);
    d->SetTextureStageState(2, D3DTSS_ALPHAOP, D3DTOP_DISABLE);

    for (DWORD s = 0; s < 2; ++s) {
        d->SetSamplerState(s, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        d->SetSamplerState(s, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        d->SetSamplerState(s, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    }
    // The environment map (stage 1) is a 64-texel cube spread over whole
    // block faces: magnified nearly everywhere, so its mip chain only
    // serves the bevels, and choosing a level per pixel costs a software
    // rasteriser as much as the rest of the block's shading.
    d->SetSamplerState(1, D3DSAMP_MIPFILTER, D3DTEXF_NONE);

    std::memset(&g_light, 0, sizeof g_light);
    g_light.Type = D3DLIGHT_DIRECTIONAL;
    g_light.Diffuse.r = 1.0f;
    g_light.Diffuse.g = 1.0f;
    g_light.Diffuse.b = 1.0f;
    g_light.Direction.x = 0.0f;
    g_light.Direction.y = 1.0f;
    g_light.Direction.z = -1.0f;
    d->SetLight(0, &g_light);
    d->LightEnable(0, TRUE);
    return QNRSLT_OK;
}

QNRESULT CDX_D3DWrapper::setPerspective(float fovDegrees, float nearPlane, float farPlane) {
    CDX_Camera* camera = CDX_Camera::getInstance();
    D3DXMatrixPerspectiveFovRH(&m_projection, fovDegrees * 0.017453292f, m_width / m_height,
                               nearPlane, farPlane);
    if (m_pDevice) {
        m_pDevice->SetTransform(D3DTS_PROJECTION, &m_projection);
        m_pDevice->SetRenderState(D3DRS_ZENABLE, TRUE);
        m_pDevice->SetRenderState(D3DRS_LIGHTING, TRUE);
    }
    camera->applyTransforms();
    return QNRSLT_OK;
}

QNRESULT CDX_D3DWrapper::setOrthographic() {
    if (!m_pDevice) return QNRSLT_OK;
    D3DXMATRIX ortho, identity;
    D3DXMatrixOrthoRH(&ortho, m_width, m_height, 0.0f, 1.0f);
    D3DXMatrixIdentity(&identity);
    m_pDevice->SetTransform(D3DTS_PROJECTION, &ortho);
    m_pDevice->SetTransform(D3DTS_WORLD, &identity);
    m_pDevice->SetTransform(D3DTS_VIEW, &identity);
    m_pDevice->SetRenderState(D3DRS_ZENABLE, FALSE);
    m_pDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
    return QNRSLT_OK;
}

QNRESULT CDX_D3DWrapper::setAmbientLight(int r, int g, int b) {
    if (m_pDevice) m_pDevice->SetRenderState(D3DRS_AMBIENT, opaque(r, g, b));
    return QNRSLT_OK;
}

QNRESULT CDX_D3DWrapper::clearScreen(int r, int g, int b) {
    if (m_pDevice)
        m_pDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, opaque(r, g, b), 1.0f, 0);
    return QNRSLT_OK;
}

QNRESULT CDX_D3DWrapper::renderScreen() {
    CDX_TextureManager::getInstance();
    if (!m_pDevice) return QNRSLT_OK;
    if (m_pDevice->Present(nullptr, nullptr, nullptr, nullptr) != D3DERR_DEVICELOST) return QNRSLT_OK;
    logResult(QNRSLT_D3DFAILED, "CDX_D3DWrapper::renderScreen()", "Device was lost", 0);
    if (FAILED(m_pDevice->Reset(&m_presentParams))) {
        logResult(QNRSLT_D3DFAILED, "CDX_D3DWrapper::renderScreen()", "Can't reset device right now", 0);
        return QNRSLT_OK;
    }
    _setRenderStates();
    return QNRSLT_OK;
}

QNRESULT CDX_D3DWrapper::saveScreenShot() {
    IDirect3DSurface9* surface = nullptr;
    if (!m_pDevice ||
        FAILED(m_pDevice->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface)) || !surface)
        return logResult(QNRSLT_D3DFAILED, "CDX_D3DWrapper::saveScreenShot( )", nullptr, 0);
    char name[256];
    for (int number = 0;; ++number) {
        std::snprintf(name, sizeof name, "Screen Shots\\Zarvel Image %d.bmp", number);
        FILE* existing = zvOpenFile(name, "rb");
        if (!existing) break;
        std::fclose(existing);
    }
    D3DXSaveSurfaceToFileA(name, D3DXIFF_BMP, surface, nullptr, nullptr);
    surface->Release();
    return QNRSLT_OK;
}
