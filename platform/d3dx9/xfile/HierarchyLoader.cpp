// D3DXLoadMeshHierarchyFromXA: the file is read and every mesh built in
// plain memory first, so a bad file fails before the allocator is called;
// then the frames and mesh containers are made through the allocator.
#include <d3dx9anim.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "D3DXAnimationControllerObject.h"
#include "D3DXAnimationSetObject.h"
#include "D3DXMeshObject.h"
#include "D3DXSkinInfoObject.h"
#include "XFileReport.h"
#include "XSceneBuilder.h"
#include "win32/PathResolver.h"

using namespace d3dxfile;

namespace {

HRESULT resultOf(XError err) {
    switch (err) {
    case XError::None: return D3D_OK;
    case XError::FileNotFound: return D3DXERR_INVALIDDATA;
    case XError::BadFileType: return D3DXFERR_BADFILETYPE;
    case XError::BadFileVersion: return D3DXFERR_BADFILEVERSION;
    case XError::BadFloatSize: return D3DXFERR_BADFILEFLOATSIZE;
    case XError::BadCompression: return D3DXFERR_BADFILE;
    case XError::ParseError: return D3DXFERR_PARSEERROR;
    case XError::BadReference: return D3DXFERR_BADDATAREFERENCE;
    case XError::InvalidData: return E_FAIL;
    case XError::NoFrames: return E_FAIL;
    case XError::OutOfMemory: return E_OUTOFMEMORY;
    }
    reportUnhandled(".x load error", (unsigned long)err);
    return E_FAIL;
}

HRESULT makeMesh(const XMeshData& data, DWORD options, IDirect3DDevice9* device,
                 D3DXMeshObject** out) {
    DWORD fvf = D3DFVF_XYZ;
    if (data.hasNormals) fvf |= D3DFVF_NORMAL;
    if (data.hasTexCoords) fvf |= D3DFVF_TEX1;
    D3DXMeshObject* mesh;
    HRESULT hr = D3DXMeshObject::create(data.triangleCount(), data.vertexCount(), options, fvf,
                                        device, &mesh);
    if (FAILED(hr)) return hr;
    const FvfLayout& layout = mesh->layout();
    BYTE* vertices;
    mesh->LockVertexBuffer(0, reinterpret_cast<void**>(&vertices));
    for (DWORD v = 0; v < data.vertexCount(); ++v) {
        BYTE* dst = vertices + size_t(v) * layout.stride;
        std::memcpy(dst, &data.positions[size_t(v) * 3], 12);
        if (data.hasNormals) std::memcpy(dst + layout.normal, &data.normals[size_t(v) * 3], 12);
        if (data.hasTexCoords) std::memcpy(dst + layout.tex, &data.texCoords[size_t(v) * 2], 8);
    }
    mesh->UnlockVertexBuffer();
    void* indices;
    mesh->LockIndexBuffer(0, &indices);
    const bool wide = (mesh->GetOptions() & D3DXMESH_32BIT) != 0;
    for (size_t i = 0; i < data.indices.size(); ++i) {
        if (wide) static_cast<DWORD*>(indices)[i] = data.indices[i];
        else static_cast<WORD*>(indices)[i] = WORD(data.indices[i]);
    }
    mesh->UnlockIndexBuffer();
    DWORD* attributes;
    mesh->LockAttributeBuffer(0, &attributes);
    std::copy(data.attributes.begin(), data.attributes.end(), attributes);
    mesh->UnlockAttributeBuffer();
    std::vector<D3DXATTRIBUTERANGE> table;
    for (const XAttributeRange& r : data.attributeTable)
        table.push_back(D3DXATTRIBUTERANGE{r.attribId, r.faceStart, r.faceCount, r.vertexStart,
                                           r.vertexCount});
    mesh->setAttributeTable(table.data(), DWORD(table.size()));
    *out = mesh;
    return D3D_OK;
}

HRESULT makeContainer(const XMeshData& data, DWORD options, IDirect3DDevice9* device,
                      ID3DXAllocateHierarchy* alloc, LPD3DXMESHCONTAINER* out) {
    *out = nullptr;
    D3DXMeshObject* mesh;
    HRESULT hr = makeMesh(data, options, device, &mesh);
    if (FAILED(hr)) return hr;
    D3DXSkinInfoObject* skin = nullptr;
    if (data.skinned) {
        skin = D3DXSkinInfoObject::create(data.vertexCount(), mesh->GetFVF(), data.bones);
        if (!skin) {
            mesh->Release();
            return E_OUTOFMEMORY;
        }
    }
    // The materials and their texture names live here for the call only.
    std::vector<std::string> names;
    names.reserve(data.materials.size());
    std::vector<D3DXMATERIAL> materials(data.materials.size());
    std::vector<D3DXEFFECTINSTANCE> effects(data.materials.size(), D3DXEFFECTINSTANCE{});
    for (size_t i = 0; i < data.materials.size(); ++i) {
        const XMaterialData& m = data.materials[i];
        D3DMATERIAL9& d = materials[i].MatD3D;
        d.Diffuse = D3DCOLORVALUE{m.diffuse[0], m.diffuse[1], m.diffuse[2], m.diffuse[3]};
        d.Ambient = D3DCOLORVALUE{0.0f, 0.0f, 0.0f, 1.0f};
        d.Specular = D3DCOLORVALUE{m.specular[0], m.specular[1], m.specular[2], 1.0f};
        d.Emissive = D3DCOLORVALUE{m.emissive[0], m.emissive[1], m.emissive[2], 1.0f};
        d.Power = m.power;
        materials[i].pTextureFilename = nullptr;
        if (m.hasTexture) {
            names.push_back(m.texture);
            materials[i].pTextureFilename = names.back().data();
        }
    }
    D3DXMESHDATA meshData;
    meshData.Type = D3DXMESHTYPE_MESH;
    meshData.pMesh = mesh;
    const DWORD count = DWORD(data.materials.size());
    hr = alloc->CreateMeshContainer(data.name.c_str(), &meshData, count ? materials.data() : nullptr,
                                    count ? effects.data() : nullptr, count, data.adjacency.data(),
                                    skin, out);
    mesh->Release();
    if (skin) skin->Release();
    return hr;
}

// Makes the frame and everything below it, linking as it goes so that after
// a failure *out holds all that was made.
HRESULT makeFrame(const XFrameData& data, DWORD options, IDirect3DDevice9* device,
                  ID3DXAllocateHierarchy* alloc, LPD3DXFRAME* out) {
    *out = nullptr;
    LPD3DXFRAME frame = nullptr;
    HRESULT hr = alloc->CreateFrame(data.hasName ? data.name.c_str() : nullptr, &frame);
    if (FAILED(hr) || !frame) return E_FAIL;
    *out = frame;
    frame->TransformationMatrix = D3DXMATRIX(data.matrix);
    frame->pMeshContainer = nullptr;
    frame->pFrameSibling = nullptr;
    frame->pFrameFirstChild = nullptr;
    LPD3DXMESHCONTAINER* nextContainer = &frame->pMeshContainer;
    for (const XMeshData& mesh : data.meshes) {
        hr = makeContainer(mesh, options, device, alloc, nextContainer);
        if (FAILED(hr)) return hr;
        if (*nextContainer) {
            (*nextContainer)->pNextMeshContainer = nullptr;
            nextContainer = &(*nextContainer)->pNextMeshContainer;
        }
    }
    LPD3DXFRAME* nextChild = &frame->pFrameFirstChild;
    for (const XFrameData& child : data.children) {
        hr = makeFrame(child, options, device, alloc, nextChild);
        if (*nextChild) nextChild = &(*nextChild)->pFrameSibling;
        if (FAILED(hr)) return hr;
    }
    return D3D_OK;
}

// The frames, meshes and animation of a scene already read, handed to the
// allocator; the shared second half of both loaders.
HRESULT buildHierarchy(XSceneData& scene, DWORD MeshOptions, LPDIRECT3DDEVICE9 pDevice,
                       LPD3DXALLOCATEHIERARCHY pAlloc, LPD3DXFRAME* ppFrameHierarchy,
                       LPD3DXANIMATIONCONTROLLER* ppAnimController) {
    LPD3DXFRAME root = nullptr;
    HRESULT hr = makeFrame(scene.root, MeshOptions, pDevice, pAlloc, &root);
    if (FAILED(hr)) {
        if (root) D3DXFrameDestroy(root, pAlloc);
        return hr;
    }
    if (ppAnimController && !scene.sets.empty()) {
        // D3DX numbers the sets from the last in the file.
        std::vector<D3DXAnimationSetObject*> sets;
        for (size_t i = scene.sets.size(); i-- > 0;) {
            D3DXAnimationSetObject* set =
                D3DXAnimationSetObject::create(std::move(scene.sets[i]), scene.ticksPerSecond);
            if (set) sets.push_back(set);
        }
        D3DXAnimationControllerObject* controller =
            sets.size() == scene.sets.size() ? D3DXAnimationControllerObject::create(sets, root)
                                             : nullptr;
        if (!controller) {
            if (sets.size() != scene.sets.size())
                for (D3DXAnimationSetObject* s : sets) s->Release();
            D3DXFrameDestroy(root, pAlloc);
            return E_OUTOFMEMORY;
        }
        *ppAnimController = controller;
    }
    *ppFrameHierarchy = root;
    return D3D_OK;
}

// The checks both loaders start with: the outputs cleared, then the
// arguments (a source, an allocator, somewhere to put the root; no user data
// loader, which is not offered).
HRESULT checkLoadArguments(bool haveSource, LPD3DXALLOCATEHIERARCHY pAlloc,
                           LPD3DXLOADUSERDATA pUserDataLoader, LPD3DXFRAME* ppFrameHierarchy,
                           LPD3DXANIMATIONCONTROLLER* ppAnimController) {
    if (ppFrameHierarchy) *ppFrameHierarchy = nullptr;
    if (ppAnimController) *ppAnimController = nullptr;
    if (!haveSource || !pAlloc || !ppFrameHierarchy) return D3DERR_INVALIDCALL;
    if (pUserDataLoader) {
        reportUnhandled("user data loader", 1);
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

}  // namespace

HRESULT WINAPI D3DXLoadMeshHierarchyFromXA(LPCSTR Filename, DWORD MeshOptions,
                                           LPDIRECT3DDEVICE9 pDevice,
                                           LPD3DXALLOCATEHIERARCHY pAlloc,
                                           LPD3DXLOADUSERDATA pUserDataLoader,
                                           LPD3DXFRAME* ppFrameHierarchy,
                                           LPD3DXANIMATIONCONTROLLER* ppAnimController) {
    HRESULT hr = checkLoadArguments(Filename != nullptr, pAlloc, pUserDataLoader, ppFrameHierarchy,
                                    ppAnimController);
    if (FAILED(hr)) return hr;
    std::string path = PathResolver::instance().resolve(Filename, PathResolver::Read);

    XSceneData scene;
    hr = resultOf(XSceneBuilder::loadFile(path.c_str(), scene));
    if (FAILED(hr)) return hr;
    return buildHierarchy(scene, MeshOptions, pDevice, pAlloc, ppFrameHierarchy, ppAnimController);
}

HRESULT WINAPI D3DXLoadMeshHierarchyFromXInMemory(LPCVOID Memory, DWORD SizeOfMemory,
                                                  DWORD MeshOptions, LPDIRECT3DDEVICE9 pDevice,
                                                  LPD3DXALLOCATEHIERARCHY pAlloc,
                                                  LPD3DXLOADUSERDATA pUserDataLoader,
                                                  LPD3DXFRAME* ppFrameHierarchy,
                                                  LPD3DXANIMATIONCONTROLLER* ppAnimController) {
    HRESULT hr = checkLoadArguments(Memory && SizeOfMemory != 0, pAlloc, pUserDataLoader,
                                    ppFrameHierarchy, ppAnimController);
    if (FAILED(hr)) return hr;
    XSceneData scene;
    hr = resultOf(
        XSceneBuilder::loadMemory(static_cast<const uint8_t*>(Memory), SizeOfMemory, scene));
    if (FAILED(hr)) return hr;
    return buildHierarchy(scene, MeshOptions, pDevice, pAlloc, ppFrameHierarchy, ppAnimController);
}
