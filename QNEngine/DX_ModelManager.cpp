#include "DX_ModelManager.h"

#include <cstring>

#include "QNMemory.h"
#include "QNXModel.h"

CDX_ModelManager* CDX_ModelManager::s_instance = nullptr;

CDX_ModelManager::CDX_ModelManager() : m_head(nullptr), m_tail(nullptr), m_count(0) {}

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
    while (m->m_head) {
        Node* node = m->m_head;
        setOwner(__FILE__, __LINE__, "??");
        delete node->model;
        m->m_head = node->next;
        if (m->m_head)
            m->m_head->prev = nullptr;
        else
            m->m_tail = nullptr;
        setOwner(__FILE__, __LINE__, "??");
        delete node;
        --m->m_count;
    }
    setOwner(__FILE__, __LINE__, "??");
    delete m;
    s_instance = nullptr;
    return QNRSLT_OK;
}

QNRESULT CDX_ModelManager::addModel(CQNXModel* model) {
    if (!model)
        return logResult(QNRSLT_INVALIDPARAM, "CDX_ModelManager::addModel( )", "NULL Pointer Sent", 0);
    setOwner(__FILE__, __LINE__, "??");
    Node* node = new Node{model, m_tail, nullptr};
    if (m_tail)
        m_tail->next = node;
    else
        m_head = node;
    m_tail = node;
    ++m_count;
    return QNRSLT_OK;
}

bool CDX_ModelManager::hasModel(const char* name) { return getModelByName(name) != nullptr; }

CQNXModel* CDX_ModelManager::getModelByName(const char* name) {
    if (!name) return nullptr;
    for (Node* node = m_head; node; node = node->next)
        if (node->model->m_fileName && std::strcmp(node->model->m_fileName, name) == 0)
            return node->model;
    return nullptr;
}
