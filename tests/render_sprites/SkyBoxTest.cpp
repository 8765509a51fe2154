// The sky box: drawn at the camera's eye without depth, behind nothing, and
// the device state it leaves.
#include <gtest/gtest.h>

#include "DX_TextureManager.h"
#include "QNBaseRendSkyBox.h"
#include "QNGameState.h"
#include "RenderFixture.h"
#include "TestModels.h"

namespace {

const Rgb kRed = {255, 0, 0};
const Rgb kBlue = {0, 0, 255};

class SkyBox : public RenderFixture {
protected:
    // A wall 300 units in front of the sky box's origin, which is far behind
    // anything near the scene's origin once the sky box's origin is the eye.
    static FacesModel* wall(IDirect3DTexture9* texture) {
        return new FacesModel(texture, {{{0, 0, -300}, {2000, 0, 0}, {0, 2000, 0}}});
    }
};

TEST_F(SkyBox, DrawnAtTheEyeOverWhatCameBefore) {
    writePng("Assets\\Textures\\red.png", 16, 16, kRed);
    writePng("Assets\\Textures\\blue.png", 16, 16, kBlue);
    std::unique_ptr<CQNBaseRend> sprite =
        makeSprite("red", "[TEXTURE] Assets\\Textures\\red.png\n[SIZING] USER_DEFINED [DIMENSIONS] 40 40");
    // Its script puts the sky box elsewhere; the eye replaces that.
    zvtestsupport::writeFile(spriteObjectPath("sky"), "[CLASS_TYPE] CQNBaseRendSkyBox\n[TRANSLATION] 3000 0 0\n");
    CQNBaseRendSkyBox sky;
    sky.initialize(spriteObjectPath("sky").c_str());
    int32_t id = -1;
    CDX_TextureManager::getInstance()->loadTexture("Assets\\Textures\\blue.png", &id);
    FacesModel* model = wall(CDX_TextureManager::getInstance()->getTextureByID(id)->getTexture());
    sky.m_model = model;

    const float eyes[][3] = {{0, 0, 190}, {10, 20, 250}};
    for (const auto& eye : eyes) {
        setEye(eye[0], eye[1], eye[2]);
        drawFrame({sprite.get()});
        ASSERT_TRUE(near(400, 300, kRed)) << "the sprite alone: " << rgb(400, 300);
        drawFrame({sprite.get(), &sky});  // the sprite first, with depth
        for (int k = 0; k < 3; ++k) EXPECT_FLOAT_EQ(model->seenTranslation[k], eye[k]);
        EXPECT_TRUE(near(400, 300, kBlue)) << "the sky covers the sprite: " << rgb(400, 300);
        EXPECT_TRUE(near(100, 100, kBlue)) << "and fills the view: " << rgb(100, 100);
    }
}

TEST_F(SkyBox, LeavesTheDefaultStatesAndStageOneAsTheSettingSays) {
    struct Row {
        const char* why;
        bool envMaps;
        DWORD colorOp, alphaOp;
    } rows[] = {
        {"environment maps on: the blend is restored", true, D3DTOP_BLENDCURRENTALPHA, D3DTOP_SELECTARG1},
        {"environment maps off: stage 1 stays disabled", false, D3DTOP_DISABLE, D3DTOP_DISABLE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        CQNGameState::getInstance()->m_envMaps = row.envMaps;
        CQNBaseRendSkyBox sky;
        FacesModel* model = wall(nullptr);
        sky.m_model = model;
        beginFrame();
        EXPECT_EQ(sky.render(), QNRSLT_OK);
        endFrame();
        EXPECT_EQ(model->renders, 1);
        const struct {
            D3DRENDERSTATETYPE state;
            DWORD value;
        } states[] = {{D3DRS_ZENABLE, D3DZB_TRUE}, {D3DRS_LIGHTING, TRUE}, {D3DRS_ALPHABLENDENABLE, FALSE}};
        DWORD v = 0;
        for (const auto& e : states) {
            device()->GetRenderState(e.state, &v);
            EXPECT_EQ(v, e.value) << "render state " << e.state;
        }
        device()->GetTextureStageState(1, D3DTSS_COLOROP, &v);
        EXPECT_EQ(v, row.colorOp);
        device()->GetTextureStageState(1, D3DTSS_ALPHAOP, &v);
        EXPECT_EQ(v, row.alphaOp);
    }
}

}  // namespace
