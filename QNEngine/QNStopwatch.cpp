#include "QNStopwatch.h"

#include "QNGameTimer.h"

CQNStopwatch::CQNStopwatch() : m_stamp(0) { reset(); }

CQNStopwatch::~CQNStopwatch() {}

int CQNStopwatch::reset() {
    CQNGameTimer::getInstance()->getCurrentCount(&m_stamp);
    return 0;
}

double CQNStopwatch::getElapsed() const { return CQNGameTimer::getInstance()->getElapsedSince(m_stamp); }
