// What selects a generated fixed-function program: the state bits that change
// the GLSL text. Everything else (matrices, colours, light directions, the
// alpha reference) travels in uniforms.
#ifndef ZV_D3D9_SHADERKEY_H
#define ZV_D3D9_SHADERKEY_H

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zvd3d {

const unsigned kStages = 3;
const unsigned kMaxLights = 8;

enum StageOp : uint8_t { OP_DISABLE, OP_SELECTARG1, OP_SELECTARG2, OP_MODULATE, OP_BLENDCURRENTALPHA };
enum StageArg : uint8_t { ARG_DIFFUSE, ARG_CURRENT, ARG_TEXTURE };
enum TexKind : uint8_t { TEX_NONE, TEX_2D, TEX_CUBE };

struct StageKey {
    uint8_t colorOp, colorArg1, colorArg2;
    uint8_t alphaOp, alphaArg1, alphaArg2;
    uint8_t texKind;   // texture sampled by this stage, TEX_NONE when no argument reads it
    uint8_t coordSet;  // coordinate set of the FVF read by the stage
    uint8_t reflect;   // 1: camera-space reflection vector instead of a set
};

// Bytes only, so two keys compare with memcmp; build it zeroed (ShaderKey k{}).
struct ShaderKey {
    uint8_t rhw;         // pre-transformed XYZRHW vertices
    uint8_t normal;      // FVF has a normal
    uint8_t diffuse;     // FVF has a diffuse colour
    uint8_t texSets;     // coordinate sets in the FVF, at most kStages counted
    uint8_t lighting;    // lit (never for XYZRHW)
    uint8_t lightCount;  // enabled lights, packed first in the uniform arrays
    uint8_t normalize;   // D3DRS_NORMALIZENORMALS
    uint8_t alphaFunc;   // D3DCMPFUNC of the alpha test, 0 with the test off
    uint8_t stageCount;  // stages before the first disabled one
    StageKey stage[kStages];

    bool operator==(const ShaderKey& o) const { return std::memcmp(this, &o, sizeof *this) == 0; }
    bool operator!=(const ShaderKey& o) const { return !(*this == o); }
};

// The values behind the programs' uniforms, as the device keeps them.
// Matrices are Direct3D's row-major matrices stored as they are: GLSL reads
// them transposed, so `M * v` there is Direct3D's `v * M`.
struct FixedFunctionUniforms {
    float worldView[16];
    float projection[16];
    float normalMatrix[16];      // inverse transpose of worldView's 3x3 block
    float materialDiffuse[4];
    float materialAmbient[4];
    float materialEmissive[4];
    float ambient[4];            // D3DRS_AMBIENT
    float lightDirection[kMaxLights][4];  // towards the light, view space, unit length
    float lightDiffuse[kMaxLights][4];
    float lightAmbient[kMaxLights][4];
    float screenScale[4];        // XYZRHW to NDC: x, y, z scale
    float screenOffset[4];       // XYZRHW to NDC: x, y, z offset; w = pixel-centre shift
    float clipOffset[4];         // pixel-centre shift of transformed vertices, in NDC
    float alphaRef[4];           // x = D3DRS_ALPHAREF (0..255)
};

// Uniforms change in groups; each program remembers which version of each
// group it was last given, so a draw uploads only what changed since.
enum UniformGroup : uint8_t {
    U_TRANSFORM,   // world-view and normal matrix
    U_PROJECTION,
    U_MATERIAL,
    U_AMBIENT,
    U_LIGHTS,
    U_SCREEN,      // viewport-derived conversions
    U_ALPHAREF,
    kUniformGroups
};

struct UniformInfo {
    const char* name;
    UniformGroup group;
    bool matrix;     // mat4, else vec4
    uint8_t count;   // array length
    size_t offset;   // in FixedFunctionUniforms
};
const unsigned kUniformCount = 14;
extern const UniformInfo kUniforms[kUniformCount];

}  // namespace zvd3d

#endif
