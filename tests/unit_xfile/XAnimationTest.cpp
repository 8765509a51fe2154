// The animation controller and software skinning, driven the way the
// engine drives them: advance, combine frame matrices, skin a copy.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>

#include "XTestScenes.h"

using namespace xtest;

namespace {

const double kC45 = std::cos(M_PI / 4), kS45 = std::sin(M_PI / 4);

// A file stores a rotation key as the inverse rotation, (w, x, y, z): for
// D3DX's quaternion (x, y, z, w) it holds (w, -x, -y, -z).
XNode rotationKeys(std::vector<std::pair<uint32_t, D3DXQUATERNION>> keys) {
    XNode k("AnimationKey");
    k.ints({0, uint32_t(keys.size())});
    for (auto& key : keys) k.ints({key.first, 4}).floats({key.second.w, -key.second.x, -key.second.y, -key.second.z});
    return k;
}

XNode vectorKeys(uint32_t type, std::vector<std::pair<uint32_t, D3DXVECTOR3>> keys) {
    XNode k("AnimationKey");
    k.ints({type, uint32_t(keys.size())});
    for (auto& key : keys) k.ints({key.first, 3}).floats({key.second.x, key.second.y, key.second.z});
    return k;
}

XNode animation(const std::string& frame, const XNode& key) {
    return XNode("Animation").ref(frame).child(key).child(XNode("AnimationOptions").ints({1, 0}));
}

D3DXQUATERNION rotationZ(float angle) {
    D3DXVECTOR3 axis(0, 0, 1);
    D3DXQUATERNION q;
    D3DXQuaternionRotationAxis(&q, &axis, angle);
    return q;
}

void expectMatrixNear(const D3DXMATRIX& a, const D3DXMATRIX& b, const char* what) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR((&a._11)[i], (&b._11)[i], 1e-5f) << what << " element " << i;
}

// Combined matrices as the engine computes them: each frame's matrix times
// its parent's.
void combine(const D3DXFRAME* frame, const D3DXMATRIX& parent, std::map<std::string, D3DXMATRIX>& out) {
    for (; frame; frame = frame->pFrameSibling) {
        D3DXMATRIX m;
        D3DXMatrixMultiply(&m, &frame->TransformationMatrix, &parent);
        if (frame->Name) out[frame->Name] = m;
        combine(frame->pFrameFirstChild, m, out);
    }
}

// Two bones: A at the origin, B one unit up. Vertices: (1,0,0) on A,
// (0,2,0) and (0,3,0) on B, (1,1,0) half on each. The two faces have
// different normals, so the shared vertices 1 and 2 are split; the copies
// must move with their originals.
std::vector<XNode> twoBoneScene() {
    XNode mesh("Mesh", "Skin");
    mesh.ints({4}).floats({1, 0, 0, 0, 2, 0, 1, 1, 0, 0, 3, 0});
    mesh.ints({2, 3, 0, 1, 2, 3, 1, 3, 2});
    mesh.child(XNode("MeshNormals").ints({2}).floats({1, 0, 0, 0, 0, 1}).ints({2, 3, 0, 0, 0, 3, 1, 1, 1}));
    mesh.child(XNode("XSkinMeshHeader").ints({2, 2, 2}));
    XNode a("SkinWeights");
    a.str("A").ints({2, 0, 2}).floats({1.0, 0.5}).floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    XNode b("SkinWeights");
    b.str("B").ints({3, 1, 2, 3}).floats({1.0, 0.5, 1.0}).floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, -1, 0, 1});
    mesh.child(a).child(b);

    XNode root("Frame", "Root");
    root.child(mesh).child(XNode("Frame", "A").child(translationFrame("B", 0, 1, 0)));
    // B turns a quarter about z, constantly; it keeps its bind translation.
    XNode set("AnimationSet", "Bend");
    set.child(animation("B", rotationKeys({{0, rotationZ(float(M_PI / 2))}, {100, rotationZ(float(M_PI / 2))}})));
    return {XNode("AnimTicksPerSecond").ints({100}), root, set};
}

TEST(XAnimation, TwoBoneMeshPosedByAKnownKey) {
    auto l = loadNodes("twobone", twoBoneScene(), Form::Binary32);
    ASSERT_EQ(l->hr, D3D_OK);
    ASSERT_NE(l->anim, nullptr);
    EXPECT_EQ(l->anim->AdvanceTime(0.5, nullptr), D3D_OK);

    std::map<std::string, D3DXMATRIX> world;
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    combine(l->root, identity, world);
    D3DXMESHCONTAINER* c = l->root->pMeshContainer;
    ID3DXSkinInfo* skin = c->pSkinInfo;
    ASSERT_NE(skin, nullptr);
    std::vector<D3DXMATRIX> bones(skin->GetNumBones());
    for (DWORD i = 0; i < bones.size(); ++i)
        D3DXMatrixMultiply(&bones[i], skin->GetBoneOffsetMatrix(i), &world.at(skin->GetBoneName(i)));

    // Skin into a copy in the engine's vertex format (two coordinate sets).
    ID3DXMesh* copy;
    ASSERT_EQ(c->MeshData.pMesh->CloneMeshFVF(D3DXMESH_MANAGED, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2,
                                              nullptr, &copy),
              D3D_OK);
    void *src, *dst;
    c->MeshData.pMesh->LockVertexBuffer(D3DLOCK_READONLY, &src);
    copy->LockVertexBuffer(0, &dst);
    EXPECT_EQ(skin->UpdateSkinnedMesh(bones.data(), nullptr, src, dst), D3D_OK);

    struct Expect {
        D3DXVECTOR3 from, normalFrom, to, normalTo;
    };
    const float h = float(kS45);
    const Expect expect[] = {
        {{1, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0}},
        {{0, 2, 0}, {1, 0, 0}, {-1, 1, 0}, {0, 1, 0}},
        {{0, 2, 0}, {0, 0, 1}, {-1, 1, 0}, {0, 0, 1}},
        {{1, 1, 0}, {1, 0, 0}, {0.5f, 1.5f, 0}, {h, h, 0}},
        {{1, 1, 0}, {0, 0, 1}, {0.5f, 1.5f, 0}, {0, 0, 1}},
        {{0, 3, 0}, {0, 0, 1}, {-2, 1, 0}, {0, 0, 1}},
    };
    const DWORD n = c->MeshData.pMesh->GetNumVertices();
    ASSERT_EQ(n, 6u) << "vertices 1 and 2 split in two";
    int matched = 0;
    for (DWORD v = 0; v < n; ++v) {
        const float* s = static_cast<const float*>(src) + v * 6;
        const float* d = static_cast<const float*>(dst) + v * 10;
        for (const Expect& e : expect) {
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

std::vector<XNode> keyScene() {
    D3DXQUATERNION none(0, 0, 0, 1), turn;
    D3DXVECTOR3 yAxis(0, 1, 0);
    D3DXQuaternionRotationAxis(&turn, &yAxis, float(M_PI / 2));
    XNode matrices("AnimationKey");
    matrices.ints({4, 2, 0, 16}).floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1});
    matrices.ints({50, 16}).floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 2, 0, 0, 1});
    XNode set("AnimationSet", "Loop");
    set.child(animation("Mover", vectorKeys(2, {{0, {0, 0, 0}}, {100, {10, 0, 0}}})));
    set.child(animation("Spinner", rotationKeys({{0, none}, {100, turn}})));
    set.child(animation("Scaler", vectorKeys(1, {{0, {1, 1, 1}}, {100, {3, 3, 3}}})));
    set.child(animation("Jumper", matrices));
    set.child(animation("Ghost", vectorKeys(2, {{0, {1, 1, 1}}})));  // no such frame
    XNode root("Frame", "Root");
    root.child(translationFrame("Mover", 5, 0, 0)).child(translationFrame("Spinner", 0, 7, 0));
    root.child(XNode("Frame", "Scaler")).child(XNode("Frame", "Jumper"));
    return {root, XNode("AnimTicksPerSecond").ints({100}), set};
}

TEST(XAnimation, KeysInterpolateAndTheSetLoops) {
    auto l = loadNodes("keys", keyScene(), Form::TextZip);
    ASSERT_EQ(l->hr, D3D_OK);
    ID3DXAnimationController* anim = l->anim;
    ASSERT_NE(anim, nullptr);
    D3DXFRAME* mover = D3DXFrameFind(l->root, "Mover");
    D3DXFRAME* spinner = D3DXFrameFind(l->root, "Spinner");
    D3DXFRAME* scaler = D3DXFrameFind(l->root, "Scaler");
    D3DXFRAME* jumper = D3DXFrameFind(l->root, "Jumper");
    EXPECT_EQ(anim->GetMaxNumAnimationOutputs(), 4u) << "Ghost animates nothing";

    struct Step {
        double advance, mover, scale, jumper, spinAngle;
    };
    const Step steps[] = {
        {0.25, 2.5, 1.5, 1, M_PI / 8},
        {0.25, 5.0, 2.0, 2, M_PI / 4},
        {0.375, 8.75, 2.75, 2, 0.875 * M_PI / 2},
        {0.375, 2.5, 1.5, 1, M_PI / 8},  // 1.25 s: looped
        {0.75, 0.0, 1.0, 1, 0.0},        // exactly two periods
    };
    double time = 0;
    for (const Step& s : steps) {
        time += s.advance;
        ASSERT_EQ(anim->AdvanceTime(s.advance, nullptr), D3D_OK);
        EXPECT_NEAR(anim->GetTime(), time, 1e-9);
        EXPECT_NEAR(mover->TransformationMatrix._41, s.mover, 1e-4) << "t=" << time;
        EXPECT_NEAR(scaler->TransformationMatrix._22, s.scale, 1e-4) << "t=" << time;
        EXPECT_EQ(jumper->TransformationMatrix._41, s.jumper) << "matrices step, t=" << time;
        D3DXMATRIX expected;
        D3DXMatrixRotationY(&expected, float(s.spinAngle));
        expected._42 = 7;  // the bind translation stays: the animation has no translation keys
        expectMatrixNear(spinner->TransformationMatrix, expected, "spinner");
    }
}

TEST(XAnimation, SetsAreNumberedFromTheLastInTheFile) {
    std::vector<XNode> nodes = {translationFrame("F", 0, 0, 0), XNode("AnimTicksPerSecond").ints({10})};
    nodes.push_back(XNode("AnimationSet", "First").child(animation("F", vectorKeys(2, {{0, {1, 0, 0}}, {20, {1, 0, 0}}}))));
    nodes.push_back(XNode("AnimationSet", "Second").child(animation("F", vectorKeys(2, {{0, {2, 0, 0}}, {10, {2, 0, 0}}}))));
    auto l = loadNodes("twosets", nodes, Form::Binary64);
    ASSERT_EQ(l->hr, D3D_OK);
    ID3DXAnimationController* anim = l->anim;
    ASSERT_NE(anim, nullptr);
    EXPECT_EQ(anim->GetMaxNumAnimationSets(), 2u);
    EXPECT_EQ(anim->GetNumAnimationSets(), 2u);
    ID3DXAnimationSet *s0 = nullptr, *s1 = nullptr, *bad = nullptr;
    ASSERT_EQ(anim->GetAnimationSet(0, &s0), D3D_OK);
    ASSERT_EQ(anim->GetAnimationSet(1, &s1), D3D_OK);
    EXPECT_EQ(anim->GetAnimationSet(2, &bad), D3DERR_INVALIDCALL);
    EXPECT_STREQ(s0->GetName(), "Second");
    EXPECT_STREQ(s1->GetName(), "First");
    EXPECT_DOUBLE_EQ(s1->GetPeriod(), 2.0);
    EXPECT_DOUBLE_EQ(s1->GetPeriodicPosition(4.5), 0.5);
    EXPECT_DOUBLE_EQ(s0->GetPeriodicPosition(-0.25), 0.75);

    D3DXFRAME* f = l->root;
    ASSERT_EQ(anim->AdvanceTime(0, nullptr), D3D_OK);
    EXPECT_EQ(f->TransformationMatrix._41, 2.0f) << "track 0 starts with set 0";
    ASSERT_EQ(anim->SetTrackAnimationSet(0, s1), D3D_OK);
    ASSERT_EQ(anim->AdvanceTime(0, nullptr), D3D_OK);
    EXPECT_EQ(f->TransformationMatrix._41, 1.0f);
    EXPECT_EQ(anim->SetTrackAnimationSet(1, s1), D3DERR_INVALIDCALL) << "one track";
    ID3DXAnimationSet* onTrack = nullptr;
    ASSERT_EQ(anim->GetTrackAnimationSet(0, &onTrack), D3D_OK);
    EXPECT_EQ(onTrack, s1);
    onTrack->Release();
    EXPECT_EQ(s0->Release(), 1u) << "the controller keeps its own reference";
    EXPECT_EQ(s1->Release(), 1u);
}

}  // namespace
