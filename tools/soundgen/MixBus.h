// The stereo mix of one loop, with two effect sends. Every write wraps at the
// loop's length, so a note that rings past the end sounds at the start and
// the loop joins without a seam.
#ifndef ZV_SOUNDGEN_MIXBUS_H
#define ZV_SOUNDGEN_MIXBUS_H

#include <vector>

class MixBus {
public:
    explicit MixBus(long frames);

    long frames() const { return m_frames; }
    // Adds one sample at `frame` (any integer; taken modulo the length),
    // panned from -1 (left) to 1 (right) at equal power, and sent to the
    // reverb and the echo at the given levels.
    void add(long frame, float value, float pan, float reverb, float echo);

    // Runs the reverb and the echo around the loop and mixes them in.
    void applyEffects(float reverbLevel, float echoLevel, long echoFrames);
    // Takes out DC and rumble below about 20 Hz (the melody's FM voice has a
    // DC term), again around the loop.
    void removeDc();
    // Scales the mix so its largest magnitude is `peak`; returns the factor.
    float normalize(float peak);

    const std::vector<float>& left() const { return m_left; }
    const std::vector<float>& right() const { return m_right; }

private:
    long wrap(long frame) const;
    long m_frames;
    std::vector<float> m_left;
    std::vector<float> m_right;
    std::vector<float> m_reverbSend;
    std::vector<float> m_echoSend;
};

#endif
