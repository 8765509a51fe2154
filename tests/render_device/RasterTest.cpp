// Where geometry lands: projection and pixel centres, culling and the depth
// test.
#include <cmath>

#include "DeviceTest.h"

namespace devtest {
namespace {

class Raster : public DeviceTest {
protected:
    // The filled rectangle [x0, x1) x [y0, y1): the pixels just inside each
    // edge are `inside`, those just outside are the background.
    void expectEdges(const Image& image, int x0, int y0, int x1, int y1, uint32_t inside, uint32_t outside) {
        int mx = (x0 + x1) / 2, my = (y0 + y1) / 2;
        const struct {
            int x, y;
            bool in;
            const char* where;
        } probes[] = {{x0, my, true, "left"},      {x0 - 1, my, false, "left"}, {x1 - 1, my, true, "right"},
                      {x1, my, false, "right"},    {mx, y0, true, "top"},       {mx, y0 - 1, false, "top"},
                      {mx, y1 - 1, true, "bottom"}, {mx, y1, false, "bottom"}};
        for (const auto& p : probes)
            EXPECT_TRUE(near(image.at(p.x, p.y), p.in ? inside : outside))
                << p.where << " edge, " << (p.in ? "inside" : "outside");
        EXPECT_TRUE(areaIs(image, x0 + 1, y0 + 1, x1 - 1, y1 - 1, inside));
    }
};

TEST_F(Raster, QuadsCoverExactlyTheirPixels) {
    // The engine's screen-space sprites: D3DXMatrixOrthoRH(800, 600, 0, 1),
    // centre origin, y up, one unit per pixel; and pre-transformed
    // rectangles. A pixel is in when its centre (integer coordinates in
    // Direct3D 9) is, left and top edges included.
    const struct {
        const char* name;
        bool screen;             // XYZRHW rectangle, else an ortho quad
        float x0, y0, x1, y1;    // quad, centred units or screen pixels
        D3DMATRIX world;
        int px0, py0, px1, py1;  // covered pixels
    } rows[] = {
        {"ortho, centred 200x100", false, -100, -50, 100, 50, identity(), 300, 250, 500, 350},
        {"ortho, moved right and down", false, -100, -50, 100, 50, translation(37, -21, 0), 337, 271, 537, 371},
        {"ortho, edges on half pixels", false, -299.5f, 100.5f, -199.5f, 150.5f, identity(), 101, 150, 201, 200},
        {"screen, whole pixels", true, 10, 20, 110, 70, identity(), 10, 20, 110, 70},
        {"screen, edges on half pixels", true, 100.5f, 50.5f, 200.5f, 100.5f, identity(), 101, 51, 201, 101},
    };
    setPlainState();
    setMatrix(D3DTS_PROJECTION, orthoRH(800, 600, 0, 1));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        setMatrix(D3DTS_WORLD, row.world);
        beginFrame(0xFF000000);
        if (row.screen)
            drawScreenRect(row.x0, row.y0, row.x1, row.y1, 0xFFFF0000);
        else
            drawColorQuad(row.x0, row.y0, row.x1, row.y1, -0.5f, 0xFFFF0000);
        endFrame();
        expectEdges(readBack(), row.px0, row.py0, row.px1, row.py1, 0xFFFF0000, 0xFF000000);
    }
}

TEST_F(Raster, CullModesHideTheirWinding) {
    // On screen (y down) A(100,100) B(300,100) C(100,300) runs clockwise.
    // The sprite quad is the engine's strip in world space, seen through
    // the ortho projection: it must survive the engine's clockwise culling.
    const struct {
        const char* name;
        DWORD cull;
        bool sprite, clockwise, visible;
    } rows[] = {
        {"CW culls clockwise", D3DCULL_CW, false, true, false},
        {"CW keeps counter-clockwise", D3DCULL_CW, false, false, true},
        {"CCW culls counter-clockwise", D3DCULL_CCW, false, false, false},
        {"NONE keeps clockwise", D3DCULL_NONE, false, true, true},
        {"the sprite faces the viewer under CW", D3DCULL_CW, true, false, true},
        {"the sprite is culled under CCW", D3DCULL_CCW, true, false, false},
    };
    setPlainState();
    setMatrix(D3DTS_PROJECTION, orthoRH(800, 600, 0, 1));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        m_device->SetRenderState(D3DRS_CULLMODE, row.cull);
        beginFrame(0xFF000000);
        if (row.sprite) {
            drawColorQuad(-300, 0, -100, 200, -0.5f, 0xFFFFFF00);  // pixels 100..300 x 100..300
        } else {
            ScreenVertex a = {100, 100, 0.5f, 1, 0xFFFFFF00, 0, 0};
            ScreenVertex b = {300, 100, 0.5f, 1, 0xFFFFFF00, 0, 0};
            ScreenVertex c = {100, 300, 0.5f, 1, 0xFFFFFF00, 0, 0};
            ScreenVertex tri[3] = {a, row.clockwise ? b : c, row.clockwise ? c : b};
            m_device->SetFVF(kScreenFVF);
            ASSERT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, tri, sizeof tri[0]), D3D_OK);
        }
        endFrame();
        EXPECT_TRUE(areaIs(readBack(), 110, 110, 180, 180, row.visible ? 0xFFFFFF00 : 0xFF000000));
    }
}

TEST_F(Raster, DepthTestAndDepthWrites) {
    // A red square first, then a blue one over it.
    const struct {
        const char* name;
        DWORD zenable, zwriteFirst, zfunc;
        float firstDepth, secondDepth;
        uint32_t expected;
    } rows[] = {
        {"farther square hidden", D3DZB_TRUE, TRUE, D3DCMP_LESSEQUAL, 0.3f, 0.6f, 0xFFFF0000},
        {"equal depth passes LESSEQUAL", D3DZB_TRUE, TRUE, D3DCMP_LESSEQUAL, 0.4f, 0.4f, 0xFF0000FF},
        {"equal depth fails LESS", D3DZB_TRUE, TRUE, D3DCMP_LESS, 0.4f, 0.4f, 0xFFFF0000},
        {"ZWRITEENABLE FALSE leaves depth alone", D3DZB_TRUE, FALSE, D3DCMP_LESSEQUAL, 0.3f, 0.6f, 0xFF0000FF},
        {"ZENABLE FALSE draws in order", D3DZB_FALSE, TRUE, D3DCMP_LESSEQUAL, 0.3f, 0.6f, 0xFF0000FF},
    };
    setPlainState();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        m_device->SetRenderState(D3DRS_ZENABLE, row.zenable);
        m_device->SetRenderState(D3DRS_ZFUNC, row.zfunc);
        beginFrame(0xFF000000);
        m_device->SetRenderState(D3DRS_ZWRITEENABLE, row.zwriteFirst);
        drawScreenRect(200, 150, 600, 450, 0xFFFF0000, row.firstDepth);
        m_device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
        drawScreenRect(200, 150, 600, 450, 0xFF0000FF, row.secondDepth);
        endFrame();
        EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, row.expected));
    }
}

TEST_F(Raster, ProjectedDepthUsesDirect3DsZeroToOneRange) {
    // Ortho z -0.3 is depth 0.3 in Direct3D (GL's -1..1 range would put it
    // at 0.65): a screen-space square at depth 0.5 must stay behind it.
    setPlainState();
    m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    setMatrix(D3DTS_PROJECTION, orthoRH(800, 600, 0, 1));
    beginFrame(0xFF000000);
    drawColorQuad(-200, -150, 200, 150, -0.3f, 0xFFFF0000);
    drawScreenRect(100, 100, 700, 500, 0xFF0000FF, 0.5f);
    endFrame();
    Image image = readBack();
    EXPECT_TRUE(areaIs(image, 220, 170, 580, 430, 0xFFFF0000));
    EXPECT_TRUE(areaIs(image, 110, 110, 190, 140, 0xFF0000FF));
}

}  // namespace
}  // namespace devtest
