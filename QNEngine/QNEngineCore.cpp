#include "QNEngineCore.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "DX_Input.h"
#include "DX_ModelManager.h"
#include "DX_Text.h"
#include "DX_TextureManager.h"
#include "QNGameState.h"
#include "QNGameTimer.h"
#include "QNMemory.h"
#include "QNSceneManager.h"
#include "QNSoundManager.h"
#include "QNStopwatch.h"

CQNEngineCore* CQNEngineCore::s_instance = nullptr;

namespace {
bool g_running = false;
}

CQNEngineCore::CQNEngineCore() {}

CQNEngineCore::~CQNEngineCore() {}

CQNEngineCore* CQNEngineCore::getInstance() {
    if (!s_instance) {
        setOwner(__FILE__, __LINE__, "??");
        s_instance = new CQNEngineCore;
    }
    return s_instance;
}

bool CQNEngineCore::isRunning() { return g_running; }

QNRESULT CQNEngineCore::initialize(HWND hWnd, const char* configPath) {
    CQNResults* results = CQNResults::getInstance();
    CQNGameTimer* timer = CQNGameTimer::getInstance();
    CDX_D3DWrapper* d3d = CDX_D3DWrapper::getInstance();
    CDX_Camera* camera = CDX_Camera::getInstance();
    CQNSceneManager* scenes = CQNSceneManager::getInstance();
    CDX_Text* text = CDX_Text::getInstance();
    CDX_Input* input = CDX_Input::getInstance();
    CQNSoundManager::getInstance();
    CQNGameState* state = CQNGameState::getInstance();

    results->open("Logs\\QNResultLog.htm", "QN Engine Result Log");
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    timer->initialize();
    // Without a device nothing can be drawn: the critical report has told the
    // player, and the rest of the start-up would only fail after it.
    if (d3d->initialize(hWnd, configPath) > QNRSLT_OK) {
        g_running = false;
        return QNRSLT_D3DFAILED;
    }
    camera->initialize();
    scenes->initialize(configPath);
    text->initialize(nullptr);
    input->initialize();
    CQNSoundManager::initialize();
    state->initialize();
    timer->update();
    g_running = true;
    return QNRSLT_OK;
}

void CQNEngineCore::update(bool* quit) {
    if (quit) *quit = false;
    CQNGameTimer::getInstance()->update();
    CDX_Input::getInstance()->update();
    CQNSceneManager::getInstance()->update();
}

void CQNEngineCore::render() {
    CDX_D3DWrapper* d3d = CDX_D3DWrapper::getInstance();
    IDirect3DDevice9* device = d3d->getDevice();
    if (!device) return;
    d3d->clearScreen(0, 0, 0);
    device->BeginScene();
    CQNSceneManager::getInstance()->render();
    if (CQNGameState::getInstance()->m_showFps) drawFps();
    device->EndScene();
    d3d->renderScreen();
}

void CQNEngineCore::shutdown() {
    CDX_ModelManager::getInstance();
    CQNResults::getInstance();
    CQNGameTimer::getInstance();
    CDX_D3DWrapper::getInstance();
    CDX_Camera::getInstance();
    CDX_TextureManager::getInstance();
    CQNSceneManager::getInstance();
    CDX_Text::getInstance();
    CDX_Input::getInstance();
    CQNSoundManager::getInstance();
    CQNGameState::getInstance();

    CQNGameState::destroyInstance();
    CDX_ModelManager::destroyInstance();
    CQNSoundManager::destroyInstance();
    CDX_Input::destroyInstance();
    CDX_Text::destroyInstance();
    CQNSceneManager::destroyInstance();
    CDX_TextureManager::destroyInstance();
    CDX_Camera::destroyInstance();
    CDX_D3DWrapper::destroyInstance();
    CQNGameTimer::destroyInstance();
    CQNResults::destroyInstance();
    g_running = false;

    setOwner(__FILE__, __LINE__, "??");
    delete s_instance;
    s_instance = nullptr;
}

namespace {
CQNStopwatch* g_fpsWatch = nullptr;
float g_fpsFrames = 0.0f;
char g_fpsText[16] = "FPS: Waiting...";

void destroyFpsWatch() {
    setOwner(__FILE__, __LINE__, "??");
    delete g_fpsWatch;
    g_fpsWatch = nullptr;
}
}  // namespace

void drawFps() {
    if (!g_fpsWatch) {
        setOwner(__FILE__, __LINE__, "??");
        g_fpsWatch = new CQNStopwatch;
        std::atexit(destroyFpsWatch);
    }
    g_fpsFrames += 1.0f;
    if (g_fpsWatch->getElapsed() > 1.0) {
        std::snprintf(g_fpsText, sizeof g_fpsText, "FPS:  %d", static_cast<int>(g_fpsFrames));
        g_fpsWatch->reset();
        g_fpsFrames = 0.0f;
    }
    const float position[2] = {5.0f, 5.0f};
    CDX_Text::getInstance()->drawText(g_fpsText, position, 255, 255, 255, 255, 0);
}
