// Every kind of content file, missing, empty, cut short, garbage or absurdly
// large (a sparse file of 5 GiB), loaded as the game loads it: nothing
// crashes, what cannot be read is refused (with a result-log line naming the
// file where the loader reports files), and good files load afterwards.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <random>

#include "DX_ModelManager.h"
#include "DX_TextureManager.h"
#include "EngineFixture.h"
#include "QNBaseRend.h"
#include "QNModelMesh.h"
#include "QNXModel.h"
#include "QNSceneManager.h"
#include "QNSoundManager.h"
#include "ZVBaseLevel.h"

namespace {

using zvtestsupport::readFile;
using zvtestsupport::writeFile;

std::string asset(const std::string& path) { return readFile(std::string(ZV_SOURCE_DIR) + "/" + path); }

// A 2 x 2 24-bit BMP.
std::string bmp() {
    std::string b = "BM";
    auto le32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) b += char(v >> (8 * i)); };
    auto le16 = [&](uint16_t v) { b += char(v); b += char(v >> 8); };
    le32(70); le32(0); le32(54); le32(40); le32(2); le32(2); le16(1); le16(24);
    le32(0); le32(16); le32(2835); le32(2835); le32(0); le32(0);
    b += std::string(16, '\x7f');
    return b;
}

// A 4 x 4 uncompressed 32-bit DDS.
std::string dds() {
    std::string d = "DDS ";
    auto le32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) d += char(v >> (8 * i)); };
    for (uint32_t v : {124u, 0x100Fu, 4u, 4u, 16u, 0u, 0u}) le32(v);
    for (int i = 0; i < 11; ++i) le32(0);
    for (uint32_t v : {32u, 0x41u, 0u, 32u, 0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u, 0x1000u})
        le32(v);
    for (int i = 0; i < 4; ++i) le32(0);
    return d + std::string(64, '\x55');
}

class ContentFaults : public EngineFixture {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        EngineFixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(startDevice());
        CQNSoundManager::getInstance();
        CQNSoundManager::initialize();
    }
};

TEST_F(ContentFaults, EveryKindRefusesBadFilesWithoutCrashingAndGoodOnesStillLoad) {
    struct Kind {
        const char* path;  // where the game looks for it
        std::string good;  // a whole, valid file
        bool logsFile;     // a failed load is logged with the file's name
        std::function<bool(const char*)> load;  // true when it loaded
    };
    auto texture = [](const char* path) {
        int32_t id = -1;
        CDX_TextureManager::getInstance()->loadTexture(path, &id);
        return CDX_TextureManager::getInstance()->getTextureByID(id) != nullptr;
    };
    // A renderable whose model or mesh failed keeps a model that draws
    // nothing: loaded means a mesh with its frames.
    auto rend = [](const char* path) {
        CQNBaseRend r;
        r.initialize(path);
        const CQNModelMesh* model = dynamic_cast<const CQNModelMesh*>(r.m_model);
        const CQNXModel* mesh =
            model && model->m_xFileName ? CDX_ModelManager::getInstance()->getModelByName(model->m_xFileName) : nullptr;
        const bool loaded = mesh && mesh->m_frameRoot;
        CDX_ModelManager::destroyInstance();  // the next load reads the file again
        return loaded;
    };
    auto sound = [](int type) {
        return [type](const char* path) {
            // A manager keeps one record per name: a fresh one reads the file.
            CQNSoundManager::destroyInstance();
            CQNSoundManager* sounds = CQNSoundManager::getInstance();
            CQNSoundManager::initialize();
            QNSound* s = sounds->loadSound(path, type);
            sounds->playSound(s);  // a sound that failed says so when played
            return s != nullptr;
        };
    };
    // The model and base-object kinds reach the mesh and texture through
    // good files that point at the file under test.
    writeFile("Assets\\Scripts\\Models\\good.model", asset("Assets/Scripts/Models/zv.block.model"));
    writeFile("Assets\\Meshes\\zv.block.x", asset("Assets/Meshes/zv.block.x"));
    writeFile("Assets\\Scripts\\Base Objects\\mesh.base",
              "[CLASS_TYPE] CQNBaseRend\n[MODEL_TYPE] MESH\n[MODEL_SCRIPT] Assets\\Scripts\\Models\\test.model\n");
    writeFile("Assets\\Scripts\\Models\\mesh.model", "[XFILE] Assets\\Meshes\\test.x\n");
    writeFile("Assets\\Scripts\\Base Objects\\mesh2.base",
              "[CLASS_TYPE] CQNBaseRend\n[MODEL_TYPE] MESH\n[MODEL_SCRIPT] Assets\\Scripts\\Models\\mesh.model\n");
    const std::vector<Kind> kinds = {
        {"Assets\\Scripts\\Config\\test.cfg", asset("Assets/Scripts/Config/qnengine.cfg"), true,
         [](const char* path) { return CQNSceneManager::getInstance()->initialize(path) == QNRSLT_OK; }},
        {"Assets\\Scripts\\Scenes\\test.scene", "[SIZE] 0\n[SCRIPTS]\n", true,
         [](const char* path) { return CQNSceneManager::getInstance()->loadSceneFromScript(path) == QNRSLT_OK; }},
        {"Assets\\Scripts\\Base Objects\\test.base",
         "[CLASS_TYPE] CQNBaseRend\n[MODEL_TYPE] MESH\n[MODEL_SCRIPT] Assets\\Scripts\\Models\\good.model\n", true,
         rend},
        {"Assets\\Scripts\\Models\\test.model", asset("Assets/Scripts/Models/zv.block.model"), true,
         [&](const char*) { return rend("Assets\\Scripts\\Base Objects\\mesh.base"); }},
        {"Assets\\Meshes\\test.x", asset("Assets/Meshes/zv.block.x"), true,
         [&](const char*) { return rend("Assets\\Scripts\\Base Objects\\mesh2.base"); }},
        {"Assets\\Scripts\\Levels\\zv.1.lvl", asset("Assets/Scripts/Levels/zv.40.lvl"), true,
         [](const char* path) {
             CZVBaseLevel level;
             return level.loadLevelFromFile(path) == QNRSLT_OK && level.m_blocks != nullptr;
         }},
        {"Assets\\Textures\\test.png", asset("Assets/Textures/zv.num0.png"), true, texture},
        {"Assets\\Textures\\test.dds", dds(), true, texture},
        {"Assets\\Textures\\test.bmp", bmp(), true, texture},
        {"Assets\\Textures\\test.jpg", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11), true, texture},
        {"Assets\\Audio\\test.wav", asset("Assets/Audio/pellomir.beep.wav"), false, sound(SOUND_SAMPLE)},
        {"Assets\\Audio\\test.mp3", asset("Assets/Audio/lumbrel.bgmusic.mp3"), false, sound(SOUND_STREAM)},
    };
    std::mt19937 random(7);
    for (const Kind& kind : kinds) {
        ASSERT_GT(kind.good.size(), 8u) << kind.path;
        std::string native = kind.path;
        for (char& c : native) c = c == '\\' ? '/' : c;
        std::string garbage(4096, '\0');
        for (char& c : garbage) c = static_cast<char>(random());
        const struct {
            const char* fault;
            bool make;
            std::string text;
            bool sparse;
        } faults[] = {
            {"missing", false, "", false},
            {"empty", true, "", false},
            {"cut short", true, kind.good.substr(0, kind.good.size() / 3), false},
            {"garbage", true, garbage, false},
            {"5 GiB", true, "", true},
        };
        for (const auto& f : faults) {
            SCOPED_TRACE(std::string(kind.path) + ": " + f.fault);
            unlink(native.c_str());
            if (f.make) writeFile(kind.path, f.text);
            if (f.sparse) {
                ASSERT_EQ(truncate(native.c_str(), 5LL << 30), 0);
            }
            const bool loaded = kind.load(kind.path);
            const std::string what = f.fault;
            // Scripts are token lists: an empty or cut one may still be one.
            const bool binary = native.find("/Scripts/") == std::string::npos;
            if (what == "missing" || what == "5 GiB" || (binary && what != "cut short") ||
                (what == "garbage" && native.find(".lvl") != std::string::npos)) {
                EXPECT_FALSE(loaded);
            }
        }
        unlink(native.c_str());
        if (kind.logsFile) {
            const std::string text = readFile("Logs/QNResultLog.htm");
            const std::string name = native.substr(native.rfind('/') + 1);
            EXPECT_NE(text.find(name), std::string::npos) << kind.path << " is not named in the log";
        }
        // The game goes on: a good file of the kind still loads.
        writeFile(kind.path, kind.good);
        if (native.find(".jpg") == std::string::npos) {
            EXPECT_TRUE(kind.load(kind.path)) << kind.path;
        }
        unlink(native.c_str());
    }
}

}  // namespace
