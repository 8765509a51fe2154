// Particle systems on the real device: added up by the additive blend, the
// blend put back, the dead-count text, and frames that allocate nothing.
#include <string>

#include "DX_D3DWrapper.h"
#include "ParticleFixture.h"
#include "PngFiles.h"
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
        zvtestsupport::writePng("Assets\\Textures\\spark.png", 16, 16, {255, 255, 255});
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
    for (int count : {1, 2}) {
        SCOPED_TRACE(count);
        scenes()->clearScene();
        addStillSystem(count, "0.5 0 0 1");
        frame(0.1);
        drawScene();
        const zvtestsupport::Rgb expected = {count == 1 ? 128 : 255, 0, 0};
        // Inside the 40-unit quad (about 109 pixels across at the default
        // eye distance) and outside it.
        EXPECT_TRUE(near(400, 300, expected, 3)) << rgb(400, 300);
        EXPECT_TRUE(near(400 - 40, 300 + 40, expected, 3)) << rgb(360, 340);
        EXPECT_TRUE(near(400 - 70, 300, {0, 0, 0}, 0)) << rgb(330, 300);
        // The engine's blend is back after the system drew.
        DWORD value = 0;
        device()->GetRenderState(D3DRS_DESTBLEND, &value);
        EXPECT_EQ(value, static_cast<DWORD>(D3DBLEND_INVSRCALPHA));
        device()->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
        EXPECT_EQ(value, static_cast<DWORD>(FALSE));
    }
}

TEST_F(ParticleRender, DeadCountTextIsDrawn) {
    // Lives of 0.15 s, respawned: in the frame at 0.2 s all four report dead.
    addStillSystem(4, "0 0 1 1", "0.15 0.15", "[LIFE_SPAN] 100");
    frame(0.1);
    drawScene();
    const std::vector<uint32_t> zero(m_frame);
    EXPECT_GT(brightCount(5, 25, 100, 45, 120), 30);
    EXPECT_EQ(brightCount(5, 60, 200, 80, 120), 0);
    frame(0.1);
    drawScene();
    EXPECT_EQ(dynamic_cast<CQNBaseParticleSys*>(scenes()->getObject(0))->m_deadCount, 4);
    // "Dead Particles: 0" and "Dead Particles: 4" differ only in the digit
    // (the words end before x = 80 in the engine's 16-pixel font).
    int differ = 0, differLeft = 0;
    for (int y = 25; y < 45; ++y)
        for (int x = 5; x < 200; ++x) {
            const size_t at = static_cast<size_t>(y) * kWidth + x;
            if ((m_frame[at] ^ zero[at]) & 0xFFFFFFu) ++(x < 80 ? differLeft : differ);
        }
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
