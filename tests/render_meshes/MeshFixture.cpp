#include "MeshFixture.h"

#include "DX_ModelManager.h"
#include "QNBaseRend.h"
#include "QNGameTimer.h"
#include "testing/PlatformTesting.h"

namespace {

void put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

void MeshFixture::SetUp() {
    ASSERT_NO_FATAL_FAILURE(DrawingTestBase::SetUp());
    startTestClock();
}

void MeshFixture::tick(double seconds) {
    zvtest::advanceClock(seconds);
    CQNGameTimer::getInstance()->update();
}

int MeshFixture::countNot(Rgb c) const {
    int n = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (!near(x, y, c, 6)) ++n;
    return n;
}

void MeshFixture::writeCubeDds(const std::string& path, int size, const Rgb faces[6]) {
    std::string out = "DDS ";
    put32(out, 124);
    put32(out, 0x1 | 0x2 | 0x4 | 0x1000);  // caps, height, width, pixel format
    put32(out, static_cast<uint32_t>(size));
    put32(out, static_cast<uint32_t>(size));
    put32(out, static_cast<uint32_t>(size * 4));
    put32(out, 0);  // depth
    put32(out, 0);  // mip levels: one
    for (int i = 0; i < 11; ++i) put32(out, 0);
    put32(out, 32);
    put32(out, 0x40 | 0x1);  // RGB with alpha
    put32(out, 0);
    put32(out, 32);
    put32(out, 0x00FF0000);
    put32(out, 0x0000FF00);
    put32(out, 0x000000FF);
    put32(out, 0xFF000000);
    put32(out, 0x1000 | 0x8);   // texture, complex
    put32(out, 0x200 | 0xFC00);  // cube map with all six faces
    for (int i = 0; i < 3; ++i) put32(out, 0);
    for (int f = 0; f < 6; ++f)
        for (int i = 0; i < size * size; ++i) {
            out += static_cast<char>(faces[f].b);
            out += static_cast<char>(faces[f].g);
            out += static_cast<char>(faces[f].r);
            out += static_cast<char>(0xFF);
        }
    zvtestsupport::writeFile(path, out);
    ASSERT_TRUE(zvtestsupport::fileExists(path)) << path;
}

std::unique_ptr<CQNBaseRend> MeshFixture::makeMesh(const std::string& name, const std::string& xFile,
                                                   const std::string& objectKeys) {
    const std::string modelScript = "Assets\\Scripts\\Models\\" + name + ".model";
    const std::string object = "Assets\\Scripts\\Base Objects\\" + name + ".base";
    zvtestsupport::writeFile(modelScript, "[XFILE] " + xFile + "\n");
    zvtestsupport::writeFile(object, "[MODEL_TYPE] MESH\n[MODEL_SCRIPT] " + modelScript + "\n" + objectKeys + "\n");
    std::unique_ptr<CQNBaseRend> rend(new CQNBaseRend);
    rend->initialize(object.c_str());
    return rend;
}

CQNXModel* MeshFixture::model(const std::string& xFile) {
    return CDX_ModelManager::getInstance()->getModelByName(xFile.c_str());
}
