// Every sound the game loads, owned until shut-down, and playing them.
#ifndef QN_SOUND_MANAGER_H
#define QN_SOUND_MANAGER_H

#include <fmod.h>

#include <cstdint>

#include "QNOwnedList.h"
#include "QNResults.h"
#include "QNSound.h"

class CQNSoundManager {
public:
    virtual ~CQNSoundManager();

    static CQNSoundManager* getInstance();
    // Frees every sound, then closes the sound system.
    static void destroyInstance();

    // Starts the sound system (44.1 kHz, 32 channels). Without an audio
    // device the game runs silently; that is logged once.
    static signed char initialize();

    // The sound already loaded under this name (whatever its type), or a new
    // one; null when the file cannot be opened or the type is unknown.
    QNSound* loadSound(const char* name, int type);
    QNRESULT playSound(QNSound* a_sound);
    QNSound* getSoundFromList(const char* name);

    uint32_t getCount() const { return m_sounds.count(); }

private:
    CQNSoundManager();
    // Logs, once, that the output device is gone, when the last FMOD call
    // failed for that reason. Play goes on without sound.
    void _noteOutputLost();

    CQNOwnedList<QNSound> m_sounds;
    // The loss of the output device during play has been logged.
    bool m_outputLostReported = false;

    static CQNSoundManager* s_instance;
};

#endif
