// A whole .x file as D3DXLoadMeshHierarchyFromX sees it: one frame tree with
// meshes, and the animation sets. Plain data, no device.
#ifndef ZV_D3DX9_XFILE_XSCENEDATA_H
#define ZV_D3DX9_XFILE_XSCENEDATA_H

#include "XMeshData.h"

namespace d3dxfile {

struct XFrameData {
    // Frames of the file pass their name, "" when they have none; the frames
    // the loader adds (around a top-level mesh, above several top-level
    // frames) have no name at all.
    bool hasName = false;
    std::string name;
    float matrix[16];  // FrameTransformMatrix, identity when absent
    std::vector<XMeshData> meshes;
    std::vector<XFrameData> children;
};

struct XVectorKey {
    double time;  // ticks
    float value[3];
};

// Rotation as a D3DXQUATERNION (x, y, z, w) in D3DX's row-vector convention.
// A file stores the inverse rotation as (w, x, y, z); it is conjugated here.
struct XQuaternionKey {
    double time;
    float value[4];
};

struct XMatrixKey {
    double time;
    float value[16];
};

struct XAnimationData {
    std::string frameName;
    std::vector<XVectorKey> scale, translation;
    std::vector<XQuaternionKey> rotation;
    std::vector<XMatrixKey> matrix;  // key types 3 and 4
};

struct XAnimationSetData {
    std::string name;
    std::vector<XAnimationData> animations;
};

struct XSceneData {
    XFrameData root;
    std::vector<XAnimationSetData> sets;  // file order
    double ticksPerSecond = 4800.0;       // AnimTicksPerSecond, or the usual default
};

}  // namespace d3dxfile

#endif
