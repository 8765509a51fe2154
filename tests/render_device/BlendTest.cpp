// The alpha test and blending.
#include "DeviceTest.h"

namespace devtest {
namespace {

class Blend : public DeviceTest {};

TEST_F(Blend, AlphaTestDiscardsByTheEightBitAlpha) {
    const struct {
        const char* name;
        BOOL enable;
        DWORD func, ref;
        int alpha;
        bool drawn;
    } rows[] = {
        {"alpha 0, GREATER 0 (the engine's test)", TRUE, D3DCMP_GREATER, 0, 0, false},
        {"alpha 1, GREATER 0", TRUE, D3DCMP_GREATER, 0, 1, true},
        {"alpha 128, GREATER 128", TRUE, D3DCMP_GREATER, 128, 128, false},
        {"alpha 128, GREATEREQUAL 128", TRUE, D3DCMP_GREATEREQUAL, 128, 128, true},
        {"alpha 200, LESS 128", TRUE, D3DCMP_LESS, 128, 200, false},
        {"test off, alpha 0", FALSE, D3DCMP_GREATER, 0, 0, true},
    };
    setPlainState();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        m_device->SetRenderState(D3DRS_ALPHATESTENABLE, row.enable);
        m_device->SetRenderState(D3DRS_ALPHAFUNC, row.func);
        m_device->SetRenderState(D3DRS_ALPHAREF, row.ref);
        beginFrame(0xFF0000FF);
        drawScreenRect(200, 150, 600, 450, argb(255, 255, 0, row.alpha));
        endFrame();
        EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, row.drawn ? 0xFFFFFF00 : 0xFF0000FF));
    }
}

TEST_F(Blend, BlendFactorsAndOperations) {
    const struct {
        const char* name;
        BOOL enable;
        DWORD src, dst, op;
        uint32_t background, colour, expected;
    } rows[] = {
        {"SRCALPHA / INVSRCALPHA (sprites, text)", TRUE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA,
         D3DBLENDOP_ADD, 0xFF0000FF, 0x80FF0000, argb(128, 0, 127)},
        {"SRCALPHA / ONE (particles)", TRUE, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DBLENDOP_ADD, 0xFF0000FF,
         0x80FF0000, argb(128, 0, 255)},
        {"additive saturates", TRUE, D3DBLEND_ONE, D3DBLEND_ONE, D3DBLENDOP_ADD, 0xFF808080, 0xFFC0C0C0,
         0xFFFFFFFF},
        {"ZERO / SRCCOLOR modulates", TRUE, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, D3DBLENDOP_ADD, 0xFFFFFFFF,
         0xFF804020, argb(128, 64, 32)},
        {"REVSUBTRACT takes the colour away", TRUE, D3DBLEND_ONE, D3DBLEND_ONE, D3DBLENDOP_REVSUBTRACT,
         0xFFFFFFFF, 0xFFFF0000, 0xFF00FFFF},
        {"DESTALPHA of an X8 target is 1", TRUE, D3DBLEND_DESTALPHA, D3DBLEND_ZERO, D3DBLENDOP_ADD, 0xFF000000,
         0x00C08040, 0xFFC08040},
        {"blending off writes the colour as is", FALSE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA,
         D3DBLENDOP_ADD, 0xFF0000FF, 0x40FF0000, 0xFFFF0000},
    };
    setPlainState();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, row.enable);
        m_device->SetRenderState(D3DRS_SRCBLEND, row.src);
        m_device->SetRenderState(D3DRS_DESTBLEND, row.dst);
        m_device->SetRenderState(D3DRS_BLENDOP, row.op);
        beginFrame(row.background);
        drawScreenRect(200, 150, 600, 450, row.colour);
        endFrame();
        EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, row.expected));
    }
}

}  // namespace
}  // namespace devtest
