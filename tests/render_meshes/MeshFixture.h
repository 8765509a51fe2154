// Mesh tests: the drawing base with the game timer on a manual clock, and
// helpers to write mesh scripts and cube maps.
#ifndef ZV_RENDER_MESHES_FIXTURE_H
#define ZV_RENDER_MESHES_FIXTURE_H

#include <memory>
#include <string>

#include "PngFiles.h"
#include "engine/DrawingTestBase.h"

class CQNBaseRend;
class CQNXModel;

using zvtestsupport::Rgb;
using zvtestsupport::writePng;
using zvtestsupport::writePngPixels;

class MeshFixture : public DrawingTestBase {
protected:
    void SetUp() override;

    // Moves the game timer on by `seconds` (the next frame time).
    void tick(double seconds);
    // Pixels in the frame that differ from the colour by more than 6.
    int countNot(Rgb c) const;

    // An uncompressed A8R8G8B8 DDS cube map, faces +X, -X, +Y, -Y, +Z, -Z
    // (Assets\Textures\envmap.dds is the engine's environment map).
    static void writeCubeDds(const std::string& path, int size, const Rgb faces[6]);

    // Writes a mesh model script naming the X file and a renderable script
    // for it, then creates and initialises the renderable.
    std::unique_ptr<CQNBaseRend> makeMesh(const std::string& name, const std::string& xFile,
                                          const std::string& objectKeys = "");
    // The shared model the manager holds for that exact name, or null.
    static CQNXModel* model(const std::string& xFile);
};

#endif
