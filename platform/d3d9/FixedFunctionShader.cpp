#include "FixedFunctionShader.h"

#include <cstddef>
#include <cstdio>

#include <d3d9.h>

#include "GLProfile.h"

namespace zvd3d {

#define ZV_UNIFORM(name, group, matrix, count) \
    { #name, group, matrix, count, offsetof(FixedFunctionUniforms, name) }
const UniformInfo kUniforms[kUniformCount] = {
    ZV_UNIFORM(worldView, U_TRANSFORM, true, 1),
    ZV_UNIFORM(projection, U_PROJECTION, true, 1),
    ZV_UNIFORM(normalMatrix, U_TRANSFORM, true, 1),
    ZV_UNIFORM(materialDiffuse, U_MATERIAL, false, 1),
    ZV_UNIFORM(materialAmbient, U_MATERIAL, false, 1),
    ZV_UNIFORM(materialEmissive, U_MATERIAL, false, 1),
    ZV_UNIFORM(ambient, U_AMBIENT, false, 1),
    ZV_UNIFORM(lightDirection, U_LIGHTS, false, kMaxLights),
    ZV_UNIFORM(lightDiffuse, U_LIGHTS, false, kMaxLights),
    ZV_UNIFORM(lightAmbient, U_LIGHTS, false, kMaxLights),
    ZV_UNIFORM(screenScale, U_SCREEN, false, 1),
    ZV_UNIFORM(screenOffset, U_SCREEN, false, 1),
    ZV_UNIFORM(clipOffset, U_SCREEN, false, 1),
    ZV_UNIFORM(alphaRef, U_ALPHAREF, false, 1),
};
#undef ZV_UNIFORM

namespace {

// Starts `out` afresh: the version line, then every uniform (those a stage
// does not use are dropped by the compiler).
void declareUniforms(std::string* out) {
    *out = GLProfile::shaderPrologue();
    for (const UniformInfo& u : kUniforms) {
        char line[96];
        if (u.count > 1)
            std::snprintf(line, sizeof line, "uniform %s %s[%u];\n", u.matrix ? "mat4" : "vec4", u.name, u.count);
        else
            std::snprintf(line, sizeof line, "uniform %s %s;\n", u.matrix ? "mat4" : "vec4", u.name);
        *out += line;
    }
}

void append(std::string* out, const char* format, int a = 0, int b = 0) {
    char line[256];
    std::snprintf(line, sizeof line, format, a, b);
    *out += line;
}

const char* argument(uint8_t arg) {
    switch (arg) {
    case ARG_CURRENT: return "cur";
    case ARG_TEXTURE: return "t";
    default: return "vDiffuse";
    }
}

// One channel group (".rgb" or ".a") of a stage operation.
void operation(std::string* out, uint8_t op, uint8_t arg1, uint8_t arg2, const char* swizzle) {
    const char* a1 = argument(arg1);
    const char* a2 = argument(arg2);
    char text[160];
    switch (op) {
    case OP_SELECTARG1: std::snprintf(text, sizeof text, "%s%s", a1, swizzle); break;
    case OP_SELECTARG2: std::snprintf(text, sizeof text, "%s%s", a2, swizzle); break;
    case OP_MODULATE:
        std::snprintf(text, sizeof text, "%s%s * %s%s", a1, swizzle, a2, swizzle);
        break;
    case OP_BLENDCURRENTALPHA:
        std::snprintf(text, sizeof text, "mix(%s%s, %s%s, cur.a)", a2, swizzle, a1, swizzle);
        break;
    default:  // a disabled alpha operation keeps the current alpha
        std::snprintf(text, sizeof text, "cur%s", swizzle);
        break;
    }
    *out += text;
}

const char* alphaComparison(uint8_t func) {
    switch (func) {
    case D3DCMP_LESS: return "<";
    case D3DCMP_EQUAL: return "==";
    case D3DCMP_LESSEQUAL: return "<=";
    case D3DCMP_GREATER: return ">";
    case D3DCMP_NOTEQUAL: return "!=";
    case D3DCMP_GREATEREQUAL: return ">=";
    default: return nullptr;  // NEVER
    }
}

}  // namespace

void buildVertexShader(const ShaderKey& key, std::string* out) {
    declareUniforms(out);
    *out += "layout(location = 0) in vec4 inPosition;\n";
    if (key.normal) *out += "layout(location = 1) in vec3 inNormal;\n";
    if (key.diffuse) *out += "layout(location = 2) in vec4 inDiffuse;\n";
    for (int s = 0; s < key.texSets; ++s) append(out, "layout(location = %d) in vec2 inTex%d;\n", 3 + s, s);
    *out += "out vec4 vDiffuse;\n";
    for (int i = 0; i < key.stageCount; ++i)
        if (key.stage[i].texKind != TEX_NONE) append(out, "out vec3 vTex%d;\n", i);

    *out += "void main() {\n";
    if (key.rhw) {
        // Screen-space vertices: pixels (top-left origin) to NDC, with 1/rhw
        // as w for perspective-correct interpolation.
        *out +=
            "    float w = inPosition.w > 0.0 ? 1.0 / inPosition.w : 1.0;\n"
            "    vec3 ndc = vec3((inPosition.xy + screenOffset.w) * screenScale.xy + screenOffset.xy,\n"
            "                    inPosition.z * screenScale.z + screenOffset.z);\n"
            "    gl_Position = vec4(ndc * w, w);\n"
            "    vec3 viewPos = vec3(0.0);\n"
            "    vec3 viewNormal = vec3(0.0);\n";
    } else {
        *out +=
            "    vec4 viewPos4 = worldView * vec4(inPosition.xyz, 1.0);\n"
            "    vec3 viewPos = viewPos4.xyz;\n"
            "    vec4 clip = projection * viewPos4;\n"
            "    clip.xy += clipOffset.xy * clip.w;\n"
            "    clip.z = 2.0 * clip.z - clip.w;\n"
            "    gl_Position = clip;\n";
        if (key.normal) {
            *out += "    vec3 viewNormal = mat3(normalMatrix) * inNormal;\n";
            if (key.normalize) *out += "    viewNormal = normalize(viewNormal);\n";
        } else {
            *out += "    vec3 viewNormal = vec3(0.0);\n";
        }
    }

    if (key.lighting) {
        if (key.diffuse)
            *out += std::string("    vec4 cd = inDiffuse") + GLProfile::colorAttributeSwizzle() + ";\n";
        else
            *out += "    vec4 cd = materialDiffuse;\n";
        *out += "    vec3 c = materialEmissive.rgb + materialAmbient.rgb * ambient.rgb;\n";
        if (key.lightCount) {
            append(out, "    for (int i = 0; i < %d; ++i) {\n", key.lightCount);
            *out +=
                "        float d = clamp(dot(viewNormal, lightDirection[i].xyz), 0.0, 1.0);\n"
                "        c += materialAmbient.rgb * lightAmbient[i].rgb + cd.rgb * lightDiffuse[i].rgb * d;\n"
                "    }\n";
        }
        *out += "    vDiffuse = clamp(vec4(c, cd.a), 0.0, 1.0);\n";
    } else {
        if (key.diffuse)
            *out += std::string("    vDiffuse = inDiffuse") + GLProfile::colorAttributeSwizzle() + ";\n";
        else
            *out += "    vDiffuse = vec4(1.0);\n";
    }

    for (int i = 0; i < key.stageCount; ++i) {
        const StageKey& st = key.stage[i];
        if (st.texKind == TEX_NONE) continue;
        if (st.reflect) {
            append(out,
                   "    { vec3 e = normalize(viewPos); vTex%d = e - 2.0 * dot(viewNormal, e) * viewNormal; }\n",
                   i);
        } else if (st.coordSet < key.texSets) {
            append(out, "    vTex%d = vec3(inTex%d, 0.0);\n", i, st.coordSet);
        } else {
            append(out, "    vTex%d = vec3(0.0);\n", i);
        }
    }
    *out += "}\n";
}

void buildFragmentShader(const ShaderKey& key, std::string* out) {
    declareUniforms(out);
    *out += "in vec4 vDiffuse;\n";
    for (int i = 0; i < key.stageCount; ++i) {
        const StageKey& st = key.stage[i];
        if (st.texKind == TEX_NONE) continue;
        append(out, "in vec3 vTex%d;\n", i);
        append(out, st.texKind == TEX_CUBE ? "uniform samplerCube tex%d;\n" : "uniform sampler2D tex%d;\n", i);
    }
    *out += "out vec4 fragColor;\n";
    *out += "void main() {\n";
    *out += "    vec4 cur = vDiffuse;\n";
    for (int i = 0; i < key.stageCount; ++i) {
        const StageKey& st = key.stage[i];
        *out += "    {\n";
        if (st.texKind == TEX_CUBE)
            append(out, "        vec4 t = texture(tex%d, vTex%d);\n", i, i);
        else if (st.texKind == TEX_2D)
            append(out, "        vec4 t = texture(tex%d, vTex%d.xy);\n", i, i);
        *out += "        vec3 c = ";
        operation(out, st.colorOp, st.colorArg1, st.colorArg2, ".rgb");
        *out += ";\n        float a = ";
        operation(out, st.alphaOp, st.alphaArg1, st.alphaArg2, ".a");
        *out += ";\n        cur = vec4(c, a);\n    }\n";
    }
    if (key.alphaFunc) {
        const char* cmp = alphaComparison(key.alphaFunc);
        if (cmp) {
            *out += "    float a8 = floor(cur.a * 255.0 + 0.5);\n";
            *out += "    if (!(a8 ";
            *out += cmp;
            *out += " alphaRef.x)) discard;\n";
        } else {
            *out += "    discard;\n";
        }
    }
    *out += "    fragColor = cur;\n}\n";
}

}  // namespace zvd3d
