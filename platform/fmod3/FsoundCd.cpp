// CD audio: the default drive's audio tracks, read digitally and mixed with
// the other sounds. Differs from Windows, where FMOD drove the drive's own
// analogue output.
#include "CdPlayer.h"
#include "FmodError.h"
#include "FmodSystem.h"

#include <fmod.h>

using namespace fmod3;

signed char F_API FSOUND_CD_Play(char drive, int track) {
    if (!requireOpen()) {
        return FALSE;
    }
    if (drive != 0) {
        // Drive letters name Windows drives; only the default drive exists here.
        reportUnhandled("FSOUND_CD_Play", "drive", drive);
        setError(FMOD_ERR_INVALID_PARAM);
        return FALSE;
    }
    if (track < 1) {
        setError(FMOD_ERR_INVALID_PARAM);
        return FALSE;
    }
    if (!CdPlayer::instance().play(track)) {
        setError(FMOD_ERR_CDDEVICE);
        return FALSE;
    }
    setError(FMOD_ERR_NONE);
    return TRUE;
}

void F_API FSOUND_CD_SetPlayMode(char drive, signed char mode) {
    if (drive != 0) {
        reportUnhandled("FSOUND_CD_SetPlayMode", "drive", drive);
        setError(FMOD_ERR_INVALID_PARAM);
        return;
    }
    switch (mode) {
    case FSOUND_CD_PLAYCONTINUOUS:
    case FSOUND_CD_PLAYONCE:
    case FSOUND_CD_PLAYLOOPED:
        CdPlayer::instance().setMode(mode);
        setError(FMOD_ERR_NONE);
        return;
    default:  // FSOUND_CD_PLAYRANDOM is left out
        reportUnhandled("FSOUND_CD_SetPlayMode", "mode", mode);
        setError(FMOD_ERR_INVALID_PARAM);
        return;
    }
}
