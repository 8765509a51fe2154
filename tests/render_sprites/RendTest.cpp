// The renderable's keys, its model's life and what it passes on.
#include <gtest/gtest.h>

#include "QNBaseRend.h"
#include "QNModelSprite.h"
#include "RenderFixture.h"

namespace {

// A model that answers what the test tells it and counts its calls.
class FakeModel : public CQNModel {
public:
    QNRESULT update(float*) override { return updateResult; }
    QNRESULT render(float* t) override { seen = t; return QNRSLT_D3DFAILED; }
    QNRESULT reset() override { ++resets; return 0; }
    QNRESULT updateResult = 0;
    int resets = 0;
    float* seen = nullptr;
};

class Renderable : public RenderFixture {};

TEST_F(Renderable, ModelTypeWords) {
    zvtestsupport::writeFile("Assets\\Scripts\\Models\\m.model", "[SIZING] USER_DEFINED [DIMENSIONS] 3 4\n");
    struct Row {
        const char* why;
        const char* keys;
        bool model;
    } rows[] = {
        {"SPRITE creates a sprite", "[MODEL_TYPE] SPRITE", true},
        {"MESH creates a mesh model", "[MODEL_TYPE] MESH", true},
        {"lower case is another word", "[MODEL_TYPE] sprite", false},
        {"a model script without a type is ignored", "", false},
    };
    for (const Row& row : rows) {
        zvtestsupport::writeFile("Assets\\Scripts\\Base Objects\\r.base",
                                 std::string(row.keys) + "\n[MODEL_SCRIPT] Assets\\Scripts\\Models\\m.model\n");
        CQNBaseRend rend;
        EXPECT_EQ(rend.initialize("Assets\\Scripts\\Base Objects\\r.base"), QNRSLT_OK) << row.why;
        EXPECT_EQ(rend.m_model != nullptr, row.model) << row.why;
        EXPECT_EQ(rend.update(), QNRSLT_OK) << row.why;
        EXPECT_EQ(rend.render(), QNRSLT_OK) << row.why;
    }
}

TEST_F(Renderable, ModelReadsItsScriptWhereverTheKeysStand) {
    // The model script comes before the type and the transform keys around
    // them; a type without a script leaves the model uninitialised.
    writePng("Assets\\Textures\\my tex.png", 4, 4, {0, 0, 255});
    zvtestsupport::writeFile("Assets\\Scripts\\Base Objects\\my sprite.model",
                             "[TEXTURE] Assets\\Textures\\my tex.png\n[SIZING] USER_DEFINED [DIMENSIONS] 3 4\n");
    zvtestsupport::writeFile("Assets\\Scripts\\Base Objects\\r.base",
                             "[TRANSLATION] { 1, 2, 3 }\n[MODEL_SCRIPT] Assets\\Scripts\\Base Objects\\my sprite.model\n"
                             "[MODEL_TYPE] SPRITE\n[SCALE] 4 5 6\n");
    zvtestsupport::writeFile("Assets\\Scripts\\Base Objects\\bare.base", "[MODEL_TYPE] SPRITE\n");
    CQNBaseRend rend, bare;
    rend.initialize("Assets\\Scripts\\Base Objects\\r.base");
    bare.initialize("Assets\\Scripts\\Base Objects\\bare.base");
    CQNModelSprite* sprite = static_cast<CQNModelSprite*>(rend.m_model);
    ASSERT_NE(sprite, nullptr);
    EXPECT_STREQ(rend.getTextureName(), "Assets\\Textures\\my tex.png") << "path with blanks taken whole";
    EXPECT_FLOAT_EQ(sprite->m_dimensions.x, 3.0f);
    EXPECT_GE(sprite->m_textureId, 0);
    EXPECT_FLOAT_EQ(rend.transform()[2], 3.0f);
    EXPECT_FLOAT_EQ(rend.transform()[7], 5.0f) << "nine floats in a row";
    CQNModelSprite* empty = static_cast<CQNModelSprite*>(bare.m_model);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->m_vertexBuffer, nullptr);
    EXPECT_EQ(empty->m_textureId, -1);
}

TEST_F(Renderable, ResultsPassedOn) {
    struct Row {
        const char* why;
        QNRESULT model, update;
    } rows[] = {
        {"a particle's end of life is passed on", QNRSLT_REMOVEOBJECT, QNRSLT_REMOVEOBJECT},
        {"a failure is passed on", QNRSLT_D3DFAILED, QNRSLT_D3DFAILED},
        {"a negative result becomes 0", -3, QNRSLT_OK},
    };
    for (const Row& row : rows) {
        CQNBaseRend rend;
        FakeModel* model = new FakeModel;
        rend.m_model = model;
        model->updateResult = row.model;
        EXPECT_EQ(rend.update(), row.update) << row.why;
        EXPECT_EQ(rend.render(), QNRSLT_OK) << "render always answers 0";
        EXPECT_EQ(model->seen, rend.transform()) << "the transform is the renderable's own";
        rend.resetModel();
        EXPECT_EQ(model->resets, 1);
        EXPECT_EQ(rend.release(), QNRSLT_OK);
        EXPECT_EQ(rend.release(), QNRSLT_OK) << "twice is harmless";
        EXPECT_EQ(rend.resetModel(), QNRSLT_OK);
    }
}

}  // namespace
