// "Lumbrel": the background music, a calm 16-bar loop in F major at 84 beats
// per minute (45.7 seconds). Chords on a pad, a bass, a bell melody, harp
// arpeggios in the second half, and soft percussion throughout.
#ifndef ZV_SOUNDGEN_SCORE_H
#define ZV_SOUNDGEN_SCORE_H

#include "MixBus.h"

class Score {
public:
    // 84 beats per minute divides the sample rate exactly: 31,500 frames a beat.
    static const long kBeatFrames = 31500;
    static const int kBars = 16;
    static long frames() { return kBeatFrames * 4 * kBars; }

    enum Part { PAD = 1, BASS = 2, MELODY = 4, ARPEGGIO = 8, DRUMS = 16, ALL = 31 };

    // Adds the chosen parts to `bus` (which must hold frames() frames).
    static void render(MixBus& bus, int parts = ALL);
};

#endif
