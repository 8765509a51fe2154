// Where geometry lands: projection and pixel centres, viewport, culling and
// the depth test.
#include <cmath>

#include "DeviceTest.h"

namespace devtest {
namespace {

class Raster : public DeviceTest {
protected:
    // Checks the four edges of the filled rectangle [x0, x1) x [y0, y1): the
    // pixels just inside are `inside`, those just outside are the background.
    void expectEdges(const Image& image, int x0, int y0, int x1, int y1, uint32_t inside, uint32_t outside) {
        int mx = (x0 + x1) / 2, my = (y0 + y1) / 2;
        EXPECT_TRUE(near(image.at(x0, my), inside)) << "left edge, inside";
        EXPECT_TRUE(near(image.at(x0 - 1, my), outside)) << "left edge, outside";
        EXPECT_TRUE(near(image.at(x1 - 1, my), inside)) << "right edge, inside";
        EXPECT_TRUE(near(image.at(x1, my), outside)) << "right edge, outside";
        EXPECT_TRUE(near(image.at(mx, y0), inside)) << "top edge, inside";
        EXPECT_TRUE(near(image.at(mx, y0 - 1), outside)) << "top edge, outside";
        EXPECT_TRUE(near(image.at(mx, y1 - 1), inside)) << "bottom edge, inside";
        EXPECT_TRUE(near(image.at(mx, y1), outside)) << "bottom edge, outside";
        EXPECT_TRUE(areaIs(image, x0 + 1, y0 + 1, x1 - 1, y1 - 1, inside));
    }
};

TEST_F(Raster, OrthographicQuadsCoverExactlyTheirPixels) {
    // The engine's screen-space sprites: D3DXMatrixOrthoRH(800, 600, 0, 1),
    // centre origin, y up, one unit per pixel.
    const struct {
        const char* name;
        float x0, y0, x1, y1;   // quad, centred units
        D3DMATRIX world;
        int px0, py0, px1, py1;  // covered pixels
    } rows[] = {
        {"centred 200x100", -100, -50, 100, 50, identity(), 300, 250, 500, 350},
        {"unit quad scaled 200x100",
         -0.5f, -0.5f, 0.5f, 0.5f,
         [] { D3DMATRIX m = identity(); m._11 = 200; m._22 = 100; return m; }(),
         300, 250, 500, 350},
        {"moved right and down", -100, -50, 100, 50, translation(37, -21, 0), 337, 271, 537, 371},
        {"odd size off centre", -399, 1, -330, 298, identity(), 1, 2, 70, 299},
        // Edges halfway between pixel centres: a pixel is in when its
        // centre (integer coordinates in Direct3D 9) is.
        {"edges on half pixels", -299.5f, 100.5f, -199.5f, 150.5f, identity(), 101, 150, 201, 200},
    };
    setPlainState();
    setMatrix(D3DTS_PROJECTION, orthoRH(800, 600, 0, 1));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        setMatrix(D3DTS_WORLD, row.world);
        beginFrame(0xFF000000);
        drawColorQuad(row.x0, row.y0, row.x1, row.y1, -0.5f, 0xFFFF0000);
        endFrame();
        expectEdges(readBack(), row.px0, row.py0, row.px1, row.py1, 0xFFFF0000, 0xFF000000);
    }
}

TEST_F(Raster, ScreenSpaceRectanglesCoverExactlyTheirPixels) {
    const struct {
        float x0, y0, x1, y1;
    } rows[] = {{10, 20, 110, 70}, {400, 300, 401 + 100, 302}, {1, 1, 799, 599}, {100.5f, 50.5f, 200.5f, 100.5f}};
    setPlainState();
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.x0 << "," << row.y0 << " - " << row.x1 << "," << row.y1);
        beginFrame(0xFF000000);
        drawScreenRect(row.x0, row.y0, row.x1, row.y1, 0xFF00FF00);
        endFrame();
        Image image = readBack();
        // Covered: the pixels whose centres (x, y) lie inside, left and top edges included.
        int x0 = int(std::ceil(row.x0)), y0 = int(std::ceil(row.y0));
        int x1 = int(std::ceil(row.x1)), y1 = int(std::ceil(row.y1));
        if (y1 - y0 > 2)
            expectEdges(image, x0, y0, x1, y1, 0xFF00FF00, 0xFF000000);
        else
            EXPECT_TRUE(areaIs(image, x0, y0, x1, y1, 0xFF00FF00));
    }
}

TEST_F(Raster, CullModesHideTheirWinding) {
    // On screen (y down) A(100,100) B(300,100) C(100,300) runs clockwise.
    const struct {
        const char* name;
        DWORD cull;
        bool clockwise;
        bool visible;
    } rows[] = {
        {"CW culls clockwise", D3DCULL_CW, true, false},
        {"CW keeps counter-clockwise", D3DCULL_CW, false, true},
        {"CCW culls counter-clockwise", D3DCULL_CCW, false, false},
        {"CCW keeps clockwise", D3DCULL_CCW, true, true},
        {"NONE keeps clockwise", D3DCULL_NONE, true, true},
        {"NONE keeps counter-clockwise", D3DCULL_NONE, false, true},
    };
    setPlainState();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        m_device->SetRenderState(D3DRS_CULLMODE, row.cull);
        ScreenVertex a = {100, 100, 0.5f, 1, 0xFFFFFF00, 0, 0};
        ScreenVertex b = {300, 100, 0.5f, 1, 0xFFFFFF00, 0, 0};
        ScreenVertex c = {100, 300, 0.5f, 1, 0xFFFFFF00, 0, 0};
        ScreenVertex tri[3] = {a, row.clockwise ? b : c, row.clockwise ? c : b};
        beginFrame(0xFF000000);
        m_device->SetFVF(kScreenFVF);
        ASSERT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, tri, sizeof tri[0]), D3D_OK);
        endFrame();
        EXPECT_TRUE(areaIs(readBack(), 110, 110, 180, 180, row.visible ? 0xFFFFFF00 : 0xFF000000));
    }
}

TEST_F(Raster, TheEnginesSpriteQuadFacesTheViewerUnderClockwiseCulling) {
    setPlainState();
    setMatrix(D3DTS_PROJECTION, orthoRH(800, 600, 0, 1));
    const struct {
        DWORD cull;
        bool visible;
    } rows[] = {{D3DCULL_CW, true}, {D3DCULL_CCW, false}};
    for (const auto& row : rows) {
        m_device->SetRenderState(D3DRS_CULLMODE, row.cull);
        beginFrame(0xFF000000);
        drawColorQuad(-100, -100, 100, 100, -0.5f, 0xFF00FFFF);  // the sprite's strip order
        endFrame();
        EXPECT_TRUE(areaIs(readBack(), 320, 220, 480, 380, row.visible ? 0xFF00FFFF : 0xFF000000))
            << "cull mode " << row.cull;
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
        {"nearer square drawn", D3DZB_TRUE, TRUE, D3DCMP_LESSEQUAL, 0.6f, 0.3f, 0xFF0000FF},
        {"equal depth passes LESSEQUAL", D3DZB_TRUE, TRUE, D3DCMP_LESSEQUAL, 0.4f, 0.4f, 0xFF0000FF},
        {"equal depth fails LESS", D3DZB_TRUE, TRUE, D3DCMP_LESS, 0.4f, 0.4f, 0xFFFF0000},
        {"ZWRITEENABLE FALSE leaves depth alone", D3DZB_TRUE, FALSE, D3DCMP_LESSEQUAL, 0.3f, 0.6f, 0xFF0000FF},
        {"ZENABLE FALSE draws in order", D3DZB_FALSE, TRUE, D3DCMP_LESSEQUAL, 0.3f, 0.6f, 0xFF0000FF},
        {"GREATER fails against a cleared buffer", D3DZB_TRUE, TRUE, D3DCMP_GREATER, 0.3f, 0.6f, 0xFF000000},
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
    drawScreenRect(100, 100, 700, 500, 0xFF00FF00, 0.2f);  // in front of both where they overlap
    endFrame();
    Image image = readBack();
    EXPECT_TRUE(areaIs(image, 220, 170, 580, 430, 0xFF00FF00));
    beginFrame(0xFF000000);
    drawColorQuad(-200, -150, 200, 150, -0.3f, 0xFFFF0000);
    drawScreenRect(100, 100, 700, 500, 0xFF0000FF, 0.5f);
    endFrame();
    image = readBack();
    EXPECT_TRUE(areaIs(image, 220, 170, 580, 430, 0xFFFF0000));
    EXPECT_TRUE(areaIs(image, 110, 110, 190, 140, 0xFF0000FF));
}

TEST_F(Raster, GeometryMapsIntoTheViewport) {
    setPlainState();
    D3DVIEWPORT9 viewport = {100, 200, 300, 150, 0.0f, 1.0f};
    ASSERT_EQ(m_device->SetViewport(&viewport), D3D_OK);
    beginFrame(0xFF000000);
    // Identity matrices: the whole clip square fills the viewport.
    drawColorQuad(-1, -1, 1, 1, 0.5f, 0xFFFF00FF);
    endFrame();
    Image image = readBack();
    expectEdges(image, 100, 200, 400, 350, 0xFFFF00FF, 0xFF000000);
    D3DVIEWPORT9 tooWide = {700, 0, 200, 100, 0.0f, 1.0f};
    EXPECT_EQ(m_device->SetViewport(&tooWide), D3DERR_INVALIDCALL);
    D3DVIEWPORT9 back{};
    m_device->GetViewport(&back);
    EXPECT_EQ(back.X, 100u);
    EXPECT_EQ(back.Height, 150u);
}

}  // namespace
}  // namespace devtest
