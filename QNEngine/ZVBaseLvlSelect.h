// The level-select screen's object: the chosen level number in large digits
// at the screen centre, stepped with the Left and Right arrow keys (with a
// click each) and wrapping between 1 and 40. Starting the level and going
// back belong to the top-level state machine. Under the number: the shown
// level's progress, read from its level file (solved or not, best moves
// against par, best time, and a PAR mark for a level solved at par).
#ifndef ZV_BASE_LVL_SELECT_H
#define ZV_BASE_LVL_SELECT_H

#include <cstddef>
#include <cstdint>

#include "QNBase.h"
#include "ZVLevelFile.h"

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

    // The progress lines of the shown level, separated by '\n' (the file is
    // read again whenever the level changes).
    void progressText(char* out, size_t size);

    CQNBaseRend* m_digits;  // array of 10; element d draws the digit d
    int32_t m_progressLevel;  // the level m_progress was read for; 0 for none
    bool m_progressRead;      // its file could be read and parsed
    ZVLevelFile m_progress;

private:
    void _readProgress();
};

#endif
