// A scratch game folder, an offscreen window, a test clock and injected keys
// for the HUD, the level select and the main menu, whose pictures draw into a
// fixed-size log instead of the device. The back-buffer size is set on the
// device wrapper directly: these objects only read it.
#ifndef ZV_MENUS_FIXTURE_H
#define ZV_MENUS_FIXTURE_H

#include <initializer_list>
#include <string>
#include <vector>

#include "QNModel.h"
#include "engine/EngineTestBase.h"

class CQNBase;
class CQNBaseRend;
class CQNGameState;

// One render of a recorded picture: its tag and the transform it was drawn with.
struct Draw {
    char tag;
    float x, y, rotZ, scaleX, scaleY, scaleZ;
};

// Stands in for a sprite: records each render (without allocating, so a
// frame's allocation count stays the object's own).
class RecordingModel : public CQNModel {
public:
    explicit RecordingModel(char tag) : m_tag(tag) {}
    QNRESULT render(float* transform) override;

    static void clear();
    static std::vector<Draw> draws();

private:
    char m_tag;
};

class MenusFixture : public EngineTestBase {
protected:
    void SetUp() override;

    // One frame of the engine half: clock, timer, input, then the objects'
    // update; the draw log is cleared before their render.
    void frame(std::initializer_list<CQNBase*> objects, double seconds = 1.0 / 60.0);
    // A frame with keys held down during it; they are let go afterwards.
    void frameWithKeys(std::initializer_list<int> keys, std::initializer_list<CQNBase*> objects);
    // Renders the objects into a fresh draw log and returns it.
    std::vector<Draw> render(std::initializer_list<CQNBase*> objects);

    // Swaps the picture's model (if any) for a recorder with this tag.
    static void record(CQNBaseRend* picture, char tag);
    // Writes a base-object script with only a transform, for pictures whose
    // script position matters.
    static void writeTransformScript(const std::string& name, const std::string& keys);

    // Rows of the result log so far whose text contains `needle` (closes it).
    int logRowsContaining(const std::string& needle);

    CQNGameState* state = nullptr;
};

#endif
