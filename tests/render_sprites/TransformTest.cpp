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
    D3DXMATRIX world() {
        D3DXMATRIX m;
        device()->GetTransform(D3DTS_WORLD, &m);
        return m;
    }
};

void expectVector(const D3DXVECTOR3& got, const D3DXVECTOR3& want, const char* why) {
    EXPECT_NEAR(got.x, want.x, 1e-4f) << why;
    EXPECT_NEAR(got.y, want.y, 1e-4f) << why;
    EXPECT_NEAR(got.z, want.z, 1e-4f) << why;
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
        {"(0,90,0) x (2,1,1): local y unchanged", {0, 0, 0, 0, 90, 0, 2, 1, 1}, {0, 1, 0}, {0, 1, 0}, false},
        {"(90,0,90): x rotation first takes y to +z", {0, 0, 0, 90, 0, 90, 1, 1, 1}, {0, 1, 0}, {0, 0, 1}, false},
        {"(90,0,90): then z rotation takes x to +y", {0, 0, 0, 90, 0, 90, 1, 1, 1}, {1, 0, 0}, {0, 1, 0}, false},
        {"translation moves the origin last", {5, 6, 7, 0, 90, 0, 2, 1, 1}, {0, 0, 1}, {7, 6, 7}, true},
    };
    ExposedModel model;
    for (const Row& row : rows) {
        EXPECT_EQ(model._applyTransforms(row.transform), QNRSLT_OK) << row.why;
        D3DXMATRIX m = world();
        D3DXVECTOR3 got;
        if (row.point)
            D3DXVec3TransformCoord(&got, &row.local, &m);
        else
            D3DXVec3TransformNormal(&got, &row.local, &m);
        expectVector(got, row.world, row.why);
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
        setEye(row.eye.x, row.eye.y, row.eye.z);
        EXPECT_EQ(model._applyTransformsBillboard(row.transform), QNRSLT_OK) << row.why;
        D3DXMATRIX worldView;
        D3DXMATRIX m = world();
        D3DXMatrixMultiply(&worldView, &m, CDX_Camera::getInstance()->getViewMatrix());
        D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0), z(0, 0, 1), got;
        D3DXVec3TransformNormal(&got, &x, &worldView);
        expectVector(got, D3DXVECTOR3(2, 0, 0), row.why);  // right, twice as long
        D3DXVec3TransformNormal(&got, &y, &worldView);
        expectVector(got, D3DXVECTOR3(0, 1, 0), row.why);  // up
        D3DXVec3TransformNormal(&got, &z, &worldView);
        expectVector(got, D3DXVECTOR3(0, 0, 1), row.why);  // back towards the eye
    }
}

TEST_F(WorldTransforms, NullBillboardTransformIsReported) {
    ExposedModel model;
    D3DXMATRIX before = world();
    EXPECT_EQ(model._applyTransformsBillboard(nullptr), QNRSLT_INVALIDPARAM);
    D3DXMATRIX after = world();
    EXPECT_EQ(0, memcmp(&before, &after, sizeof before)) << "nothing set on the device";
    std::vector<LogRow> rows = logRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].define, "QNRSLT_INVALIDPARAM");
    EXPECT_EQ(rows[0].location, "_applyTransformsBillboard( )");
    EXPECT_EQ(rows[0].info, "--");
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
    EXPECT_NEAR(static_cast<double>(across.count) / down.count, 2.0, 0.05)
        << across.count << " x " << down.count;
}

}  // namespace
