#include "MeshFixture.h"

#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "DX_ModelManager.h"
#include "DX_TextureManager.h"
#include "QNBaseRend.h"
#include "QNGameState.h"
#include "QNGameTimer.h"
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

void makeParent(const std::string& file) {
    size_t slash = file.rfind('/');
    if (slash != std::string::npos) zvtestsupport::makeDirs(file.substr(0, slash));
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

void put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
}  // namespace

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

void MeshFixture::SetUp() {
    zvtest::setMessageBoxHandler(ignoreBox);
    zvtest::setClock(m_clock);
    zvtestsupport::makeDirs("Logs");
    CQNResults::getInstance()->open("Logs\\QNResultLog.htm", "QN Engine Result Log");
    zvtestsupport::writeFile("Assets\\Scripts\\Config\\qnengine.cfg", "[RESOLUTION] 800 600\n");
    CQNGameTimer::getInstance()->initialize();

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

void MeshFixture::TearDown() {
    // The engine's shut-down order: meshes first, textures before the device.
    CDX_ModelManager::destroyInstance();
    CDX_TextureManager::destroyInstance();
    CDX_Camera::destroyInstance();
    CDX_D3DWrapper::destroyInstance();
    CQNGameState::destroyInstance();
    CQNGameTimer::destroyInstance();
    CQNResults::destroyInstance();
    if (m_hWnd) DestroyWindow(m_hWnd);
    zvtest::useRealClock();
    zvtest::setMessageBoxHandler(nullptr);
}

IDirect3DDevice9* MeshFixture::device() const { return CDX_D3DWrapper::getInstance()->getDevice(); }

void MeshFixture::tick(double seconds) {
    m_clock += static_cast<int64_t>(std::llround(seconds * 1e9));
    zvtest::setClock(m_clock);
    CQNGameTimer::getInstance()->update();
}

void MeshFixture::drawFrame(const std::vector<CQNBase*>& objects, Rgb clear) {
    CDX_D3DWrapper::getInstance()->clearScreen(clear.r, clear.g, clear.b);
    device()->BeginScene();
    for (CQNBase* object : objects) object->render();
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

Rgb MeshFixture::rgb(int x, int y) const {
    if (m_frame.empty() || x < 0 || y < 0 || x >= kWidth || y >= kHeight) return {-1, -1, -1};
    uint32_t p = m_frame[static_cast<size_t>(y) * kWidth + x];
    return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
            static_cast<int>(p & 0xFF)};
}

bool MeshFixture::near(int x, int y, Rgb c, int tolerance) const {
    Rgb p = rgb(x, y);
    return std::abs(p.r - c.r) <= tolerance && std::abs(p.g - c.g) <= tolerance &&
           std::abs(p.b - c.b) <= tolerance;
}

void MeshFixture::project(float x, float y, float z, int* sx, int* sy) const {
    D3DXMATRIX viewProjection;
    D3DXMatrixMultiply(&viewProjection, CDX_Camera::getInstance()->getViewMatrix(),
                       &CDX_D3DWrapper::getInstance()->m_projection);
    D3DXVECTOR3 p(x, y, z), ndc;
    D3DXVec3TransformCoord(&ndc, &p, &viewProjection);
    *sx = static_cast<int>(std::lround((ndc.x + 1.0f) * 0.5f * kWidth));
    *sy = static_cast<int>(std::lround((1.0f - ndc.y) * 0.5f * kHeight));
}

Rgb MeshFixture::rgbAt(float x, float y, float z) const {
    int sx, sy;
    project(x, y, z, &sx, &sy);
    return rgb(sx, sy);
}

int MeshFixture::countNot(Rgb c) const {
    int n = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (!near(x, y, c)) ++n;
    return n;
}

bool MeshFixture::saveFramePng(const std::string& path) const {
    if (m_frame.empty()) return false;
    std::vector<unsigned char> out(m_frame.size() * 3);
    for (size_t i = 0; i < m_frame.size(); ++i) {
        out[i * 3 + 0] = (m_frame[i] >> 16) & 0xFF;
        out[i * 3 + 1] = (m_frame[i] >> 8) & 0xFF;
        out[i * 3 + 2] = m_frame[i] & 0xFF;
    }
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = kWidth;
    image.height = kHeight;
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path.c_str(), 0, out.data(), 0, nullptr) != 0;
}

void MeshFixture::writePng(const std::string& path, int w, int h, Rgb c) {
    uint32_t argb = 0xFF000000u | (static_cast<uint32_t>(c.r) << 16) |
                    (static_cast<uint32_t>(c.g) << 8) | static_cast<uint32_t>(c.b);
    writePngPixels(path, w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, argb));
}

void MeshFixture::writePngPixels(const std::string& path, int w, int h,
                                 const std::vector<uint32_t>& argb) {
    std::string file = native(path);
    makeParent(file);
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
    ASSERT_TRUE(png_image_write_to_file(&image, file.c_str(), 0, rgba.data(), 0, nullptr)) << file;
}

void MeshFixture::writeCubeDds(const std::string& path, int size, const Rgb faces[6]) {
    std::string out = "DDS ";
    put32(out, 124);
    put32(out, 0x1 | 0x2 | 0x4 | 0x1000);  // caps, height, width, pixel format
    put32(out, static_cast<uint32_t>(size));
    put32(out, static_cast<uint32_t>(size));
    put32(out, static_cast<uint32_t>(size * 4));
    put32(out, 0);  // depth
    put32(out, 0);  // mip levels: one
    for (int i = 0; i < 11; ++i) put32(out, 0);
    put32(out, 32);
    put32(out, 0x40 | 0x1);  // RGB with alpha
    put32(out, 0);
    put32(out, 32);
    put32(out, 0x00FF0000);
    put32(out, 0x0000FF00);
    put32(out, 0x000000FF);
    put32(out, 0xFF000000);
    put32(out, 0x1000 | 0x8);   // texture, complex
    put32(out, 0x200 | 0xFC00);  // cube map with all six faces
    for (int i = 0; i < 3; ++i) put32(out, 0);
    for (int f = 0; f < 6; ++f)
        for (int i = 0; i < size * size; ++i) {
            out += static_cast<char>(faces[f].b);
            out += static_cast<char>(faces[f].g);
            out += static_cast<char>(faces[f].r);
            out += static_cast<char>(0xFF);
        }
    std::string file = native(path);
    makeParent(file);
    FILE* f = std::fopen(file.c_str(), "wb");
    ASSERT_NE(f, nullptr) << file;
    std::fwrite(out.data(), 1, out.size(), f);
    std::fclose(f);
}

void MeshFixture::writeEnvMap(Rgb c) {
    const Rgb faces[6] = {c, c, c, c, c, c};
    writeCubeDds("Assets\\Textures\\envmap.dds", 8, faces);
}

std::unique_ptr<CQNBaseRend> MeshFixture::makeMesh(const std::string& name, const std::string& xFile,
                                                   const std::string& objectKeys) {
    const std::string modelScript = "Assets\\Scripts\\Models\\" + name + ".model";
    const std::string object = "Assets\\Scripts\\Base Objects\\" + name + ".base";
    zvtestsupport::writeFile(modelScript, "[XFILE] " + xFile + "\n");
    zvtestsupport::writeFile(object, "[MODEL_TYPE] MESH\n[MODEL_SCRIPT] " + modelScript + "\n" + objectKeys + "\n");
    std::unique_ptr<CQNBaseRend> rend(new CQNBaseRend);
    rend->initialize(object.c_str());
    return rend;
}

CQNXModel* MeshFixture::model(const std::string& xFile) {
    return CDX_ModelManager::getInstance()->getModelByName(xFile.c_str());
}

std::vector<LogRow> MeshFixture::logRows() {
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
