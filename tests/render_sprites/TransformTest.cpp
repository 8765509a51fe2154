// The world matrix of a model, read back from the device: rotations about x,
// then y, then z, a scale along the world axes, then the move.
#include <gtest/gtest.h>

#include <d3dx9.h>

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
    // A direction (or with `point`, a point) through the device's world matrix.
    D3DXVECTOR3 transformed(D3DXVECTOR3 v, bool point) {
        D3DXMATRIX m;
        device()->GetTransform(D3DTS_WORLD, &m);
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
    EXPECT_EQ(model._applyTransformsBillboard(nullptr), QNRSLT_INVALIDPARAM);
    std::vector<LogRow> log = logRows();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].location, "_applyTransformsBillboard( )");
}

}  // namespace
