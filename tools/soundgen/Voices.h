// The instruments of the music: each adds one note (or hit) to a MixBus.
// Times are in frames from the loop's start; lengths in frames.
#ifndef ZV_SOUNDGEN_VOICES_H
#define ZV_SOUNDGEN_VOICES_H

#include "MixBus.h"

#include <cstdint>

const int kRate = 44100;

double midiHz(int note);

// A warm held chord tone: a slow swell, slightly detuned pair of partials.
void padNote(MixBus& bus, long start, long length, int note, float amp, float pan);
// A round sine bass with a soft attack.
void bassNote(MixBus& bus, long start, long length, int note, float amp);
// The melody: a soft electric-piano bell (two-operator FM) that decays.
void bellNote(MixBus& bus, long start, long length, int note, float amp);
// A plucked string (Karplus-Strong) for the arpeggios.
void pluckNote(MixBus& bus, long start, int note, float amp, float pan, uint32_t seed);
// Soft percussion.
void softKick(MixBus& bus, long start, float amp);
void shaker(MixBus& bus, long start, float amp, uint32_t seed);
void woodTick(MixBus& bus, long start, float amp);

#endif
