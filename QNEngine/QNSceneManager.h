// The current scene: an ordered list of scene objects built from a scene
// script. The list owns its objects.
#ifndef QN_SCENE_MANAGER_H
#define QN_SCENE_MANAGER_H

#include "QNOwnedList.h"
#include "QNResults.h"

class CQNBase;

class CQNSceneManager {
public:
    virtual ~CQNSceneManager();

    static CQNSceneManager* getInstance();
    // Deletes every object, then the manager.
    static void destroyInstance();

    QNRESULT initialize(const char* configPath);
    QNRESULT loadEntryScene(const char* configPath);
    // Deletes the current scene first, then builds the one the script lists.
    QNRESULT loadSceneFromScript(const char* scenePath);
    // Creates one object from its script, initialises it and appends it.
    QNRESULT doItAll(const char* objectScriptPath);
    // *className receives a new tracked string (or null); free it with delete[].
    QNRESULT readClassType(const char* objectScriptPath, char** className);
    CQNBase* createObject(const char* className);
    void addObject(CQNBase* object);
    void clearScene();
    void update();
    // Every object's render() in scene order, then every renderOverlay().
    void render();

    int getObjectCount() const { return static_cast<int>(m_objects.count()); }
    // The object at position index in scene order, or null.
    CQNBase* getObject(int index) const;

private:
    CQNSceneManager();

    CQNOwnedList<CQNBase> m_objects;

    static CQNSceneManager* s_instance;
};

#endif
