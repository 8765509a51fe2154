#include "QNGameTimer.h"

#include <windows.h>

#include <cstdio>

#include "QNMemory.h"

CQNGameTimer* CQNGameTimer::s_instance = nullptr;

CQNGameTimer::CQNGameTimer() : m_lastCount(0), m_frequency(1), m_frameTime(0.0f), m_currentCount(0) {}

CQNGameTimer::~CQNGameTimer() {}

CQNGameTimer* CQNGameTimer::getInstance() {
    if (!s_instance) {
        setOwner(__FILE__, __LINE__, "??");
        s_instance = new CQNGameTimer;
    }
    return s_instance;
}

int CQNGameTimer::destroyInstance() {
    if (s_instance) {
        setOwner(__FILE__, __LINE__, "??");
        delete s_instance;
        s_instance = nullptr;
    }
    return 0;
}

void CQNGameTimer::initialize() {
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    m_frequency = value.QuadPart > 0 ? value.QuadPart : 1;
    QueryPerformanceCounter(&value);
    m_lastCount = value.QuadPart;
    m_currentCount = value.QuadPart;
    m_frameTime = 0.0f;
}

void CQNGameTimer::update() {
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    m_currentCount = value.QuadPart;
    m_frameTime = static_cast<float>(static_cast<long double>(m_currentCount - m_lastCount) /
                                     static_cast<long double>(m_frequency));
    m_lastCount = m_currentCount;
}

double CQNGameTimer::getElapsedSince(int64_t count) const {
    return static_cast<double>(m_currentCount - count) / static_cast<double>(m_frequency);
}

int64_t* CQNGameTimer::getCurrentCount(int64_t* out) const {
    if (out) *out = m_currentCount;
    return out;
}

namespace {
// One part of the time text: empty, or the number with a leading zero below 10.
void timePart(char* out, size_t size, int value, bool omitZero) {
    if (omitZero && value <= 0)
        out[0] = '\0';
    else
        std::snprintf(out, size, value < 10 ? "0%d" : "%d", value);
}
}  // namespace

void getTimeText(char* out, int t) {
    if (!out) return;
    // Each part has room for three digits and a sign; a negative time (a
    // hand-edited level file) still stays inside the parts.
    char a[12], b[12], c[12], d[12];
    timePart(a, sizeof a, t / 600000, true);
    timePart(b, sizeof b, t / 6000, false);
    timePart(c, sizeof c, (t % 6000) / 100, false);
    timePart(d, sizeof d, t % 100, false);
    char joined[64];
    std::snprintf(joined, sizeof joined, "%s%s%s%s", a, b, c, d);
    std::snprintf(out, 16, "%.15s", joined);
}

float getRate(float from, float to, float duration) { return (to - from) / duration; }
