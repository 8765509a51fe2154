// Interval measurement against the game timer's per-frame count: two readings
// within one frame give the same value.
#ifndef QN_STOPWATCH_H
#define QN_STOPWATCH_H

#include <cstdint>

class CQNStopwatch {
public:
    CQNStopwatch();
    virtual ~CQNStopwatch();

    int reset();
    double getElapsed() const;

private:
    int64_t m_stamp;
};

#endif
