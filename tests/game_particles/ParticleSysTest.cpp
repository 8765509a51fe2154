// Particle systems: their keys, placing and respawning particles during the
// life span, dying out and removing themselves, refused particle counts,
// and frames that allocate nothing.
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "ParticleFixture.h"
#include "QNBaseParticleSys.h"
#include "QNBaseRend.h"
#include "QNClassTable.h"
#include "QNMemory.h"
#include "QNModelSpriteParticle.h"
#include "QNSceneManager.h"

namespace {

class ParticleSys : public ParticleFixture {
protected:
    CQNSceneManager* scenes() { return CQNSceneManager::getInstance(); }
    // A system created as the scene manager creates it, kept by the test.
    std::unique_ptr<CQNBaseParticleSys> make(const std::string& path) {
        std::unique_ptr<CQNBaseParticleSys> sys(
            dynamic_cast<CQNBaseParticleSys*>(qnCreateSceneObject("CQNBaseParticleSys")));
        if (sys) sys->initialize(path.c_str());
        return sys;
    }
    // A particle flying along +x at 1 unit a second for `life` seconds.
    static std::string drifter(const std::string& life) {
        return writeParticle("drift", "[RANGE_DIRECTION] 1 1 0 0 0 0\n[RANGE_LIFESPAN] " + life,
                             "[TRANSLATION] -99 -99 -99\n[SCALE] 7 7 7");
    }
};

TEST_F(ParticleSys, KeysPlaceEveryParticleWhereTheSystemIs) {
    const std::string particle = drifter("5 5");
    auto sys = make(writeSystem("sparks", "// a system\n[PARTICLE_SCRIPT] " + particle +
                                              "\n[NUM_PARTICLES] 12 [LIFE_SPAN] 2.5\n"
                                              "[TRANSLATION] 10 20 30 [ROTATION] 0 45 0 [SCALE] 2 2 2"));
    ASSERT_NE(sys, nullptr);
    EXPECT_STREQ(sys->m_particleScript, particle.c_str()) << "the path keeps its blank (Base Objects)";
    EXPECT_EQ(sys->m_numParticles, 12);
    EXPECT_FLOAT_EQ(sys->m_lifeSpan, 2.5f);
    ASSERT_NE(sys->m_particles, nullptr);
    for (int i = 0; i < 12; ++i) {
        CQNBaseRend& p = sys->m_particles[i];
        ASSERT_NE(model(p), nullptr) << i;
        // The system's transform replaces the particle script's own.
        EXPECT_FLOAT_EQ(p.m_translation.z, 30);
        EXPECT_FLOAT_EQ(p.m_rotation.y, 45);
        EXPECT_FLOAT_EQ(p.m_scale.x, 2);
    }
}

TEST_F(ParticleSys, RespawnsDuringTheLifeSpanThenDiesOut) {
    auto sys = make(writeSystem("burst", "[PARTICLE_SCRIPT] " + drifter("1 1") +
                                             "\n[NUM_PARTICLES] 4\n[LIFE_SPAN] 2.5\n[TRANSLATION] 10 0 0"));
    ASSERT_NE(sys, nullptr);
    // Frames of 0.25 s; lives of exactly 1 s end in the frame at 1.25 s
    // after their start.
    const struct {
        double t;
        float moveTo;  // the system's new x before this frame, or 0
        int dead;
        float x;       // every particle's x after the frame
        bool removed;
    } rows[] = {
        {0.25, 0, 0, 10.25f, false},
        {0.5, 50, 0, 10.5f, false},  // a moved system leaves live particles be
        {1.0, 0, 0, 11.0f, false},
        {1.25, 0, 4, 50.0f, false},  // respawned at the system's new place
        {1.5, 0, 0, 50.25f, false},
        {2.25, 0, 0, 51.0f, false},
        {2.5, 0, 4, 51.25f, true},   // the span is over: they stay dead
    };
    double t = 0;
    for (const auto& row : rows) {
        if (row.moveTo != 0) sys->m_translation.x = row.moveTo;
        for (; t < row.t - 1e-9; t += 0.25) {
            tick(0.25);
            sys->update();
        }
        SCOPED_TRACE(row.t);
        EXPECT_EQ(sys->m_deadCount, row.dead);
        EXPECT_EQ(sys->m_remove, row.removed);
        for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(sys->m_particles[i].m_translation.x, row.x) << i;
    }
}

TEST_F(ParticleSys, WithoutALifeSpanEveryParticleLivesOnce) {
    std::srand(11);
    auto sys = make(writeSystem("once", "[PARTICLE_SCRIPT] " + drifter("1 3") + "\n[NUM_PARTICLES] 6"));
    ASSERT_NE(sys, nullptr);
    float lives[6];
    for (int i = 0; i < 6; ++i) lives[i] = model(sys->m_particles[i])->m_life;
    const float longest = *std::max_element(lives, lives + 6);
    int frames = 0;
    while (!sys->m_remove) {
        ASSERT_LT(frames, 40);
        tick(0.1);
        sys->update();
        ++frames;
        // Seconds as the timer counts them (nanoseconds over the frequency).
        const double t = static_cast<double>(frames * 100000000LL) / 1e9;
        // Dead particles are not restarted, so they add up frame after frame.
        const int dead = static_cast<int>(std::count_if(lives, lives + 6, [&](float l) { return t > l; }));
        EXPECT_EQ(sys->m_deadCount, dead) << "t = " << t;
        EXPECT_EQ(sys->m_remove, dead == 6) << "t = " << t;
    }
    EXPECT_GT(frames * 0.1, longest - 1e-4);
    EXPECT_LT((frames - 1) * 0.1, longest + 1e-4);
    // Nobody was respawned: the particles flew on from the start.
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(sys->m_particles[i].m_translation.x, frames * 0.1, 1e-4);
}

TEST_F(ParticleSys, RemovedFromTheSceneOnceDead) {
    const std::string particle = drifter("0.5 0.5");
    const struct {
        const char* what;
        std::string keys;
        int framesInScene;  // updates after which the system is still there
    } rows[] = {
        {"no particles", "[PARTICLE_SCRIPT] " + particle + "\n[NUM_PARTICLES] 0", 0},
        {"negative particle count", "[PARTICLE_SCRIPT] " + particle + "\n[NUM_PARTICLES] -3\n[LIFE_SPAN] 5", 0},
        {"no script keys at all", "", 0},
        {"more particles than the engine holds", "[PARTICLE_SCRIPT] " + particle + "\n[NUM_PARTICLES] 10001", 0},
        {"two particles, no life span", "[PARTICLE_SCRIPT] " + particle + "\n[NUM_PARTICLES] 2", 2},  // die at 0.75 s
        {"two particles, a one second span", "[PARTICLE_SCRIPT] " + particle + "\n[NUM_PARTICLES] 2\n[LIFE_SPAN] 1", 5},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        scenes()->clearScene();
        ASSERT_EQ(scenes()->doItAll(writeSystem("s", row.keys).c_str()), QNRSLT_OK);
        ASSERT_EQ(scenes()->getObjectCount(), 1);
        for (int i = 0; i < row.framesInScene; ++i) {
            frame(0.25);
            ASSERT_EQ(scenes()->getObjectCount(), 1) << "frame " << i + 1;
        }
        frame(0.25);
        EXPECT_EQ(scenes()->getObjectCount(), 0);
    }
    // A missing, negative or too large count is reported, once each at initialize.
    std::vector<LogRow> log = logRows();
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const LogRow& r) { return r.location == "CQNBaseParticleSys::initialize( )"; }),
              3);
}

TEST_F(ParticleSys, ParticlesWithoutAModelNeverDie) {
    // Such a particle reports nothing, so the system stays.
    auto sys = make(writeSystem("ghosts", "[PARTICLE_SCRIPT] Assets\\Scripts\\Base Objects\\gone.base\n"
                                          "[NUM_PARTICLES] 3"));
    ASSERT_NE(sys, nullptr);
    for (int i = 0; i < 20; ++i) {
        tick(0.5);
        sys->update();
    }
    EXPECT_EQ(sys->m_deadCount, 0);
    EXPECT_FALSE(sys->m_remove);
}

TEST_F(ParticleSys, FramesAllocateNothing) {
    std::srand(5);
    const std::string particle = writeParticle(
        "fizz", "[RANGE_DIRECTION] -3 3 -3 3 -3 3\n[GRAVITY] -9.8\n[RANGE_LIFESPAN] 0.2 0.6");
    scenes()->doItAll(writeSystem("fizz", "[PARTICLE_SCRIPT] " + particle +
                                              "\n[NUM_PARTICLES] 50\n[LIFE_SPAN] 100").c_str());
    frame(0.1);
    const unsigned before = getAllocationCount();
    for (int i = 0; i < 60; ++i) frame(0.05);  // many deaths and respawns
    EXPECT_EQ(getAllocationCount(), before);
    ASSERT_EQ(scenes()->getObjectCount(), 1);
}

}  // namespace
