// An offscreen 800 x 600 device with the engine's default state and camera,
// in a scratch game folder, a manual clock for the game timer, and helpers to
// write mesh scripts, images and cube maps, draw and read back a frame, find
// where a world point lands and read the result log back.
#ifndef ZV_RENDER_MESHES_FIXTURE_H
#define ZV_RENDER_MESHES_FIXTURE_H

#include <d3d9.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "PngFiles.h"
#include "engine/EngineTestBase.h"

class CQNBase;
class CQNBaseRend;
class CQNXModel;

using zvtestsupport::Rgb;
// A w x h PNG of one colour (opaque unless given an alpha), or of pixels
// given as 0xAARRGGBB (backslash paths).
using zvtestsupport::writePng;
using zvtestsupport::writePngPixels;

class MeshFixture : public EngineTestBase {
protected:
    static const int kWidth = 800;
    static const int kHeight = 600;

    void SetUp() override;

    // Clears, draws the objects between BeginScene and EndScene, presents and
    // reads the frame back.
    void drawFrame(const std::vector<CQNBase*>& objects, Rgb clear = {0, 0, 0});
    // Moves the game timer on by `seconds` (the next frame time).
    void tick(double seconds);

    Rgb rgb(int x, int y) const;
    bool near(int x, int y, Rgb c, int tolerance = 6) const;
    // Where a world point lands in the frame (pixel column and row).
    void project(float x, float y, float z, int* sx, int* sy) const;
    Rgb rgbAt(float x, float y, float z = 0.0f) const;
    // Pixels in the frame that differ from the colour by more than 6.
    int countNot(Rgb c) const;
    bool saveFramePng(const std::string& path) const;

    // An uncompressed A8R8G8B8 DDS cube map, faces +X, -X, +Y, -Y, +Z, -Z.
    static void writeCubeDds(const std::string& path, int size, const Rgb faces[6]);
    static void writeEnvMap(Rgb c);

    // Writes a mesh model script naming the X file and a renderable script
    // for it, then creates and initialises the renderable.
    std::unique_ptr<CQNBaseRend> makeMesh(const std::string& name, const std::string& xFile,
                                          const std::string& objectKeys = "");
    // The shared model the manager holds for that exact name, or null.
    static CQNXModel* model(const std::string& xFile);

    IDirect3DDevice9* device() const;

    std::vector<uint32_t> m_frame;
};

#endif
