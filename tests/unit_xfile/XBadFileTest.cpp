// Bad files fail with D3DX's error and leave nothing allocated: the
// allocator is never called, both outputs are null.
#include <gtest/gtest.h>

#include "XTestScenes.h"

using namespace xtest;

namespace {

std::string text(const std::string& body) { return "xof 0303txt 0032\n" + body; }

// A frame holding a one-triangle mesh, with `extra` inside the mesh.
std::string tri(const std::string& extra = "") {
    return text("Frame F { Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3; 0,1,2;; " + extra + " } }");
}

std::string le16(uint32_t v) { return std::string{char(v & 0xFF), char(v >> 8)}; }
std::string le32(uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); }
std::string bin(const std::string& body, const char* floats = "0032") { return "xof 0303bin " + (floats + body); }

std::string nested(int depth) {
    std::string s;
    for (int i = 0; i < depth; ++i) s += "Frame {\n";
    return s + std::string(depth, '}');
}

std::string patch(std::string s, size_t at, const std::string& bytes) { return s.replace(at, bytes.size(), bytes); }

TEST(XBadFile, EachFailsCleanly) {
    // A valid compressed file to break in various ways: its chunks start at 20.
    const std::string z = "xof 0303tzip0032" + compressMszip(tri().substr(17));
    const std::string material = "Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }";
    // Frame F's weight of 1 for one vertex, and an animation key of F's.
    auto weights = [](const char* vertex) {
        return "SkinWeights { \"F\"; 1; " + std::string(vertex) + "; 1.0; 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; }";
    };
    auto key = [](const char* values) {
        return text("Frame F { } AnimationSet { Animation { { F } AnimationKey { " + std::string(values) + " } } }");
    };
    const std::string frame = le16(1) + le32(5) + "Frame" + le16(10);
    const uint32_t raw = uint8_t(z[20]) | uint8_t(z[21]) << 8;
    const uint32_t packed = uint8_t(z[22]) | uint8_t(z[23]) << 8;
    const struct {
        const char* what;
        std::string bytes;
        HRESULT expected;
    } cases[] = {
        {"empty file", "", D3DXFERR_BADFILETYPE},
        {"short header", "xof 0303", D3DXFERR_BADFILETYPE},
        {"not xof", "abc 0303txt 0032Frame {}", D3DXFERR_BADFILETYPE},
        {"unknown format", "xof 0303xyz 0032Frame {}", D3DXFERR_BADFILETYPE},
        {"version", "xof 0405txt 0032Frame {}", D3DXFERR_BADFILEVERSION},
        {"float size", "xof 0303txt 0016Frame {}", D3DXFERR_BADFILEFLOATSIZE},
        {"truncated text", text("Frame F { Mesh { 3; 0;0;0;, 1;0"), D3DXFERR_PARSEERROR},
        {"unterminated string",
         text("Frame F { Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { \"abc; } } }"), D3DXFERR_PARSEERROR},
        {"stray bracket", text("Frame F { [ }"), D3DXFERR_PARSEERROR},
        {"template without end", text("template T { <11111111-2222-3333-4444-555555555555> DWORD a;"),
         D3DXFERR_PARSEERROR},
        {"nesting 100 deep", text(nested(100)), D3DXFERR_PARSEERROR},
        {"braces 100 deep in a template", text("template T { " + std::string(100, '{') + std::string(101, '}')),
         D3DXFERR_PARSEERROR},
        {"vertex count beyond the data", text("Frame F { Mesh { 1000000; 0;0;0;, 1;0;0;; 1; 3; 0,1,0;; } }"),
         E_FAIL},
        {"face count beyond the data", text("Frame F { Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 4000000000; 3; 0,1,2;; } }"),
         E_FAIL},
        {"face index out of range", text("Frame F { Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3; 0,1,3;; } }"), E_FAIL},
        {"vertices without faces", text("Frame F { Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 0; } }"), E_FAIL},
        {"two-corner face", text("Frame F { Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 2; 0,1;; } }"), E_FAIL},
        {"normal index out of range", tri("MeshNormals { 1; 0;0;1;; 1; 3; 0,0,1;; }"), E_FAIL},
        {"normal faces differ from faces", tri("MeshNormals { 1; 0;0;1;; 2; 3; 0,0,0;, 3; 0,0,0;; }"), E_FAIL},
        {"texture coordinates for too few vertices", tri("MeshTextureCoords { 2; 0;0;, 1;1;; }"), E_FAIL},
        {"material index out of range", tri("MeshMaterialList { 1; 1; 1;; " + material + " }"), E_FAIL},
        {"fewer materials than announced", tri("MeshMaterialList { 2; 1; 0;; " + material + " }"), E_FAIL},
        {"unknown material reference", tri("MeshMaterialList { 1; 1; 0;; { Nowhere } }"), D3DXFERR_BADDATAREFERENCE},
        {"skin weight on a missing vertex", tri("XSkinMeshHeader { 1; 1; 1; } " + weights("7")), E_FAIL},
        {"fewer bones than the header says", tri("XSkinMeshHeader { 1; 1; 2; } " + weights("0")), E_FAIL},
        {"skin weights without a header", tri(weights("0")), E_FAIL},
        {"matrix of 15 values", text("Frame F { FrameTransformMatrix { 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0;; } }"),
         E_FAIL},
        {"rotation key of 3 values", key("0; 1; 0; 3; 1,0,0;;;"), E_FAIL},
        {"unknown key type", key("7; 1; 0; 3; 1,0,0;;;"), E_FAIL},
        {"no frames", text("Material M { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }"), E_FAIL},
        {"binary unknown token", bin(le16(99)), D3DXFERR_PARSEERROR},
        {"binary name longer than the file", bin(le16(1) + le32(1000) + "Frame"), D3DXFERR_PARSEERROR},
        {"binary list count near 2^32", bin(frame + le16(6) + le32(0xFFFFFFFF) + le32(1)), D3DXFERR_PARSEERROR},
        {"binary 64-bit float list cut short", bin(frame + le16(7) + le32(2) + std::string(12, '\0'), "0064"),
         D3DXFERR_PARSEERROR},
        {"binary object never closed", bin(frame), D3DXFERR_PARSEERROR},
        {"compressed: total size too large", patch(z, 16, le32(100000)), D3DXFERR_BADFILE},
        {"compressed: total size too small", patch(z, 16, le32(20)), D3DXFERR_BADFILE},
        {"compressed: chunk size beyond the file", patch(z, 22, le16(packed + 50)), D3DXFERR_BADFILE},
        {"compressed: chunk claims more output", patch(z, 20, le16(raw + 1)), D3DXFERR_BADFILE},
        {"compressed: chunk over 32 KiB", patch(z, 20, le16(40000)), D3DXFERR_BADFILE},
        {"compressed: signature", patch(z, 24, "XX"), D3DXFERR_BADFILE},
        {"compressed: corrupt data", patch(z, 26, std::string(6, '\xFF')), D3DXFERR_BADFILE},
        {"compressed: cut short", z.substr(0, z.size() - 5), D3DXFERR_BADFILE},
    };
    int index = 0;
    for (const auto& c : cases) {
        std::string path = saveTemp("bad" + std::to_string(index++) + ".x", c.bytes);
        TestAllocator alloc;
        D3DXFRAME* root = reinterpret_cast<D3DXFRAME*>(1);
        ID3DXAnimationController* anim = reinterpret_cast<ID3DXAnimationController*>(1);
        HRESULT hr = D3DXLoadMeshHierarchyFromXA(path.c_str(), D3DXMESH_MANAGED, nullptr, &alloc, nullptr,
                                                 &root, &anim);
        EXPECT_EQ(hr, c.expected) << c.what;
        EXPECT_EQ(root, nullptr) << c.what;
        EXPECT_EQ(anim, nullptr) << c.what;
        EXPECT_TRUE(alloc.log.empty()) << c.what;
        EXPECT_EQ(alloc.liveFrames + alloc.liveContainers, 0) << c.what;
    }
}

TEST(XBadFile, MissingFileAndBadArgumentsAndTheNestingLimit) {
    TestAllocator alloc;
    D3DXFRAME* root = nullptr;
    const std::string path = saveTemp("args.x", tri());
    EXPECT_EQ(D3DXLoadMeshHierarchyFromXA("no/such/file.x", 0, nullptr, &alloc, nullptr, &root, nullptr),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(D3DXLoadMeshHierarchyFromXA(nullptr, 0, nullptr, &alloc, nullptr, &root, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXLoadMeshHierarchyFromXA(path.c_str(), 0, nullptr, nullptr, nullptr, &root, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXLoadMeshHierarchyFromXA(path.c_str(), 0, nullptr, &alloc, nullptr, nullptr, nullptr),
              D3DERR_INVALIDCALL);
    // The in-memory form checks the same, plus the bytes themselves.
    const std::string bytes = tri();
    EXPECT_EQ(D3DXLoadMeshHierarchyFromXInMemory(nullptr, 10, 0, nullptr, &alloc, nullptr, &root, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXLoadMeshHierarchyFromXInMemory(bytes.data(), 0, 0, nullptr, &alloc, nullptr, &root, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXLoadMeshHierarchyFromXInMemory(bytes.data(), 12, 0, nullptr, &alloc, nullptr, &root, nullptr),
              D3DXFERR_BADFILETYPE) << "a header cut short";
    EXPECT_TRUE(alloc.log.empty());
    ASSERT_EQ(D3DXLoadMeshHierarchyFromXInMemory(bytes.data(), DWORD(bytes.size()), 0, nullptr, &alloc, nullptr,
                                                 &root, nullptr),
              D3D_OK);
    EXPECT_EQ(D3DXFrameDestroy(root, &alloc), D3D_OK);
    EXPECT_EQ(alloc.liveFrames + alloc.liveContainers, 0);

    auto deep = loadPath(saveTemp("deep.x", text(nested(64))));
    ASSERT_EQ(deep->hr, D3D_OK) << "64 levels are within the limit";
    EXPECT_EQ(deep->alloc.liveFrames, 64);
}

}  // namespace
