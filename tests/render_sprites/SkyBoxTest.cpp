// The sky box: drawn at the camera's eye without depth, behind nothing, and
// the device state it leaves.
#include <gtest/gtest.h>

#include "DX_Camera.h"
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
    IDirect3DTexture9* texture(const char* path) {
        int32_t id = -1;
        CDX_TextureManager::getInstance()->loadTexture(path, &id);
        CDX_Texture* t = CDX_TextureManager::getInstance()->getTextureByID(id);
        return t ? t->getTexture() : nullptr;
    }
};

TEST_F(SkyBox, DrawnAtTheEyeOverWhatCameBefore) {
    writePng("Assets\\Textures\\red.png", 16, 16, kRed);
    writePng("Assets\\Textures\\blue.png", 16, 16, kBlue);
    // A red sprite at the origin, drawn first with depth.
    std::unique_ptr<CQNBaseRend> sprite = makeSprite(
        "red", "[TEXTURE] Assets\\Textures\\red.png\n[SIZING] USER_DEFINED [DIMENSIONS] 40 40");
    // The sky: a wall 300 units in front of its origin, which is far behind
    // the sprite once the origin is the eye; its script puts it elsewhere.
    zvtestsupport::writeFile("Assets\\Scripts\\Base Objects\\sky.base",
                             "[CLASS_TYPE] CQNBaseRendSkyBox\n[TRANSLATION] 3000 0 0\n");
    CQNBaseRendSkyBox sky;
    sky.initialize("Assets\\Scripts\\Base Objects\\sky.base");
    EXPECT_FLOAT_EQ(sky.m_translation.x, 3000.0f);
    FacesModel* wall = new FacesModel(texture("Assets\\Textures\\blue.png"),
                                      {{{0, 0, -300}, {2000, 0, 0}, {0, 2000, 0}}});
    sky.m_model = wall;

    struct Eye {
        float x, y, z;
    } eyes[] = {{0, 0, 190}, {10, 20, 250}};
    for (const Eye& eye : eyes) {
        setEye(eye.x, eye.y, eye.z);
        drawFrame({sprite.get()});
        ASSERT_TRUE(near(400, 300, kRed)) << "the sprite alone: " << rgb(400, 300);
        drawFrame({sprite.get(), &sky});
        EXPECT_FLOAT_EQ(wall->seenTranslation[0], eye.x);
        EXPECT_FLOAT_EQ(wall->seenTranslation[1], eye.y);
        EXPECT_FLOAT_EQ(wall->seenTranslation[2], eye.z);
        EXPECT_FLOAT_EQ(sky.m_translation.z, eye.z) << "the translation is replaced";
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
        CQNGameState::getInstance()->m_envMaps = row.envMaps;
        CQNBaseRendSkyBox sky;
        FacesModel* wall = new FacesModel(nullptr, {{{0, 0, -300}, {2000, 0, 0}, {0, 2000, 0}}});
        sky.m_model = wall;
        beginFrame();
        EXPECT_EQ(sky.render(), QNRSLT_OK) << row.why;
        device()->EndScene();
        EXPECT_EQ(wall->renders, 1) << row.why;
        struct Expect {
            D3DRENDERSTATETYPE state;
            DWORD value;
        } states[] = {{D3DRS_ZENABLE, D3DZB_TRUE}, {D3DRS_LIGHTING, TRUE}, {D3DRS_ALPHABLENDENABLE, FALSE}};
        for (const Expect& e : states) {
            DWORD v = 0;
            device()->GetRenderState(e.state, &v);
            EXPECT_EQ(v, e.value) << row.why << ", render state " << e.state;
        }
        DWORD v = 0;
        device()->GetTextureStageState(1, D3DTSS_COLOROP, &v);
        EXPECT_EQ(v, row.colorOp) << row.why;
        device()->GetTextureStageState(1, D3DTSS_ALPHAOP, &v);
        EXPECT_EQ(v, row.alphaOp) << row.why;
        if (row.envMaps) {
            device()->GetTextureStageState(1, D3DTSS_COLORARG1, &v);
            EXPECT_EQ(v, static_cast<DWORD>(D3DTA_TEXTURE));
            device()->GetTextureStageState(1, D3DTSS_COLORARG2, &v);
            EXPECT_EQ(v, static_cast<DWORD>(D3DTA_CURRENT));
            device()->GetTextureStageState(1, D3DTSS_ALPHAARG1, &v);
            EXPECT_EQ(v, static_cast<DWORD>(D3DTA_DIFFUSE));
        }
    }
}

}  // namespace
