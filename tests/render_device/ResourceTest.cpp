// Vertex and index buffers, texture creation and locking, reference counts.
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

TEST_F(Resources, BufferLocks) {
    IDirect3DVertexBuffer9* vb = nullptr;
    ASSERT_EQ(m_device->CreateVertexBuffer(160, D3DUSAGE_WRITEONLY, kLitFVF, D3DPOOL_MANAGED, &vb, nullptr), D3D_OK);
    void* whole = nullptr;
    void* part = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &whole, 0), D3D_OK);
    ASSERT_EQ(vb->Lock(40, 40, &part, D3DLOCK_READONLY), D3D_OK) << "locks nest";
    EXPECT_EQ(static_cast<uint8_t*>(part) - static_cast<uint8_t*>(whole), 40);
    EXPECT_EQ(vb->Unlock(), D3D_OK);
    EXPECT_EQ(vb->Unlock(), D3D_OK);
    EXPECT_EQ(vb->Unlock(), D3DERR_INVALIDCALL) << "more unlocks than locks";
    EXPECT_EQ(vb->Lock(120, 41, &part, 0), D3DERR_INVALIDCALL) << "past the end";
    vb->Release();
    IDirect3DIndexBuffer9* ib = nullptr;
    EXPECT_EQ(m_device->CreateIndexBuffer(12, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &ib, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(ib, nullptr);
}

TEST_F(Resources, TextureCreationAndLevels) {
    const struct {
        const char* name;
        UINT width, height, levels;
        D3DFORMAT format;
        HRESULT result;
    } rows[] = {
        {"not a power of two", 100, 30, 0, D3DFMT_X8R8G8B8, D3D_OK},
        {"more levels than the chain", 8, 8, 5, D3DFMT_A8R8G8B8, D3DERR_INVALIDCALL},
        {"unsupported format", 8, 8, 1, D3DFMT_A8L8, D3DERR_INVALIDCALL},
    };
    for (const auto& row : rows) {
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(m_device->CreateTexture(row.width, row.height, row.levels, 0, row.format, D3DPOOL_MANAGED,
                                          &texture, nullptr),
                  row.result)
            << row.name;
        EXPECT_EQ(texture != nullptr, row.result == D3D_OK) << row.name;
        if (texture) texture->Release();
    }
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(m_device->CreateTexture(64, 32, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 7u);
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(texture->GetLevelDesc(1, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 32u);
    EXPECT_EQ(desc.Height, 16u);
    D3DLOCKED_RECT all{}, inner{};
    RECT rect = {3, 2, 10, 5}, outside = {0, 0, 65, 4};
    EXPECT_EQ(texture->LockRect(0, &all, &outside, 0), D3DERR_INVALIDCALL);
    ASSERT_EQ(texture->LockRect(0, &all, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(texture->LockRect(0, &inner, nullptr, 0), D3DERR_INVALIDCALL) << "level locked twice";
    texture->UnlockRect(0);
    ASSERT_EQ(texture->LockRect(0, &inner, &rect, 0), D3D_OK);
    EXPECT_EQ(static_cast<uint8_t*>(inner.pBits) - static_cast<uint8_t*>(all.pBits), 2 * all.Pitch + 3 * 4);
    texture->UnlockRect(0);
    texture->Release();
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

TEST_F(Resources, ResourcesKeepTheDeviceAlive) {
    IDirect3DVertexBuffer9* vb = nullptr;
    ASSERT_EQ(m_device->CreateVertexBuffer(64, 0, 0, D3DPOOL_MANAGED, &vb, nullptr), D3D_OK);
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    EXPECT_EQ(m_device->Release(), 2u);
    EXPECT_EQ(backBuffer->Release(), 1u);
    IDirect3DDevice9* device = nullptr;
    vb->GetDevice(&device);
    EXPECT_EQ(device->Release(), 1u);
    EXPECT_EQ(vb->Release(), 0u);  // the device goes with it
    m_device = nullptr;
}

}  // namespace
}  // namespace devtest
