#include "DX_ModelManager.h"

#include <cstring>

#include "QNMemory.h"
#include "QNXModel.h"

CDX_ModelManager* CDX_ModelManager::s_instance = nullptr;

CDX_ModelManager::CDX_ModelManager() {}

CDX_ModelManager::~CDX_ModelManager() {}

CDX_ModelManager* CDX_ModelManager::getInstance() {
    if (!s_instance) {
        setOwner(__FILE__, __LINE__, "??");
        s_instance = new CDX_ModelManager;
    }
    return s_instance;
}

QNRESULT CDX_ModelManager::destroyInstance() {
    if (!s_instance) return QNRSLT_OK;
    CDX_ModelManager* m = s_instance;
    m->m_models.clear();
    setOwner(__FILE__, __LINE__, "??");
    delete m;
    s_instance = nullptr;
    return QNRSLT_OK;
}

QNRESULT CDX_ModelManager::addModel(CQNXModel* model) {
    if (!model)
        return logResult(QNRSLT_INVALIDPARAM, "CDX_ModelManager::addModel( )", "NULL Pointer Sent", 0);
    m_models.append(model);
    return QNRSLT_OK;
}

bool CDX_ModelManager::hasModel(const char* name) { return getModelByName(name) != nullptr; }

CQNXModel* CDX_ModelManager::getModelByName(const char* name) {
    if (!name) return nullptr;
    for (auto* node = m_models.head(); node; node = node->next)
        if (node->item->m_fileName && std::strcmp(node->item->m_fileName, name) == 0)
            return node->item;
    return nullptr;
}
