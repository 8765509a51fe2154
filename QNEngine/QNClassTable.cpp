#include "QNClassTable.h"

#include <cstring>

#include "QNBase.h"
#include "QNBaseHud.h"
#include "QNBaseParticleSys.h"
#include "QNBaseRend.h"
#include "QNBaseRendSkyBox.h"
#include "QNMemory.h"
#include "ZVBaseLevel.h"
#include "ZVBaseLvlSelect.h"
#include "ZVMainMenu.h"

namespace {

template <class T>
CQNBase* make() {
    setOwner(__FILE__, __LINE__, "??");
    return new T;
}

struct ClassEntry {
    const char* name;
    CQNBase* (*create)();
};

// Compared in this order; the first match wins.
const ClassEntry kClasses[] = {
    {"CQNBase", make<CQNBase>},
    {"CZVBaseLevel", make<CZVBaseLevel>},
    {"CQNBaseHud", make<CQNBaseHud>},
    {"CQNBaseParticleSys", make<CQNBaseParticleSys>},
    {"CQNBaseRend", make<CQNBaseRend>},
    {"CZVMainMenu", make<CZVMainMenu>},
    {"CZVBaseLvlSelect", make<CZVBaseLvlSelect>},
    {"CQNBaseRendSkyBox", make<CQNBaseRendSkyBox>},
};

}  // namespace

CQNBase* qnCreateSceneObject(const char* className) {
    if (!className) return nullptr;
    for (const ClassEntry& entry : kClasses)
        if (std::strcmp(entry.name, className) == 0) return entry.create();
    return nullptr;
}
