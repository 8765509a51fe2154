// One loaded sound: exactly one of its three handles is set, by its type.
#ifndef QN_SOUND_H
#define QN_SOUND_H

#include <fmod.h>

#define SOUND_SEQUENCE 0
#define SOUND_SAMPLE 1
#define SOUND_STREAM 2

class QNSound {
public:
    QNSound();
    ~QNSound();

    FMUSIC_MODULE* m_sequence;
    FSOUND_SAMPLE* m_sample;
    FSOUND_STREAM* m_stream;
    int m_type;
    char* m_name;  // owned copy of the file name
};

#endif
