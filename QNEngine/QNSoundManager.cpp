#include "QNSoundManager.h"

#include <cstring>

#include "QNMemory.h"

CQNSoundManager* CQNSoundManager::s_instance = nullptr;

CQNSoundManager::CQNSoundManager() {}

CQNSoundManager::~CQNSoundManager() {}

CQNSoundManager* CQNSoundManager::getInstance() {
    if (!s_instance) {
        setOwner(__FILE__, __LINE__, "??");
        s_instance = new CQNSoundManager;
    }
    return s_instance;
}

void CQNSoundManager::destroyInstance() {
    if (s_instance) s_instance->m_sounds.clear();
    FSOUND_Close();
    if (s_instance) {
        setOwner(__FILE__, __LINE__, "??");
        delete s_instance;
        s_instance = nullptr;
    }
}

signed char CQNSoundManager::initialize() {
    signed char ok = FSOUND_Init(44100, 32, 0);
    if (!ok)
        logResult(QNRSLT_NOHARDWARECAP, "CQNSoundManager::initialize( )",
                  "No audio device: the game runs without sound", 0);
    return ok;
}

QNSound* CQNSoundManager::loadSound(const char* name, int type) {
    if (!name) {
        logResult(QNRSLT_INVALIDPARAM, "CQNSoundManager::loadSound( )", "Null string sent", 0);
        return nullptr;
    }
    if (type != SOUND_SEQUENCE && type != SOUND_SAMPLE && type != SOUND_STREAM) return nullptr;
    if (QNSound* existing = getSoundFromList(name)) return existing;

    FMUSIC_MODULE* sequence = nullptr;
    FSOUND_SAMPLE* sample = nullptr;
    FSOUND_STREAM* stream = nullptr;
    if (type == SOUND_SEQUENCE)
        sequence = FMUSIC_LoadSong(name);
    else if (type == SOUND_SAMPLE)
        sample = FSOUND_Sample_Load(FSOUND_FREE, name, 0, 0, 0);
    else
        stream = FSOUND_Stream_Open(name, 0, 0, 0);
    if (!sequence && !sample && !stream) return nullptr;

    setOwner(__FILE__, __LINE__, "??");
    QNSound* sound = new QNSound;
    sound->m_sequence = sequence;
    sound->m_sample = sample;
    sound->m_stream = stream;
    sound->m_type = type;
    size_t n = std::strlen(name) + 1;
    setOwner(__FILE__, __LINE__, "??");
    sound->m_name = new char[n];
    std::memcpy(sound->m_name, name, n);

    m_sounds.append(sound);
    return sound;
}

QNRESULT CQNSoundManager::playSound(QNSound* a_sound) {
    const char* where = "CQNSoundManager::playSound( )";
    if (!a_sound) return logResult(QNRSLT_INVALIDPARAM, where, "NULL pointer", 0);
    switch (a_sound->m_type) {
        case SOUND_SEQUENCE:
            if (!a_sound->m_sequence) return logResult(QNRSLT_NULLMEMBER, where, "a_sound->m_sequence", 0);
            FMUSIC_PlaySong(a_sound->m_sequence);
            break;
        case SOUND_SAMPLE:
            if (!a_sound->m_sample) return logResult(QNRSLT_NULLMEMBER, where, "a_sound->m_sample", 0);
            if (FSOUND_PlaySound(FSOUND_FREE, a_sound->m_sample) < 0) _noteOutputLost();
            break;
        case SOUND_STREAM:
            if (!a_sound->m_stream) return logResult(QNRSLT_NULLMEMBER, where, "a_sound->m_stream", 0);
            FSOUND_Stream_SetMode(a_sound->m_stream, FSOUND_LOOP_NORMAL);
            if (FSOUND_Stream_Play(FSOUND_FREE, a_sound->m_stream) < 0) _noteOutputLost();
            break;
        default:
            return logResult(QNRSLT_INVALIDPARAM, where, a_sound->m_name, 0);
    }
    return QNRSLT_OK;
}

void CQNSoundManager::_noteOutputLost() {
    // A sound that cannot start for any other reason is not worth a line.
    if (FSOUND_GetError() != FMOD_ERR_INIT || m_outputLostReported) return;
    m_outputLostReported = true;
    logResult(QNRSLT_NOHARDWARECAP, "CQNSoundManager::playSound( )",
              "Audio device lost: the game runs on without sound", 0);
}

QNSound* CQNSoundManager::getSoundFromList(const char* name) {
    if (!name) {
        logResult(QNRSLT_INVALIDPARAM, "CQNSoundManager::getSoundFromList( )", "NULL pointer sent", 0);
        return nullptr;
    }
    for (auto* node = m_sounds.head(); node; node = node->next)
        if (node->item->m_name && std::strcmp(node->item->m_name, name) == 0) return node->item;
    return nullptr;
}
