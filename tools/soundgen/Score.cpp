#include "Score.h"

#include "Voices.h"

namespace {

const long kEighth = Score::kBeatFrames / 2;
const long kBar = Score::kBeatFrames * 4;

struct Chord {
    int notes[4];  // the pad's voicing, MIDI numbers
    int bass;
};

// Fmaj7 Am7 Bbmaj7 Cadd9 | Dm7 Am7 Bbmaj7 Csus4 | Fmaj7 Am7 Bbmaj7 Gm7 |
// Dm7 Bbmaj7 Gm7 Csus4, whose C leads back to the first bar's F.
const Chord kChords[Score::kBars] = {
    {{53, 57, 60, 64}, 41}, {{52, 55, 57, 60}, 45}, {{53, 57, 58, 62}, 46}, {{52, 55, 60, 62}, 36},
    {{53, 57, 60, 62}, 38}, {{52, 55, 57, 60}, 45}, {{53, 57, 58, 62}, 46}, {{53, 55, 60, 62}, 36},
    {{53, 57, 60, 64}, 41}, {{52, 55, 57, 60}, 45}, {{53, 57, 58, 62}, 46}, {{53, 55, 58, 62}, 43},
    {{53, 57, 60, 62}, 38}, {{53, 57, 58, 62}, 46}, {{53, 55, 58, 62}, 43}, {{53, 55, 60, 62}, 36},
};

struct Note {
    int bar;
    int eighth;  // position in the bar
    int length;  // in eighths
    int midi;
};

// The last bar's D steps down to the C that opens the first.
const Note kMelody[] = {
    {0, 0, 2, 72}, {0, 2, 1, 69}, {0, 3, 1, 72}, {0, 4, 3, 77}, {0, 7, 1, 76},
    {1, 0, 3, 76}, {1, 3, 1, 74}, {1, 4, 4, 72},
    {2, 0, 2, 74}, {2, 2, 1, 72}, {2, 3, 1, 70}, {2, 4, 2, 69}, {2, 6, 2, 65},
    {3, 0, 4, 67}, {3, 4, 2, 64}, {3, 6, 2, 67},
    {4, 0, 2, 69}, {4, 2, 2, 74}, {4, 4, 3, 77}, {4, 7, 1, 76},
    {5, 0, 3, 72}, {5, 3, 1, 74}, {5, 4, 4, 76},
    {6, 0, 2, 74}, {6, 2, 2, 77}, {6, 4, 2, 74}, {6, 6, 2, 70},
    {7, 0, 6, 72}, {7, 6, 1, 74}, {7, 7, 1, 76},
    {8, 0, 3, 77}, {8, 3, 1, 76}, {8, 4, 4, 72},
    {9, 0, 3, 76}, {9, 3, 1, 74}, {9, 4, 2, 72}, {9, 6, 2, 69},
    {10, 0, 3, 74}, {10, 3, 1, 72}, {10, 4, 2, 70}, {10, 6, 2, 74},
    {11, 0, 4, 70}, {11, 4, 2, 69}, {11, 6, 2, 67},
    {12, 0, 2, 65}, {12, 2, 2, 69}, {12, 4, 3, 74}, {12, 7, 1, 72},
    {13, 0, 3, 74}, {13, 3, 1, 72}, {13, 4, 4, 69},
    {14, 0, 3, 70}, {14, 3, 1, 69}, {14, 4, 2, 67}, {14, 6, 2, 70},
    {15, 0, 4, 67}, {15, 4, 2, 70}, {15, 6, 2, 74},
};

// Chord-tone order of the arpeggio, one per eighth.
const int kArpeggio[8] = {0, 1, 2, 3, 2, 1, 2, 3};

}  // namespace

void Score::render(MixBus& bus, int parts) {
    for (int bar = 0; bar < kBars; ++bar) {
        const Chord& chord = kChords[bar];
        const long at = bar * kBar;
        if (parts & PAD) {
            const float pans[4] = {-0.4f, 0.25f, -0.15f, 0.4f};
            for (int i = 0; i < 4; ++i) {
                padNote(bus, at, kBar, chord.notes[i], 0.05f, pans[i]);
            }
        }
        if (parts & BASS) {
            bassNote(bus, at, kBeatFrames * 2, chord.bass, 0.16f);
            bassNote(bus, at + kBeatFrames * 5 / 2, kBeatFrames * 3 / 2, chord.bass, 0.12f);
        }
        if ((parts & ARPEGGIO) && bar >= kBars / 2) {
            for (int e = 0; e < 8; ++e) {
                pluckNote(bus, at + e * kEighth, chord.notes[kArpeggio[e]] + 12, 0.17f,
                          e % 2 ? -0.5f : -0.3f, 1000u + bar * 8 + e);
            }
        }
        if (parts & DRUMS) {
            softKick(bus, at, 0.32f);
            softKick(bus, at + kBeatFrames * 2, 0.26f);
            woodTick(bus, at + kBeatFrames, 0.05f);
            woodTick(bus, at + kBeatFrames * 3, 0.06f);
            for (int e = 0; e < 8; ++e) {
                shaker(bus, at + e * kEighth, e % 2 ? 0.06f : 0.035f, 7u + bar * 8 + e);
            }
        }
    }
    if (parts & MELODY) {
        for (const Note& n : kMelody) {
            bellNote(bus, n.bar * kBar + n.eighth * kEighth, n.length * kEighth, n.midi, 0.13f);
        }
    }
}
