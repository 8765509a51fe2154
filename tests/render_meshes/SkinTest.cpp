// Skinned meshes posed by their animation: vertex positions of the skinned
// copy and the pixels it draws; a shared file animated by every model that
// shows it; a skin whose bone names no frame.
#include <gtest/gtest.h>

#include <cmath>

#include "DX_ModelManager.h"
#include "MeshFixture.h"
#include "QNBaseRend.h"
#include "QNMeshContainer.h"
#include "QNModelMesh.h"
#include "QNXModel.h"
#include "XText.h"

namespace {

const xtext::Material kArmColour = {0.8f, 0.4f, 0.2f};
// The arm's colour lit face-on by the default light (no texture, no map).
const Rgb kArmLit = {224, 112, 56};

class Skin : public MeshFixture {
protected:
    // Positions of a mesh's vertices (position first in every vertex).
    static std::vector<D3DXVECTOR3> positions(ID3DXMesh* mesh) {
        std::vector<D3DXVECTOR3> out;
        void* data = nullptr;
        if (FAILED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &data))) return out;
        const DWORD stride = mesh->GetNumBytesPerVertex();
        for (DWORD i = 0; i < mesh->GetNumVertices(); ++i)
            out.push_back(*reinterpret_cast<const D3DXVECTOR3*>(static_cast<const char*>(data) + i * stride));
        mesh->UnlockVertexBuffer();
        return out;
    }

    // Every vertex of the skinned copy where the bend by `degrees` puts it:
    // vertices 0-3 stay with bone A, 4-7 turn with bone B.
    static void expectPose(CQNXModel* m, float degrees, const char* why) {
        CQNMeshContainer* c = m->m_firstMeshContainer;
        ASSERT_NE(c, nullptr) << why;
        ASSERT_NE(c->m_skinnedMesh, nullptr) << why;
        std::vector<D3DXVECTOR3> bind = positions(c->MeshData.pMesh);
        std::vector<D3DXVECTOR3> posed = positions(c->m_skinnedMesh);
        ASSERT_EQ(bind.size(), 8u) << why;
        ASSERT_EQ(posed.size(), 8u) << why;
        for (size_t i = 0; i < 8; ++i) {
            D3DXVECTOR3 want = i < 4 ? bind[i] : xtext::bent(bind[i], degrees);
            EXPECT_NEAR(posed[i].x, want.x, 0.05f) << why << ": vertex " << i;
            EXPECT_NEAR(posed[i].y, want.y, 0.05f) << why << ": vertex " << i;
            EXPECT_NEAR(posed[i].z, want.z, 0.05f) << why << ": vertex " << i;
        }
    }
};

TEST_F(Skin, AnimationPosesAndDrawsTheSkinnedCopy) {
    zvtestsupport::writeFile("Assets\\Meshes\\arm.x", xtext::arm(kArmColour));
    auto rend = makeMesh("arm", "Assets\\Meshes\\arm.x");
    CQNXModel* m = model("Assets\\Meshes\\arm.x");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->m_currentAnimationSet, 0) << "set 0 is put on the track at load";
    EXPECT_EQ(m->m_maxBones, 2u);
    // 100 ticks per second, keys at 0 and 200: 90 degrees per second.
    struct Row {
        const char* why;
        double seconds;  // frame time of this step
        float degrees;   // pose afterwards
    } rows[] = {
        {"the first frame is the bind pose", 0.0, 0.0f},
        {"a quarter second", 0.25, 22.5f},
        {"half a second", 0.25, 45.0f},
        {"one second", 0.5, 90.0f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        tick(row.seconds);
        EXPECT_EQ(rend->update(), QNRSLT_OK);
        expectPose(m, row.degrees, row.why);
        if (row.degrees != 0.0f && row.degrees != 90.0f) continue;
        // Upright, or the upper half turned a quarter to the left.
        const bool bent = row.degrees == 90.0f;
        drawFrame({rend.get()});
        int x, y;
        project(0, 20, 0, &x, &y);
        EXPECT_TRUE(near(x, y, kArmLit)) << "the lower half stays: " << rgb(x, y);
        project(0, 65, 0, &x, &y);
        EXPECT_EQ(near(x, y, kArmLit), !bent) << "above the joint " << rgb(x, y);
        project(-30, 40, 0, &x, &y);
        EXPECT_EQ(near(x, y, kArmLit), bent) << "left of the joint " << rgb(x, y);
        project(30, 40, 0, &x, &y);
        EXPECT_TRUE(near(x, y, {0, 0, 0})) << "right of the joint " << rgb(x, y);
    }
    EXPECT_TRUE(logRows().empty());
}

TEST_F(Skin, EveryModelOfASharedFileAdvancesItsAnimation) {
    zvtestsupport::writeFile("Assets\\Meshes\\arm.x", xtext::arm(kArmColour));
    auto one = makeMesh("one", "Assets\\Meshes\\arm.x");
    auto two = makeMesh("two", "Assets\\Meshes\\arm.x");
    tick(0.25);
    one->update();
    two->update();
    expectPose(model("Assets\\Meshes\\arm.x"), 45.0f, "two updates of 0.25 s: twice the speed");
}

TEST_F(Skin, SetAnimationOnlyActsOnAnotherExistingSet) {
    zvtestsupport::writeFile("Assets\\Meshes\\arm.x", xtext::arm(kArmColour));
    zvtestsupport::writeFile("Assets\\Meshes\\still.x", xtext::arm(kArmColour, "B", false));
    auto arm = makeMesh("arm", "Assets\\Meshes\\arm.x");
    auto still = makeMesh("still", "Assets\\Meshes\\still.x");
    EXPECT_EQ(arm->m_model->setAnimation(1), QNRSLT_OK);
    EXPECT_EQ(model("Assets\\Meshes\\arm.x")->m_currentAnimationSet, 0) << "there is no set 1";
    CQNXModel* fixed = model("Assets\\Meshes\\still.x");
    EXPECT_EQ(fixed->m_animController, nullptr);
    EXPECT_EQ(fixed->m_currentAnimationSet, -1) << "without a controller set 0 is not taken";
    // Still skinned every update, in the bind pose.
    tick(0.5);
    still->update();
    expectPose(fixed, 0.0f, "no animation");
}

TEST_F(Skin, BoneWithoutFrameRefusesTheSkin) {
    zvtestsupport::writeFile("Assets\\Meshes\\ghost.x", xtext::arm(kArmColour, "Ghost"));
    auto rend = makeMesh("ghost", "Assets\\Meshes\\ghost.x");
    CQNXModel* m = model("Assets\\Meshes\\ghost.x");
    ASSERT_NE(m, nullptr);
    ASSERT_NE(m->m_firstMeshContainer, nullptr);
    EXPECT_EQ(m->m_firstMeshContainer->pSkinInfo, nullptr);
    EXPECT_EQ(m->m_firstMeshContainer->m_skinnedMesh, nullptr);

    tick(1.0);
    rend->update();
    drawFrame({rend.get()});
    int x, y;
    project(0, 65, 0, &x, &y);
    EXPECT_TRUE(near(x, y, kArmLit)) << "drawn as loaded, upright: " << rgb(x, y);

    std::vector<LogRow> log = logRows();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].location, "CQNXModel::_setupBoneMatrixPointers( )");
    EXPECT_NE(log[0].info.find("Assets\\Meshes\\ghost.x"), std::string::npos) << log[0].info;
    EXPECT_NE(log[0].info.find("Ghost"), std::string::npos) << log[0].info;
}

}  // namespace
