// World matrices of ordinary and billboarded models, read back from the device,
// and a rotated, stretched sprite seen on screen.
#include <gtest/gtest.h>

#include <d3dx9.h>

#include "DX_Camera.h"
#include "QNBaseRend.h"
#include "QNModel.h"
#include "RenderFixture.h"

namespace {

class ExposedModel : public CQNModel {
public:
    using CQNModel::_applyTransforms;
    using CQNModel::_applyTransformsBillboard;
};

class WorldTransforms : public RenderFixture {
protected:
    // A direction (or with `point`, a point) through the device's world
    // matrix, and with `view` the camera's view after it.
    D3DXVECTOR3 transformed(D3DXVECTOR3 v, bool point = false, bool view = false) {
        D3DXMATRIX m;
        device()->GetTransform(D3DTS_WORLD, &m);
        if (view) D3DXMatrixMultiply(&m, &m, CDX_Camera::getInstance()->getViewMatrix());
        D3DXVECTOR3 out;
        if (point) D3DXVec3TransformCoord(&out, &v, &m);
        else D3DXVec3TransformNormal(&out, &v, &m);
        return out;
    }
};

void expectVector(const D3DXVECTOR3& got, const D3DXVECTOR3& want) {
    EXPECT_NEAR(got.x, want.x, 1e-4f);
    EXPECT_NEAR(got.y, want.y, 1e-4f);
    EXPECT_NEAR(got.z, want.z, 1e-4f);
}

TEST_F(WorldTransforms, RotateAboutXThenYThenZThenScaleAlongWorldAxesThenMove) {
    struct Row {
        const char* why;
        float transform[9];
        D3DXVECTOR3 local, world;
        bool point;
    } rows[] = {
        {"(0,90,0) x (2,1,1): local x along -z, length 1", {0, 0, 0, 0, 90, 0, 2, 1, 1}, {1, 0, 0}, {0, 0, -1}, false},
        {"(0,90,0) x (2,1,1): local z along +x, length 2", {0, 0, 0, 0, 90, 0, 2, 1, 1}, {0, 0, 1}, {2, 0, 0}, false},
        {"(90,0,90): x rotation first takes y to +z", {0, 0, 0, 90, 0, 90, 1, 1, 1}, {0, 1, 0}, {0, 0, 1}, false},
        {"(90,0,90): then z rotation takes x to +y", {0, 0, 0, 90, 0, 90, 1, 1, 1}, {1, 0, 0}, {0, 1, 0}, false},
        {"translation moves the origin last", {5, 6, 7, 0, 90, 0, 2, 1, 1}, {0, 0, 1}, {7, 6, 7}, true},
    };
    ExposedModel model;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(model._applyTransforms(row.transform), QNRSLT_OK);
        expectVector(transformed(row.local, row.point), row.world);
    }
}

TEST_F(WorldTransforms, BillboardTurnsLocalAxesIntoTheCameraAxes) {
    struct Row {
        const char* why;
        D3DXVECTOR3 eye;
        float transform[9];
    } rows[] = {
        {"default camera, rotation ignored", {0, 0, 190}, {0, 0, 0, 45, 45, 45, 2, 1, 1}},
        {"camera above right", {120, 60, 140}, {0, 0, 0, 45, 45, 45, 2, 1, 1}},
        {"camera behind", {-150, 0, -100}, {0, 0, 0, 0, 90, 0, 2, 1, 1}},
    };
    ExposedModel model;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        setEye(row.eye.x, row.eye.y, row.eye.z);
        EXPECT_EQ(model._applyTransformsBillboard(row.transform), QNRSLT_OK);
        expectVector(transformed({1, 0, 0}, false, true), {2, 0, 0});  // right, twice as long
        expectVector(transformed({0, 1, 0}, false, true), {0, 1, 0});  // up
        expectVector(transformed({0, 0, 1}, false, true), {0, 0, 1});  // back towards the eye
    }
    EXPECT_EQ(model._applyTransformsBillboard(nullptr), QNRSLT_INVALIDPARAM);
    std::vector<LogRow> log = logRows();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].location, "_applyTransformsBillboard( )");
}

TEST_F(WorldTransforms, TurnedStretchedSpriteOnScreen) {
    // A 40 x 20 quad turned to face +x and scaled (2, 1, 1) along the world
    // axes: edge-on from +z; from +x its width stays 40 (the scale acts on
    // world x, which the turned quad does not extend along).
    writePng("Assets\\Textures\\red.png", 16, 16, {255, 0, 0});
    std::unique_ptr<CQNBaseRend> rend = makeSprite(
        "turned", "[TEXTURE] Assets\\Textures\\red.png\n[SIZING] USER_DEFINED [DIMENSIONS] 20 10\n[BILLBOARDING] FALSE",
        "[ROTATION] 0 90 0\n[SCALE] 2 1 1");
    drawFrame({rend.get()});
    EXPECT_LE(rowRun(300, {255, 0, 0}).count, 2) << "edge-on from the default camera";
    setEye(190, 0, 0);
    drawFrame({rend.get()});
    Span across = rowRun(300, {255, 0, 0}), down = columnRun(400, {255, 0, 0});
    ASSERT_GT(down.count, 20);
    EXPECT_NEAR(static_cast<double>(across.count) / down.count, 2.0, 0.05) << across.count << " x " << down.count;
}

}  // namespace
