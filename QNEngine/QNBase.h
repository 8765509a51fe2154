// The root of every scene object: a transform, a remove flag and the
// life-cycle operations the scene manager calls without knowing the class.
#ifndef QN_BASE_H
#define QN_BASE_H

#include "QNResults.h"

struct QNVector3 {
    float x, y, z;
};

class CQNBase {
public:
    CQNBase();

    // Reads this class's own keys only.
    virtual QNRESULT parseScript(const char* path);
    // Derived destructors call their own release() first.
    virtual ~CQNBase();
    // Called once, right after construction, with the object's script.
    virtual QNRESULT initialize(const char* path);
    virtual QNRESULT update();
    virtual QNRESULT render();
    // Drawn after every object's render(): what must lie on top of the whole
    // scene, such as a pointer. Nothing by default.
    virtual QNRESULT renderOverlay();
    // Frees what the object owns.
    virtual QNRESULT release();
    virtual const char* getTextureName();

    // Translation, rotation (degrees) and scale lie one after the other: a
    // pointer to m_translation is a pointer to the nine-float transform.
    QNVector3 m_translation;
    QNVector3 m_rotation;
    QNVector3 m_scale;
    // Set during update() to be deleted by the scene manager after it.
    bool m_remove;
};

#endif
