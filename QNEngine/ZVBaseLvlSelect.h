// The level-select screen's object: the chosen level number in large digits
// at the screen centre, stepped with the Left and Right arrow keys (with a
// click each) and wrapping between 1 and 40. Starting the level and going
// back belong to the top-level state machine.
#ifndef ZV_BASE_LVL_SELECT_H
#define ZV_BASE_LVL_SELECT_H

#include "QNBase.h"

class CQNBaseRend;

class CZVBaseLvlSelect : public CQNBase {
public:
    CZVBaseLvlSelect();

    // Reads nothing.
    virtual QNRESULT parseScript(const char* path) override;
    virtual ~CZVBaseLvlSelect();
    // Creates the ten digits (below the centre line, three times their
    // script's size), then reads the object's own transform keys from path.
    virtual QNRESULT initialize(const char* path) override;
    // Steps the game-state record's m_level on Left and Right. Always 0.
    virtual QNRESULT update() override;
    // Draws m_level centred on x = 0, 40 units a digit. Always 0.
    virtual QNRESULT render() override;
    // Deletes the digits; safe to call twice.
    virtual QNRESULT release() override;

    CQNBaseRend* m_digits;  // array of 10; element d draws the digit d
};

#endif
