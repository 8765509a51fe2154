// Builds XSceneData from a parsed document: Frame / FrameTransformMatrix /
// Mesh at any depth, AnimTicksPerSecond and AnimationSet / Animation /
// AnimationKey at top level. Unknown objects are skipped with their children.
#ifndef ZV_D3DX9_XFILE_XSCENEBUILDER_H
#define ZV_D3DX9_XFILE_XSCENEBUILDER_H

#include "XFileDocument.h"
#include "XSceneData.h"

namespace d3dxfile {

class XSceneBuilder {
public:
    // A file without a top-level Frame or Mesh gives XError::NoFrames.
    static XError build(const XDocument& doc, XSceneData& out);

    // Parses and builds in one step.
    static XError loadFile(const char* path, XSceneData& out);
    // The same on a whole file already in memory.
    static XError loadMemory(const uint8_t* file, size_t size, XSceneData& out);

private:
    static XError buildFrame(const XObject& obj, const XDocument& doc, XFrameData& out);
    static XError buildAnimationSet(const XObject& obj, XAnimationSetData& out);
    static XError readKeys(const XObject& obj, XAnimationData& out);
};

}  // namespace d3dxfile

#endif
