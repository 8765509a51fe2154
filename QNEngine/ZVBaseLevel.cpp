#include "ZVBaseLevel.h"

#include <dinput.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <windows.h>

#include "DX_Camera.h"
#include "DX_Input.h"
#include "QNBaseRend.h"
#include "QNFileUtil.h"
#include "QNGameState.h"
#include "QNGameTimer.h"
#include "QNMemory.h"
#include "QNScriptHelper.h"
#include "QNSoundManager.h"

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

// The next number of a level file; false when the text has no more tokens.
// Numbers are read as atoi does, so a word counts as 0.
bool nextNumber(int32_t* out) {
    const char* token = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
    if (!token) return false;
    *out = std::atoi(token);
    return true;
}

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

// Writes text to path so that path afterwards holds either its old content
// or all of text, never a part: a temporary file in the same folder is
// written, flushed to the disk and then renamed over path.
bool replaceFile(const char* path, const char* text, size_t length) {
    char temporary[260];
    int n = std::snprintf(temporary, sizeof temporary, "%s.tmp", path);
    if (n < 0 || n >= static_cast<int>(sizeof temporary)) return false;
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr) && written == length;
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
    ok = ok && MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileA(temporary);
    return ok;
}

}  // namespace

CZVBaseLevel::CZVBaseLevel() : m_blocks(nullptr), m_boardWidth(3), m_boardHeight(3) {
    m_boardFile[0] = '\0';
}

QNRESULT CZVBaseLevel::parseScript(const char* path) { return QNRSLT_OK; }

CZVBaseLevel::~CZVBaseLevel() { CZVBaseLevel::release(); }

QNRESULT CZVBaseLevel::initialize(const char* path) {
    loadLevel();
    m_mouse.initialize(kMouseScript);
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
            state->m_levelTime += timer->getFrameTime();
            if (isLevelComplete()) {
                state->m_levelPhase = LP_COMPLETED;
                saveUpdatedLevel();
            }
            break;
        case LP_COMPLETED:
            _animateBoard();
            if (input->isKeyPressed(DIK_RETURN) || input->isMouseButtonPressed(0)) {
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
    if (m_mouse.m_cursor) m_mouse.m_cursor->render();
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
    int32_t width = 0, height = 0;
    const char* token = std::strtok(text, QN_DELIMITERS_STANDARD);
    if (token) width = std::atoi(token);
    if (!token || !nextNumber(&height)) {
        _refuse(path, "the file does not start with a width and a height");
        setOwner(__FILE__, __LINE__, "??");
        delete[] text;
        return QNRSLT_INVALIDPARAM;
    }
    if (width < 1 || height < 1 || width > ZV_MAX_BOARD_WIDTH || height > ZV_MAX_BOARD_HEIGHT) {
        char reason[128];
        std::snprintf(reason, sizeof reason, "a board of %d x %d; boards from 1 x 1 to %d x %d are played",
                      width, height, ZV_MAX_BOARD_WIDTH, ZV_MAX_BOARD_HEIGHT);
        _refuse(path, reason);
        setOwner(__FILE__, __LINE__, "??");
        delete[] text;
        return QNRSLT_INVALIDPARAM;
    }

    const int32_t count = width * height;
    setOwner(__FILE__, __LINE__, "??");
    int32_t* values = new int32_t[count];
    int32_t bestTime = 0, parMoves = 0, bestMoves = 0;
    bool complete = true;
    for (int32_t k = 0; k < count && complete; ++k) complete = nextNumber(&values[k]);
    complete = complete && nextNumber(&bestTime) && nextNumber(&parMoves) && nextNumber(&bestMoves);
    setOwner(__FILE__, __LINE__, "??");
    delete[] text;
    if (!complete) {
        char reason[128];
        std::snprintf(reason, sizeof reason,
                      "too few numbers for a %d x %d board (%d cells, then best time, par and best moves)",
                      width, height, count);
        _refuse(path, reason);
        setOwner(__FILE__, __LINE__, "??");
        delete[] values;
        return QNRSLT_INVALIDPARAM;
    }

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
            block.m_rend->m_translation.x = i * kCellSize - halfW;
            block.m_rend->m_translation.y = j * kCellSize - halfH;
            block.m_state = values[k] != 0 ? BLOCK_FRONT : BLOCK_BACK;
            block.snapToState();
            data.m_cells[k] = values[k];
        }
    }

    placeCamera(width, height);

    setOwner(__FILE__, __LINE__, "??");
    delete[] values;

    if (!qnNativePath(path, m_boardFile, sizeof m_boardFile)) m_boardFile[0] = '\0';
    state->m_levelTime = 0.0f;
    state->m_moves = 0;
    return QNRSLT_OK;
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
    char native[256];
    if (!m_blocks || !data.m_cells || data.m_width != m_boardWidth || data.m_height != m_boardHeight ||
        !qnNativePath(fileName, native, sizeof native) || std::strcmp(native, m_boardFile) != 0) {
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

    if (!replaceFile(fileName, text, length))
        return logResult(QNRSLT_MISSINGSCRIPT, kSaveLocation, fileName, 0);
    return QNRSLT_OK;
}

QNRESULT CZVBaseLevel::handleClick() {
    if (!m_blocks) return QNRSLT_OK;
    CQNGameState* state = CQNGameState::getInstance();
    CQNSoundManager* sound = CQNSoundManager::getInstance();

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
            if (rayHitsSphere(origin, direction, centre, kPickRadius, &distance)) {
                sound->playSound(sound->getSoundFromList(kClickSound));
                flipCross(i, j);
                state->m_moves += 1;
            }
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

void CZVBaseLevel::_animateBoard() {
    for (int32_t i = 0; i < m_boardWidth; ++i) {
        for (int32_t j = 0; j < m_boardHeight; ++j) {
            ZVBlock& block = m_blocks[j * m_boardWidth + i];
            block.animate();
            if (block.m_rend) block.m_rend->update();
        }
    }
}
