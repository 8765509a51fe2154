// Frame time: the performance counter is read once per frame, and every time
// in the game is measured against that reading.
#ifndef QN_GAME_TIMER_H
#define QN_GAME_TIMER_H

#include <cstdint>

class CQNGameTimer {
public:
    virtual ~CQNGameTimer();

    static CQNGameTimer* getInstance();
    static int destroyInstance();

    void initialize();
    // Once per frame, before anything else of the frame.
    void update();
    // Seconds between the last two updates.
    float getFrameTime() const { return m_frameTime; }
    // Seconds from count to the current frame's count.
    double getElapsedSince(int64_t count) const;
    int64_t* getCurrentCount(int64_t* out) const;

private:
    CQNGameTimer();

    int64_t m_lastCount;
    int64_t m_frequency;
    float m_frameTime;
    int64_t m_currentCount;

    static CQNGameTimer* s_instance;
};

// Digit text of a time in hundredths of a second: minutes (not reduced
// modulo 60), seconds and hundredths, two digits each, with a leading
// hundred-minutes part only from 100 minutes on. out needs 16 bytes; a
// text longer than 15 characters (absurd times) is cut.
void getTimeText(char* out, int hundredths);

// Change per unit of duration from `from` to `to`; duration 0 is the caller's concern.
float getRate(float from, float to, float duration);

#endif
