#include "CdPlayer.h"

#include "FmodSystem.h"

#include <SDL_mixer.h>
#include <fmod.h>

namespace fmod3 {

namespace {
// Kept decoded ahead of the mixer: about half a second, enough to ride out a
// slow seek on a real drive.
const int kAheadBytes = 44100 * 4 / 2;
const int kScratchBytes = 16384;

void addSaturated(Sint16* out, const Sint16* in, int count) {
    for (int i = 0; i < count; ++i) {
        const int sum = out[i] + in[i];
        out[i] = static_cast<Sint16>(sum > 32767 ? 32767 : (sum < -32768 ? -32768 : sum));
    }
}
}  // namespace

CdPlayer& CdPlayer::instance() {
    static CdPlayer player;
    return player;
}

void CdPlayer::setMode(int mode) { SDL_AtomicSet(&m_mode, mode); }

bool CdPlayer::play(int track) {
    stop();
    int frequency = 0;
    int channels = 0;
    Uint16 format = 0;
    if (!Mix_QuerySpec(&frequency, &format, &channels) || format != AUDIO_S16SYS) {
        return false;  // FSOUND_Init always asks for 16-bit output
    }
    if (!m_disc.open()) {
        return false;
    }
    int first = track;
    while (first <= m_disc.lastTrack() && !m_disc.isAudio(first)) {
        ++first;  // data tracks are not music
    }
    if (first > m_disc.lastTrack() || !_startTrack(first)) {
        m_disc.close();
        return false;
    }
    m_pcm = SDL_NewAudioStream(AUDIO_S16SYS, 2, 44100, format, static_cast<Uint8>(channels),
                               frequency);
    m_lock = SDL_CreateMutex();
    m_scratch = static_cast<Uint8*>(SDL_malloc(kScratchBytes));
    m_scratchBytes = kScratchBytes;
    SDL_AtomicSet(&m_stopRequested, 0);
    if (m_pcm && m_lock && m_scratch) {
        m_reader = SDL_CreateThread(_readerMain, "cd-reader", this);
    }
    if (!m_reader) {
        stop();
        return false;
    }
    Mix_SetPostMix(_mixInto, this);
    return true;
}

void CdPlayer::stop() {
    // Unhooking takes the mixer's lock, so no mix is running afterwards.
    if (m_reader || m_pcm) {
        Mix_SetPostMix(nullptr, nullptr);
    }
    if (m_reader) {
        SDL_AtomicSet(&m_stopRequested, 1);
        SDL_WaitThread(m_reader, nullptr);
        m_reader = nullptr;
    }
    if (m_pcm) {
        SDL_FreeAudioStream(m_pcm);
        m_pcm = nullptr;
    }
    if (m_lock) {
        SDL_DestroyMutex(m_lock);
        m_lock = nullptr;
    }
    SDL_free(m_scratch);
    m_scratch = nullptr;
    m_scratchBytes = 0;
    m_disc.close();
}

bool CdPlayer::_startTrack(int track) {
    m_track = track;
    m_nextSector = m_disc.trackFirst(track);
    m_lastSector = m_disc.trackLast(track);
    if (m_nextSector < 0 || m_lastSector < m_nextSector) {
        return false;
    }
    m_disc.seek(m_nextSector);
    return true;
}

bool CdPlayer::_advance() {
    switch (SDL_AtomicGet(&m_mode)) {
    case FSOUND_CD_PLAYCONTINUOUS:
        for (int next = m_track + 1; next <= m_disc.lastTrack(); ++next) {
            if (m_disc.isAudio(next)) {
                return _startTrack(next);
            }
        }
        return false;
    case FSOUND_CD_PLAYLOOPED:
        return _startTrack(m_track);
    default:  // FSOUND_CD_PLAYONCE; FSOUND_CD_SetPlayMode admits nothing else
        return false;
    }
}

int SDLCALL CdPlayer::_readerMain(void* self) {
    static_cast<CdPlayer*>(self)->_read();
    return 0;
}

// The reader thread. It calls only C libraries (libcdio, SDL), so it never
// touches the memory tracker's operator new.
void CdPlayer::_read() {
    while (!SDL_AtomicGet(&m_stopRequested)) {
        SDL_LockMutex(m_lock);
        const int ahead = SDL_AudioStreamAvailable(m_pcm);
        SDL_UnlockMutex(m_lock);
        if (ahead >= kAheadBytes) {
            SDL_Delay(10);
            continue;
        }
        if (m_nextSector > m_lastSector && !_advance()) {
            break;
        }
        const int16_t* sector = m_disc.readSector();
        if (!sector) {
            break;  // the drive gave up; what was read still plays out
        }
        ++m_nextSector;
        SDL_LockMutex(m_lock);
        SDL_AudioStreamPut(m_pcm, sector, CdDisc::kSectorBytes);
        SDL_UnlockMutex(m_lock);
    }
    // The end of the disc: let the converter hand out its last frames.
    SDL_LockMutex(m_lock);
    SDL_AudioStreamFlush(m_pcm);
    SDL_UnlockMutex(m_lock);
}

// Runs on the mixer's thread after all channels and music were mixed.
void SDLCALL CdPlayer::_mixInto(void* self, Uint8* stream, int len) {
    CdPlayer* player = static_cast<CdPlayer*>(self);
    while (len > 0) {
        const int want = len < player->m_scratchBytes ? len : player->m_scratchBytes;
        SDL_LockMutex(player->m_lock);
        const int got = SDL_AudioStreamGet(player->m_pcm, player->m_scratch, want);
        SDL_UnlockMutex(player->m_lock);
        if (got <= 0) {
            return;  // nothing decoded yet (or the disc ended): the rest stays as mixed
        }
        if (isMuted()) {
            // Read on, so the disc keeps its place, but add nothing.
            stream += got;
            len -= got;
            continue;
        }
        addSaturated(reinterpret_cast<Sint16*>(stream),
                     reinterpret_cast<const Sint16*>(player->m_scratch),
                     got / static_cast<int>(sizeof(Sint16)));
        stream += got;
        len -= got;
    }
}

}  // namespace fmod3
