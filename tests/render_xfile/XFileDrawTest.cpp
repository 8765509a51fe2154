// Loaded meshes drawn by the real device (OpenGL, offscreen): each subset
// with its own material, and vertex changes made through a lock reaching the
// screen at the next draw.
#include <gtest/gtest.h>

#include <d3dx9.h>

#include <cstdio>
#include <string>
#include <vector>

#include "TestDevice.h"

namespace {

constexpr UINT kSize = 64;

// Two quads side by side in clip space: the left one uses material 1
// (green), the right one material 0 (red), so drawing must follow the
// sorted attribute ranges, not file order.
const char* kTwoQuads =
    "xof 0303txt 0032\n"
    "Frame Quads {\n"
    " Mesh Halves {\n"
    "  8; -1;-1;0.5;, 0;-1;0.5;, 0;1;0.5;, -1;1;0.5;, 0;-1;0.5;, 1;-1;0.5;, 1;1;0.5;, 0;1;0.5;;\n"
    "  2; 4; 0,1,2,3;, 4; 4,5,6,7;;\n"
    "  MeshMaterialList { 2; 2; 1, 0;;\n"
    "   Material { 1;0;0;1;; 0; 0;0;0;; 0;0;0;; }\n"
    "   Material { 0;1;0;1;; 0; 0;0;0;; 0;0;0;; }\n"
    "  }\n"
    " }\n"
    "}\n";

struct Container : D3DXMESHCONTAINER {};

class Alloc : public ID3DXAllocateHierarchy {
public:
    HRESULT CreateFrame(LPCSTR, LPD3DXFRAME* f) override { return *f = new D3DXFRAME(), S_OK; }
    HRESULT CreateMeshContainer(LPCSTR, const D3DXMESHDATA* md, const D3DXMATERIAL* m,
                                const D3DXEFFECTINSTANCE*, DWORD n, const DWORD*, LPD3DXSKININFO,
                                LPD3DXMESHCONTAINER* out) override {
        Container* c = new Container();
        c->MeshData = *md;
        md->pMesh->AddRef();
        c->NumMaterials = n;
        c->pMaterials = new D3DXMATERIAL[n];
        for (DWORD i = 0; i < n; ++i) c->pMaterials[i].MatD3D = m[i].MatD3D;
        *out = c;
        return S_OK;
    }
    HRESULT DestroyFrame(LPD3DXFRAME f) override { return delete f, S_OK; }
    HRESULT DestroyMeshContainer(LPD3DXMESHCONTAINER c) override {
        c->MeshData.pMesh->Release();
        delete[] c->pMaterials;
        delete static_cast<Container*>(c);
        return S_OK;
    }
};

class XFileDraw : public zvtestsupport::SuiteDeviceTest {
protected:
    static void SetUpTestSuite() { openSuiteDevice("ZarvelXFileTest", kSize); }
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(SuiteDeviceTest::SetUp());
        m_path = ::testing::TempDir() + "zv_xfile_draw.x";
        FILE* f = std::fopen(m_path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs(kTwoQuads, f);
        std::fclose(f);
    }

    // Draws every subset of the container, lit by its material's emissive
    // colour only, and returns the frame.
    static std::vector<uint32_t> draw(D3DXMESHCONTAINER* c) {
        IDirect3DDevice9* d = s_device;
        std::vector<uint32_t> pixels;
        EXPECT_EQ(D3D_OK, d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0));
        EXPECT_EQ(D3D_OK, d->BeginScene());
        d->SetRenderState(D3DRS_LIGHTING, TRUE);
        d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        for (DWORD i = 0; i < c->NumMaterials; ++i) {
            D3DMATERIAL9 m = c->pMaterials[i].MatD3D;
            m.Emissive = m.Diffuse;
            d->SetMaterial(&m);
            EXPECT_EQ(D3D_OK, c->MeshData.pMesh->DrawSubset(i));
        }
        EXPECT_EQ(D3D_OK, c->MeshData.pMesh->DrawSubset(7)) << "an unused attribute draws nothing";
        EXPECT_EQ(D3D_OK, d->EndScene());
        EXPECT_EQ(D3D_OK, d->Present(nullptr, nullptr, nullptr, nullptr));
        zvtestsupport::readBackBuffer(d, kSize, kSize, pixels);
        return pixels;
    }

    std::string m_path;
};

uint32_t rgb(uint32_t p) { return p & 0xFFFFFF; }

TEST_F(XFileDraw, SubsetsDrawWithTheirMaterialsAndLockedChangesReachTheScreen) {
    Alloc alloc;
    D3DXFRAME* root = nullptr;
    ASSERT_EQ(D3D_OK, D3DXLoadMeshHierarchyFromXA(m_path.c_str(), D3DXMESH_MANAGED, s_device, &alloc,
                                                  nullptr, &root, nullptr));
    D3DXMESHCONTAINER* c = root->pMeshContainer;
    ASSERT_NE(c, nullptr);
    // The engine draws a copy in its own vertex format.
    ID3DXMesh* copy = nullptr;
    ASSERT_EQ(D3D_OK, c->MeshData.pMesh->CloneMeshFVF(D3DXMESH_MANAGED, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2,
                                                      s_device, &copy));
    ID3DXMesh* loaded = c->MeshData.pMesh;
    c->MeshData.pMesh = copy;

    std::vector<uint32_t> frame = draw(c);
    ASSERT_EQ(frame.size(), size_t(kSize * kSize));
    const UINT y = kSize / 2;
    EXPECT_EQ(rgb(frame[y * kSize + kSize / 4]), 0x00FF00u) << "left quad: material 1";
    EXPECT_EQ(rgb(frame[y * kSize + 3 * kSize / 4]), 0xFF0000u) << "right quad: material 0";

    // Shrink everything to the upper half through a lock: the next draw
    // must use the new vertices.
    float* v = nullptr;
    ASSERT_EQ(D3D_OK, copy->LockVertexBuffer(0, reinterpret_cast<void**>(&v)));
    const DWORD stride = copy->GetNumBytesPerVertex() / 4;
    for (DWORD i = 0; i < copy->GetNumVertices(); ++i) v[i * stride + 1] = v[i * stride + 1] > 0 ? 1.0f : 0.0f;
    ASSERT_EQ(D3D_OK, copy->UnlockVertexBuffer());
    frame = draw(c);
    ASSERT_EQ(frame.size(), size_t(kSize * kSize));
    EXPECT_EQ(rgb(frame[(kSize / 4) * kSize + kSize / 4]), 0x00FF00u) << "upper half still drawn";
    EXPECT_EQ(rgb(frame[(3 * kSize / 4) * kSize + kSize / 4]), 0x000000u) << "lower half now empty";

    c->MeshData.pMesh = loaded;
    copy->Release();
    EXPECT_EQ(D3D_OK, D3DXFrameDestroy(root, &alloc));
}

}  // namespace
