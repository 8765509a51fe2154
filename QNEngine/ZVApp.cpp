#include "ZVApp.h"

#include <cmath>
#include <cstdio>

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "DX_Input.h"
#include "QNConfigFile.h"
#include "QNEngineCore.h"
#include "QNGameState.h"
#include "QNGameTimer.h"
#include "QNSceneManager.h"
#include "QNSoundManager.h"

namespace {
const char kMenuScene[] = "Assets\\Scripts\\Scenes\\zv.menu.scene";
const char kLevelSelectScene[] = "Assets\\Scripts\\Scenes\\zv.lvlsel.scene";
const char kLevelScene[] = "Assets\\Scripts\\Scenes\\zv.intro.scene";
const char kMusic[] = "Assets\\Audio\\lumbrel.bgmusic.mp3";
const char kClick[] = "Assets\\Audio\\pellomir.beep.wav";

// The level-select camera angle, radians; kept across visits.
float g_levelSelectAngle = 0.0f;
// The configuration the game started with; the mute is written back to it.
char g_configPath[256] = "";

void beep() {
    CQNSoundManager* sound = CQNSoundManager::getInstance();
    sound->playSound(sound->getSoundFromList(kClick));
}
}  // namespace

CZVApp::~CZVApp() {}

QNRESULT CZVApp::startup(HWND hWnd, const char* configPath) {
    CQNEngineCore* core = CQNEngineCore::getInstance();
    CDX_D3DWrapper::getInstance();
    CQNSoundManager* sound = CQNSoundManager::getInstance();
    CQNGameState* state = CQNGameState::getInstance();

    core->initialize(hWnd, configPath);
    std::snprintf(g_configPath, sizeof g_configPath, "%s", configPath ? configPath : "");
    if (state->m_muted) FSOUND_SetMute(FSOUND_ALL, TRUE);
    if (state->m_cdPlayback) {
        // No drive or no audio disc: the game goes on without music, said once.
        if (!FSOUND_CD_Play(0, 1))
            logResult(QNRSLT_NOHARDWARECAP, "CZVApp::startup( )",
                      "No audio CD to play: the game runs without music", 0);
        FSOUND_CD_SetPlayMode(0, FSOUND_CD_PLAYCONTINUOUS);
        sound->loadSound(kClick, SOUND_SAMPLE);
    } else {
        sound->playSound(sound->loadSound(kMusic, SOUND_STREAM));
        sound->loadSound(kClick, SOUND_SAMPLE);
    }
    return QNRSLT_OK;
}

void CZVApp::update(bool* quit) {
    CQNEngineCore* core = CQNEngineCore::getInstance();
    CDX_Input* input = CDX_Input::getInstance();
    CDX_D3DWrapper* d3d = CDX_D3DWrapper::getInstance();
    CDX_Camera* camera = CDX_Camera::getInstance();
    CQNGameState* state = CQNGameState::getInstance();

    *quit = false;
    // A start-up that found no device cannot show anything: end the program.
    if (!CQNEngineCore::isRunning()) {
        *quit = true;
        return;
    }
    core->update(quit);
    if (input->isKeyPressed(DIK_F1)) state->m_showFps = !state->m_showFps;
    if (input->isKeyPressed(DIK_F2)) d3d->saveScreenShot();
    if (input->isKeyPressed(DIK_M)) toggleMute();
    updateGameState(quit);
    camera->applyTransforms();
}

void CZVApp::render() {
    if (CQNEngineCore::isRunning()) CQNEngineCore::getInstance()->render();
}

void CZVApp::toggleMute() {
    CQNGameState* state = CQNGameState::getInstance();
    state->m_muted = !state->m_muted;
    FSOUND_SetMute(FSOUND_ALL, state->m_muted ? TRUE : FALSE);
    if (g_configPath[0]) CQNConfigFile::setValue(g_configPath, "[MUTE]", state->m_muted ? "TRUE" : "FALSE");
}

void CZVApp::shutdown() { CQNEngineCore::getInstance()->shutdown(); }

void CZVApp::updateGameState(bool* quit) {
    CDX_Input* input = CDX_Input::getInstance();
    CDX_Camera* camera = CDX_Camera::getInstance();
    CQNSceneManager* scenes = CQNSceneManager::getInstance();
    CQNGameState* state = CQNGameState::getInstance();

    switch (state->m_state) {
        case GS_MAIN_MENU:
            if (input->isKeyPressed(DIK_RETURN) || input->isMouseButtonPressed(0)) {
                beep();
                switch (state->m_menuSelection) {
                    case 0:
                        scenes->loadSceneFromScript(kLevelSelectScene);
                        state->m_state = GS_LEVEL_SELECT;
                        break;
                    case 1: state->m_showOptions = !state->m_showOptions; break;
                    case 2: state->m_showCredits = !state->m_showCredits; break;
                    case 3: *quit = true; break;
                    default: break;
                }
            }
            break;
        case GS_LEVEL_SELECT: {
            if (input->isKeyPressed(DIK_RETURN) || input->isMouseButtonPressed(0)) {
                beep();
                state->m_state = GS_START_LEVEL;
            }
            g_levelSelectAngle += CQNGameTimer::getInstance()->getFrameTime() * 0.5f;
            D3DXVECTOR3 eye = camera->getEyePos();
            float r = D3DXVec3Length(&eye);
            D3DXVECTOR3 circling(r * std::sin(g_levelSelectAngle), 0.0f, r * std::cos(g_levelSelectAngle));
            camera->setEyePos(&circling);
            if (input->isKeyPressed(DIK_ESCAPE)) {
                D3DXVECTOR3 home(0.0f, 0.0f, 190.0f);
                camera->setEyePos(&home);
                scenes->loadSceneFromScript(kMenuScene);
                state->m_state = GS_MAIN_MENU;
            }
            break;
        }
        case GS_START_LEVEL:
            scenes->loadSceneFromScript(kLevelScene);
            state->m_levelPhase = LP_GET_READY;
            state->m_state = GS_PLAYING;
            break;
        case GS_PLAYING:
            if (input->isKeyPressed(DIK_ESCAPE)) {
                D3DXVECTOR3 home(0.0f, 0.0f, 190.0f);
                D3DXVECTOR3 origin(0.0f, 0.0f, 0.0f);
                camera->setEyePos(&home);
                camera->setLookPos(&origin);
                scenes->loadSceneFromScript(kLevelSelectScene);
                state->m_state = GS_LEVEL_SELECT;
            }
            break;
        default:
            break;
    }
}
