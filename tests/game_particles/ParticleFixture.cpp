#include "ParticleFixture.h"

#include <png.h>

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "DX_Text.h"
#include "DX_TextureManager.h"
#include "QNBaseRend.h"
#include "QNGameState.h"
#include "QNGameTimer.h"
#include "QNModelSpriteParticle.h"
#include "QNResults.h"
#include "QNSceneManager.h"
#include "testing/PlatformTesting.h"

using zvtestsupport::writeFile;

namespace {
LRESULT CALLBACK testProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }
void ignoreBox(const char*, const char*, unsigned) {}
}  // namespace

void ParticleFixture::SetUp() {
    zvtest::setMessageBoxHandler(ignoreBox);
    zvtestsupport::makeDirs("Logs");
    CQNResults::getInstance()->open("Logs\\QNResultLog.htm", "QN Engine Result Log");
    zvtest::setClock(1000000000LL);
    CQNGameTimer::getInstance()->initialize();
}

void ParticleFixture::TearDown() {
    CQNSceneManager::destroyInstance();
    CDX_Text::destroyInstance();
    CDX_TextureManager::destroyInstance();
    CDX_Camera::destroyInstance();
    CDX_D3DWrapper::destroyInstance();
    CQNGameState::destroyInstance();
    CQNGameTimer::destroyInstance();
    CQNResults::destroyInstance();
    zvtest::useRealClock();
    zvtest::setMessageBoxHandler(nullptr);
}

void ParticleFixture::tick(double seconds) {
    zvtest::advanceClock(seconds);
    CQNGameTimer::getInstance()->update();
}

void ParticleFixture::frame(double seconds) {
    tick(seconds);
    CQNSceneManager::getInstance()->update();
}

std::string ParticleFixture::writeModel(const std::string& name, const std::string& keys) {
    const std::string path = "Assets\\Scripts\\Models\\" + name + ".model";
    writeFile(path, keys + "\n");
    return path;
}

std::string ParticleFixture::writeParticle(const std::string& name, const std::string& modelKeys,
                                           const std::string& objectKeys) {
    const std::string model = writeModel(name, modelKeys);
    const std::string path = "Assets\\Scripts\\Base Objects\\" + name + ".base";
    writeFile(path, "[MODEL_TYPE] SPRITE_PARTICLE\n[MODEL_SCRIPT]\n" + model + "\n" + objectKeys + "\n");
    return path;
}

std::string ParticleFixture::writeSystem(const std::string& name, const std::string& keys) {
    const std::string path = "Assets\\Scripts\\Base Objects\\" + name + ".psys";
    writeFile(path, "[CLASS_TYPE] CQNBaseParticleSys\n" + keys + "\n");
    return path;
}

CQNModelSpriteParticle* ParticleFixture::model(CQNBaseRend& rend) {
    return dynamic_cast<CQNModelSpriteParticle*>(rend.m_model);
}

std::string ParticleFixture::log() {
    CQNResults::destroyInstance();
    return zvtestsupport::readFile("Logs/QNResultLog.htm");
}

void ParticleRenderFixture::SetUp() {
    ParticleFixture::SetUp();
    writeFile("Assets\\Scripts\\Config\\qnengine.cfg", "[RESOLUTION] 800 600\n");
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
    CDX_Text::getInstance()->initialize(nullptr);
}

void ParticleRenderFixture::TearDown() {
    ParticleFixture::TearDown();
    if (m_hWnd) DestroyWindow(m_hWnd);
}

IDirect3DDevice9* ParticleRenderFixture::device() const {
    return CDX_D3DWrapper::getInstance()->getDevice();
}

void ParticleRenderFixture::writeWhitePng(const std::string& path, int w, int h) {
    std::string file = path;
    for (char& c : file)
        if (c == '\\') c = '/';
    const size_t slash = file.rfind('/');
    if (slash != std::string::npos) zvtestsupport::makeDirs(file.substr(0, slash));
    std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4, 255);
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = PNG_FORMAT_RGBA;
    ASSERT_TRUE(png_image_write_to_file(&image, file.c_str(), 0, rgba.data(), 0, nullptr)) << file;
}

void ParticleRenderFixture::drawScene() {
    CDX_D3DWrapper::getInstance()->clearScreen(0, 0, 0);
    device()->BeginScene();
    CQNSceneManager::getInstance()->render();
    device()->EndScene();
    CDX_D3DWrapper::getInstance()->renderScreen();
    readBack();
}

void ParticleRenderFixture::readBack() {
    m_frame.assign(static_cast<size_t>(kWidth) * kHeight, 0);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    for (int y = 0; y < kHeight; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(
            static_cast<const char*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch);
        for (int x = 0; x < kWidth; ++x)
            m_frame[static_cast<size_t>(y) * kWidth + x] = row[x] & 0xFFFFFFu;
    }
    surface->UnlockRect();
    surface->Release();
}

uint32_t ParticleRenderFixture::pixel(int x, int y) const {
    return m_frame.empty() ? 0 : m_frame[static_cast<size_t>(y) * kWidth + x];
}

int ParticleRenderFixture::brightCount(int x0, int y0, int x1, int y1, int level) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint32_t p = pixel(x, y);
            if (static_cast<int>((p >> 16) & 0xFF) > level && static_cast<int>((p >> 8) & 0xFF) > level &&
                static_cast<int>(p & 0xFF) > level)
                ++n;
        }
    return n;
}

bool ParticleRenderFixture::saveFramePng(const std::string& path) const {
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
