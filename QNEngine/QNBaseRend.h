// The scene object that draws: one owned model (sprite, mesh or sprite
// particle), named with its model script by the object's own script, to
// which the object hands its transform every frame.
#ifndef QN_BASE_REND_H
#define QN_BASE_REND_H

#include "QNBase.h"
#include "QNModel.h"

class CQNBaseRend : public CQNBase {
public:
    CQNBaseRend();

    // Reads "[MODEL_TYPE]" and "[MODEL_SCRIPT]", creates the model and, once
    // the walk is over and both were given, initialises it with the model
    // script. Returns the script reader's failure or 0.
    virtual QNRESULT parseScript(const char* path) override;
    virtual ~CQNBaseRend();
    // This class's own parseScript (even for a derived class), then the
    // transform keys of the same file. Returns 0 unless the base's read says
    // otherwise (it does not).
    virtual QNRESULT initialize(const char* path) override;
    // The model's update result when above 0 (QNRSLT_REMOVEOBJECT from a
    // particle), else 0; 0 without a model.
    virtual QNRESULT update() override;
    // Draws the model; always 0 (the model reports its own failures).
    virtual QNRESULT render() override;
    // The model's material count (1 without a model) and the drawing of
    // one material alone; always 0.
    uint32_t materialCount();
    QNRESULT renderMaterial(uint32_t material);
    // Deletes the model; safe to call twice.
    virtual QNRESULT release() override;
    // The model's texture file name, or null without a model.
    virtual const char* getTextureName() override;
    // The model's reset; 0 without a model.
    virtual QNRESULT resetModel();

    // Nine floats starting at m_translation.
    float* transform() { return &m_translation.x; }

    CQNModel* m_model;
};

#endif
