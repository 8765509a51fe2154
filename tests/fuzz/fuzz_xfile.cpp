// libFuzzer target for the .x reader: any bytes in, through
// D3DXLoadMeshHierarchyFromXInMemory (text, binary and MSZIP forms) to a
// frame tree and an animation controller that is then advanced, with every
// skinned mesh skinned once. Never a crash, a leak or a read past the input.
//
// On start it seeds an empty corpus folder (the first non-flag argument) with
// small valid files in each form, made by the unit tests' .x writer.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "TestAllocator.h"
#include "XFileWriter.h"

namespace {

using namespace xtest;

XNode skinnedMesh() {
    XNode mesh("Mesh", "Skin");
    mesh.ints({4}).floats({1, 0, 0, 0, 2, 0, 1, 1, 0, 0, 3, 0}).ints({2, 3, 0, 1, 2, 3, 1, 3, 2});
    mesh.child(XNode("MeshNormals").ints({2}).floats({1, 0, 0, 0, 0, 1}).ints({2, 3, 0, 0, 0, 3, 1, 1, 1}));
    mesh.child(XNode("MeshTextureCoords").ints({4}).floats({0, 0, 1, 0, 0, 1, 1, 1}));
    XNode material("Material", "Red");
    material.floats({1, 0, 0, 1, 8, 1, 1, 1, 0, 0, 0}).child(XNode("TextureFilename").str("tex\\red.png"));
    mesh.child(XNode("MeshMaterialList").ints({1, 2, 0, 0}).child(material));
    mesh.child(XNode("XSkinMeshHeader").ints({2, 2, 2}));
    mesh.child(XNode("SkinWeights").str("A").ints({2, 0, 2}).floats({1.0, 0.5}).floats(
        {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
    mesh.child(XNode("SkinWeights").str("B").ints({3, 1, 2, 3}).floats({1.0, 0.5, 1.0}).floats(
        {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, -1, 0, 1}));
    return mesh;
}

XNode frame(const std::string& name, float y) {
    return XNode("Frame", name).child(XNode("FrameTransformMatrix").floats(
        {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, y, 0, 1}));
}

XNode animation(const std::string& target, uint32_t type, uint32_t values) {
    XNode key("AnimationKey");
    key.ints({type, 2});
    for (uint32_t t : {0u, 100u}) {
        key.ints({t, values});
        for (uint32_t v = 0; v < values; ++v) key.floats({v == 0 ? 1.0 : 0.25 * t / 100});
    }
    return XNode("Animation").ref(target).child(key).child(XNode("AnimationOptions").ints({1, 0}));
}

std::vector<std::string> seeds() {
    XNode root = frame("Root", 0);
    root.child(skinnedMesh()).child(frame("A", 0).child(frame("B", 1)));
    const XNode set = XNode("AnimationSet", "Bend")
                          .child(animation("B", 0, 4))
                          .child(animation("A", 1, 3))
                          .child(animation("Root", 2, 3))
                          .child(animation("A", 4, 16));
    const std::vector<XNode> scene = {XNode("AnimTicksPerSecond").ints({100}), root, set};
    std::vector<std::string> out;
    for (Form form : {Form::Text, Form::Binary32, Form::Binary64, Form::TextZip, Form::BinaryZip32,
                      Form::BinaryZip64}) {
        out.push_back(writeFile(scene, form));
    }
    out.push_back(writeFile({skinnedMesh()}, Form::Text));
    return out;
}

// Poses every skinned container the way the engine's draw does: the bones'
// combined matrices, then one software skinning pass into a copy.
void skinAll(D3DXFRAME* frame) {
    for (; frame; frame = frame->pFrameSibling) {
        for (D3DXMESHCONTAINER* c = frame->pMeshContainer; c; c = c->pNextMeshContainer) {
            ID3DXMesh* mesh = c->MeshData.pMesh;
            if (!c->pSkinInfo || !mesh) continue;
            std::vector<D3DXMATRIX> bones(c->pSkinInfo->GetNumBones());
            for (DWORD b = 0; b < bones.size(); ++b) {
                bones[b] = *c->pSkinInfo->GetBoneOffsetMatrix(b);
            }
            void* src = nullptr;
            if (FAILED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &src))) continue;
            std::vector<unsigned char> dst(size_t(mesh->GetNumVertices()) * mesh->GetNumBytesPerVertex());
            c->pSkinInfo->UpdateSkinnedMesh(bones.data(), nullptr, src, dst.data());
            mesh->UnlockVertexBuffer();
        }
        skinAll(frame->pFrameFirstChild);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    const char* corpus = nullptr;
    for (int i = 1; i < *argc; ++i) {
        if ((*argv)[i][0] != '-') {
            corpus = (*argv)[i];
            break;
        }
    }
    if (!corpus) return 0;
    mkdir(corpus, 0755);
    std::string first = std::string(corpus) + "/seed_0";
    if (std::FILE* f = std::fopen(first.c_str(), "rb")) {
        std::fclose(f);
        return 0;  // seeded before
    }
    std::vector<std::string> all = seeds();
    for (size_t i = 0; i < all.size(); ++i) {
        std::string path = std::string(corpus) + "/seed_" + std::to_string(i);
        if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(all[i].data(), 1, all[i].size(), f);
            std::fclose(f);
        }
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    TestAllocator alloc;
    D3DXFRAME* root = nullptr;
    ID3DXAnimationController* anim = nullptr;
    HRESULT hr = D3DXLoadMeshHierarchyFromXInMemory(data, DWORD(size), D3DXMESH_MANAGED, nullptr, &alloc,
                                                    nullptr, &root, &anim);
    if (FAILED(hr)) {
        // A failed load leaves nothing behind.
        if (root || anim || alloc.liveFrames || alloc.liveContainers) std::abort();
        return 0;
    }
    if (!root) std::abort();
    if (anim) {
        for (UINT i = 0; i < anim->GetNumAnimationSets(); ++i) {
            ID3DXAnimationSet* set = nullptr;
            if (SUCCEEDED(anim->GetAnimationSet(i, &set)) && set) {
                anim->SetTrackAnimationSet(0, set);
                set->Release();
            }
            for (double step : {0.0, 0.25, 1.5, 1e6}) anim->AdvanceTime(step, nullptr);
        }
        anim->ResetTime();
        anim->AdvanceTime(0.5, nullptr);
    }
    skinAll(root);
    if (anim) anim->Release();
    D3DXFrameDestroy(root, &alloc);
    if (alloc.liveFrames || alloc.liveContainers) std::abort();
    return 0;
}
