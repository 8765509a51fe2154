#include "RenderFixture.h"

#include <png.h>

#include <cstdlib>
#include <ostream>

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "DX_TextureManager.h"
#include "QNBaseRend.h"
#include "QNGameState.h"
#include "QNResults.h"
#include "testing/PlatformTesting.h"

namespace {
LRESULT CALLBACK testProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }
void ignoreBox(const char*, const char*, unsigned) {}

std::string native(std::string p) {
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

// The texts of the cells of one table row, in order.
std::vector<std::string> cells(const std::string& row) {
    std::vector<std::string> out;
    for (size_t at = row.find("<td"); at != std::string::npos; at = row.find("<td", at)) {
        size_t font = row.find("<font", at);
        size_t open = row.find('>', font) + 1;
        size_t close = row.find("</font>", open);
        out.push_back(row.substr(open, close - open));
        at = close;
    }
    return out;
}
}  // namespace

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

void RenderFixture::SetUp() {
    zvtest::setMessageBoxHandler(ignoreBox);
    zvtestsupport::makeDirs("Logs");
    CQNResults::getInstance()->open("Logs\\QNResultLog.htm", "QN Engine Result Log");
    zvtestsupport::writeFile("Assets\\Scripts\\Config\\qnengine.cfg", "[RESOLUTION] 800 600\n");

    WNDCLASSA wc = {};
    wc.lpfnWndProc = testProc;
    wc.lpszClassName = "Zarvel";
    RegisterClassA(&wc);
    m_hWnd = CreateWindowExA(0, "Zarvel", "Zarvel", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(m_hWnd, nullptr);
    ASSERT_EQ(CDX_D3DWrapper::getInstance()->initialize(m_hWnd, "Assets\\Scripts\\Config\\qnengine.cfg"),
              QNRSLT_OK);
    ASSERT_NE(device(), nullptr);
    CDX_Camera::getInstance()->initialize();
}

void RenderFixture::TearDown() {
    // The engine's shut-down order: textures before the camera and the device.
    CDX_TextureManager::destroyInstance();
    CDX_Camera::destroyInstance();
    CDX_D3DWrapper::destroyInstance();
    CQNGameState::destroyInstance();
    CQNResults::destroyInstance();
    if (m_hWnd) DestroyWindow(m_hWnd);
    zvtest::setMessageBoxHandler(nullptr);
}

IDirect3DDevice9* RenderFixture::device() const { return CDX_D3DWrapper::getInstance()->getDevice(); }

void RenderFixture::setEye(float x, float y, float z) {
    D3DXVECTOR3 eye(x, y, z);
    CDX_Camera::getInstance()->setEyePos(&eye);
    CDX_Camera::getInstance()->applyTransforms();
}

void RenderFixture::beginFrame(Rgb clear) {
    CDX_D3DWrapper::getInstance()->clearScreen(clear.r, clear.g, clear.b);
    device()->BeginScene();
}

void RenderFixture::endFrame() {
    device()->EndScene();
    CDX_D3DWrapper::getInstance()->renderScreen();
    m_frame.assign(static_cast<size_t>(kWidth) * kHeight, 0);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    for (int y = 0; y < kHeight; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(
            static_cast<const char*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch);
        for (int x = 0; x < kWidth; ++x) m_frame[static_cast<size_t>(y) * kWidth + x] = row[x];
    }
    surface->UnlockRect();
    surface->Release();
}

void RenderFixture::drawFrame(const std::vector<CQNBase*>& objects, Rgb clear) {
    beginFrame(clear);
    for (CQNBase* object : objects) object->render();
    endFrame();
}

uint32_t RenderFixture::pixel(int x, int y) const {
    return m_frame.empty() ? 0 : m_frame[static_cast<size_t>(y) * kWidth + x];
}

Rgb RenderFixture::rgb(int x, int y) const {
    uint32_t p = pixel(x, y);
    return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
            static_cast<int>(p & 0xFF)};
}

bool RenderFixture::near(int x, int y, Rgb c, int tolerance) const {
    Rgb p = rgb(x, y);
    return std::abs(p.r - c.r) <= tolerance && std::abs(p.g - c.g) <= tolerance &&
           std::abs(p.b - c.b) <= tolerance;
}

Span RenderFixture::rowRun(int y, Rgb c, int tolerance) const {
    Span run;
    for (int x = 0; x < kWidth; ++x) {
        if (!near(x, y, c, tolerance)) continue;
        if (run.first < 0) run.first = x;
        run.last = x;
        ++run.count;
    }
    return run;
}

Span RenderFixture::columnRun(int x, Rgb c, int tolerance) const {
    Span run;
    for (int y = 0; y < kHeight; ++y) {
        if (!near(x, y, c, tolerance)) continue;
        if (run.first < 0) run.first = y;
        run.last = y;
        ++run.count;
    }
    return run;
}

void RenderFixture::writePng(const std::string& path, int w, int h, Rgb c, int alpha) {
    uint32_t argb = (static_cast<uint32_t>(alpha) << 24) | (static_cast<uint32_t>(c.r) << 16) |
                    (static_cast<uint32_t>(c.g) << 8) | static_cast<uint32_t>(c.b);
    writePngPixels(path, w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, argb));
}

void RenderFixture::writePngPixels(const std::string& path, int w, int h,
                                   const std::vector<uint32_t>& argb) {
    std::string file = native(path);
    size_t slash = file.rfind('/');
    if (slash != std::string::npos) zvtestsupport::makeDirs(file.substr(0, slash));
    std::vector<unsigned char> rgba(argb.size() * 4);
    for (size_t i = 0; i < argb.size(); ++i) {
        rgba[i * 4 + 0] = (argb[i] >> 16) & 0xFF;
        rgba[i * 4 + 1] = (argb[i] >> 8) & 0xFF;
        rgba[i * 4 + 2] = argb[i] & 0xFF;
        rgba[i * 4 + 3] = (argb[i] >> 24) & 0xFF;
    }
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = PNG_FORMAT_RGBA;
    ASSERT_TRUE(png_image_write_to_file(&image, file.c_str(), 0, rgba.data(), 0, nullptr))
        << file;
}

bool RenderFixture::saveFramePng(const std::string& path) const {
    if (m_frame.empty()) return false;
    std::vector<unsigned char> rgb(m_frame.size() * 3);
    for (size_t i = 0; i < m_frame.size(); ++i) {
        rgb[i * 3 + 0] = (m_frame[i] >> 16) & 0xFF;
        rgb[i * 3 + 1] = (m_frame[i] >> 8) & 0xFF;
        rgb[i * 3 + 2] = m_frame[i] & 0xFF;
    }
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = kWidth;
    image.height = kHeight;
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
}

std::string RenderFixture::spriteObjectPath(const std::string& name) {
    return "Assets\\Scripts\\Base Objects\\" + name + ".base";
}

std::unique_ptr<CQNBaseRend> RenderFixture::makeSprite(const std::string& name,
                                                      const std::string& modelKeys,
                                                      const std::string& objectKeys) {
    const std::string model = "Assets\\Scripts\\Models\\" + name + ".model";
    zvtestsupport::writeFile(model, modelKeys + "\n");
    zvtestsupport::writeFile(spriteObjectPath(name),
                             "[MODEL_TYPE] SPRITE\n[MODEL_SCRIPT]\n" + model + "\n" + objectKeys + "\n");
    std::unique_ptr<CQNBaseRend> rend(new CQNBaseRend);
    rend->initialize(spriteObjectPath(name).c_str());
    return rend;
}

std::vector<LogRow> RenderFixture::logRows() {
    CQNResults::destroyInstance();
    const std::string text = zvtestsupport::readFile("Logs/QNResultLog.htm");
    std::vector<LogRow> rows;
    bool header = true;
    for (size_t at = text.find("<tr>"); at != std::string::npos; at = text.find("<tr>", at)) {
        size_t end = text.find("</tr>", at);
        std::vector<std::string> c = cells(text.substr(at, end - at));
        at = end;
        if (header) {
            header = false;
            continue;
        }
        if (c.size() == 4) rows.push_back({c[0], c[2], c[3]});
    }
    return rows;
}
