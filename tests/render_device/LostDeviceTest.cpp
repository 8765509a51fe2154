// A lost device and its reset, driven by the test hooks.
#include "DeviceTest.h"

#include "testing/DeviceTesting.h"

namespace devtest {
namespace {

class LostDevice : public DeviceTest {};

TEST_F(LostDevice, PresentReportsTheLossUntilAResetSucceeds) {
    // As the engine runs it: present, and on a lost device try a reset once a frame.
    const struct {
        int presentFailures, resetFailures, framesLost;
    } rows[] = {{1, 0, 1}, {1, 2, 3}, {2, 1, 2}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "present fails " << row.presentFailures << ", reset fails "
                                        << row.resetFailures);
        zvtest::failPresent(row.presentFailures);
        zvtest::failReset(row.resetFailures);
        int lost = 0;
        for (int frame = 0; frame < 6; ++frame) {
            beginFrame(0xFF000000);
            ASSERT_EQ(m_device->EndScene(), D3D_OK);
            HRESULT hr = m_device->Present(nullptr, nullptr, nullptr, nullptr);
            if (hr == D3DERR_DEVICELOST) {
                ++lost;
                D3DPRESENT_PARAMETERS params = m_params;
                HRESULT reset = m_device->Reset(&params);
                EXPECT_TRUE(reset == D3D_OK || reset == D3DERR_DEVICELOST);
            } else {
                EXPECT_EQ(hr, D3D_OK);
            }
        }
        EXPECT_EQ(lost, row.framesLost);
    }
}

TEST_F(LostDevice, ResetRestoresDefaultStateAndKeepsManagedResources) {
    setEngineState();
    IDirect3DTexture9* texture = makeTexture(2, 2, D3DFMT_X8R8G8B8, {0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00});
    IDirect3DVertexBuffer9* vb = nullptr;
    ASSERT_EQ(m_device->CreateVertexBuffer(4 * sizeof(ScreenVertex), D3DUSAGE_WRITEONLY, kScreenFVF, D3DPOOL_MANAGED,
                                           &vb, nullptr),
              D3D_OK);
    ScreenVertex* v = nullptr;
    vb->Lock(0, 0, reinterpret_cast<void**>(&v), 0);
    v[0] = {200, 150, 0.5f, 1, 0xFFFFFFFF, 0, 0};
    v[1] = {600, 150, 0.5f, 1, 0xFFFFFFFF, 1, 0};
    v[2] = {200, 450, 0.5f, 1, 0xFFFFFFFF, 0, 1};
    v[3] = {600, 450, 0.5f, 1, 0xFFFFFFFF, 1, 1};
    vb->Unlock();
    auto drawFrame = [&](HRESULT presented) {
        m_device->SetFVF(kScreenFVF);
        m_device->SetTexture(0, texture);
        m_device->SetStreamSource(0, vb, 0, sizeof(ScreenVertex));
        m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        beginFrame(0xFF000000);
        ASSERT_EQ(m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
        ASSERT_EQ(m_device->EndScene(), D3D_OK);
        ASSERT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), presented);
    };
    drawFrame(D3D_OK);
    EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, 0xFF00FF00));

    zvtest::failPresent(1);
    drawFrame(D3DERR_DEVICELOST);
    D3DPRESENT_PARAMETERS params = m_params;
    ASSERT_EQ(m_device->Reset(&params), D3D_OK);

    // Direct3D's defaults, not the engine's.
    DWORD value = 0;
    m_device->GetRenderState(D3DRS_CULLMODE, &value);
    EXPECT_EQ(value, DWORD(D3DCULL_CCW));
    m_device->GetRenderState(D3DRS_AMBIENT, &value);
    EXPECT_EQ(value, 0u);
    m_device->GetTextureStageState(1, D3DTSS_COLOROP, &value);
    EXPECT_EQ(value, DWORD(D3DTOP_DISABLE));
    BOOL enabled = TRUE;
    EXPECT_EQ(m_device->GetLightEnable(0, &enabled), D3DERR_INVALIDCALL);
    IDirect3DBaseTexture9* bound = nullptr;
    m_device->GetTexture(0, &bound);
    EXPECT_EQ(bound, nullptr);

    // The texture and the buffer survived with their contents.
    m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
    drawFrame(D3D_OK);
    EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, 0xFF00FF00));

    m_device->SetTexture(0, nullptr);
    m_device->SetStreamSource(0, nullptr, 0, 0);
    EXPECT_EQ(texture->Release(), 0u);
    EXPECT_EQ(vb->Release(), 0u);
}

}  // namespace
}  // namespace devtest
