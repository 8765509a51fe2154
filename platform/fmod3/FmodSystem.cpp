#include "FmodSystem.h"

#include "CdPlayer.h"
#include "FmodError.h"
#include "FmodObjects.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fmod.h>

#include <atomic>
#include <cstdio>

namespace fmod3 {

namespace {
bool s_open = false;
SDL_atomic_t s_muted;

// The mixer's volumes as the mute asks: samples and music silent or full.
void applyMute() {
    const int volume = SDL_AtomicGet(&s_muted) ? 0 : MIX_MAX_VOLUME;
    Mix_Volume(-1, volume);
    Mix_VolumeMusic(volume);
}

// Set when SDL reports the output device removed (from whichever thread
// sends the event) or by the tests' hook; cleared by FSOUND_Close.
std::atomic<bool> s_outputLost{false};

int SDLCALL watchOutputRemoved(void*, SDL_Event* event) {
    if (event->type == SDL_AUDIODEVICEREMOVED && !event->adevice.iscapture) s_outputLost = true;
    return 0;
}

// About 23 ms at 44.1 kHz: short enough that a click follows its mouse press
// within a frame or two.
const int kMixChunkFrames = 1024;
}  // namespace

bool isOpen() { return s_open; }

bool isMuted() { return SDL_AtomicGet(&s_muted) != 0; }

bool requireOpen() {
    if (!s_open) {
        setError(FMOD_ERR_UNINITIALIZED);
    }
    return s_open;
}

bool requireOutput() {
    if (!requireOpen()) return false;
    // SDL keeps a lost device's callback running into nothing, so the mixer
    // would play on unheard.
    if (s_outputLost) {
        setError(FMOD_ERR_INIT);
        return false;
    }
    return true;
}

void loseOutput() { s_outputLost = true; }

ObjectList<FSOUND_SAMPLE>& samples() {
    static ObjectList<FSOUND_SAMPLE> list;
    return list;
}

ObjectList<FSOUND_STREAM>& streams() {
    static ObjectList<FSOUND_STREAM> list;
    return list;
}

ObjectList<FMUSIC_MODULE>& modules() {
    static ObjectList<FMUSIC_MODULE> list;
    return list;
}

}  // namespace fmod3

using namespace fmod3;

signed char F_API FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned int flags) {
    if (s_open) {
        FSOUND_Close();
    }
    if (mixrate < 4000 || mixrate > 65535 || maxsoftwarechannels < 0) {
        setError(FMOD_ERR_INVALID_PARAM);
        return FALSE;
    }
    if (flags != 0) {
        // FSOUND_INIT_* flags tune Windows output behaviour; none applies here.
        reportUnhandled("FSOUND_Init", "flags", static_cast<long>(flags));
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "fmod3: no audio output: %s\n", SDL_GetError());
        setError(FMOD_ERR_INIT);
        return FALSE;
    }
    // Decoders that fail to load only make their formats fail to open later.
    Mix_Init(MIX_INIT_MP3 | MIX_INIT_OGG | MIX_INIT_FLAC | MIX_INIT_MOD);
    if (Mix_OpenAudio(mixrate, AUDIO_S16SYS, 2, kMixChunkFrames) != 0) {
        std::fprintf(stderr, "fmod3: no audio output: %s\n", Mix_GetError());
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        setError(FMOD_ERR_INIT);
        return FALSE;
    }
    Mix_AllocateChannels(maxsoftwarechannels);
    SDL_AddEventWatch(watchOutputRemoved, nullptr);
    s_open = true;
    applyMute();
    setError(FMOD_ERR_NONE);
    return TRUE;
}

void F_API FSOUND_Close() {
    setError(FMOD_ERR_NONE);
    s_outputLost = false;
    SDL_DelEventWatch(watchOutputRemoved, nullptr);
    if (!s_open) {
        return;
    }
    CdPlayer::instance().stop();
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    while (FSOUND_SAMPLE* sample = samples().first()) {
        destroySample(sample);
    }
    while (FSOUND_STREAM* stream = streams().first()) {
        destroyStream(stream);
    }
    while (FMUSIC_MODULE* module = modules().first()) {
        destroyModule(module);
    }
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    s_open = false;
}

int F_API FSOUND_GetError() { return lastError(); }

signed char F_API FSOUND_SetMute(int channel, signed char mute) {
    if (channel != FSOUND_ALL) {
        reportUnhandled("FSOUND_SetMute", "channel", static_cast<long>(channel));
        setError(FMOD_ERR_INVALID_PARAM);
        return FALSE;
    }
    SDL_AtomicSet(&s_muted, mute ? 1 : 0);
    if (s_open) applyMute();
    setError(FMOD_ERR_NONE);
    return TRUE;
}

signed char F_API FSOUND_GetMute(int channel) { return channel == FSOUND_ALL && isMuted() ? TRUE : FALSE; }
