// What the opaque FMOD handles are on this platform, and the lists through
// which FSOUND_Close finds every object still loaded.
#ifndef ZV_FMOD3_FMODOBJECTS_H
#define ZV_FMOD3_FMODOBJECTS_H

#include <SDL_mixer.h>

struct FSOUND_SAMPLE {
    Mix_Chunk* chunk;
    unsigned int mode;
    int index;  // sample slot, never FSOUND_FREE once loaded
    FSOUND_SAMPLE* prev;
    FSOUND_SAMPLE* next;
};

struct FSOUND_STREAM {
    Mix_Music* music;
    unsigned int mode;
    FSOUND_STREAM* prev;
    FSOUND_STREAM* next;
};

struct FMUSIC_MODULE {
    Mix_Music* music;
    FMUSIC_MODULE* prev;
    FMUSIC_MODULE* next;
};

namespace fmod3 {

// An intrusive list of live objects, in loading order. No allocation of its
// own, so a list left with entries holds nothing the memory tracker sees
// beyond the objects themselves.
template <class T>
class ObjectList {
public:
    void add(T* item) {
        item->prev = m_last;
        item->next = nullptr;
        if (m_last) {
            m_last->next = item;
        } else {
            m_first = item;
        }
        m_last = item;
    }
    // The item must be in this list.
    void remove(T* item) {
        if (item->prev) {
            item->prev->next = item->next;
        } else {
            m_first = item->next;
        }
        if (item->next) {
            item->next->prev = item->prev;
        } else {
            m_last = item->prev;
        }
        item->prev = item->next = nullptr;
    }
    bool contains(const T* item) const {
        for (const T* it = m_first; it; it = it->next) {
            if (it == item) {
                return true;
            }
        }
        return false;
    }
    T* first() const { return m_first; }

private:
    T* m_first = nullptr;
    T* m_last = nullptr;
};

ObjectList<FSOUND_SAMPLE>& samples();
ObjectList<FSOUND_STREAM>& streams();
ObjectList<FMUSIC_MODULE>& modules();

// Each frees one object of its list (stopping it first); FSOUND_Close uses
// them to free whatever is left.
void destroySample(FSOUND_SAMPLE* sample);
void destroyStream(FSOUND_STREAM* stream);
void destroyModule(FMUSIC_MODULE* module);

}  // namespace fmod3

#endif
