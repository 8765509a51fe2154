// The sprite particle: flight under gravity, random ranges in steps of
// 0.001, colour stages and the alpha fade, reset, and lives of no length.
#include <cmath>
#include <cstdlib>
#include <memory>

#include "ParticleFixture.h"
#include "QNBaseRend.h"
#include "QNModelSpriteParticle.h"

namespace {

class SpriteParticle : public ParticleFixture {
protected:
    // A particle model initialised from keys (no device: the sprite's vertex
    // buffer is missing, which the moving and colouring do not need).
    std::unique_ptr<CQNModelSpriteParticle> make(const std::string& keys) {
        std::unique_ptr<CQNModelSpriteParticle> p(new CQNModelSpriteParticle);
        p->initialize(writeModel("p", keys).c_str());
        return p;
    }
};

void expectColor(const CQNModelSpriteParticle& p, float r, float g, float b, float a, const char* what) {
    SCOPED_TRACE(what);
    EXPECT_NEAR(p.m_color.r, r, 1e-4);
    EXPECT_NEAR(p.m_color.g, g, 1e-4);
    EXPECT_NEAR(p.m_color.b, b, 1e-4);
    EXPECT_NEAR(p.m_color.a, a, 1e-4);
    // The material follows the colour: emissive r g b, diffuse alpha.
    EXPECT_FLOAT_EQ(p.m_material.Emissive.r, p.m_color.r);
    EXPECT_FLOAT_EQ(p.m_material.Emissive.g, p.m_color.g);
    EXPECT_FLOAT_EQ(p.m_material.Emissive.b, p.m_color.b);
    EXPECT_FLOAT_EQ(p.m_material.Diffuse.a, p.m_color.a);
}

TEST_F(SpriteParticle, StraightUpThrowUnderGravity) {
    auto p = make("[RANGE_DIRECTION] 0 0 5 5 0 0\n[GRAVITY] -10\n[RANGE_LIFESPAN] 10 10");
    float transform[9] = {3, 4, 5, 0, 0, 0, 1, 1, 1};
    // Velocity first, then position: y(n) = 4 + 0.5 n - 0.05 n (n + 1) with
    // frames of 0.1 s. It rises for half a second, then falls.
    const struct {
        int frames;
        float y, vy;
    } rows[] = {{1, 4.4f, 4.0f}, {4, 5.0f, 1.0f}, {5, 5.0f, 0.0f}, {10, 3.5f, -5.0f}, {20, -7.0f, -15.0f}};
    int done = 0;
    for (const auto& row : rows) {
        for (; done < row.frames; ++done) {
            tick(0.1);
            ASSERT_EQ(p->update(transform), QNRSLT_OK);
        }
        SCOPED_TRACE(row.frames);
        EXPECT_NEAR(transform[1], row.y, 1e-4);
        EXPECT_NEAR(p->m_velocity.y, row.vy, 1e-4);
        EXPECT_FLOAT_EQ(transform[0], 3);
        EXPECT_FLOAT_EQ(transform[2], 5);
    }
    // Rotation and scale are never touched.
    for (int i = 3; i < 9; ++i) EXPECT_FLOAT_EQ(transform[i], i < 6 ? 0.0f : 1.0f);
}

TEST_F(SpriteParticle, RandomRangesComeInStepsOfOneThousandth) {
    const struct {
        const char* keys;
        bool life;       // sample the life, else the x velocity
        float lo, hi;    // values lie in [lo, hi)
        float maxLife;
    } rows[] = {
        {"[RANGE_LIFESPAN] 1 3", true, 1.0f, 3.0f, 3.0f},
        // Reversed: above min, as far as the span is wide.
        {"[RANGE_LIFESPAN] 3 1", true, 3.0f, 5.0f, 1.0f},
        // Wider than 32.767: only the first 32.767 units.
        {"[RANGE_DIRECTION] 0 100 0 0 0 0", false, 0.0f, 32.767f, 0.0f},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.keys);
        std::srand(1234);
        auto p = make(row.keys);
        float lowest = 1e9f, highest = -1e9f;
        for (int i = 0; i < 3000; ++i) {
            const float v = row.life ? p->m_life : p->m_velocity.x;
            ASSERT_GE(v, row.lo - 1e-5f);
            ASSERT_LT(v, row.hi - 0.0005f);
            ASSERT_NEAR(v * 1000.0, std::round(v * 1000.0), 0.01) << v;
            lowest = std::min(lowest, v);
            highest = std::max(highest, v);
            p->reset();
        }
        EXPECT_LT(lowest, row.lo + (row.hi - row.lo) * 0.02f);
        EXPECT_GT(highest, row.hi - (row.hi - row.lo) * 0.02f);
        if (row.life) {
            EXPECT_FLOAT_EQ(p->m_maxLife, row.maxLife);
        }
    }
}

TEST_F(SpriteParticle, EmptyRangesGiveTheirValue) {
    auto exact = make("[RANGE_LIFESPAN] 2 2\n[RANGE_DIRECTION] 1.5 1.5 -2 -2 0 0");
    EXPECT_FLOAT_EQ(exact->m_life, 2.0f);
    EXPECT_FLOAT_EQ(exact->m_velocity.x, 1.5f);
    EXPECT_FLOAT_EQ(exact->m_velocity.y, -2.0f);
}

TEST_F(SpriteParticle, ColourStagesAndAlphaFade) {
    // Stage 1's alpha plays no part: opacity runs from stage 0 to stage 2
    // over the particle's own life.
    auto p = make("[MATERIAL] 0.1 0.1 0.1 0.1\n[RANGE_LIFESPAN] 2 2\n"
                  "[COLOR_STAGES] { 1 0 0 1 } { 0 1 0 0.2 } { 0 0 1 0 }");
    expectColor(*p, 1, 0, 0, 1, "start: stage 0 replaces the material");
    float transform[9] = {0, 0, 0, 0, 0, 0, 1, 1, 1};
    const struct {
        double t;
        int stage;
        float r, g, b, a;
        QNRESULT result;
    } rows[] = {
        {0.25, 0, 0.75f, 0.25f, 0, 0.875f, QNRSLT_OK},
        {1.0, 0, 0, 1, 0, 0.5f, QNRSLT_OK},  // not yet more than half the max life
        {1.25, 1, 0, 0.75f, 0.25f, 0.375f, QNRSLT_OK},
        {2.0, 1, 0, 0, 1, 0, QNRSLT_OK},
        {2.25, 2, 0, 0, 1, 0, QNRSLT_REMOVEOBJECT},
    };
    double t = 0;
    for (const auto& row : rows) {
        QNRESULT result = QNRSLT_OK;
        for (; t < row.t - 1e-9; t += 0.25) {
            tick(0.25);
            result = p->update(transform);
        }
        char what[32];
        std::snprintf(what, sizeof what, "t = %.2f", row.t);
        SCOPED_TRACE(what);
        EXPECT_EQ(p->m_colorStage, row.stage);
        EXPECT_EQ(result, row.result);
        expectColor(*p, row.r, row.g, row.b, row.a, what);
    }
}

TEST_F(SpriteParticle, OpacityFadesOverEachRandomLife) {
    std::srand(7);
    auto p = make("[RANGE_LIFESPAN] 1 3\n[COLOR_STAGES] 1 1 1 1  1 1 1 0.9  1 1 1 0");
    float transform[9] = {};
    for (int life = 0; life < 4; ++life) {
        const float span = p->m_life;
        for (int i = 1; i <= 4; ++i) {
            tick(0.2);
            p->update(transform);
            EXPECT_NEAR(p->m_color.a, 1.0 - 0.2 * i / span, 1e-4) << "life " << span;
        }
        p->reset();
    }
}

TEST_F(SpriteParticle, ResetStartsANewLifeWhereTheParticleIs) {
    std::srand(3);
    const std::string path = writeParticle(
        "spark", "[RANGE_DIRECTION] 1 1 2 2 0 0\n[RANGE_LIFESPAN] 1 3\n[COLOR_STAGES] 1 0 0 1 0 1 0 1 0 0 1 1",
        "[TRANSLATION] 10 20 30");
    CQNBaseRend rend;
    rend.initialize(path.c_str());
    CQNModelSpriteParticle* p = model(rend);
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 8; ++i) {
        tick(0.25);
        rend.update();
    }
    ASSERT_EQ(p->m_colorStage, 1);
    const QNVector3 moved = rend.m_translation;
    EXPECT_FLOAT_EQ(moved.x, 12);
    EXPECT_FLOAT_EQ(moved.y, 24);

    EXPECT_EQ(rend.resetModel(), QNRSLT_OK);
    EXPECT_EQ(p->m_colorStage, 0);
    expectColor(*p, 1, 0, 0, 1, "after reset");
    EXPECT_EQ(p->m_lifeTimer.getElapsed(), 0.0);
    EXPECT_FLOAT_EQ(rend.m_translation.y, moved.y);
    // The new life flies on from there.
    tick(0.5);
    EXPECT_EQ(rend.update(), QNRSLT_OK);
    EXPECT_FLOAT_EQ(rend.m_translation.x, moved.x + 0.5f);
}

TEST_F(SpriteParticle, AFrameOfNoTimeChangesNothing) {
    auto p = make("[RANGE_DIRECTION] 1 1 5 5 0 0\n[GRAVITY] -10\n[RANGE_LIFESPAN] 2 2\n"
                  "[COLOR_STAGES] 1 0 0 1 0 1 0 1 0 0 1 0");
    float transform[9] = {};
    tick(0.3);
    p->update(transform);
    const float g = p->m_color.g, a = p->m_color.a, x = transform[0], y = transform[1];
    tick(0.0);
    EXPECT_EQ(p->update(transform), QNRSLT_OK);
    EXPECT_EQ(transform[0], x);
    EXPECT_EQ(transform[1], y);
    EXPECT_EQ(p->m_color.g, g);
    EXPECT_EQ(p->m_color.a, a);
}

TEST_F(SpriteParticle, ALifeOfNoLengthEndsAtOnceWithItsStartingColour) {
    const struct {
        const char* what;
        const char* keys;  // null: no script at all
        float r, g, b, a;
    } rows[] = {
        {"range 0 0", "[RANGE_LIFESPAN] 0 0\n[COLOR_STAGES] 0.2 0.4 0.6 0.8 1 1 1 1 0 0 0 0", 0.2f, 0.4f, 0.6f, 0.8f},
        {"missing script", nullptr, 1, 1, 1, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::unique_ptr<CQNModelSpriteParticle> p(new CQNModelSpriteParticle);
        p->initialize(row.keys ? writeModel("zero", row.keys).c_str() : "Assets\\Scripts\\Models\\none.model");
        EXPECT_FLOAT_EQ(p->m_life, 0.0f);
        float transform[9] = {1, 2, 3, 0, 0, 0, 1, 1, 1};
        for (int i = 0; i < 3; ++i) {
            tick(0.1);
            EXPECT_EQ(p->update(transform), QNRSLT_REMOVEOBJECT);
        }
        for (float rate : {p->m_colorRate.r, p->m_colorRate.g, p->m_colorRate.b, p->m_colorRate.a})
            EXPECT_TRUE(std::isfinite(rate));
        expectColor(*p, row.r, row.g, row.b, row.a, row.what);
        EXPECT_FLOAT_EQ(transform[0], 1);
        EXPECT_FLOAT_EQ(transform[1], 2);
    }
}

}  // namespace
