// Streams: files decoded while they play, as SDL_mixer music.
#include "FmodError.h"
#include "FmodLoad.h"
#include "FmodObjects.h"
#include "FmodSystem.h"

#include <SDL_mixer.h>
#include <fmod.h>

namespace fmod3 {

namespace {
const unsigned int kLoopBits = FSOUND_LOOP_OFF | FSOUND_LOOP_NORMAL | FSOUND_LOOP_BIDI;

bool isLiveStream(const FSOUND_STREAM* stream) {
    return stream && streams().contains(stream);
}
}  // namespace

void destroyStream(FSOUND_STREAM* stream) {
    streams().remove(stream);
    Mix_FreeMusic(stream->music);  // halts it first if it is the one playing
    delete stream;
}

}  // namespace fmod3

using namespace fmod3;

FSOUND_STREAM* F_API FSOUND_Stream_Open(const char* name, unsigned int mode, int offset,
                                        int length) {
    if (!requireOpen()) {
        return nullptr;
    }
    if (!name) {
        setError(FMOD_ERR_INVALID_PARAM);
        return nullptr;
    }
    if (!acceptLoad("FSOUND_Stream_Open", mode, offset, length)) {
        return nullptr;
    }
    const std::string path = nativePath(name);
    if (!looksLikeSound(path)) {
        return nullptr;
    }
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    if (!music) {
        setOpenFailure(path);
        return nullptr;
    }
    FSOUND_STREAM* stream = new FSOUND_STREAM{music, mode, nullptr, nullptr};
    streams().add(stream);
    setError(FMOD_ERR_NONE);
    return stream;
}

signed char F_API FSOUND_Stream_SetMode(FSOUND_STREAM* stream, unsigned int mode) {
    if (!isLiveStream(stream)) {
        setError(FMOD_ERR_INVALID_PARAM);
        return FALSE;
    }
    if (unsigned int extra = mode & ~(FSOUND_LOOP_OFF | FSOUND_LOOP_NORMAL)) {
        reportUnhandled("FSOUND_Stream_SetMode", "mode bits", static_cast<long>(extra));
        setError(FMOD_ERR_INVALID_PARAM);
        return FALSE;
    }
    // Differs from FMOD: a stream already playing keeps its loop mode until
    // it is played again.
    stream->mode = (stream->mode & ~kLoopBits) | mode;
    setError(FMOD_ERR_NONE);
    return TRUE;
}

int F_API FSOUND_Stream_Play(int channel, FSOUND_STREAM* stream) {
    if (!requireOutput()) {
        return -1;
    }
    if (!isLiveStream(stream) || channel < FSOUND_FREE) {
        setError(FMOD_ERR_INVALID_PARAM);
        return -1;
    }
    // Mix_PlayMusic: -1 repeats forever, 0 plays once.
    if (Mix_PlayMusic(stream->music, loopsForever(stream->mode) ? -1 : 0) != 0) {
        setError(FMOD_ERR_PLAY);
        return -1;
    }
    setError(FMOD_ERR_NONE);
    // Music has no mixer channel; it answers the number just past the sample
    // channels, which FSOUND_PlaySound never hands out.
    return Mix_AllocateChannels(-1);
}

signed char F_API FSOUND_Stream_Close(FSOUND_STREAM* stream) {
    if (!isLiveStream(stream)) {
        setError(FMOD_ERR_INVALID_PARAM);
        return FALSE;
    }
    destroyStream(stream);
    setError(FMOD_ERR_NONE);
    return TRUE;
}
