// One loaded X file: its frame hierarchy, its meshes with their materials and
// textures, an optional skin posed by software skinning and an optional
// animation controller. The model manager keeps one per file name; every mesh
// model that names the file shares it (and its animation time).
#ifndef QN_XMODEL_H
#define QN_XMODEL_H

#include <d3dx9.h>

#include <cstdint>

class CQNFrame;
class CQNMeshContainer;

class CQNXModel {
public:
    CQNXModel();
    // Releases the controller, frees the hierarchy and the work space.
    virtual ~CQNXModel();

    // Loads the file on the wrapper's device. A file that cannot be loaded is
    // reported once (QNRSLT_D3DFAILED at "CQNXModel::loadXFile( )" with the
    // path) and leaves an empty model that updates and draws nothing. The
    // path is kept in m_fileName either way. A skinned mesh one of whose bones
    // names no frame is reported and drawn unskinned.
    void loadXFile(const char* path);
    // Puts animation set `index` on track 0 (set 0 is the file's last
    // AnimationSet). Nothing when it is the current set or out of range.
    void setAnimationSet(uint32_t index);
    // Advances the animation by `seconds`, recomputes every frame's combined
    // matrix and skins the first mesh container.
    void update(double seconds);
    // Draws every container of the first frame that has one, each subset
    // with its material and texture, all with the world matrix already set
    // on the device: the frames' own matrices are not applied. A material
    // of 0 or more draws only the subsets of that material number.
    void render(int32_t material = -1);
    // The most materials of any of its containers (at least 1).
    uint32_t materialCount() const;

    CQNFrame* m_frameRoot;
    D3DXMATRIX* m_boneMatrices;
    uint32_t m_maxBones;
    int32_t m_currentAnimationSet;
    uint32_t m_numAnimationSets;
    ID3DXAnimationController* m_animController;
    char* m_fileName;
    CQNMeshContainer* m_firstMeshContainer;

protected:
    // Depth first: the frame's first container, then its siblings, then its
    // children. Notes the first container met and prepares each skin.
    void _setupBoneMatrixPointers(CQNFrame* frame);
    // Combined matrix = own matrix * parent's combined (null parent: a copy).
    void _updateFrameMatrices(CQNFrame* frame, const D3DXMATRIX* parent);

private:
    // Skinning copy and bone pointers of one skinned container; refuses the
    // skin (reported, drawn unskinned) when a bone names no frame.
    void _setupSkin(CQNMeshContainer* container);
};

#endif
