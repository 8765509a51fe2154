#include "ZVMainMenu.h"

#include <dinput.h>

#include <new>

#include "DX_Input.h"
#include "QNBaseRend.h"
#include "QNGameState.h"
#include "QNMemory.h"

namespace {
const float kPointerX = -100.0f;

// Where the pointer stands on each menu line, and which panels moving onto
// that line closes: a panel stays open only while its own line is selected.
struct MenuLine {
    float pointerY;
    bool keepOptions;
    bool keepCredits;
};
const MenuLine kLines[] = {
    {43.0f, false, false},   // play
    {14.0f, true, false},    // options
    {-14.0f, false, true},   // credits
    {-43.0f, false, false},  // quit
};
const int kLineCount = static_cast<int>(sizeof kLines / sizeof kLines[0]);

CQNBaseRend* makePicture(const char* script) {
    setOwner(__FILE__, __LINE__, "??");
    CQNBaseRend* picture = new (std::nothrow) CQNBaseRend;
    if (picture) picture->initialize(script);
    return picture;
}

void deletePicture(CQNBaseRend** picture) {
    if (!*picture) return;
    setOwner(__FILE__, __LINE__, "??");
    delete *picture;
    *picture = nullptr;
}
}  // namespace

CZVMainMenu::CZVMainMenu() : m_pointer(nullptr), m_optionsPanel(nullptr), m_creditsPanel(nullptr) {}

CZVMainMenu::~CZVMainMenu() { CZVMainMenu::release(); }

QNRESULT CZVMainMenu::parseScript(const char* path) { return QNRSLT_OK; }

QNRESULT CZVMainMenu::initialize(const char* path) {
    CZVMainMenu::release();
    m_pointer = makePicture("Assets\\Scripts\\Base Objects\\zv.menupointer.base");
    if (m_pointer) {
        m_pointer->m_translation.x = kPointerX;
        m_pointer->m_translation.y = kLines[0].pointerY;
    }
    m_optionsPanel = makePicture("Assets\\Scripts\\Base Objects\\zv.menuoptions.base");
    m_creditsPanel = makePicture("Assets\\Scripts\\Base Objects\\zv.menucredits.base");
    return CQNBase::initialize(path);
}

QNRESULT CZVMainMenu::update() {
    CDX_Input* input = CDX_Input::getInstance();
    CQNGameState* state = CQNGameState::getInstance();
    int32_t& selection = state->m_menuSelection;
    // The selection stops at either end; moving it is silent (the click
    // belongs to confirming a line).
    if (input->isKeyPressed(DIK_UP)) {
        selection -= 1;
        if (selection < 0) selection = 0;
    }
    if (input->isKeyPressed(DIK_DOWN)) {
        selection += 1;
        if (selection >= kLineCount) selection = kLineCount - 1;
    }
    if (selection >= 0 && selection < kLineCount) {
        const MenuLine& line = kLines[selection];
        if (m_pointer) m_pointer->m_translation.y = line.pointerY;
        if (!line.keepOptions) state->m_showOptions = false;
        if (!line.keepCredits) state->m_showCredits = false;
    }
    if (m_pointer) m_pointer->update();
    if (m_optionsPanel) m_optionsPanel->update();
    if (m_creditsPanel) m_creditsPanel->update();
    return QNRSLT_OK;
}

QNRESULT CZVMainMenu::render() {
    CQNGameState* state = CQNGameState::getInstance();
    if (m_pointer) m_pointer->render();
    if (state->m_showOptions && m_optionsPanel) m_optionsPanel->render();
    if (state->m_showCredits && m_creditsPanel) m_creditsPanel->render();
    return QNRSLT_OK;
}

QNRESULT CZVMainMenu::release() {
    deletePicture(&m_pointer);
    deletePicture(&m_optionsPanel);
    deletePicture(&m_creditsPanel);
    return QNRSLT_OK;
}
