// Samples: whole files decoded into SDL_mixer chunks, played on mixer channels.
#include "FmodError.h"
#include "FmodLoad.h"
#include "FmodObjects.h"
#include "FmodSystem.h"

#include <SDL_mixer.h>
#include <fmod.h>

namespace fmod3 {

namespace {
FSOUND_SAMPLE* sampleInSlot(int index) {
    for (FSOUND_SAMPLE* s = samples().first(); s; s = s->next) {
        if (s->index == index) {
            return s;
        }
    }
    return nullptr;
}

int lowestFreeSlot() {
    int index = 0;
    while (sampleInSlot(index)) {
        ++index;
    }
    return index;
}

bool isLiveSample(const FSOUND_SAMPLE* sample) {
    return sample && samples().contains(sample);
}
}  // namespace

void destroySample(FSOUND_SAMPLE* sample) {
    samples().remove(sample);
    Mix_FreeChunk(sample->chunk);  // halts every channel still playing it
    delete sample;
}

}  // namespace fmod3

using namespace fmod3;

FSOUND_SAMPLE* F_API FSOUND_Sample_Load(int index, const char* name, unsigned int mode, int offset,
                                        int length) {
    if (!requireOpen()) {
        return nullptr;
    }
    if (index < FSOUND_FREE) {
        // FSOUND_UNMANAGED and the system sample are left out.
        reportUnhandled("FSOUND_Sample_Load", "sample index", index);
        setError(FMOD_ERR_INVALID_PARAM);
        return nullptr;
    }
    if (!name) {
        setError(FMOD_ERR_INVALID_PARAM);
        return nullptr;
    }
    if (!acceptLoad("FSOUND_Sample_Load", mode, offset, length)) {
        return nullptr;
    }
    const std::string path = nativePath(name);
    if (!looksLikeSound(path)) {
        return nullptr;
    }
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    if (!chunk) {
        setOpenFailure(path);
        return nullptr;
    }
    if (index == FSOUND_FREE) {
        index = lowestFreeSlot();
    } else if (FSOUND_SAMPLE* previous = sampleInSlot(index)) {
        destroySample(previous);
    }
    FSOUND_SAMPLE* sample = new FSOUND_SAMPLE{chunk, mode, index, nullptr, nullptr};
    samples().add(sample);
    setError(FMOD_ERR_NONE);
    return sample;
}

void F_API FSOUND_Sample_Free(FSOUND_SAMPLE* sptr) {
    if (!isLiveSample(sptr)) {
        setError(FMOD_ERR_INVALID_PARAM);
        return;
    }
    destroySample(sptr);
    setError(FMOD_ERR_NONE);
}

int F_API FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sptr) {
    if (!requireOutput()) {
        return -1;
    }
    if (!isLiveSample(sptr) || channel < FSOUND_FREE || channel >= Mix_AllocateChannels(-1)) {
        setError(FMOD_ERR_INVALID_PARAM);
        return -1;
    }
    // FSOUND_FREE and SDL_mixer's "first free channel" are both -1.
    const int loops = loopsForever(sptr->mode) ? -1 : 0;
    int played = Mix_PlayChannel(channel, sptr->chunk, loops);
    if (played < 0 && channel == FSOUND_FREE) {
        // Every channel is busy: like FMOD with equal priorities, the sound
        // that has played longest gives its channel to the new one.
        const int oldest = Mix_GroupOldest(-1);
        if (oldest >= 0) {
            played = Mix_PlayChannel(oldest, sptr->chunk, loops);
        }
    }
    if (played < 0) {
        setError(FMOD_ERR_CHANNEL_ALLOC);
        return -1;
    }
    setError(FMOD_ERR_NONE);
    return played;
}
