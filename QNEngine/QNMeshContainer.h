// A mesh of a loaded X-file hierarchy, as the engine's allocator makes it:
// the D3DX container (its mesh the engine's own copy, its material and effect
// pointers unused) plus the textures and materials it draws with and, for a
// skinned mesh, what the software skinning needs. Everything here is owned
// by the container and freed by CQNAllocateHierarchy::DestroyMeshContainer.
#ifndef QN_MESH_CONTAINER_H
#define QN_MESH_CONTAINER_H

#include <d3dx9.h>

class CQNMeshContainer : public D3DXMESHCONTAINER {
public:
    // Every pointer null, no materials.
    CQNMeshContainer();

    // One per material: its texture (null when it names none or the file
    // could not be loaded) and its material as drawn.
    IDirect3DTexture9** m_textures;
    D3DMATERIAL9* m_materials;
    // The copy the skinning writes into and that is drawn instead of the mesh;
    // null for a mesh without skin (or whose skin was refused).
    ID3DXMesh* m_skinnedMesh;
    // One per bone: the skin's offset matrix, and the combined matrix of the
    // frame that bears the bone's name.
    D3DXMATRIX* m_boneOffsets;
    D3DXMATRIX** m_boneMatrixPtrs;
};

#endif
