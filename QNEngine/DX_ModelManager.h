// The process-wide registry of loaded X files: a file is loaded once and every
// mesh model that names it shares the one CQNXModel, found by its file name.
// Everything lives until shut-down.
#ifndef DX_MODEL_MANAGER_H
#define DX_MODEL_MANAGER_H

#include <cstdint>

#include "QNOwnedList.h"
#include "QNResults.h"

class CQNXModel;

class CDX_ModelManager {
public:
    virtual ~CDX_ModelManager();

    static CDX_ModelManager* getInstance();
    // Deletes every model in the order added, then the manager. Runs first
    // in the engine's shut-down, while the device still exists. Returns
    // QNRSLT_OK; nothing happens without an instance.
    static QNRESULT destroyInstance();

    // Appends the model; the manager owns it from now on. A second model of
    // the same name is not refused. A null model is reported and returns
    // QNRSLT_INVALIDPARAM.
    QNRESULT addModel(CQNXModel* model);
    // Whether a model loaded from exactly this name (byte-wise) is held.
    // A null name answers false.
    bool hasModel(const char* name);
    // The first model loaded from exactly this name, or null. No report.
    CQNXModel* getModelByName(const char* name);

    uint32_t getCount() const { return m_models.count(); }

    CQNOwnedList<CQNXModel> m_models;

private:
    CDX_ModelManager();

    static CDX_ModelManager* s_instance;
};

#endif
