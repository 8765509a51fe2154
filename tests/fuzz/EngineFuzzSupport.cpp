#include "EngineFuzzSupport.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "DX_Input.h"
#include "DX_ModelManager.h"
#include "DX_Text.h"
#include "DX_TextureManager.h"
#include "QNGameState.h"
#include "QNGameTimer.h"
#include "QNResults.h"
#include "QNSceneManager.h"
#include "QNSoundManager.h"

const char* setOwner(const char* file, unsigned, const char*) { return file; }
unsigned getAllocationCount() { return 0; }

namespace zvfuzz {

void startEngine() { CQNResults::getInstance()->open("/dev/null", "Fuzz"); }

void stopEngine() {
    CQNGameState::destroyInstance();
    CDX_ModelManager::destroyInstance();
    CQNSoundManager::destroyInstance();
    CDX_Input::destroyInstance();
    CDX_Text::destroyInstance();
    CQNSceneManager::destroyInstance();
    CDX_TextureManager::destroyInstance();
    CDX_Camera::destroyInstance();
    CDX_D3DWrapper::destroyInstance();
    CQNGameTimer::destroyInstance();
}

std::string readRepositoryFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void seedCorpus(int argc, char** argv, const std::vector<std::string>& seeds) {
    const char* corpus = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] != '-') {
            corpus = argv[i];
            break;
        }
    }
    if (!corpus) return;
    mkdir(corpus, 0755);
    const std::string first = std::string(corpus) + "/seed_0";
    if (std::FILE* f = std::fopen(first.c_str(), "rb")) {
        std::fclose(f);
        return;  // seeded before
    }
    for (size_t i = 0; i < seeds.size(); ++i) {
        const std::string path = std::string(corpus) + "/seed_" + std::to_string(i);
        if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(seeds[i].data(), 1, seeds[i].size(), f);
            std::fclose(f);
        }
    }
}

}  // namespace zvfuzz
