// CD audio played through the mixer: a reader thread pulls sectors from the
// disc into a converter, and the mixer's post-mix hook adds them to the output.
#ifndef ZV_FMOD3_CDPLAYER_H
#define ZV_FMOD3_CDPLAYER_H

#include "CdDisc.h"

#include <SDL.h>

namespace fmod3 {

class CdPlayer {
public:
    static CdPlayer& instance();

    // Opens the disc and plays from the first audio track at or after
    // `track`. Requires the mixer to be open. False, with nothing playing,
    // when there is no drive, no disc or no audio track from there on.
    bool play(int track);
    // FSOUND_CD_PLAYCONTINUOUS, _PLAYONCE or _PLAYLOOPED; read at each track
    // end, so it applies to a disc already playing.
    void setMode(int mode);
    // Stops playback and closes the disc. Must run before the mixer closes.
    void stop();

private:
    CdPlayer() = default;
    // A program that ends without FSOUND_Close must not leave the reader
    // running while the disc is torn down.
    ~CdPlayer() { stop(); }

    static int SDLCALL _readerMain(void* self);
    static void SDLCALL _mixInto(void* self, Uint8* stream, int len);
    void _read();
    // At the end of a track: moves to the track the mode asks for, or false
    // when playback ends.
    bool _advance();
    bool _startTrack(int track);

    CdDisc m_disc;
    SDL_Thread* m_reader = nullptr;
    SDL_mutex* m_lock = nullptr;        // guards m_pcm between reader and mixer
    SDL_AudioStream* m_pcm = nullptr;   // CD format in, output format out
    Uint8* m_scratch = nullptr;         // mixer-side copy buffer
    int m_scratchBytes = 0;
    SDL_atomic_t m_stopRequested{};
    SDL_atomic_t m_mode{};              // FSOUND_CD_PLAY* value
    int m_track = 0;
    CdDisc::Sector m_nextSector = 0;
    CdDisc::Sector m_lastSector = 0;
};

}  // namespace fmod3

#endif
