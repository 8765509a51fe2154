// The main menu's object: a pointer that the Up and Down arrow keys move
// over the four menu lines (no wrap-around), and the options and credits
// panels, drawn while their flags in the game-state record are set. What a
// confirmed line does belongs to the top-level state machine.
#ifndef ZV_MAIN_MENU_H
#define ZV_MAIN_MENU_H

#include "QNBase.h"

class CQNBaseRend;

class CZVMainMenu : public CQNBase {
public:
    CZVMainMenu();

    // Reads nothing.
    virtual QNRESULT parseScript(const char* path) override;
    virtual ~CZVMainMenu();
    // Creates the pointer (on line 0) and the two panels from their fixed
    // base-object scripts, then reads the object's own transform keys.
    virtual QNRESULT initialize(const char* path) override;
    // Moves m_menuSelection on Up and Down, places the pointer on its line
    // and clears the flag of every panel whose line it is not on. Always 0.
    virtual QNRESULT update() override;
    // The pointer, then each panel whose flag is set. Always 0.
    virtual QNRESULT render() override;
    // Deletes the pictures; safe to call twice.
    virtual QNRESULT release() override;

    CQNBaseRend* m_pointer;
    CQNBaseRend* m_optionsPanel;
    CQNBaseRend* m_creditsPanel;
};

#endif
