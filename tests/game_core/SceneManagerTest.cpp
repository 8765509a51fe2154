// Building scenes from scripts, object order, removal and the failure lines.
#include "EngineFixture.h"
#include "QNBase.h"
#include "QNSceneManager.h"

using zvtestsupport::writeFile;

namespace {

// Records the order of updates, renders and overlays, and can ask to be removed.
std::string g_trace;
class Probe : public CQNBase {
public:
    Probe(char name, bool removeOnUpdate) : m_name(name), m_removeOnUpdate(removeOnUpdate) {}
    QNRESULT update() override {
        g_trace += 'u';
        g_trace += m_name;
        m_remove = m_removeOnUpdate;
        return QNRSLT_OK;
    }
    QNRESULT render() override {
        g_trace += 'r';
        g_trace += m_name;
        return QNRSLT_OK;
    }
    QNRESULT renderOverlay() override {
        g_trace += 'o';
        g_trace += m_name;
        return QNRSLT_OK;
    }
    char m_name;
    bool m_removeOnUpdate;
};

class SceneManager : public EngineFixture {
protected:
    CQNSceneManager* scenes() { return CQNSceneManager::getInstance(); }
    void object(const std::string& path, float x) {
        writeFile(path, "[CLASS_TYPE] CQNBase\n[TRANSLATION] " + std::to_string(x) + " 0 0\n");
    }
};

TEST_F(SceneManager, ObjectsKeepScriptOrderAndPathsKeepBlanks) {
    object("Assets\\Scripts\\Base Objects\\zv.a.base", 1);
    object("Assets\\Scripts\\Base Objects\\zv.b.base", 2);
    object("Assets\\Scripts\\Base Objects\\zv.c.base", 3);
    writeFile("s.scene",
              "// a scene\n[SIZE] 3\n[SCRIPTS]\nAssets\\Scripts\\Base Objects\\zv.c.base\n"
              "\tAssets\\Scripts\\Base Objects\\zv.a.base\nAssets\\Scripts\\Base Objects\\zv.b.base");
    ASSERT_EQ(scenes()->loadSceneFromScript("s.scene"), QNRSLT_OK);
    ASSERT_EQ(scenes()->getObjectCount(), 3);
    EXPECT_FLOAT_EQ(scenes()->getObject(0)->m_translation.x, 3);
    EXPECT_FLOAT_EQ(scenes()->getObject(1)->m_translation.x, 1);
    EXPECT_FLOAT_EQ(scenes()->getObject(2)->m_translation.x, 2);
    // Loading again gives a fresh set.
    CQNBase* before = scenes()->getObject(0);
    before->m_translation.x = 99;
    scenes()->loadSceneFromScript("s.scene");
    EXPECT_EQ(scenes()->getObjectCount(), 3);
    EXPECT_FLOAT_EQ(scenes()->getObject(0)->m_translation.x, 3);
}

TEST_F(SceneManager, EmptyScenes) {
    writeFile("zero.scene", "[SIZE] 0 [SCRIPTS] a.base");
    writeFile("late.scene", "[SCRIPTS]\na.base\n[SIZE] 1\n");
    object("a.base", 1);
    for (const char* s : {"zero.scene", "late.scene"}) {
        scenes()->loadSceneFromScript(s);
        EXPECT_EQ(scenes()->getObjectCount(), 0) << s;
    }
}

TEST_F(SceneManager, RemovedObjectGoesInTheSamePassAndOthersStillUpdate) {
    g_trace.clear();
    scenes()->addObject(new Probe('A', false));
    scenes()->addObject(new Probe('B', true));
    scenes()->addObject(new Probe('C', false));
    scenes()->addObject(nullptr);
    scenes()->update();
    scenes()->render();
    // Overlays (the level's cursor) come after every object's picture.
    EXPECT_EQ(g_trace, "uAuBuCrArCoAoC");
    EXPECT_EQ(scenes()->getObjectCount(), 2);
}

TEST_F(SceneManager, FailuresAreReportedAndTheRestLoads) {
    object("good.base", 7);
    writeFile("noclass.base", "[TRANSLATION] 1 2 3");
    writeFile("badclass.base", "[CLASS_TYPE] cqnbase");
    writeFile("s.scene", "[SIZE] 5\n[SCRIPTS]\nmissing.base\nnoclass.base\nbadclass.base\ngood.base\n");
    scenes()->loadSceneFromScript("s.scene");
    ASSERT_EQ(scenes()->getObjectCount(), 1);
    EXPECT_FLOAT_EQ(scenes()->getObject(0)->m_translation.x, 7);
    scenes()->loadSceneFromScript("nosuch.scene");
    EXPECT_EQ(scenes()->getObjectCount(), 0);  // the old scene is gone anyway

    std::string text = log();
    auto count = [&](const std::string& s) {
        int n = 0;
        for (size_t p = text.find(s); p != std::string::npos; p = text.find(s, p + 1)) ++n;
        return n;
    };
    // missing object, no class, bad class, the empty fifth entry.
    EXPECT_EQ(count("CQNSceneManager::doItAll( )"), 4);
    EXPECT_EQ(count("Script: missing.base"), 1);
    EXPECT_EQ(count("Script: nosuch.scene"), 1);
    EXPECT_EQ(count("CQNSceneManager::loadSceneFromScript( )"), 1);
    // The empty entry: the reader's null-path report.
    EXPECT_GE(count("CScriptHelper::getFileSize( )"), 3);
}

TEST_F(SceneManager, EntrySceneComesFromTheConfiguration) {
    object("Assets\\Scripts\\Base Objects\\e.base", 5);
    writeFile("Assets\\Scripts\\Scenes\\zv.first.scene", "[SIZE] 1 [SCRIPTS]\nAssets\\Scripts\\Base Objects\\e.base\n");
    writeFile("qnengine.cfg", "[RESOLUTION] 800 600\n[ENTRY_SCENE] Assets\\Scripts\\Scenes\\zv.first.scene\n");
    scenes()->initialize("qnengine.cfg");
    ASSERT_EQ(scenes()->getObjectCount(), 1);
    EXPECT_FLOAT_EQ(scenes()->getObject(0)->m_translation.x, 5);

    writeFile("nokey.cfg", "[RESOLUTION] 800 600\n");
    scenes()->initialize("nokey.cfg");
    EXPECT_EQ(scenes()->getObjectCount(), 0);
}

}  // namespace
