#include "TextFixture.h"

#include <cstring>

#include "DX_D3DWrapper.h"
#include "DX_Text.h"
#include "QNResults.h"
#include "testing/DeviceTesting.h"

namespace {

LRESULT CALLBACK testProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

}  // namespace

bool litPixel(DWORD pixel) {
    return ((pixel >> 16) & 0xFF) > 0x20 || ((pixel >> 8) & 0xFF) > 0x20 || (pixel & 0xFF) > 0x20;
}

void TextOnDevice::SetUp() {
    zvtestsupport::makeDirs("Logs");
    CQNResults::getInstance()->open("Logs\\QNResultLog.htm", "QN Engine Result Log");
    zvtestsupport::writeFile("test.cfg", "[RESOLUTION] 800 600\n[FULLSCREEN] FALSE\n");
    WNDCLASSA wc = {};
    wc.lpfnWndProc = testProc;
    wc.lpszClassName = "Zarvel";
    RegisterClassA(&wc);
    m_hWnd =
        CreateWindowExA(0, "Zarvel", "Zarvel", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                        kFrameWidth, kFrameHeight, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, m_hWnd);
    ASSERT_EQ(QNRSLT_OK, CDX_D3DWrapper::getInstance()->initialize(m_hWnd, "test.cfg"));
    m_device = CDX_D3DWrapper::getInstance()->getDevice();
    ASSERT_NE(nullptr, m_device);
    ASSERT_EQ(QNRSLT_OK, CDX_Text::getInstance()->initialize(nullptr));
}

void TextOnDevice::TearDown() {
    EXPECT_EQ(0, zvtest::drainGLErrors());
    CDX_Text::destroyInstance();
    CDX_D3DWrapper::destroyInstance();
    if (m_hWnd) DestroyWindow(m_hWnd);
    CQNResults::destroyInstance();
}

std::vector<DWORD> TextOnDevice::frame(const std::function<void()>& draw) {
    std::vector<DWORD> pixels;
    m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    m_device->BeginScene();
    draw();
    m_device->EndScene();
    EXPECT_EQ(D3D_OK, m_device->Present(nullptr, nullptr, nullptr, nullptr));
    IDirect3DSurface9* back = nullptr;
    if (FAILED(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) {
        ADD_FAILURE() << "no back buffer";
        return pixels;
    }
    D3DLOCKED_RECT locked;
    if (SUCCEEDED(back->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        pixels.resize(static_cast<size_t>(kFrameWidth) * kFrameHeight);
        for (int y = 0; y < kFrameHeight; ++y)
            std::memcpy(&pixels[static_cast<size_t>(y) * kFrameWidth],
                        static_cast<const char*>(locked.pBits) + y * locked.Pitch, kFrameWidth * 4);
        back->UnlockRect();
    } else {
        ADD_FAILURE() << "back buffer not readable";
    }
    back->Release();
    return pixels;
}

std::vector<DWORD> TextOnDevice::textFrame(const char* text, float x, float y, int r, int g, int b,
                                           int a) {
    const float position[2] = {x, y};
    return frame([&] { CDX_Text::getInstance()->drawText(text, position, r, g, b, a, 0); });
}

std::vector<DWORD> TextOnDevice::fontFrame(const char* text, RECT rect, DWORD format,
                                           D3DCOLOR color) {
    ID3DXFont* font = CDX_Text::getInstance()->m_pFont;
    return frame([&] {
        if (font) font->DrawTextA(nullptr, text, -1, &rect, format, color);
    });
}

LitBox TextOnDevice::litBox(const std::vector<DWORD>& pixels) {
    LitBox box;
    for (int y = 0; y < kFrameHeight && !pixels.empty(); ++y)
        for (int x = 0; x < kFrameWidth; ++x)
            if (litPixel(pixels[static_cast<size_t>(y) * kFrameWidth + x])) {
                ++box.count;
                if (x < box.left) box.left = x;
                if (y < box.top) box.top = y;
                if (x > box.right) box.right = x;
                if (y > box.bottom) box.bottom = y;
            }
    return box;
}

std::string TextOnDevice::resultLog() {
    CQNResults::destroyInstance();
    return zvtestsupport::readFile("Logs/QNResultLog.htm");
}

int occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}
