// A renderable drawn around the camera's eye with depth and lighting off, so
// that its model is the background of everything drawn after it.
#ifndef QN_BASE_REND_SKY_BOX_H
#define QN_BASE_REND_SKY_BOX_H

#include "QNBaseRend.h"

class CQNBaseRendSkyBox : public CQNBaseRend {
public:
    // Reads nothing: initialize reads the renderable keys through
    // CQNBaseRend's own parseScript.
    virtual QNRESULT parseScript(const char* path) override;
    virtual ~CQNBaseRendSkyBox();
    // Moves to the camera's eye (the script's translation is replaced every
    // frame), draws with depth, lighting and stage 1 off, then restores depth,
    // lighting, blending off and, when environment maps are on, stage 1.
    virtual QNRESULT render() override;
    // Does nothing: the model is deleted by CQNBaseRend's destructor.
    virtual QNRESULT release() override;
};

#endif
