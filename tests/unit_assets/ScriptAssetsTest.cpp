// The scene, object, model and particle scripts the game ships: every file
// they name exists and reads, every key is one a loader knows, values lie
// where the engine can use them, and the path values survive the token
// rules (a stray blank or an indented path would name a missing file).
#include "AssetFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

namespace {

using assets::Script;

const std::set<std::string> kClasses = {"CQNBase",         "CZVBaseLevel", "CQNBaseHud",       "CQNBaseParticleSys",
                                        "CQNBaseRend",     "CZVMainMenu",  "CZVBaseLvlSelect", "CQNBaseRendSkyBox"};
const char* const kScenes[] = {"Assets\\Scripts\\Scenes\\zv.menu.scene", "Assets\\Scripts\\Scenes\\zv.lvlsel.scene",
                               "Assets\\Scripts\\Scenes\\zv.intro.scene"};

// Follows an object script through its model (and particle) scripts,
// collecting what is wrong and every file named.
struct ScriptWalk {
    std::vector<std::string> errors;
    std::set<std::string> classes, files;

    void object(const std::string& path, const std::string& requiredModel = "") {
        Script s = read(path);
        if (!s.found) return fail(path, "missing");
        std::string cls = s.value("[CLASS_TYPE]");
        if (!kClasses.count(cls)) return fail(path, "class \"" + cls + "\" is not one the scene manager knows");
        classes.insert(cls);
        if (cls == "CQNBaseRend" || cls == "CQNBaseRendSkyBox") {
            std::string type = s.value("[MODEL_TYPE]");
            if (type != "SPRITE" && type != "MESH" && type != "SPRITE_PARTICLE")
                return fail(path, "model type \"" + type + "\"");
            if (!requiredModel.empty() && type != requiredModel) fail(path, "should hold a " + requiredModel);
            model(path, type, s.value("[MODEL_SCRIPT]"));
        } else if (cls == "CQNBaseParticleSys") {
            if (s.number("[NUM_PARTICLES]") < 1) fail(path, "no particles");
            if (!(s.number("[LIFE_SPAN]") > 0)) fail(path, "no life span: the system would end at once");
            object(named(path, s.value("[PARTICLE_SCRIPT]")), "SPRITE_PARTICLE");
        }
    }

private:
    void fail(const std::string& path, const std::string& what) { errors.push_back(path + ": " + what); }

    Script read(const std::string& path) {
        Script s = assets::readScript(path);
        for (const std::string& t : s.strays) fail(path, "token \"" + t + "\" is no key's value");
        return s;
    }

    std::string named(const std::string& from, const std::string& path) {
        if (path.empty() || !assets::exists(path)) fail(from, "names missing file \"" + path + "\"");
        files.insert(path);
        return path;
    }

    void model(const std::string& owner, const std::string& type, const std::string& path) {
        Script m = read(named(owner, path));
        if (!m.found) return;
        if (type == "MESH") {
            std::string x = named(path, m.value("[XFILE]"));
            if (x.size() < 2 || x.compare(x.size() - 2, 2, ".x") != 0) fail(path, "XFILE is not a .x file");
            return;
        }
        if (!assets::readPng(named(path, m.value("[TEXTURE]"))).ok) fail(path, "texture does not decode");
        std::string sizing = m.value("[SIZING]");
        if (sizing != "ACTUAL" && sizing != "ACTUAL_NORM" && sizing != "USER_DEFINED")
            fail(path, "sizing \"" + sizing + "\"");
        if (sizing == "USER_DEFINED" && !(m.number("[DIMENSIONS]", 0) > 0 && m.number("[DIMENSIONS]", 1) > 0))
            fail(path, "USER_DEFINED without positive dimensions");
        if (type == "SPRITE_PARTICLE") particle(path, m);
    }

    // The particle's random values come in steps of 0.001 from min, within
    // rand() % span: a range over 32.767 is cut short, and a life of 0 makes
    // the colour rates divide by zero.
    void particle(const std::string& path, const Script& m) {
        if (!m.has("[RANGE_DIRECTION]") || !m.has("[COLOR_STAGES]") || !m.has("[RANGE_LIFESPAN]"))
            return fail(path, "particle keys missing");
        for (int axis = 0; axis < 3; ++axis) {
            float span = m.number("[RANGE_DIRECTION]", 2 * axis + 1) - m.number("[RANGE_DIRECTION]", 2 * axis);
            if (span < 0 || span > 32.767f) fail(path, "direction range " + std::to_string(axis) + " unusable");
        }
        float lo = m.number("[RANGE_LIFESPAN]", 0), hi = m.number("[RANGE_LIFESPAN]", 1);
        if (!(lo > 0) || hi < lo || hi - lo > 32.767f) fail(path, "life range unusable");
        for (int i = 0; i < 12; ++i)
            if (m.number("[COLOR_STAGES]", i) < 0 || m.number("[COLOR_STAGES]", i) > 1)
                fail(path, "colour stage value outside 0..1");
    }
};

TEST(SceneScripts, EverythingTheScenesNameExistsAndReads) {
    const std::vector<std::string> needed[] = {{"CQNBaseRendSkyBox", "CZVMainMenu"},
                                               {"CQNBaseRendSkyBox", "CZVBaseLvlSelect"},
                                               {"CQNBaseRendSkyBox", "CZVBaseLevel", "CQNBaseHud"}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(kScenes[i]);
        Script scene = assets::readScript(kScenes[i]);
        ASSERT_TRUE(scene.found);
        EXPECT_TRUE(scene.strays.empty()) << "stray token " << (scene.strays.empty() ? "" : scene.strays[0]);
        ASSERT_EQ(scene.number("[SIZE]"), scene.scenePaths.size()) << "[SIZE] must count the listed scripts";
        ASSERT_FALSE(scene.scenePaths.empty());
        // The sky box draws without depth and covers whatever came before it.
        EXPECT_EQ(assets::readScript(scene.scenePaths.front()).value("[CLASS_TYPE]"), "CQNBaseRendSkyBox");
        ScriptWalk walk;
        for (const std::string& path : scene.scenePaths) walk.object(path);
        for (const std::string& e : walk.errors) ADD_FAILURE() << e;
        for (const std::string& cls : needed[i]) EXPECT_TRUE(walk.classes.count(cls)) << "no " << cls;
    }
}

// The base objects the game classes load by fixed name; all but the block
// are screen pictures.
std::vector<std::string> fixedObjects() {
    std::vector<std::string> out = {"zv.defblock",   "zv.defmouse",    "zv.colon",       "zv.hudbg",
                                    "zv.getready",   "zv.completed",   "zv.newrec",      "zv.menupointer",
                                    "zv.menuoptions", "zv.menucredits"};
    for (int d = 0; d < 10; ++d) out.push_back("zv.num" + std::to_string(d));
    for (std::string& f : out) f = "Assets\\Scripts\\Base Objects\\" + f + ".base";
    return out;
}

TEST(BaseObjects, TheGameClassesFindTheirPicturesAsScreenSprites) {
    for (const std::string& path : fixedObjects()) {
        SCOPED_TRACE(path);
        const bool sprite = path.find("defblock") == std::string::npos;
        ScriptWalk walk;
        walk.object(path, sprite ? "SPRITE" : "MESH");
        for (const std::string& e : walk.errors) ADD_FAILURE() << e;
        if (!sprite) continue;
        Script obj = assets::readScript(path);
        Script model = assets::readScript(obj.value("[MODEL_SCRIPT]"));
        // Positions are centred screen units: the sprite must be drawn with
        // the orthographic projection, and unturned by the camera (the level
        // select's camera circles).
        EXPECT_EQ(model.value("[ORTHO]"), "TRUE");
        EXPECT_EQ(model.value("[BILLBOARDING]"), "FALSE");
        float z = obj.number("[TRANSLATION]", 2);
        EXPECT_TRUE(z <= 0 && z >= -1) << "z " << z << " lies outside the orthographic depth range";
        // HUD characters are 16-unit quads on the 10-unit pitch.
        if (path.find("num") != std::string::npos || path.find("colon") != std::string::npos) {
            EXPECT_EQ(model.value("[SIZING]"), "USER_DEFINED");
            EXPECT_EQ(model.number("[DIMENSIONS]", 0), 8.0f);
            EXPECT_EQ(model.number("[DIMENSIONS]", 1), 8.0f);
        }
    }
}

TEST(ScriptText, PathValuesSurviveTheTokenRules) {
    namespace fs = std::filesystem;
    const std::string pathKeys[] = {"[MODEL_SCRIPT]", "[TEXTURE]", "[PARTICLE_SCRIPT]", "[ENTRY_SCENE]"};
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(std::string(ZV_SOURCE_DIR) + "/Assets/Scripts")) {
        if (!entry.is_regular_file() || entry.path().parent_path().filename() == "Levels") continue;
        ++files;
        std::string text;
        ASSERT_TRUE(assets::readBytes(entry.path().string(), text));
        std::istringstream lines(text);
        std::string line;
        bool inScripts = false;
        for (int n = 1; std::getline(lines, line); ++n) {
            SCOPED_TRACE(entry.path().string() + ":" + std::to_string(n));
            EXPECT_EQ(line.find('\r'), std::string::npos);
            EXPECT_FALSE(!line.empty() && line[0] == ' ') << "indented with blanks";
            if (line.rfind("//", 0) == 0) continue;
            bool pathLine = inScripts && !line.empty() && line[0] != '[';
            for (const std::string& key : pathKeys)
                if (line.rfind(key, 0) == 0) {
                    pathLine = true;
                    EXPECT_EQ(line.compare(key.size(), 1, " "), 0) << "one blank after " << key;
                    EXPECT_TRUE(line.size() > key.size() + 1 && line[key.size() + 1] != ' ')
                        << "a missing path, or a second blank that would join it";
                }
            if (line.rfind("[SCRIPTS]", 0) == 0) inScripts = true;
            if (!pathLine) continue;
            EXPECT_EQ(line.find("//"), std::string::npos) << "a comment would run into the next line's text";
            EXPECT_FALSE(!line.empty() && (line.back() == ' ' || line.back() == '\t')) << "trailing blank";
        }
    }
    EXPECT_GT(files, 60);
}

TEST(ScriptText, EveryPictureAndMeshIsUsed) {
    ScriptWalk walk;
    for (const char* scene : kScenes)
        for (const std::string& path : assets::readScript(scene).scenePaths) walk.object(path);
    for (const std::string& path : fixedObjects()) walk.object(path);
    std::set<std::string> used;
    for (const std::string& f : walk.files) used.insert(f.substr(f.rfind('\\') + 1));
    for (const char* mesh : {"Assets\\Meshes\\zv.block.x", "Assets\\Meshes\\zv.skybox.x"})
        for (const assets::XMaterial& m : assets::loadMesh(mesh).materials)
            used.insert(m.texture.substr(m.texture.rfind('\\') + 1));
    used.insert("envmap.dds");  // the mesh model loads it by name
    for (const char* dir : {"/Assets/Textures", "/Assets/Meshes"})
        for (const auto& entry : std::filesystem::directory_iterator(std::string(ZV_SOURCE_DIR) + dir))
            EXPECT_TRUE(used.count(entry.path().filename().string())) << entry.path() << " is used by nothing";
}

}  // namespace
