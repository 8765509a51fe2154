// Music modules (and MIDI songs), as SDL_mixer music.
#include "FmodError.h"
#include "FmodLoad.h"
#include "FmodObjects.h"
#include "FmodSystem.h"

#include <SDL_mixer.h>
#include <fmod.h>

namespace fmod3 {

namespace {
bool isLiveModule(const FMUSIC_MODULE* module) {
    return module && modules().contains(module);
}

bool isSongType(Mix_MusicType type) {
    switch (type) {
    case MUS_MOD:
    case MUS_MID:
        return true;
    default:
        return false;
    }
}
}  // namespace

void destroyModule(FMUSIC_MODULE* module) {
    modules().remove(module);
    Mix_FreeMusic(module->music);  // halts it first if it is the one playing
    delete module;
}

}  // namespace fmod3

using namespace fmod3;

FMUSIC_MODULE* F_API FMUSIC_LoadSong(const char* name) {
    if (!requireOpen()) {
        return nullptr;
    }
    if (!name) {
        setError(FMOD_ERR_INVALID_PARAM);
        return nullptr;
    }
    const std::string path = nativePath(name);
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    if (!music) {
        setOpenFailure(path);
        return nullptr;
    }
    if (!isSongType(Mix_GetMusicType(music))) {
        // Sampled audio is a stream or a sample in FMOD, never a song.
        Mix_FreeMusic(music);
        setError(FMOD_ERR_FILE_FORMAT);
        return nullptr;
    }
    FMUSIC_MODULE* module = new FMUSIC_MODULE{music, nullptr, nullptr};
    modules().add(module);
    setError(FMOD_ERR_NONE);
    return module;
}

signed char F_API FMUSIC_PlaySong(FMUSIC_MODULE* mod) {
    if (!requireOpen()) {
        return FALSE;
    }
    if (!isLiveModule(mod)) {
        setError(FMOD_ERR_INVALID_PARAM);
        return FALSE;
    }
    // FMOD songs loop by default (FMUSIC_SetLooping's default is TRUE).
    if (Mix_PlayMusic(mod->music, -1) != 0) {
        setError(FMOD_ERR_PLAY);
        return FALSE;
    }
    setError(FMOD_ERR_NONE);
    return TRUE;
}

signed char F_API FMUSIC_FreeSong(FMUSIC_MODULE* mod) {
    if (!isLiveModule(mod)) {
        setError(FMOD_ERR_INVALID_PARAM);
        return FALSE;
    }
    destroyModule(mod);
    setError(FMOD_ERR_NONE);
    return TRUE;
}
