#include "QNSceneManager.h"

#include <cstdlib>
#include <cstring>

#include "QNBase.h"
#include "QNClassTable.h"
#include "QNMemory.h"
#include "QNScriptHelper.h"

CQNSceneManager* CQNSceneManager::s_instance = nullptr;

namespace {
char* copyString(const char* s) {
    size_t n = std::strlen(s) + 1;
    setOwner(__FILE__, __LINE__, "??");
    char* copy = new char[n];
    std::memcpy(copy, s, n);
    return copy;
}

void freeString(char* s) {
    setOwner(__FILE__, __LINE__, "??");
    delete[] s;
}
}  // namespace

CQNSceneManager::CQNSceneManager() {}

CQNSceneManager::~CQNSceneManager() {}

CQNSceneManager* CQNSceneManager::getInstance() {
    if (!s_instance) {
        setOwner(__FILE__, __LINE__, "??");
        s_instance = new CQNSceneManager;
    }
    return s_instance;
}

void CQNSceneManager::destroyInstance() {
    if (!s_instance) return;
    s_instance->clearScene();
    setOwner(__FILE__, __LINE__, "??");
    delete s_instance;
    s_instance = nullptr;
}

QNRESULT CQNSceneManager::initialize(const char* configPath) { return loadEntryScene(configPath); }

QNRESULT CQNSceneManager::loadEntryScene(const char* configPath) {
    char* text = nullptr;
    if (CScriptHelper::readScript(configPath, &text) > QNRSLT_OK)
        return logResult(QNRSLT_INVALIDPARAM, "CQNSceneManager::loadSceneFromScript( )", nullptr, 0);
    char* entry = nullptr;
    for (char* token = std::strtok(text, QN_DELIMITERS_STANDARD); token;
         token = std::strtok(nullptr, QN_DELIMITERS_STANDARD)) {
        if (std::strcmp(token, "[ENTRY_SCENE]") == 0) {
            const char* path = std::strtok(nullptr, QN_DELIMITERS_PATH);
            if (entry) freeString(entry);
            entry = path ? copyString(path) : nullptr;
        }
    }
    CScriptHelper::freeScript(text);
    loadSceneFromScript(entry);
    if (entry) freeString(entry);
    return QNRSLT_OK;
}

QNRESULT CQNSceneManager::loadSceneFromScript(const char* scenePath) {
    clearScene();
    char* text = nullptr;
    if (CScriptHelper::readScript(scenePath, &text) > QNRSLT_OK)
        return logResult(QNRSLT_INVALIDPARAM, "CQNSceneManager::loadSceneFromScript( )", nullptr, 0);

    // The whole token walk ends before any object is loaded: objects parse
    // scripts of their own, and the tokenizer keeps one position.
    int n = -1;
    char** paths = nullptr;
    for (char* token = std::strtok(text, QN_DELIMITERS_STANDARD); token;
         token = std::strtok(nullptr, QN_DELIMITERS_STANDARD)) {
        if (std::strcmp(token, "[SIZE]") == 0) {
            const char* value = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
            // A later "[SIZE]" replaces the table of an earlier one.
            if (paths) {
                for (int i = 0; i < n; ++i)
                    if (paths[i]) freeString(paths[i]);
                setOwner(__FILE__, __LINE__, "??");
                delete[] paths;
                paths = nullptr;
            }
            n = value ? std::atoi(value) : 0;
            // The count sizes a table: a negative one means an empty scene,
            // and no scene lists anywhere near a million objects.
            if (n < 0) n = 0;
            if (n > 100000) n = 100000;
            setOwner(__FILE__, __LINE__, "??");
            paths = new char*[n > 0 ? n : 1];
            for (int i = 0; i < n; ++i) paths[i] = nullptr;
        } else if (std::strcmp(token, "[SCRIPTS]") == 0 && n >= 1) {
            for (int i = 0; i < n; ++i) {
                const char* path = std::strtok(nullptr, QN_DELIMITERS_PATH);
                if (!path) break;
                if (paths[i]) freeString(paths[i]);
                paths[i] = copyString(path);
            }
        }
    }
    CScriptHelper::freeScript(text);

    for (int i = 0; i < n; ++i) {
        doItAll(paths[i]);
        if (paths[i]) freeString(paths[i]);
    }
    if (paths) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] paths;
    }
    return QNRSLT_OK;
}

QNRESULT CQNSceneManager::doItAll(const char* objectScriptPath) {
    char* className = nullptr;
    readClassType(objectScriptPath, &className);
    if (!objectScriptPath)
        return logResult(QNRSLT_INVALIDPARAM, "CQNSceneManager::doItAll( )", nullptr, 0);
    CQNBase* object = createObject(className);
    if (!object) {
        logResult(QNRSLT_INVALIDPARAM, "CQNSceneManager::doItAll( )", nullptr, 0);
        if (className) freeString(className);
        return QNRSLT_INVALIDPARAM;
    }
    object->initialize(objectScriptPath);
    addObject(object);
    if (className) freeString(className);
    return QNRSLT_OK;
}

QNRESULT CQNSceneManager::readClassType(const char* objectScriptPath, char** className) {
    if (!className) return QNRSLT_INVALIDPARAM;
    *className = nullptr;
    char* text = nullptr;
    QNRESULT r = CScriptHelper::readScript(objectScriptPath, &text);
    if (r > QNRSLT_OK) return r;
    for (char* token = std::strtok(text, QN_DELIMITERS_STANDARD); token;
         token = std::strtok(nullptr, QN_DELIMITERS_STANDARD)) {
        if (std::strcmp(token, "[CLASS_TYPE]") == 0) {
            const char* name = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
            if (*className) freeString(*className);
            *className = name ? copyString(name) : nullptr;
        }
    }
    CScriptHelper::freeScript(text);
    return QNRSLT_OK;
}

CQNBase* CQNSceneManager::createObject(const char* className) {
    if (!className) return nullptr;
    return qnCreateSceneObject(className);
}

void CQNSceneManager::addObject(CQNBase* object) {
    if (object) m_objects.append(object);
}

void CQNSceneManager::clearScene() { m_objects.clear(); }

void CQNSceneManager::update() {
    auto* node = m_objects.head();
    while (node) {
        node->item->update();
        node = node->item->m_remove ? m_objects.remove(node) : node->next;
    }
}

void CQNSceneManager::render() {
    for (auto* node = m_objects.head(); node; node = node->next) node->item->render();
    for (auto* node = m_objects.head(); node; node = node->next) node->item->renderOverlay();
}

CQNBase* CQNSceneManager::getObject(int index) const {
    auto* node = m_objects.head();
    for (int i = 0; node && i < index; ++i) node = node->next;
    return (index >= 0 && node) ? node->item : nullptr;
}
