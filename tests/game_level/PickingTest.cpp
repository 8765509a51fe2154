// The pointer in centred screen units, the line through it, and which block
// centres that line passes close enough to be hit.
#include <cfloat>

#include "DX_Camera.h"
#include "DX_D3DWrapper.h"
#include "LevelFixture.h"
#include "QNBaseRend.h"
#include "ZVBaseLevel.h"
#include "ZVMouse.h"
#include "testing/PlatformTesting.h"

namespace {

class LevelPicking : public LevelFixture {};

TEST_F(LevelPicking, PointerMapsToCentredUnitsFromTheWindowCorner) {
    // The window was asked for at (100, 50); the layer places it there
    // whether or not a display exists.
    const struct {
        float width, height;  // of the back buffer
        int px, py;
        float x, y;
    } rows[] = {
        {800, 600, 400, 300, 0, 0},     {800, 600, 0, 0, -400, 300},       {800, 600, 799, 599, 399, -299},
        {800, 600, -20, 700, -420, -400},  // not clamped
        {801, 601, 400, 300, 0, 0},        // odd sizes truncate the half: 400 + T(-400.5)
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "pointer " << row.px << "," << row.py << " on " << row.width);
        CDX_D3DWrapper::getInstance()->m_width = row.width;
        CDX_D3DWrapper::getInstance()->m_height = row.height;
        zvtest::setPointer(row.px, row.py);
        POINT screen;
        ASSERT_TRUE(GetCursorPos(&screen));
        EXPECT_EQ(screen.x, kWindowX + row.px);
        EXPECT_EQ(screen.y, kWindowY + row.py);
        float x = -1, y = -1;
        getCursorPosition(&x, &y);
        EXPECT_EQ(x, row.x);
        EXPECT_EQ(y, row.y);
    }
}

TEST_F(LevelPicking, LineTestHitsOnlyInsideTheRadius) {
    const D3DXVECTOR3 origin(0, 0, 100), down(0, 0, -1);
    const struct {
        D3DXVECTOR3 centre;
        bool hit;
        float distance;
    } rows[] = {
        {D3DXVECTOR3(0, 0, 0), true, 0.0f},
        {D3DXVECTOR3(15.99f, 0, 0), true, 15.99f},
        {D3DXVECTOR3(16.0f, 0, 0), false, FLT_MAX},
        {D3DXVECTOR3(0, -16.0f, -50), false, FLT_MAX},
        {D3DXVECTOR3(3, 4, 500), true, 5.0f},  // behind the origin: the whole line counts
    };
    for (const auto& row : rows) {
        float distance = -1.0f;
        EXPECT_EQ(rayHitsSphere(origin, down, row.centre, 16.0f, &distance), row.hit)
            << row.centre.x << "," << row.centre.y << "," << row.centre.z;
        EXPECT_FLOAT_EQ(distance, row.distance);
    }
}

// For every board camera, the line through the screen position of each
// block centre passes that centre, and no neighbour is within reach of it.
TEST_F(LevelPicking, BoardCamerasPickEveryBlockCentre) {
    const struct {
        int width, height;
        float eyeX, eyeZ;
    } boards[] = {{3, 3, -15, 110}, {5, 4, -17, 130}, {6, 5, -20, 160}, {1, 5, -20, 160}};
    for (const auto& board : boards) {
        SCOPED_TRACE(testing::Message() << board.width << "x" << board.height);
        writeLevel(1, levelText(board.width, board.height, "", 599999, 3, 999));
        CZVBaseLevel level;
        ASSERT_EQ(level.loadLevelFromFile(levelPath(1).c_str()), QNRSLT_OK);
        CDX_Camera* camera = CDX_Camera::getInstance();
        EXPECT_EQ(camera->m_eyePos, D3DXVECTOR3(board.eyeX, 0, board.eyeZ));
        EXPECT_EQ(camera->m_lookPos, D3DXVECTOR3(board.eyeX, 0, 0));
        for (int i = 0; i < board.width; ++i) {
            for (int j = 0; j < board.height; ++j) {
                const D3DXVECTOR2 p = blockPixel(level, i, j);
                D3DXVECTOR3 direction, origin;
                computePickRay(p.x - 400.0f, 300.0f - p.y, &direction, &origin);
                EXPECT_EQ(origin, camera->m_eyePos);
                const QNVector3& t = level.m_blocks[j * board.width + i].m_rend->m_translation;
                float distance = -1;
                EXPECT_TRUE(rayHitsSphere(origin, direction, D3DXVECTOR3(t.x, t.y, t.z), 16.0f, &distance));
                EXPECT_NEAR(distance, 0.0f, 1e-3f) << "block " << i << "," << j;
                // A centre 32 units along the board is out of reach.
                EXPECT_FALSE(rayHitsSphere(origin, direction, D3DXVECTOR3(t.x + 32, t.y, t.z), 16.0f, &distance));
                EXPECT_FALSE(rayHitsSphere(origin, direction, D3DXVECTOR3(t.x, t.y - 32, t.z), 16.0f, &distance));
            }
        }
    }
}

TEST_F(LevelPicking, BlocksSitOnTheGridCentredOnTheOrigin) {
    zvtestsupport::writeFile("Assets\\Scripts\\Base Objects\\zv.defblock.base",
                             "[MODEL_TYPE] NONE\n[TRANSLATION] 99 99 -7\n");
    writeLevel(1, levelText(3, 2, "", 599999, 3, 999));
    CZVBaseLevel level;
    ASSERT_EQ(level.loadLevelFromFile(levelPath(1).c_str()), QNRSLT_OK);
    for (int k = 0; k < 6; ++k) {
        const QNVector3& t = level.m_blocks[k].m_rend->m_translation;
        EXPECT_EQ(t.x, -32.0f + 32 * (k % 3));
        EXPECT_EQ(t.y, -16.0f + 32 * (k / 3));
        EXPECT_EQ(t.z, -7.0f) << "depth as the block's script gave it";
    }
}

}  // namespace
