// The animation controller and software skinning, driven the way the
// engine drives them: advance, combine frame matrices, skin a copy.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "XTestScenes.h"

using namespace xtest;

namespace {

// Keys of type 0 (rotation; `keys` as D3DX quaternions), 1 (scale) or 2
// (translation; `keys` as x, y, z). A file stores a rotation as the
// inverse, (w, x, y, z): for D3DX's (x, y, z, w) it holds (w, -x, -y, -z).
XNode animation(const std::string& frame, uint32_t type, std::vector<std::pair<uint32_t, D3DXQUATERNION>> keys) {
    XNode k("AnimationKey");
    k.ints({type, uint32_t(keys.size())});
    for (auto& key : keys) {
        const D3DXQUATERNION& q = key.second;
        if (type == 0) k.ints({key.first, 4}).floats({q.w, -q.x, -q.y, -q.z});
        else k.ints({key.first, 3}).floats({q.x, q.y, q.z});
    }
    return XNode("Animation").ref(frame).child(k).child(XNode("AnimationOptions").ints({1, 0}));
}

D3DXQUATERNION turn(float x, float y, float z, float angle) {
    D3DXQUATERNION q;
    const D3DXVECTOR3 axis(x, y, z);
    return *D3DXQuaternionRotationAxis(&q, &axis, angle);
}

// Combined matrices as the engine computes them: each frame's matrix times
// its parent's.
void combine(const D3DXFRAME* frame, const D3DXMATRIX& parent, std::map<std::string, D3DXMATRIX>& out) {
    for (; frame; frame = frame->pFrameSibling) {
        D3DXMATRIX m = frame->TransformationMatrix * parent;
        if (frame->Name) out[frame->Name] = m;
        combine(frame->pFrameFirstChild, m, out);
    }
}

TEST(XAnimation, TwoBoneMeshPosedByAKnownKey) {
    // Two bones: A at the origin, B one unit up. Vertices: (1,0,0) on A,
    // (0,2,0) and (0,3,0) on B, (1,1,0) half on each. The two faces have
    // different normals, so the shared vertices 1 and 2 are split; the
    // copies must move with their originals.
    XNode mesh("Mesh", "Skin");
    mesh.ints({4}).floats({1, 0, 0, 0, 2, 0, 1, 1, 0, 0, 3, 0}).ints({2, 3, 0, 1, 2, 3, 1, 3, 2});
    mesh.child(XNode("MeshNormals").ints({2}).floats({1, 0, 0, 0, 0, 1}).ints({2, 3, 0, 0, 0, 3, 1, 1, 1}));
    mesh.child(XNode("XSkinMeshHeader").ints({2, 2, 2}));
    mesh.child(XNode("SkinWeights").str("A").ints({2, 0, 2}).floats({1.0, 0.5}).floats(
        {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
    mesh.child(XNode("SkinWeights").str("B").ints({3, 1, 2, 3}).floats({1.0, 0.5, 1.0}).floats(
        {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, -1, 0, 1}));
    XNode root("Frame", "Root");
    root.child(mesh).child(XNode("Frame", "A").child(translationFrame("B", 0, 1, 0)));
    // B turns a quarter about z, constantly; it keeps its bind translation.
    const D3DXQUATERNION quarter = turn(0, 0, 1, float(M_PI / 2));
    const XNode set = XNode("AnimationSet", "Bend").child(animation("B", 0, {{0, quarter}, {100, quarter}}));
    auto l = loadNodes("twobone", {XNode("AnimTicksPerSecond").ints({100}), root, set}, Form::Binary32);
    ASSERT_EQ(l->hr, D3D_OK);
    ASSERT_NE(l->anim, nullptr);
    EXPECT_EQ(l->anim->AdvanceTime(0.5, nullptr), D3D_OK);

    std::map<std::string, D3DXMATRIX> world;
    D3DXMATRIX identity;
    combine(l->root, *D3DXMatrixIdentity(&identity), world);
    D3DXMESHCONTAINER* c = l->root->pMeshContainer;
    ID3DXSkinInfo* skin = c->pSkinInfo;
    ASSERT_NE(skin, nullptr);
    ASSERT_EQ(skin->GetNumBones(), 2u);
    EXPECT_EQ(skin->GetBoneName(2), nullptr);
    EXPECT_EQ(skin->GetFVF(), DWORD(D3DFVF_XYZ | D3DFVF_NORMAL));
    // The loader keeps no reference of its own: only the allocator's.
    EXPECT_TRUE(skin->AddRef() == 2 && skin->Release() == 1);
    EXPECT_TRUE(c->MeshData.pMesh->AddRef() == 2 && c->MeshData.pMesh->Release() == 1);
    std::vector<D3DXMATRIX> bones(skin->GetNumBones());
    for (DWORD i = 0; i < bones.size(); ++i) bones[i] = *skin->GetBoneOffsetMatrix(i) * world.at(skin->GetBoneName(i));
    // Skin into a copy in the engine's vertex format (two coordinate sets).
    ID3DXMesh* copy;
    const DWORD engineFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2;
    ASSERT_EQ(c->MeshData.pMesh->CloneMeshFVF(D3DXMESH_MANAGED, engineFvf, nullptr, &copy), D3D_OK);
    void *src, *dst;
    c->MeshData.pMesh->LockVertexBuffer(D3DLOCK_READONLY, &src);
    copy->LockVertexBuffer(0, &dst);
    EXPECT_EQ(skin->UpdateSkinnedMesh(bones.data(), nullptr, src, dst), D3D_OK);

    const float h = float(M_SQRT1_2);
    const struct {
        D3DXVECTOR3 from, normalFrom, to, normalTo;
    } expect[] = {
        {{1, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0}},         {{0, 2, 0}, {1, 0, 0}, {-1, 1, 0}, {0, 1, 0}},
        {{0, 2, 0}, {0, 0, 1}, {-1, 1, 0}, {0, 0, 1}},        {{1, 1, 0}, {1, 0, 0}, {0.5f, 1.5f, 0}, {h, h, 0}},
        {{1, 1, 0}, {0, 0, 1}, {0.5f, 1.5f, 0}, {0, 0, 1}},   {{0, 3, 0}, {0, 0, 1}, {-2, 1, 0}, {0, 0, 1}},
    };
    const DWORD n = c->MeshData.pMesh->GetNumVertices();
    ASSERT_EQ(n, 6u) << "vertices 1 and 2 split in two";
    int matched = 0;
    for (DWORD v = 0; v < n; ++v) {
        const float* s = static_cast<const float*>(src) + v * 6;
        const float* d = static_cast<const float*>(dst) + v * 10;
        for (const auto& e : expect) {
            if (e.from != D3DXVECTOR3(s) || e.normalFrom != D3DXVECTOR3(s + 3)) continue;
            ++matched;
            for (int k = 0; k < 3; ++k) {
                EXPECT_NEAR(d[k], (&e.to.x)[k], 1e-5f) << "vertex " << v << " position " << k;
                EXPECT_NEAR(d[3 + k], (&e.normalTo.x)[k], 1e-5f) << "vertex " << v << " normal " << k;
            }
        }
    }
    EXPECT_EQ(matched, 6);
    copy->UnlockVertexBuffer();
    c->MeshData.pMesh->UnlockVertexBuffer();
    copy->Release();
}

TEST(XAnimation, KeysInterpolateAndTheSetLoops) {
    const D3DXQUATERNION none(0, 0, 0, 1), quarterY = turn(0, 1, 0, float(M_PI / 2));
    XNode matrices("AnimationKey");
    matrices.ints({4, 2, 0, 16}).floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1});
    matrices.ints({50, 16}).floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 2, 0, 0, 1});
    XNode set("AnimationSet", "Loop");
    set.child(animation("Mover", 2, {{0, {0, 0, 0, 0}}, {100, {10, 0, 0, 0}}}));
    set.child(animation("Spinner", 0, {{0, none}, {100, quarterY}}));
    set.child(animation("Scaler", 1, {{0, {1, 1, 1, 0}}, {100, {3, 3, 3, 0}}}));
    set.child(XNode("Animation").ref("Jumper").child(matrices).child(XNode("AnimationOptions").ints({1, 0})));
    set.child(animation("Ghost", 2, {{0, {1, 1, 1, 0}}}));  // no such frame
    XNode root("Frame", "Root");
    root.child(translationFrame("Mover", 5, 0, 0)).child(translationFrame("Spinner", 0, 7, 0));
    root.child(XNode("Frame", "Scaler")).child(XNode("Frame", "Jumper"));
    auto l = loadNodes("keys", {root, XNode("AnimTicksPerSecond").ints({100}), set}, Form::TextZip);
    ASSERT_EQ(l->hr, D3D_OK);
    ID3DXAnimationController* anim = l->anim;
    ASSERT_NE(anim, nullptr);
    EXPECT_EQ(anim->GetMaxNumAnimationOutputs(), 4u) << "Ghost animates nothing";

    const struct {
        double advance, mover, scale, jumper, spinAngle;
    } steps[] = {
        {0.25, 2.5, 1.5, 1, M_PI / 8},
        {0.25, 5.0, 2.0, 2, M_PI / 4},
        {0.375, 8.75, 2.75, 2, 0.875 * M_PI / 2},
        {0.375, 2.5, 1.5, 1, M_PI / 8},  // 1.25 s: looped
        {0.75, 0.0, 1.0, 1, 0.0},        // exactly two periods
    };
    double time = 0;
    for (const auto& s : steps) {
        time += s.advance;
        SCOPED_TRACE(time);
        ASSERT_EQ(anim->AdvanceTime(s.advance, nullptr), D3D_OK);
        EXPECT_NEAR(anim->GetTime(), time, 1e-9);
        EXPECT_NEAR(D3DXFrameFind(l->root, "Mover")->TransformationMatrix._41, s.mover, 1e-4);
        EXPECT_NEAR(D3DXFrameFind(l->root, "Scaler")->TransformationMatrix._22, s.scale, 1e-4);
        EXPECT_EQ(D3DXFrameFind(l->root, "Jumper")->TransformationMatrix._41, s.jumper) << "matrix keys step";
        D3DXMATRIX expected;
        D3DXMatrixRotationY(&expected, float(s.spinAngle));
        expected._42 = 7;  // the bind translation stays: the animation has no translation keys
        const D3DXMATRIX& spinner = D3DXFrameFind(l->root, "Spinner")->TransformationMatrix;
        for (int i = 0; i < 16; ++i) EXPECT_NEAR((&spinner._11)[i], (&expected._11)[i], 1e-5f) << "spinner " << i;
    }
}

TEST(XAnimation, SetsAreNumberedFromTheLastInTheFileAndTrack0StartsWithSet0) {
    std::vector<XNode> nodes = {translationFrame("F", 0, 0, 0), XNode("AnimTicksPerSecond").ints({10})};
    for (uint32_t set : {1, 2})
        nodes.push_back(XNode("AnimationSet", set == 1 ? "First" : "Second")
                            .child(animation("F", 2, {{0, {float(set), 0, 0, 0}}, {10, {float(set), 0, 0, 0}}})));
    auto l = loadNodes("twosets", nodes, Form::Binary64);
    ASSERT_EQ(l->hr, D3D_OK);
    ID3DXAnimationController* anim = l->anim;
    ASSERT_NE(anim, nullptr);
    EXPECT_EQ(anim->GetNumAnimationSets(), 2u);
    ID3DXAnimationSet *s0 = nullptr, *s1 = nullptr, *bad = nullptr;
    ASSERT_TRUE(anim->GetAnimationSet(0, &s0) == D3D_OK && anim->GetAnimationSet(1, &s1) == D3D_OK);
    EXPECT_EQ(anim->GetAnimationSet(2, &bad), D3DERR_INVALIDCALL);
    EXPECT_STREQ(s0->GetName(), "Second");
    EXPECT_STREQ(s1->GetName(), "First");
    ASSERT_EQ(anim->AdvanceTime(0, nullptr), D3D_OK);
    EXPECT_EQ(l->root->TransformationMatrix._41, 2.0f);
    ASSERT_EQ(anim->SetTrackAnimationSet(0, s1), D3D_OK);
    ASSERT_EQ(anim->AdvanceTime(0, nullptr), D3D_OK);
    EXPECT_EQ(l->root->TransformationMatrix._41, 1.0f);
    EXPECT_EQ(anim->SetTrackAnimationSet(1, s1), D3DERR_INVALIDCALL) << "one track";
    EXPECT_EQ(s0->Release(), 1u) << "the controller keeps its own reference";
    EXPECT_EQ(s1->Release(), 1u);
}

}  // namespace
