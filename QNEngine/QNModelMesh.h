// The model a renderable gets for "[MODEL_TYPE]" "MESH": a mesh loaded from
// an X file, drawn with the environment map blended over it. It holds only
// the file's name; the loaded file lives in the model manager and is shared
// by every mesh model that names it.
#ifndef QN_MODEL_MESH_H
#define QN_MODEL_MESH_H

#include <cstdint>

#include "QNModel.h"

class CQNModelMesh : public CQNModel {
public:
    CQNModelMesh();
    // Frees the two names; the loaded file stays with the model manager.
    virtual ~CQNModelMesh();

    // Reads "[XFILE]" (STANDARD delimiters: no spaces in the path) and loads
    // the file unless the model manager holds one of exactly that name, then
    // copies the texture manager's last mesh texture name into
    // m_textureName and reads "[ZWRITEENABLE]" (which meshes ignore).
    // Returns 0 whatever failed.
    virtual QNRESULT initialize(const char* path) override;
    // Advances the shared file's animation by the last frame's time and
    // poses it: two models of one file advance it twice a frame.
    virtual QNRESULT update(float* transform) override;
    // Sets the world matrix, binds the environment map to stage 1 (loading
    // "Assets\Textures\envmap.dds" into the texture manager on first use,
    // retried while it fails) and draws the shared file.
    virtual QNRESULT render(float* transform) override;
    // The shared file's materials, and render() for one of them.
    virtual uint32_t materialCount() override;
    virtual QNRESULT renderMaterial(float* transform, uint32_t material) override;
    virtual QNRESULT release() override;
    virtual QNRESULT setAnimation(uint32_t index) override;

    // The "[XFILE]" path as written; the key into the model manager. Null
    // when the script names none: the model then does nothing.
    char* m_xFileName;

private:
    // render() for one material, or for all with material -1.
    QNRESULT _render(float* transform, int32_t material);
};

#endif
