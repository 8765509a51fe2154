// Particle systems on the real device: visible in a scene, added up by the
// additive blend, the blend put back, the dead-count text.
#include <cstdlib>
#include <string>

#include "DX_D3DWrapper.h"
#include "ParticleFixture.h"
#include "QNBaseParticleSys.h"
#include "QNMemory.h"
#include "QNSceneManager.h"

namespace {

class ParticleRender : public ParticleRenderFixture {
protected:
    CQNSceneManager* scenes() { return CQNSceneManager::getInstance(); }
    // A system of `count` particles that stand still at the origin: 40-unit
    // billboards of a white texture in the given colour, living `life`.
    void addStillSystem(int count, const std::string& color, const std::string& life = "100 100",
                        const std::string& span = "") {
        writeWhitePng("Assets\\Textures\\spark.png", 16, 16);
        const std::string particle = writeParticle(
            "still", "[TEXTURE] Assets\\Textures\\spark.png\n[SIZING] USER_DEFINED\n[DIMENSIONS] 20 20\n"
                     "[RANGE_LIFESPAN] " + life + "\n[COLOR_STAGES] " + color + " " + color + " " + color);
        ASSERT_EQ(scenes()->doItAll(writeSystem("still", "[PARTICLE_SCRIPT] " + particle + "\n[NUM_PARTICLES] " +
                                                             std::to_string(count) + "\n" + span)
                                        .c_str()),
                  QNRSLT_OK);
    }
};

TEST_F(ParticleRender, AdditiveBlendAddsOverlappingParticles) {
    // Half-bright red, fully opaque: one particle gives half red, two add up
    // to full red where a normal blend would still show half.
    const struct {
        int count;
        int red;
    } rows[] = {{1, 128}, {2, 255}, {3, 255}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.count);
        scenes()->clearScene();
        addStillSystem(row.count, "0.5 0 0 1");
        frame(0.1);
        drawScene();
        EXPECT_NEAR(red(400, 300), row.red, 3);
        EXPECT_EQ(pixel(400, 300) & 0xFFFF, 0u);
        // Inside the 40-unit quad (about 109 pixels across at the default
        // eye distance) and outside it.
        EXPECT_NEAR(red(400 - 40, 300 + 40), row.red, 3);
        EXPECT_EQ(pixel(400 - 70, 300), 0u);
        EXPECT_EQ(pixel(400, 300 - 70), 0u);
        // The engine's blend is back after the system drew.
        DWORD value = 0;
        device()->GetRenderState(D3DRS_DESTBLEND, &value);
        EXPECT_EQ(value, static_cast<DWORD>(D3DBLEND_INVSRCALPHA));
        device()->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
        EXPECT_EQ(value, static_cast<DWORD>(FALSE));
    }
}

TEST_F(ParticleRender, BurstIsVisibleInARenderedFrame) {
    std::srand(2024);
    writeWhitePng("Assets\\Textures\\spark.png", 8, 8);
    const std::string particle = writeParticle(
        "burst", "[TEXTURE] Assets\\Textures\\spark.png\n[SIZING] USER_DEFINED\n[DIMENSIONS] 2 2\n"
                 "[RANGE_DIRECTION] -16 16 20 45 -5 5\n[GRAVITY] -30\n[RANGE_LIFESPAN] 2 3\n"
                 "[COLOR_STAGES] 1 1 0.2 1  1 0.3 0 0.8  0.4 0 0 0");
    ASSERT_EQ(scenes()->doItAll(
                  writeSystem("burst", "[PARTICLE_SCRIPT] " + particle + "\n[NUM_PARTICLES] 150\n[LIFE_SPAN] 10\n"
                                       "[TRANSLATION] 0 -40 0")
                      .c_str()),
              QNRSLT_OK);
    for (int i = 0; i < 20; ++i) frame(0.05);
    drawScene();
    saveFramePng("particles-burst.png");
    if (const char* keep = std::getenv("ZV_KEEP_FRAMES"))
        saveFramePng(std::string(keep) + "/particles-burst.png");
    // Yellow sparks above the emitter (y = -40 is 109 pixels below the
    // centre), none below it after a second of flight: y = -40 + vy - 15.75
    // with vy from 20 to 45, about 2.7 pixels a unit.
    int warm = 0, below = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            if (red(x, y) < 100) continue;
            if (y < 45) continue;  // the dead-count text
            if (y > 300 + 125) ++below;
            else ++warm;
        }
    EXPECT_GT(warm, 500);
    EXPECT_EQ(below, 0);
}

TEST_F(ParticleRender, DeadCountTextIsDrawn) {
    // Lives of 0.15 s, respawned: in the frame at 0.2 s all four report dead.
    addStillSystem(4, "0 0 1 1", "0.15 0.15", "[LIFE_SPAN] 100");
    frame(0.1);
    drawScene();
    const std::vector<uint32_t> zero(m_frame);
    if (const char* keep = std::getenv("ZV_KEEP_FRAMES"))
        saveFramePng(std::string(keep) + "/particles-deadcount0.png");
    EXPECT_EQ(dynamic_cast<CQNBaseParticleSys*>(scenes()->getObject(0))->m_deadCount, 0);
    EXPECT_GT(brightCount(5, 25, 100, 45, 120), 30);
    EXPECT_EQ(brightCount(5, 60, 200, 80, 120), 0);
    frame(0.1);
    drawScene();
    EXPECT_EQ(dynamic_cast<CQNBaseParticleSys*>(scenes()->getObject(0))->m_deadCount, 4);
    if (const char* keep = std::getenv("ZV_KEEP_FRAMES"))
        saveFramePng(std::string(keep) + "/particles-deadcount.png");
    EXPECT_GT(brightCount(5, 25, 100, 45, 120), 30);
    // "Dead Particles: 0" and "Dead Particles: 4" differ only in the digit
    // (the words end before x = 80 in the engine's 16-pixel font).
    int differ = 0, differLeft = 0;
    for (int y = 25; y < 45; ++y)
        for (int x = 5; x < 200; ++x)
            if (pixel(x, y) != zero[static_cast<size_t>(y) * kWidth + x]) ++(x < 80 ? differLeft : differ);
    EXPECT_GT(differ, 5);
    EXPECT_EQ(differLeft, 0);
}

TEST_F(ParticleRender, DrawnFramesAllocateNothing) {
    addStillSystem(20, "0 1 0 1", "0.3 0.3", "[LIFE_SPAN] 100");
    frame(0.1);
    drawScene();
    const unsigned before = getAllocationCount();
    for (int i = 0; i < 10; ++i) {
        frame(0.1);
        CDX_D3DWrapper::getInstance()->clearScreen(0, 0, 0);
        device()->BeginScene();
        scenes()->render();
        device()->EndScene();
        CDX_D3DWrapper::getInstance()->renderScreen();
    }
    EXPECT_EQ(getAllocationCount(), before);
}

}  // namespace
