#include "QNSound.h"

#include "QNMemory.h"

QNSound::QNSound() : m_sequence(nullptr), m_sample(nullptr), m_stream(nullptr), m_type(SOUND_SAMPLE), m_name(nullptr) {}

QNSound::~QNSound() {
    if (m_name) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] m_name;
    }
}
