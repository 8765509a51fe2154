// The Direct3D object and the one device of the game window: start-up from
// the configuration file, the engine's default state, presenting with
// lost-device recovery, projections and screenshots.
#ifndef DX_D3DWRAPPER_H
#define DX_D3DWRAPPER_H

#include <d3d9.h>
#include <d3dx9.h>

#include "QNResults.h"

class CDX_D3DWrapper {
public:
    static CDX_D3DWrapper* getInstance();
    // Releases the device, then the Direct3D object, then the wrapper.
    static QNRESULT destroyInstance();

    QNRESULT initialize(HWND hWnd, const char* configPath);
    // Presents the frame; on a lost device tries one reset per frame.
    QNRESULT renderScreen();
    // Saves the last presented frame as the first free
    // "Screen Shots\Zarvel Image %d.bmp".
    QNRESULT saveScreenShot();
    QNRESULT clearScreen(int r, int g, int b);
    QNRESULT setPerspective(float fovDegrees, float nearPlane, float farPlane);
    // Screen-space drawing: pixels, origin at the centre, y up.
    QNRESULT setOrthographic();
    QNRESULT setAmbientLight(int r, int g, int b);

    IDirect3DDevice9* getDevice() const { return m_pDevice; }
    float getWidth() const { return m_width; }
    float getHeight() const { return m_height; }
    HWND getWindowHandle() const { return m_hWnd; }

    HWND m_hWnd;
    float m_width;
    float m_height;
    IDirect3D9* m_pD3D;
    IDirect3DDevice9* m_pDevice;
    unsigned char m_fullScreen;
    D3DPRESENT_PARAMETERS m_presentParams;
    D3DXMATRIX m_projection;

private:
    CDX_D3DWrapper();
    ~CDX_D3DWrapper();

    void _readConfig(const char* path);
    QNRESULT _createD3DObject();
    QNRESULT _createD3DDevice(unsigned char fullScreen);
    void _fillPresentParams(unsigned char fullScreen, D3DPRESENT_PARAMETERS* out);
    QNRESULT _createViewport();
    QNRESULT _setRenderStates();

    static CDX_D3DWrapper* s_instance;
};

#endif
