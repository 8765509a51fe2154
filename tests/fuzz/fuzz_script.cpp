// libFuzzer target for the script token reader: any bytes in as one of the
// game's scripts, read by the engine's own loader for that kind, while every
// other file comes from the shipped assets. The first byte picks the kind:
//   0  the configuration, through the window-size reader and the scene
//      manager's entry-scene load
//   1  a scene script (its object list, each object loaded)
//   2  a base object (class type, then that class's own keys)
//   3  a model script, through the block's base object that names it
//   4  a particle system's base object
//   5  a particle's model script, through the particle system that uses it
// Run from the repository root. Nothing may crash, leak or read past a script.
#include <cstdlib>

#include "DX_TextureManager.h"
#include "EngineFuzzSupport.h"
#include "QNSceneManager.h"
#include "testing/PlatformTesting.h"

// The game's own window-size reader (QNEngine/QNWinMain.cpp).
void readResolution(const char* configPath, int* width, int* height);

namespace {

struct Kind {
    const char* served;  // the shipped file the input stands in for
    const char* load;    // what is loaded
    enum { Config, Scene, Object } how;
};

const Kind kKinds[] = {
    {"Assets/Scripts/Config/qnengine.cfg", "Assets\\Scripts\\Config\\qnengine.cfg", Kind::Config},
    {"Assets/Scripts/Scenes/zv.lvlsel.scene", "Assets\\Scripts\\Scenes\\zv.lvlsel.scene", Kind::Scene},
    {"Assets/Scripts/Base Objects/zv.title.base", "Assets\\Scripts\\Base Objects\\zv.title.base", Kind::Object},
    {"Assets/Scripts/Models/zv.block.model", "Assets\\Scripts\\Base Objects\\zv.defblock.base", Kind::Object},
    {"Assets/Scripts/Base Objects/zv.menu.sparkles.base", "Assets\\Scripts\\Base Objects\\zv.menu.sparkles.base",
     Kind::Object},
    {"Assets/Scripts/Models/zv.sparkle.warm.model", "Assets\\Scripts\\Base Objects\\zv.menu.sparkles.base",
     Kind::Object},
};
const size_t kKindCount = sizeof kKinds / sizeof kKinds[0];

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    std::vector<std::string> seeds;
    for (size_t k = 0; k < kKindCount; ++k) {
        seeds.push_back(std::string(1, char(k)) + zvfuzz::readRepositoryFile(kKinds[k].served));
    }
    // The scene of kind 1 only names objects; one that names the others too.
    seeds.push_back(std::string(1, char(1)) + zvfuzz::readRepositoryFile("Assets/Scripts/Scenes/zv.menu.scene"));
    zvfuzz::seedCorpus(*argc, *argv, seeds);
    zvfuzz::startEngine();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const Kind& kind = kKinds[data[0] % kKindCount];
    zvtest::serveFile(kind.served, data + 1, size - 1);
    CQNSceneManager* scenes = CQNSceneManager::getInstance();
    switch (kind.how) {
    case Kind::Config: {
        int width = 0, height = 0;
        readResolution(kind.load, &width, &height);
        scenes->loadEntryScene(kind.load);
        break;
    }
    case Kind::Scene: scenes->loadSceneFromScript(kind.load); break;
    case Kind::Object: scenes->doItAll(kind.load); break;
    }
    zvtest::stopServingFiles();
    // The objects go, and the texture list: without a device every texture
    // fails, and a failed name is not remembered, so the list would grow by
    // each request. The mesh cache stays, as in the game.
    CQNSceneManager::destroyInstance();
    CDX_TextureManager::destroyInstance();
    return 0;
}
