// Recording of state: every setter validates, stores, and marks what the next
// draw has to apply.
#include <cmath>
#include <cstring>

#include "Buffers.h"
#include "Device.h"
#include "GLConvert.h"
#include "Report.h"
#include "Textures.h"

namespace zvd3d {

namespace {

// The implemented render states, by their index in Device::m_renderStates.
const D3DRENDERSTATETYPE kRenderStateOrder[] = {
    D3DRS_ZENABLE,  D3DRS_ZWRITEENABLE,     D3DRS_ALPHATESTENABLE, D3DRS_SRCBLEND,
    D3DRS_DESTBLEND, D3DRS_CULLMODE,        D3DRS_ZFUNC,           D3DRS_ALPHAREF,
    D3DRS_ALPHAFUNC, D3DRS_ALPHABLENDENABLE, D3DRS_LIGHTING,       D3DRS_AMBIENT,
    D3DRS_NORMALIZENORMALS, D3DRS_BLENDOP,
};

int renderStateIndex(D3DRENDERSTATETYPE state) {
    for (int i = 0; i < int(sizeof kRenderStateOrder / sizeof kRenderStateOrder[0]); ++i)
        if (kRenderStateOrder[i] == state) return i;
    return -1;
}

const D3DMATRIX kIdentity = {{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}};

bool validStageOp(DWORD op) {
    switch (op) {
    case D3DTOP_DISABLE:
    case D3DTOP_SELECTARG1:
    case D3DTOP_SELECTARG2:
    case D3DTOP_MODULATE:
    case D3DTOP_BLENDCURRENTALPHA: return true;
    default: reportUnhandled("texture operation", op); return false;
    }
}

bool validStageArg(DWORD arg) {
    switch (arg) {
    case D3DTA_DIFFUSE:
    case D3DTA_CURRENT:
    case D3DTA_TEXTURE: return true;
    default: reportUnhandled("texture argument", arg); return false;
    }
}

bool validTexCoordIndex(DWORD value) {
    DWORD mode = value & 0xFFFF0000u;
    if (mode != D3DTSS_TCI_PASSTHRU && mode != D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR) {
        reportUnhandled("texture coordinate generation", mode);
        return false;
    }
    if ((value & 0xFFFFu) >= kStages) {
        reportUnhandled("texture coordinate set", value & 0xFFFFu);
        return false;
    }
    return true;
}

void toVec4(const D3DCOLORVALUE& c, float* out) {
    out[0] = c.r;
    out[1] = c.g;
    out[2] = c.b;
    out[3] = c.a;
}

}  // namespace

DWORD Device::renderState(D3DRENDERSTATETYPE state) const {
    return m_renderStates[renderStateIndex(state)];
}

void Device::setDefaultState() {
    // Direct3D 9's defaults, as a new or reset device has them.
    const DWORD defaults[kRenderStates] = {
        DWORD(m_params.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE),
        TRUE,
        FALSE,
        D3DBLEND_ONE,
        D3DBLEND_ZERO,
        D3DCULL_CCW,
        D3DCMP_LESSEQUAL,
        0,
        D3DCMP_ALWAYS,
        FALSE,
        TRUE,
        0,
        FALSE,
        D3DBLENDOP_ADD,
    };
    for (unsigned i = 0; i < kRenderStates; ++i) m_renderStates[i] = defaults[i];
    for (unsigned i = 0; i < kStages; ++i) {
        StageState& s = m_stages[i];
        s.colorOp = i == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        s.colorArg1 = D3DTA_TEXTURE;
        s.colorArg2 = D3DTA_CURRENT;
        s.alphaOp = i == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        s.alphaArg1 = D3DTA_TEXTURE;
        s.alphaArg2 = D3DTA_CURRENT;
        s.texCoordIndex = i;
        m_samplerStates[i] = {D3DTADDRESS_WRAP, D3DTADDRESS_WRAP, D3DTEXF_POINT, D3DTEXF_POINT,
                              D3DTEXF_NONE};
    }
    m_samplerDirty = (1u << kStages) - 1;
    m_world = m_view = m_projection = kIdentity;
    m_viewport = {0, 0, m_params.BackBufferWidth, m_params.BackBufferHeight, 0.0f, 1.0f};
    m_material = D3DMATERIAL9{};
    for (LightSlot& l : m_lights) l = LightSlot{};
    unbindAll();
    m_fvf = 0;

    m_uniforms = FixedFunctionUniforms{};
    toVec4(m_material.Diffuse, m_uniforms.materialDiffuse);
    toVec4(m_material.Ambient, m_uniforms.materialAmbient);
    toVec4(m_material.Emissive, m_uniforms.materialEmissive);
    m_key = ShaderKey{};
    m_program = nullptr;
    m_layout = Layout{};
    m_dirty = DIRTY_ALL;
}

void Device::unbindAll() {
    for (unsigned i = 0; i < kStages; ++i) {
        if (m_textureObjects[i]) m_textureObjects[i]->unbind();
        m_textures[i] = nullptr;
        m_textureObjects[i] = nullptr;
    }
    if (m_stream) m_stream->unbind();
    m_stream = nullptr;
    m_streamOffset = m_streamStride = 0;
    if (m_indices) m_indices->unbind();
    m_indices = nullptr;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    int index = renderStateIndex(state);
    if (index < 0) {
        reportUnhandled("render state", static_cast<unsigned long>(state));
        return D3DERR_INVALIDCALL;
    }
    uint32_t dirty = 0;
    GLenum unused;
    switch (state) {
    case D3DRS_ZENABLE:
        if (value != D3DZB_FALSE && value != D3DZB_TRUE) {
            reportUnhandled("D3DRS_ZENABLE value", value);
            return D3DERR_INVALIDCALL;
        }
        dirty = DIRTY_DEPTH;
        break;
    case D3DRS_ZWRITEENABLE:
    case D3DRS_ZFUNC:
        if (state == D3DRS_ZFUNC && !glFromD3DCmp(value, &unused)) return D3DERR_INVALIDCALL;
        dirty = DIRTY_DEPTH;
        break;
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND:
        if (!glFromD3DBlend(value, &unused)) return D3DERR_INVALIDCALL;
        dirty = DIRTY_BLEND;
        break;
    case D3DRS_BLENDOP:
        if (!glFromD3DBlendOp(value, &unused)) return D3DERR_INVALIDCALL;
        dirty = DIRTY_BLEND;
        break;
    case D3DRS_ALPHABLENDENABLE: dirty = DIRTY_BLEND; break;
    case D3DRS_CULLMODE:
        if (value != D3DCULL_NONE && value != D3DCULL_CW && value != D3DCULL_CCW) {
            reportUnhandled("D3DRS_CULLMODE value", value);
            return D3DERR_INVALIDCALL;
        }
        dirty = DIRTY_CULL;
        break;
    case D3DRS_ALPHAFUNC:
        if (!glFromD3DCmp(value, &unused)) return D3DERR_INVALIDCALL;
        dirty = DIRTY_PROGRAM;
        break;
    case D3DRS_ALPHAREF:
        if (value > 0xFF) return D3DERR_INVALIDCALL;
        m_uniforms.alphaRef[0] = static_cast<float>(value);
        // The reference decides whether a test on opaque pixels is needed.
        dirty = DIRTY_ALPHAREF | DIRTY_PROGRAM;
        break;
    case D3DRS_AMBIENT:
        m_uniforms.ambient[0] = ((value >> 16) & 0xFF) / 255.0f;
        m_uniforms.ambient[1] = ((value >> 8) & 0xFF) / 255.0f;
        m_uniforms.ambient[2] = (value & 0xFF) / 255.0f;
        m_uniforms.ambient[3] = (value >> 24) / 255.0f;
        dirty = DIRTY_AMBIENT;
        break;
    default:  // the switches that select shader code
        dirty = DIRTY_PROGRAM;
        break;
    }
    if (m_renderStates[index] == value) return D3D_OK;
    m_renderStates[index] = value;
    m_dirty |= dirty;
    return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    int index = renderStateIndex(state);
    if (!value || index < 0) return D3DERR_INVALIDCALL;
    *value = m_renderStates[index];
    return D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    if (stage >= kStages) {
        reportUnhandled("texture stage", stage);
        return D3DERR_INVALIDCALL;
    }
    StageState& s = m_stages[stage];
    DWORD* field;
    bool valid;
    switch (type) {
    case D3DTSS_COLOROP: field = &s.colorOp; valid = validStageOp(value); break;
    case D3DTSS_ALPHAOP: field = &s.alphaOp; valid = validStageOp(value); break;
    case D3DTSS_COLORARG1: field = &s.colorArg1; valid = validStageArg(value); break;
    case D3DTSS_COLORARG2: field = &s.colorArg2; valid = validStageArg(value); break;
    case D3DTSS_ALPHAARG1: field = &s.alphaArg1; valid = validStageArg(value); break;
    case D3DTSS_ALPHAARG2: field = &s.alphaArg2; valid = validStageArg(value); break;
    case D3DTSS_TEXCOORDINDEX: field = &s.texCoordIndex; valid = validTexCoordIndex(value); break;
    default:
        reportUnhandled("texture stage state", static_cast<unsigned long>(type));
        return D3DERR_INVALIDCALL;
    }
    if (!valid) return D3DERR_INVALIDCALL;
    if (*field != value) {
        *field = value;
        m_dirty |= DIRTY_PROGRAM;
    }
    return D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
    if (!value || stage >= kStages) return D3DERR_INVALIDCALL;
    const StageState& s = m_stages[stage];
    switch (type) {
    case D3DTSS_COLOROP: *value = s.colorOp; return D3D_OK;
    case D3DTSS_COLORARG1: *value = s.colorArg1; return D3D_OK;
    case D3DTSS_COLORARG2: *value = s.colorArg2; return D3D_OK;
    case D3DTSS_ALPHAOP: *value = s.alphaOp; return D3D_OK;
    case D3DTSS_ALPHAARG1: *value = s.alphaArg1; return D3D_OK;
    case D3DTSS_ALPHAARG2: *value = s.alphaArg2; return D3D_OK;
    case D3DTSS_TEXCOORDINDEX: *value = s.texCoordIndex; return D3D_OK;
    default: return D3DERR_INVALIDCALL;
    }
}

HRESULT Device::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    if (sampler >= kStages) {
        reportUnhandled("sampler", sampler);
        return D3DERR_INVALIDCALL;
    }
    SamplerState& s = m_samplerStates[sampler];
    DWORD* field;
    GLenum unused;
    bool valid;
    switch (type) {
    case D3DSAMP_ADDRESSU: field = &s.addressU; valid = glFromD3DAddress(value, &unused); break;
    case D3DSAMP_ADDRESSV: field = &s.addressV; valid = glFromD3DAddress(value, &unused); break;
    case D3DSAMP_MAGFILTER: field = &s.magFilter; valid = glFromD3DMagFilter(value, &unused); break;
    case D3DSAMP_MINFILTER:
        field = &s.minFilter;
        valid = glFromD3DMinFilter(value, D3DTEXF_NONE, &unused);
        break;
    case D3DSAMP_MIPFILTER:
        field = &s.mipFilter;
        valid = glFromD3DMinFilter(D3DTEXF_POINT, value, &unused);
        break;
    default:
        reportUnhandled("sampler state", static_cast<unsigned long>(type));
        return D3DERR_INVALIDCALL;
    }
    if (!valid) return D3DERR_INVALIDCALL;
    if (*field != value) {
        *field = value;
        m_samplerDirty |= 1u << sampler;
        m_dirty |= DIRTY_TEXTURES;
    }
    return D3D_OK;
}

HRESULT Device::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
    if (!value || sampler >= kStages) return D3DERR_INVALIDCALL;
    const SamplerState& s = m_samplerStates[sampler];
    switch (type) {
    case D3DSAMP_ADDRESSU: *value = s.addressU; return D3D_OK;
    case D3DSAMP_ADDRESSV: *value = s.addressV; return D3D_OK;
    case D3DSAMP_MAGFILTER: *value = s.magFilter; return D3D_OK;
    case D3DSAMP_MINFILTER: *value = s.minFilter; return D3D_OK;
    case D3DSAMP_MIPFILTER: *value = s.mipFilter; return D3D_OK;
    default: return D3DERR_INVALIDCALL;
    }
}

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    if (!matrix) return D3DERR_INVALIDCALL;
    D3DMATRIX* target;
    uint32_t dirty;
    // D3DTS_WORLD (256) lies outside the enumeration's named values.
    switch (static_cast<DWORD>(state)) {
    case D3DTS_WORLD: target = &m_world; dirty = DIRTY_MATRICES; break;
    case D3DTS_VIEW: target = &m_view; dirty = DIRTY_MATRICES | DIRTY_LIGHTS; break;
    case D3DTS_PROJECTION: target = &m_projection; dirty = DIRTY_PROJECTION; break;
    default:
        reportUnhandled("transform", static_cast<unsigned long>(state));
        return D3DERR_INVALIDCALL;
    }
    if (std::memcmp(target, matrix, sizeof *matrix) != 0) {
        *target = *matrix;
        m_dirty |= dirty;
    }
    return D3D_OK;
}

HRESULT Device::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    if (!matrix) return D3DERR_INVALIDCALL;
    // D3DTS_WORLD (256) lies outside the enumeration's named values.
    switch (static_cast<DWORD>(state)) {
    case D3DTS_WORLD: *matrix = m_world; return D3D_OK;
    case D3DTS_VIEW: *matrix = m_view; return D3D_OK;
    case D3DTS_PROJECTION: *matrix = m_projection; return D3D_OK;
    default: return D3DERR_INVALIDCALL;
    }
}

HRESULT Device::SetViewport(const D3DVIEWPORT9* viewport) {
    if (!viewport) return D3DERR_INVALIDCALL;
    const D3DVIEWPORT9& v = *viewport;
    if (v.Width == 0 || v.Height == 0 || v.X > m_params.BackBufferWidth ||
        v.Y > m_params.BackBufferHeight || v.Width > m_params.BackBufferWidth - v.X ||
        v.Height > m_params.BackBufferHeight - v.Y || !(v.MinZ >= 0.0f && v.MinZ <= 1.0f) ||
        !(v.MaxZ >= 0.0f && v.MaxZ <= 1.0f))
        return D3DERR_INVALIDCALL;
    m_viewport = v;
    m_dirty |= DIRTY_VIEWPORT;
    return D3D_OK;
}

HRESULT Device::GetViewport(D3DVIEWPORT9* viewport) {
    if (!viewport) return D3DERR_INVALIDCALL;
    *viewport = m_viewport;
    return D3D_OK;
}

HRESULT Device::SetLight(DWORD index, const D3DLIGHT9* light) {
    if (!light) return D3DERR_INVALIDCALL;
    if (index >= kMaxLights) {
        reportUnhandled("light index", index);
        return D3DERR_INVALIDCALL;
    }
    if (light->Type != D3DLIGHT_DIRECTIONAL) {
        reportUnhandled("light type", static_cast<unsigned long>(light->Type));
        return D3DERR_INVALIDCALL;
    }
    const D3DVECTOR& d = light->Direction;
    if (d.x == 0.0f && d.y == 0.0f && d.z == 0.0f) return D3DERR_INVALIDCALL;
    m_lights[index].light = *light;
    m_lights[index].set = true;
    if (m_lights[index].enabled) m_dirty |= DIRTY_LIGHTS;
    return D3D_OK;
}

HRESULT Device::GetLight(DWORD index, D3DLIGHT9* light) {
    if (!light || index >= kMaxLights || !m_lights[index].set) return D3DERR_INVALIDCALL;
    *light = m_lights[index].light;
    return D3D_OK;
}

HRESULT Device::LightEnable(DWORD index, BOOL enable) {
    if (index >= kMaxLights) {
        reportUnhandled("light index", index);
        return D3DERR_INVALIDCALL;
    }
    LightSlot& slot = m_lights[index];
    if (!slot.set) {
        // Enabling a light never set gives Direct3D's default light: white,
        // shining along +z.
        slot.light = D3DLIGHT9{};
        slot.light.Type = D3DLIGHT_DIRECTIONAL;
        slot.light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
        slot.light.Direction = {0.0f, 0.0f, 1.0f};
        slot.set = true;
    }
    bool on = enable != FALSE;
    if (slot.enabled != on) {
        slot.enabled = on;
        m_dirty |= DIRTY_LIGHTS | DIRTY_PROGRAM;
    }
    return D3D_OK;
}

HRESULT Device::GetLightEnable(DWORD index, BOOL* enable) {
    if (!enable || index >= kMaxLights || !m_lights[index].set) return D3DERR_INVALIDCALL;
    *enable = m_lights[index].enabled ? TRUE : FALSE;
    return D3D_OK;
}

HRESULT Device::SetMaterial(const D3DMATERIAL9* material) {
    if (!material) return D3DERR_INVALIDCALL;
    // Objects set their material before every draw, mostly the same one.
    if (std::memcmp(&m_material, material, sizeof *material) == 0) return D3D_OK;
    // The diffuse alpha decides whether the program's alpha is known.
    if (material->Diffuse.a != m_material.Diffuse.a) m_dirty |= DIRTY_PROGRAM;
    m_material = *material;
    toVec4(material->Diffuse, m_uniforms.materialDiffuse);
    toVec4(material->Ambient, m_uniforms.materialAmbient);
    toVec4(material->Emissive, m_uniforms.materialEmissive);
    m_dirty |= DIRTY_MATERIAL;
    return D3D_OK;
}

HRESULT Device::GetMaterial(D3DMATERIAL9* material) {
    if (!material) return D3DERR_INVALIDCALL;
    *material = m_material;
    return D3D_OK;
}

HRESULT Device::SetFVF(DWORD fvf) {
    const DWORD supported = D3DFVF_POSITION_MASK | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEXCOUNT_MASK;
    DWORD position = fvf & D3DFVF_POSITION_MASK;
    if ((fvf & ~supported) || (fvf && position != D3DFVF_XYZ && position != D3DFVF_XYZRHW) ||
        ((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT) > 8) {
        reportUnhandled("vertex format", fvf);
        return D3DERR_INVALIDCALL;
    }
    if (m_fvf != fvf) {
        m_fvf = fvf;
        m_dirty |= DIRTY_PROGRAM | DIRTY_VERTEX;
    }
    return D3D_OK;
}

HRESULT Device::GetFVF(DWORD* fvf) {
    if (!fvf) return D3DERR_INVALIDCALL;
    *fvf = m_fvf;
    return D3D_OK;
}

}  // namespace zvd3d
