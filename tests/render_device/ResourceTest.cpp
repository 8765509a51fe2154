// Vertex and index buffers drawn and checked against their bounds; texture
// reference counts.
#include "DeviceTest.h"

namespace devtest {
namespace {

class Resources : public DeviceTest {
protected:
    // Two quads side by side in one vertex buffer (screen space), as strips:
    // red at x 100..300, green at x 500..700.
    IDirect3DVertexBuffer9* makeQuads() {
        IDirect3DVertexBuffer9* vb = nullptr;
        EXPECT_EQ(m_device->CreateVertexBuffer(8 * sizeof(ScreenVertex), D3DUSAGE_WRITEONLY, kScreenFVF,
                                               D3DPOOL_MANAGED, &vb, nullptr),
                  D3D_OK);
        ScreenVertex* v = nullptr;
        EXPECT_EQ(vb->Lock(0, 0, reinterpret_cast<void**>(&v), 0), D3D_OK);
        for (int q = 0; q < 2; ++q) {
            const float x0 = 100.0f + 400 * q, x1 = x0 + 200;
            const DWORD c = q ? 0xFF00FF00 : 0xFFFF0000;
            v[q * 4 + 0] = {x0, 200, 0.5f, 1, c, 0, 0};
            v[q * 4 + 1] = {x1, 200, 0.5f, 1, c, 0, 0};
            v[q * 4 + 2] = {x0, 400, 0.5f, 1, c, 0, 0};
            v[q * 4 + 3] = {x1, 400, 0.5f, 1, c, 0, 0};
        }
        EXPECT_EQ(vb->Unlock(), D3D_OK);
        return vb;
    }
    void expectQuads(bool red, bool green) {
        Image image = readBack();
        EXPECT_TRUE(areaIs(image, 120, 220, 280, 380, red ? 0xFFFF0000 : 0xFF000000));
        EXPECT_TRUE(areaIs(image, 520, 220, 680, 380, green ? 0xFF00FF00 : 0xFF000000));
    }
};

TEST_F(Resources, DrawPrimitiveFromAVertexBuffer) {
    // Each row makes a new buffer after the last was freed: GL hands out
    // the freed name again, and the new buffer must not be taken for the old.
    const struct {
        const char* name;
        UINT offset, start;
        bool red, green;
    } rows[] = {
        {"first quad", 0, 0, true, false},
        {"second quad by start vertex", 0, 4, false, true},
        {"second quad by stream offset", 4 * sizeof(ScreenVertex), 0, false, true},
    };
    setPlainState();
    m_device->SetFVF(kScreenFVF);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        IDirect3DVertexBuffer9* vb = makeQuads();
        ASSERT_EQ(m_device->SetStreamSource(0, vb, row.offset, sizeof(ScreenVertex)), D3D_OK);
        beginFrame(0xFF000000);
        ASSERT_EQ(m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, row.start, 2), D3D_OK);
        // Past the end of the buffer: refused, nothing read.
        EXPECT_EQ(m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 7, 2), D3DERR_INVALIDCALL);
        EXPECT_EQ(m_device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 3), D3DERR_INVALIDCALL);
        endFrame();
        expectQuads(row.red, row.green);
        m_device->SetStreamSource(0, nullptr, 0, 0);
        EXPECT_EQ(vb->Release(), 0u);
    }
}

TEST_F(Resources, DrawIndexedPrimitiveWithBothIndexSizes) {
    setPlainState();
    IDirect3DVertexBuffer9* vb = makeQuads();
    m_device->SetFVF(kScreenFVF);
    m_device->SetStreamSource(0, vb, 0, sizeof(ScreenVertex));
    for (D3DFORMAT format : {D3DFMT_INDEX16, D3DFMT_INDEX32}) {
        SCOPED_TRACE(format == D3DFMT_INDEX16 ? "16-bit" : "32-bit");
        const UINT size = format == D3DFMT_INDEX16 ? 2 : 4;
        IDirect3DIndexBuffer9* ib = nullptr;
        ASSERT_EQ(m_device->CreateIndexBuffer(6 * size, 0, format, D3DPOOL_MANAGED, &ib, nullptr), D3D_OK);
        auto fill = [&](uint32_t second) {
            const uint32_t indices[6] = {0, second, 2, 2, 1, 3};  // quad 0 as a list
            void* data = nullptr;
            ASSERT_EQ(ib->Lock(0, 0, &data, 0), D3D_OK);
            for (int i = 0; i < 6; ++i) {
                if (size == 2) static_cast<uint16_t*>(data)[i] = uint16_t(indices[i]);
                else static_cast<uint32_t*>(data)[i] = indices[i];
            }
            ASSERT_EQ(ib->Unlock(), D3D_OK);
        };
        fill(1);
        ASSERT_EQ(m_device->SetIndices(ib), D3D_OK);
        for (INT base : {0, 4}) {
            beginFrame(0xFF000000);
            ASSERT_EQ(m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, base, 0, 4, 0, 2), D3D_OK);
            // Beyond the index buffer, or vertices beyond the vertex buffer.
            EXPECT_EQ(m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 2, 2), D3DERR_INVALIDCALL);
            EXPECT_EQ(m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 6, 0, 4, 0, 2), D3DERR_INVALIDCALL);
            EXPECT_EQ(m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, -1, 0, 4, 0, 2), D3DERR_INVALIDCALL);
            endFrame();
            expectQuads(base == 0, base == 4);
        }
        // An index past the vertex buffer, whatever range the caller claims.
        fill(8);
        ASSERT_EQ(m_device->BeginScene(), D3D_OK);
        EXPECT_EQ(m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3DERR_INVALIDCALL);
        m_device->EndScene();
        m_device->SetIndices(nullptr);
        EXPECT_EQ(ib->Release(), 0u);
    }
    m_device->SetStreamSource(0, nullptr, 0, 0);
    vb->Release();
}

TEST_F(Resources, ReferenceCountsFollowDirect3D) {
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(m_device->CreateTexture(8, 8, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    // A level's surface shares the texture's count.
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(2, &surface), D3D_OK);
    EXPECT_EQ(texture->AddRef(), 3u);
    EXPECT_EQ(surface->Release(), 2u);
    EXPECT_EQ(texture->Release(), 1u);
    // A bound texture outlives the caller's last reference and still draws.
    setPlainState();
    D3DLOCKED_RECT locked{};
    texture->LockRect(0, &locked, nullptr, 0);
    for (int i = 0; i < 64; ++i) static_cast<uint32_t*>(locked.pBits)[i] = 0xFF00FFFF;
    texture->UnlockRect(0);
    m_device->SetTexture(0, texture);
    EXPECT_EQ(texture->Release(), 0u);
    beginFrame(0xFF000000);
    drawScreenRect(200, 150, 600, 450, 0xFFFFFFFF);
    endFrame();
    EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, 0xFF00FFFF));
    // The device still ends with the last reference the test holds (checked
    // in TearDown), even with the texture bound.
}

}  // namespace
}  // namespace devtest
