// The heads-up display of a level: a panel with the level number, the
// elapsed and best times and the move counts drawn from ten digit sprites, a
// get-ready sign that drops in while the level waits to start, a completed
// sign, a pulsing mark beside each record the finished run beat, and short
// notes (hint used, no solution, muted). It only
// reads the game-state record.
#ifndef QN_BASE_HUD_H
#define QN_BASE_HUD_H

#include <cstdint>

#include "QNBase.h"

class CQNBaseRend;

class CQNBaseHud : public CQNBase {
public:
    CQNBaseHud();

    // Reads nothing; the HUD's own transform comes through initialize.
    virtual QNRESULT parseScript(const char* path) override;
    virtual ~CQNBaseHud();
    // Creates every picture from its fixed base-object script (a picture
    // whose script fails to load draws nothing), then reads the HUD's own
    // transform keys from path. Returns the base's result.
    virtual QNRESULT initialize(const char* path) override;
    // Updates the pictures and drops the get-ready sign while the level
    // phase is LP_GET_READY. Always 0.
    virtual QNRESULT update() override;
    // Draws what the level phase shows, in screen space. Always 0.
    virtual QNRESULT render() override;
    // Deletes every picture that exists; safe to call twice.
    virtual QNRESULT release() override;

    CQNBaseRend* m_digits;  // array of 10; element d draws the digit d
    CQNBaseRend* m_colon;
    CQNBaseRend* m_background;
    CQNBaseRend* m_getReady;
    CQNBaseRend* m_completed;
    CQNBaseRend* m_newRecord;

    // Process-wide, not per HUD: they outlive a HUD, so a level scene left
    // during the get-ready phase and entered again does not restart the drop.
    static int32_t s_lastPhase;       // the level phase seen by the last update
    static float s_getReadySpeed;     // units per second, negative when falling
    static float s_pulseSpeed;        // scale change per second of the mark

private:
    // Draws text digit by digit from x at height y, 10 units a character;
    // with colons, a colon precedes each pair of digits counted from the right.
    void _drawText(const char* text, float x, float y, bool colons);
    void _drawNumbers(float left);
    void _drawNewRecordMarks(float left);
    void _dropGetReady();
    // The run's notes as plain text: a hint was used (no record), the board
    // has no solution, the sound is muted.
    void _drawNotes();
};

#endif
