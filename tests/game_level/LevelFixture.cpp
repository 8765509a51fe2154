#include "LevelFixture.h"

#include <dinput.h>

#include <cstdio>
#include <cstdlib>

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "DX_Input.h"
#include "QNBaseRend.h"
#include "QNGameState.h"
#include "QNGameTimer.h"
#include "QNSoundManager.h"
#include "ZVBaseLevel.h"
#include "testing/PlatformTesting.h"

void LevelFixture::SetUp() {
    EngineTestBase::SetUp();
    startTestClock();
    ASSERT_NO_FATAL_FAILURE(openInputWindow(kWindowX, kWindowY));
    CDX_D3DWrapper::getInstance()->setPerspective(60.0f, 1.0f, 8000.0f);
    CDX_Camera::getInstance()->initialize();
    // Made at start-up in the game; no sound is loaded, so each click the
    // level plays is reported by the sound manager (which tests count).
    CQNSoundManager::getInstance();
    state = CQNGameState::getInstance();
    state->m_levelPhase = LP_GET_READY;
}

void LevelFixture::frame(CZVBaseLevel& level, double seconds) {
    zvtest::advanceClock(seconds);
    CQNGameTimer::getInstance()->update();
    CDX_Input::getInstance()->update();
    level.update();
    CDX_Camera::getInstance()->applyTransforms();
}

void LevelFixture::pressKey(CZVBaseLevel& level, int key) {
    zvtest::setKey(key, true);
    frame(level);
    zvtest::setKey(key, false);
    frame(level);
}

void LevelFixture::pressEnter(CZVBaseLevel& level) { pressKey(level, DIK_RETURN); }

void LevelFixture::clickAt(CZVBaseLevel& level, int x, int y) {
    zvtest::setPointer(x, y);
    zvtest::setMouseButton(0, true);
    frame(level);
    zvtest::setMouseButton(0, false);
    frame(level);
}

void LevelFixture::clickBlock(CZVBaseLevel& level, int i, int j) {
    D3DXVECTOR2 p = blockPixel(level, i, j);
    clickAt(level, static_cast<int>(p.x + 0.5f), static_cast<int>(p.y + 0.5f));
}

D3DXVECTOR2 LevelFixture::blockPixel(CZVBaseLevel& level, int i, int j) {
    CDX_Camera::getInstance()->applyTransforms();
    const QNVector3& t = level.m_blocks[j * level.m_boardWidth + i].m_rend->m_translation;
    D3DXVECTOR3 centre(t.x, t.y, t.z), ndc;
    D3DXMATRIX viewProjection;
    D3DXMatrixMultiply(&viewProjection, CDX_Camera::getInstance()->getViewMatrix(),
                       &CDX_D3DWrapper::getInstance()->m_projection);
    D3DXVec3TransformCoord(&ndc, &centre, &viewProjection);
    return D3DXVECTOR2((ndc.x + 1.0f) * 0.5f * 800.0f, (1.0f - ndc.y) * 0.5f * 600.0f);
}

void LevelFixture::nextLoadInverts(bool invert) {
    for (unsigned seed = 1;; ++seed) {
        std::srand(seed);
        if ((std::rand() % 2 != 0) == invert) {
            std::srand(seed);
            return;
        }
    }
}

void LevelFixture::load(CZVBaseLevel& level, const std::string& text, bool invert, int n) {
    writeLevel(n, text);
    state->m_level = n;
    nextLoadInverts(invert);
    ASSERT_EQ(level.loadLevel(), QNRSLT_OK);
}

std::string LevelFixture::levelPath(int n) {
    return "Assets\\Scripts\\Levels\\zv." + std::to_string(n) + ".lvl";
}

void LevelFixture::writeLevel(int n, const std::string& text) {
    zvtestsupport::writeFile(levelPath(n), text);
}

std::string LevelFixture::readLevel(int n) { return zvtestsupport::readFile(levelPath(n)); }

std::string levelText(int width, int height, const std::string& cells, int bestTime, int par,
                      int bestMoves) {
    std::string text = std::to_string(width) + " " + std::to_string(height) + "\n";
    size_t k = 0;
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i) {
            text += k < cells.size() ? cells[k] : '0';
            text += ' ';
            ++k;
        }
        text += "\n";
    }
    char tail[64];
    std::snprintf(tail, sizeof tail, "%d\n%d\n%d\n", bestTime, par, bestMoves);
    return text + tail;
}
