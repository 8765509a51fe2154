#include "ZVBaseLevel.h"

#include <dinput.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <windows.h>

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "DX_Input.h"
#include "QNBaseRend.h"
#include "QNFileUtil.h"
#include "QNGameState.h"
#include "QNGameTimer.h"
#include "QNMemory.h"
#include "QNScriptHelper.h"
#include "QNSoundManager.h"
#include "ZVSolver.h"

namespace {

const char kLevelFileFormat[] = "Assets\\Scripts\\Levels\\zv.%d.lvl";
const char kBlockScript[] = "Assets\\Scripts\\Base Objects\\zv.defblock.base";
const char kMouseScript[] = "Assets\\Scripts\\Base Objects\\zv.defmouse.base";
const char kClickSound[] = "Assets\\Audio\\pellomir.beep.wav";
const char kLoadLocation[] = "CZVBaseLevel::loadLevelFromFile( )";
const char kSaveLocation[] = "CZVBaseLevel::saveUpdatedLevel( )";

const int kLevelCount = 40;
const float kCellSize = 32.0f;
const float kPickRadius = 16.0f;
const float kHighlightLift = 8.0f;      // units towards the camera
const char kMarkerScript[] = "Assets\\Scripts\\Base Objects\\zv.menupointer.base";
const float kMarkerScale = 1.7f;        // times the menu's size
const float kMarkerTip = 8.0f;          // pixels from the picture's centre to its tip at scale 1
const float kMarkerReach = 5.0f;        // pixels the tip reaches into the block
const float kPulseDepth = 0.18f;        // the hinted block grows by up to this share
const float kPulseRate = 7.0f;          // radians a second (about one pulse a second)
const float kNoSolutionSeconds = 3.0f;

// Camera by board size: the first row whose limits the board fits. The
// negative x leaves the left of the screen to the HUD.
struct CameraPlace {
    int32_t maxWidth;
    int32_t maxHeight;
    float x;
    float z;
};
const CameraPlace kCameraPlaces[] = {
    {4, 3, -15.0f, 110.0f},
    {5, 4, -17.0f, 130.0f},
    {ZV_MAX_BOARD_WIDTH, ZV_MAX_BOARD_HEIGHT, -20.0f, 160.0f},
};

void placeCamera(int32_t width, int32_t height) {
    CDX_Camera* camera = CDX_Camera::getInstance();
    for (const CameraPlace& place : kCameraPlaces) {
        if (width <= place.maxWidth && height <= place.maxHeight) {
            const D3DXVECTOR3 eye(place.x, 0.0f, place.z);
            const D3DXVECTOR3 look(place.x, 0.0f, 0.0f);
            camera->setEyePos(&eye);
            camera->setLookPos(&look);
            return;
        }
    }
}

}  // namespace

CZVBaseLevel::CZVBaseLevel()
    : m_blocks(nullptr),
      m_marker(nullptr),
      m_boardWidth(3),
      m_boardHeight(3),
      m_hintCell(-1),
      m_highlightColumn(0),
      m_highlightRow(0),
      m_highlightShown(false),
      m_undo(),
      m_undoCount(0),
      m_blockZ(0.0f),
      m_blockScale{1.0f, 1.0f, 1.0f},
      m_pulseClock(0.0f),
      m_lastPointerX(0.0f),
      m_lastPointerY(0.0f) {
    m_boardFile[0] = '\0';
}

QNRESULT CZVBaseLevel::parseScript(const char* path) { return QNRSLT_OK; }

CZVBaseLevel::~CZVBaseLevel() {
    CZVBaseLevel::release();
    if (m_marker) {
        setOwner(__FILE__, __LINE__, "??");
        delete m_marker;
        m_marker = nullptr;
    }
}

QNRESULT CZVBaseLevel::initialize(const char* path) {
    loadLevel();
    m_mouse.initialize(kMouseScript);
    setOwner(__FILE__, __LINE__, "??");
    m_marker = new CQNBaseRend;
    m_marker->initialize(kMarkerScript);
    m_marker->m_scale.x *= kMarkerScale;
    m_marker->m_scale.y *= kMarkerScale;
    return CQNBase::initialize(path);
}

QNRESULT CZVBaseLevel::update() {
    CDX_Input* input = CDX_Input::getInstance();
    CQNGameState* state = CQNGameState::getInstance();
    CQNGameTimer* timer = CQNGameTimer::getInstance();

    float x = 0.0f, y = 0.0f;
    getCursorPosition(&x, &y);
    if (m_mouse.m_cursor) {
        m_mouse.m_cursor->m_translation.x = x;
        m_mouse.m_cursor->m_translation.y = y;
    }
    // The pointer shows again once the mouse is used.
    if (x != m_lastPointerX || y != m_lastPointerY || input->isMouseButtonPressed(0)) m_highlightShown = false;
    m_lastPointerX = x;
    m_lastPointerY = y;
    if (state->m_noSolutionTime > 0.0f) {
        state->m_noSolutionTime -= timer->getFrameTime();
        if (state->m_noSolutionTime < 0.0f) state->m_noSolutionTime = 0.0f;
    }

    // A level whose file could not be loaded has nothing to play: the phase
    // stays, and Escape (the state machine's) is the way out.
    if (!m_blocks) return QNRSLT_OK;

    switch (state->m_levelPhase) {
        case LP_GET_READY:
            _animateBoard();
            if (input->isKeyPressed(DIK_RETURN) || input->isMouseButtonPressed(0))
                state->m_levelPhase = LP_PLAYING;
            break;
        case LP_PLAYING:
            _animateBoard();
            if (input->isMouseButtonPressed(0)) handleClick();
            _handleKeys();
            if (state->m_levelPhase != LP_PLAYING) break;
            state->m_levelTime += timer->getFrameTime();
            if (isLevelComplete()) {
                state->m_levelPhase = LP_COMPLETED;
                // A run that asked for a hint keeps no record.
                if (!state->m_hinted) saveUpdatedLevel();
            }
            break;
        case LP_COMPLETED:
            _animateBoard();
            if (input->isKeyPressed(DIK_R)) {
                restart();
            } else if (input->isKeyPressed(DIK_RETURN) || input->isMouseButtonPressed(0)) {
                state->m_levelPhase = LP_GET_READY;
                state->m_level += 1;
                if (state->m_level > kLevelCount) state->m_level = 1;
                loadLevel();
            }
            break;
        default:
            break;
    }
    return QNRSLT_OK;
}

void CZVBaseLevel::_handleKeys() {
    CDX_Input* input = CDX_Input::getInstance();
    const struct {
        int key, dx, dy;
    } moves[] = {{DIK_LEFT, -1, 0}, {DIK_RIGHT, 1, 0}, {DIK_UP, 0, 1}, {DIK_DOWN, 0, -1}};
    for (const auto& move : moves) {
        if (!input->isKeyPressed(move.key)) continue;
        // The first press only shows the highlight where it was.
        if (m_highlightShown) {
            m_highlightColumn += move.dx;
            m_highlightRow += move.dy;
        }
        m_highlightShown = true;
    }
    if (m_highlightColumn < 0) m_highlightColumn = 0;
    if (m_highlightColumn >= m_boardWidth) m_highlightColumn = m_boardWidth - 1;
    if (m_highlightRow < 0) m_highlightRow = 0;
    if (m_highlightRow >= m_boardHeight) m_highlightRow = m_boardHeight - 1;

    const bool flipKey = input->isKeyPressed(DIK_SPACE) || input->isKeyPressed(DIK_RETURN);
    if (flipKey && m_highlightShown) playFlip(m_highlightColumn, m_highlightRow);
    const bool control = input->isKeyDown(DIK_LCONTROL) || input->isKeyDown(DIK_RCONTROL);
    if (input->isKeyPressed(DIK_BACK) || (control && input->isKeyPressed(DIK_Z))) undoFlip();
    if (input->isKeyPressed(DIK_H)) showHint();
    if (input->isKeyPressed(DIK_R)) restart();
}

QNRESULT CZVBaseLevel::render() {
    if (m_blocks) {
        // Material by material across the board: the blocks share their
        // textures, so the device changes texture once a material rather
        // than twice a block. The blocks are opaque and depth-tested, so the
        // order changes no pixel.
        uint32_t materials = 1;
        const int32_t count = m_boardWidth * m_boardHeight;
        for (int32_t k = 0; k < count; ++k)
            if (CQNBaseRend* rend = m_blocks[k].m_rend) materials = std::max(materials, rend->materialCount());
        for (uint32_t m = 0; m < materials; ++m)
            for (int32_t i = 0; i < m_boardWidth; ++i)
                for (int32_t j = 0; j < m_boardHeight; ++j)
                    if (CQNBaseRend* rend = m_blocks[j * m_boardWidth + i].m_rend) rend->renderMaterial(m);
    }
    return QNRSLT_OK;
}

QNRESULT CZVBaseLevel::renderOverlay() {
    if (!m_highlightShown) {
        if (m_mouse.m_cursor) m_mouse.m_cursor->render();
        return QNRSLT_OK;
    }
    if (!m_marker || !m_blocks) return QNRSLT_OK;
    // The menu's pointer, at the left edge of the highlighted block as the
    // camera shows it.
    const CQNBaseRend* rend = m_blocks[m_highlightRow * m_boardWidth + m_highlightColumn].m_rend;
    if (!rend) return QNRSLT_OK;
    CDX_D3DWrapper* d3d = CDX_D3DWrapper::getInstance();
    D3DXMATRIX viewProjection;
    D3DXMatrixMultiply(&viewProjection, CDX_Camera::getInstance()->getViewMatrix(), &d3d->m_projection);
    const D3DXVECTOR3 edge(rend->m_translation.x - kCellSize * 0.5f, rend->m_translation.y, rend->m_translation.z);
    D3DXVECTOR3 ndc;
    D3DXVec3TransformCoord(&ndc, &edge, &viewProjection);
    m_marker->m_translation.x = ndc.x * d3d->getWidth() * 0.5f + kMarkerReach - kMarkerTip * kMarkerScale;
    m_marker->m_translation.y = ndc.y * d3d->getHeight() * 0.5f;
    m_marker->render();
    return QNRSLT_OK;
}

QNRESULT CZVBaseLevel::release() {
    if (m_blocks) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] m_blocks;
        m_blocks = nullptr;
    }
    return QNRSLT_OK;
}

QNRESULT CZVBaseLevel::loadLevel() {
    char fileName[256];
    std::snprintf(fileName, sizeof fileName, kLevelFileFormat, CQNGameState::getInstance()->m_level);
    return loadLevelFromFile(fileName);
}

void CZVBaseLevel::_refuse(const char* path, const char* reason) {
    char info[512];
    std::snprintf(info, sizeof info, "Level: %s: %s", path, reason);
    logResult(QNRSLT_INVALIDPARAM, kLoadLocation, info, 0);
}

QNRESULT CZVBaseLevel::loadLevelFromFile(const char* path) {
    CQNGameState* state = CQNGameState::getInstance();
    CQNLevelData& data = state->m_levelData;

    uint32_t size = 0;
    QNRESULT result = CScriptHelper::getFileSize(path, &size);
    if (result > QNRSLT_OK) return result;

    setOwner(__FILE__, __LINE__, "??");
    char* text = new char[size];
    std::memset(text, 0, size);
    result = CScriptHelper::extractContectsFromFile(path, text, size);
    if (result > QNRSLT_OK) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] text;
        return result;
    }

    // The whole file is read and checked before anything changes, so a file
    // that is refused leaves the board on show as it was.
    ZVLevelFile file;
    const bool parsed = file.parse(text);
    setOwner(__FILE__, __LINE__, "??");
    delete[] text;
    if (!parsed) {
        _refuse(path, file.m_reason);
        return QNRSLT_INVALIDPARAM;
    }
    const int32_t width = file.m_width, height = file.m_height;
    const int32_t count = width * height;
    int32_t* values = file.m_cells;
    const int32_t bestTime = file.m_bestTime, parMoves = file.m_parMoves, bestMoves = file.m_bestMoves;

    release();
    m_boardWidth = width;
    m_boardHeight = height;
    data.m_width = width;
    data.m_height = height;
    data.allocateCells(count);
    const float halfW = width * kCellSize * 0.5f - 16.0f;
    const float halfH = height * kCellSize * 0.5f - 16.0f;

    setOwner(__FILE__, __LINE__, "??");
    m_blocks = new ZVBlock[count];

    // Half the loads show the stored layout inverted; that never changes
    // whether or in how many moves it can be solved.
    const bool invert = (std::rand() % 2) != 0;
    if (invert)
        for (int32_t k = 0; k < count; ++k) values[k] ^= 1;
    data.m_bestTime = bestTime;
    data.m_parMoves = parMoves;
    data.m_bestMoves = bestMoves;

    for (int32_t i = 0; i < width; ++i) {
        for (int32_t j = 0; j < height; ++j) {
            const int32_t k = j * width + i;
            ZVBlock& block = m_blocks[k];
            block.initialize(kBlockScript);
            // The script's depth and size, which the highlight and the hint
            // change only while they show.
            if (k == 0 && block.m_rend) {
                m_blockZ = block.m_rend->m_translation.z;
                m_blockScale = block.m_rend->m_scale;
            }
            block.m_rend->m_translation.x = i * kCellSize - halfW;
            block.m_rend->m_translation.y = j * kCellSize - halfH;
            block.m_state = values[k] != 0 ? BLOCK_FRONT : BLOCK_BACK;
            block.snapToState();
            data.m_cells[k] = values[k];
        }
    }

    placeCamera(width, height);

    if (std::snprintf(m_boardFile, sizeof m_boardFile, "%s", path) >= int(sizeof m_boardFile))
        m_boardFile[0] = '\0';
    m_highlightColumn = width / 2;
    m_highlightRow = height / 2;
    _clearRun();
    return QNRSLT_OK;
}

const char* CZVBaseLevel::_readOnlyPart(const char* fileName) {
    const DWORD file = GetFileAttributesA(fileName);
    if (file != INVALID_FILE_ATTRIBUTES && (file & FILE_ATTRIBUTE_READONLY)) return "the file";
    char folder[256];
    std::snprintf(folder, sizeof folder, "%s", fileName);
    char* slash = std::strrchr(folder, '\\');
    if (!slash) return nullptr;
    *slash = '\0';
    const DWORD attributes = GetFileAttributesA(folder);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return "its folder";
    return nullptr;
}

QNRESULT CZVBaseLevel::saveUpdatedLevel() {
    CQNGameState* state = CQNGameState::getInstance();
    const CQNLevelData& data = state->m_levelData;

    const float hundredths = state->m_levelTime * 100.0f;
    const bool timeBeaten = hundredths < data.m_bestTime;
    const bool movesBeaten = state->m_moves < data.m_bestMoves;
    if (!timeBeaten && !movesBeaten) return QNRSLT_OK;

    char fileName[256];
    std::snprintf(fileName, sizeof fileName, kLevelFileFormat, state->m_level);

    // Only the file the board came from may receive its records: after a
    // next level that failed to load, the board on show is the old level's.
    if (!m_blocks || !data.m_cells || data.m_width != m_boardWidth || data.m_height != m_boardHeight ||
        std::strcmp(fileName, m_boardFile) != 0) {
        char info[512];
        std::snprintf(info, sizeof info, "%s (the board on show was not loaded from it; nothing saved)",
                      fileName);
        return logResult(QNRSLT_INVALIDPARAM, kSaveLocation, info, 0);
    }

    // At most 6 x 5 cells and five numbers: the whole file fits on the stack,
    // so it is written in one piece.
    char text[512];
    size_t length = 0;
    auto append = [&](const char* format, int32_t value) {
        int n = std::snprintf(text + length, sizeof text - length, format, value);
        if (n > 0) length += static_cast<size_t>(n);
    };
    length = static_cast<size_t>(
        std::snprintf(text, sizeof text, "%d %d\n", data.m_width, data.m_height));
    for (int32_t j = 0; j < m_boardHeight; ++j) {
        for (int32_t i = 0; i < m_boardWidth; ++i) {
            const char* cell = data.m_cells[j * m_boardWidth + i] == 1 ? "1 " : "0 ";
            std::memcpy(text + length, cell, 2);
            length += 2;
        }
        text[length++] = '\n';
    }
    append("%d\n", timeBeaten ? static_cast<int32_t>(hundredths) : data.m_bestTime);
    append("%d\n", data.m_parMoves);
    append("%d\n", movesBeaten ? state->m_moves : data.m_bestMoves);

    // A level file or folder the player made read-only keeps its records:
    // the replacement would otherwise be renamed over it without asking.
    char info[512];
    const char* readOnly = _readOnlyPart(fileName);
    if (readOnly) {
        std::snprintf(info, sizeof info, "%s (%s is read-only; the record is not saved)", fileName, readOnly);
        return logResult(QNRSLT_MISSINGSCRIPT, kSaveLocation, info, 0);
    }
    if (!qnReplaceFile(fileName, text, length)) return logResult(QNRSLT_MISSINGSCRIPT, kSaveLocation, fileName, 0);
    return QNRSLT_OK;
}

QNRESULT CZVBaseLevel::handleClick() {
    if (!m_blocks) return QNRSLT_OK;
    float x = 0.0f, y = 0.0f;
    getCursorPosition(&x, &y);
    D3DXVECTOR3 direction, origin;
    computePickRay(x, y, &direction, &origin);

    for (int32_t i = 0; i < m_boardWidth; ++i) {
        for (int32_t j = 0; j < m_boardHeight; ++j) {
            const CQNBaseRend* rend = m_blocks[j * m_boardWidth + i].m_rend;
            if (!rend) continue;
            const D3DXVECTOR3 centre(rend->m_translation.x, rend->m_translation.y, rend->m_translation.z);
            float distance = 0.0f;
            // Every block the line passes is a move of its own: a click on a
            // seam seen at an angle can hit two.
            if (rayHitsSphere(origin, direction, centre, kPickRadius, &distance)) playFlip(i, j);
        }
    }
    return QNRSLT_OK;
}

bool CZVBaseLevel::isLevelComplete() {
    if (!m_blocks) return false;
    const int32_t n = m_boardWidth * m_boardHeight;
    if (n < 2) return true;
    for (int32_t k = 1; k < n; ++k)
        if (m_blocks[k].m_state != m_blocks[0].m_state) return false;
    return true;
}

QNRESULT CZVBaseLevel::flipCross(int32_t column, int32_t row) {
    flipBlockAt(column, row);
    flipBlockAt(column - 1, row);
    flipBlockAt(column + 1, row);
    flipBlockAt(column, row - 1);
    flipBlockAt(column, row + 1);
    return QNRSLT_OK;
}

QNRESULT CZVBaseLevel::flipBlockAt(int32_t column, int32_t row) {
    if (m_blocks && column >= 0 && column < m_boardWidth && row >= 0 && row < m_boardHeight)
        m_blocks[row * m_boardWidth + column].flip();
    return QNRSLT_OK;
}

void CZVBaseLevel::playFlip(int32_t column, int32_t row) {
    if (!m_blocks || column < 0 || column >= m_boardWidth || row < 0 || row >= m_boardHeight) return;
    _flipAsMove(column, row);
    _pushUndo(row * m_boardWidth + column);
}

bool CZVBaseLevel::undoFlip() {
    if (!m_blocks || m_undoCount == 0) return false;
    const int32_t cell = m_undo[--m_undoCount];
    _flipAsMove(cell % m_boardWidth, cell / m_boardWidth);
    return true;
}

void CZVBaseLevel::_flipAsMove(int32_t column, int32_t row) {
    CQNSoundManager* sound = CQNSoundManager::getInstance();
    sound->playSound(sound->getSoundFromList(kClickSound));
    flipCross(column, row);
    CQNGameState::getInstance()->m_moves += 1;
    m_hintCell = -1;
}

void CZVBaseLevel::restart() {
    if (!m_blocks) return;
    const CQNLevelData& data = CQNGameState::getInstance()->m_levelData;
    for (int32_t k = 0; k < m_boardWidth * m_boardHeight; ++k) {
        const int32_t loaded = data.m_cells && data.m_cells[k] != 0 ? BLOCK_FRONT : BLOCK_BACK;
        if (m_blocks[k].m_state != loaded) m_blocks[k].flip();
    }
    _clearRun();
    CQNGameState::getInstance()->m_levelPhase = LP_GET_READY;
}

void CZVBaseLevel::showHint() {
    if (!m_blocks) return;
    CQNGameState* state = CQNGameState::getInstance();
    const ZVSolver solver(m_boardWidth, m_boardHeight);
    const uint64_t board = boardMask();
    if (!solver.isSolvable(board)) {
        state->m_noSolutionTime = kNoSolutionSeconds;
        return;
    }
    m_hintCell = solver.hintCell(board);
    if (m_hintCell >= 0) {
        state->m_hinted = true;
        m_pulseClock = 0.0f;
    }
}

uint64_t CZVBaseLevel::boardMask() const {
    uint64_t mask = 0;
    if (!m_blocks) return mask;
    for (int32_t k = 0; k < m_boardWidth * m_boardHeight; ++k)
        if (m_blocks[k].m_state == BLOCK_FRONT) mask |= uint64_t(1) << k;
    return mask;
}

void CZVBaseLevel::_pushUndo(int32_t cell) {
    if (m_undoCount == kUndoCapacity) {
        // Flips commute and two of a cell cancel: the cells flipped an odd
        // number of times lead from the board as loaded to this one.
        uint64_t odd = 0;
        for (int32_t k = 0; k < m_undoCount; ++k) odd ^= uint64_t(1) << m_undo[k];
        m_undoCount = 0;
        for (int32_t k = 0; k < m_boardWidth * m_boardHeight; ++k)
            if (odd & (uint64_t(1) << k)) m_undo[m_undoCount++] = k;
    }
    m_undo[m_undoCount++] = cell;
}

void CZVBaseLevel::_clearRun() {
    CQNGameState* state = CQNGameState::getInstance();
    state->m_levelTime = 0.0f;
    state->m_moves = 0;
    state->m_hinted = false;
    state->m_noSolutionTime = 0.0f;
    m_hintCell = -1;
    m_undoCount = 0;
}

void CZVBaseLevel::_animateBoard() {
    m_pulseClock += CQNGameTimer::getInstance()->getFrameTime();
    const float pulse = 1.0f + kPulseDepth * (0.5f + 0.5f * std::sin(m_pulseClock * kPulseRate));
    for (int32_t i = 0; i < m_boardWidth; ++i) {
        for (int32_t j = 0; j < m_boardHeight; ++j) {
            ZVBlock& block = m_blocks[j * m_boardWidth + i];
            block.animate();
            if (!block.m_rend) continue;
            // The highlighted block stands out of the board towards the
            // player; the hinted one pulses. Others stay as the script set them.
            const bool highlighted = m_highlightShown && i == m_highlightColumn && j == m_highlightRow;
            const float scale = (j * m_boardWidth + i == m_hintCell) ? pulse : 1.0f;
            block.m_rend->m_translation.z = m_blockZ + (highlighted ? kHighlightLift : 0.0f);
            block.m_rend->m_scale.x = m_blockScale.x * scale;
            block.m_rend->m_scale.y = m_blockScale.y * scale;
            block.m_rend->m_scale.z = m_blockScale.z * scale;
            block.m_rend->update();
        }
    }
}
