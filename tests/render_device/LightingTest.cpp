// Fixed-function lighting: one directional light, global ambient, material.
// Expected colours come from Direct3D's formula, evaluated here on its own:
//   rgb = Ce + Ca*Ga + Ca*La + Cd*Ld*clamp(dot(N, L), 0, 1),  a = Cd.a
// with L = -Direction in view space.
#include <cmath>

#include "DeviceTest.h"

namespace devtest {
namespace {

struct Vec3 {
    float x, y, z;
};

Vec3 rowTimes(const Vec3& v, const D3DMATRIX& m) {
    return {v.x * m._11 + v.y * m._21 + v.z * m._31, v.x * m._12 + v.y * m._22 + v.z * m._32,
            v.x * m._13 + v.y * m._23 + v.z * m._33};
}

struct LightingRow {
    const char* name;
    Vec3 normal;
    D3DCOLORVALUE diffuse, ambient, emissive;
    D3DCOLORVALUE lightAmbient;
    float viewAngle;  // view rotation about y; the quad is drawn in view space regardless
    bool normalize;
    bool lightOn;
};

class Lighting : public DeviceTest {
protected:
    // The quad fills the middle of the screen, in view space, facing the eye.
    void drawQuad(const Vec3& n) {
        const float w = 200, h = 150, z = -0.5f;
        LitVertex v[4] = {
            {-w, h, z, n.x, n.y, n.z, 0, 0, 0, 0},
            {-w, -h, z, n.x, n.y, n.z, 0, 1, 0, 1},
            {w, h, z, n.x, n.y, n.z, 1, 0, 1, 0},
            {w, -h, z, n.x, n.y, n.z, 1, 1, 1, 1},
        };
        m_device->SetFVF(kLitFVF);
        ASSERT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof v[0]), D3D_OK);
    }
};

uint32_t expectedColour(const LightingRow& row, const D3DMATRIX& view) {
    const D3DCOLORVALUE &Cd = row.diffuse, &Ca = row.ambient, &Ce = row.emissive, &La = row.lightAmbient;
    const float Ga = 100.0f / 255.0f;  // D3DRS_AMBIENT 0xFF646464
    Vec3 L = rowTimes({0.0f, -1.0f, 1.0f}, view);
    float length = std::sqrt(L.x * L.x + L.y * L.y + L.z * L.z);
    L = {L.x / length, L.y / length, L.z / length};
    Vec3 N = row.normal;
    if (row.normalize) {
        float n = std::sqrt(N.x * N.x + N.y * N.y + N.z * N.z);
        N = {N.x / n, N.y / n, N.z / n};
    }
    float d = std::fmin(1.0f, std::fmax(0.0f, N.x * L.x + N.y * L.y + N.z * L.z));
    float on = row.lightOn ? 1.0f : 0.0f;
    return argbf(Ce.r + Ca.r * Ga + on * (Ca.r * La.r + Cd.r * d), Ce.g + Ca.g * Ga + on * (Ca.g * La.g + Cd.g * d),
                 Ce.b + Ca.b * Ga + on * (Ca.b * La.b + Cd.b * d));
}

TEST_F(Lighting, DirectionalLightAmbientAndMaterialFollowTheFormula) {
    const D3DCOLORVALUE none = {0, 0, 0, 0};
    const D3DCOLORVALUE orange = {1.0f, 0.5f, 0.25f, 1.0f};
    const D3DCOLORVALUE teal = {0.1f, 0.6f, 0.7f, 1.0f};
    const float quarter = 3.14159265f / 2.0f;
    const LightingRow rows[] = {
        {"facing the eye, diffuse only", {0, 0, 1}, orange, none, none, none, 0, false, true},
        {"ambient material as diffuse (the engine's meshes)", {0, 0, 1}, orange, orange, none, none, 0, false, true},
        {"normal away from the light: ambient only", {0, 1, 0}, teal, teal, none, none, 0, false, true},
        {"normal towards the light", {0, -1, 0}, teal, none, none, none, 0, false, true},
        {"emissive adds unlit", {0, 0, 1}, {0, 0, 0, 1}, none, {0, 0, 1, 1}, none, 0, false, true},
        {"light ambient times material ambient", {0, 1, 0}, teal, {1, 1, 1, 1}, none, {0.2f, 0.3f, 0.1f, 0}, 0, false, true},
        {"light direction taken into view space", {0, 0, 1}, orange, none, none, none, quarter, false, true},
        {"view turned the other way", {-1, 0, 0}, orange, none, none, none, -quarter, false, true},
        {"long normal, not renormalised", {0, 0, 2}, teal, none, none, none, 0, false, true},
        {"long normal, D3DRS_NORMALIZENORMALS", {0, 0, 2}, teal, none, none, none, 0, true, true},
        {"light disabled", {0, 0, 1}, orange, orange, {0, 0.2f, 0, 1}, none, 0, false, false},
        {"everything saturates", {0, 0, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, none, 0, false, true},
    };
    setEngineState();
    for (const LightingRow& row : rows) {
        SCOPED_TRACE(row.name);
        D3DMATRIX view = rotationY(row.viewAngle);
        setMatrix(D3DTS_PROJECTION, orthoRH(800, 600, 0, 1));
        m_device->SetTransform(D3DTS_VIEW, &view);
        D3DMATRIX world = transpose(view);  // world x view = identity
        m_device->SetTransform(D3DTS_WORLD, &world);
        D3DMATERIAL9 material{};
        material.Diffuse = row.diffuse;
        material.Ambient = row.ambient;
        material.Emissive = row.emissive;
        m_device->SetMaterial(&material);
        D3DLIGHT9 light{};
        light.Type = D3DLIGHT_DIRECTIONAL;
        light.Diffuse = {1, 1, 1, 0};
        light.Ambient = row.lightAmbient;
        light.Direction = {0, 1, -1};
        ASSERT_EQ(m_device->SetLight(0, &light), D3D_OK);
        m_device->LightEnable(0, row.lightOn);
        m_device->SetRenderState(D3DRS_NORMALIZENORMALS, row.normalize);
        beginFrame(0xFF000000);
        drawQuad(row.normal);
        endFrame();
        uint32_t expected = expectedColour(row, view);
        EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, expected)) << "expected " << hex(expected);
    }
}

TEST_F(Lighting, LitAlphaIsTheMaterialDiffuseAlpha) {
    // With the alpha test (GREATER 0) on, a zero diffuse alpha discards the
    // pixels however bright the lit colour is; 0.25 keeps them.
    setEngineState();
    setMatrix(D3DTS_PROJECTION, orthoRH(800, 600, 0, 1));
    const struct {
        const char* name;
        float alpha;
        bool drawn;
    } rows[] = {{"alpha 0", 0.0f, false}, {"alpha 0.25", 0.25f, true}, {"alpha 1", 1.0f, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        D3DMATERIAL9 material{};
        material.Diffuse = {0, 0, 0, row.alpha};
        material.Ambient = {1, 1, 1, 1};
        material.Emissive = {1, 1, 1, 1};
        m_device->SetMaterial(&material);
        beginFrame(0xFF203040);
        drawQuad({0, 0, 1});
        endFrame();
        EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, row.drawn ? 0xFFFFFFFF : 0xFF203040));
    }
}

TEST_F(Lighting, UnlitVerticesTakeTheirDiffuseOrWhite) {
    setEngineState();
    setMatrix(D3DTS_PROJECTION, orthoRH(800, 600, 0, 1));
    m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
    D3DMATERIAL9 material{};
    material.Diffuse = {1, 0, 0, 1};
    m_device->SetMaterial(&material);
    beginFrame(0xFF000000);
    drawQuad({0, 0, 1});  // no diffuse in the format: opaque white
    endFrame();
    EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, 0xFFFFFFFF));

    beginFrame(0xFF000000);
    drawColorQuad(-200, -150, 200, 150, -0.5f, 0xFF20C040);
    endFrame();
    EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, 0xFF20C040));
}

TEST_F(Lighting, LitVertexDiffuseReplacesTheMaterialDiffuse) {
    // Direct3D's default colour source: a diffuse in the vertex format is Cd.
    setEngineState();
    setMatrix(D3DTS_PROJECTION, orthoRH(800, 600, 0, 1));
    D3DMATERIAL9 material{};
    material.Diffuse = {0, 0, 1, 1};
    m_device->SetMaterial(&material);
    struct V {
        float x, y, z, nx, ny, nz;
        DWORD color;
    } v[4] = {
        {-200, 150, -0.5f, 0, -1, 0, 0xFFFF8000},
        {-200, -150, -0.5f, 0, -1, 0, 0xFFFF8000},
        {200, 150, -0.5f, 0, -1, 0, 0xFFFF8000},
        {200, -150, -0.5f, 0, -1, 0, 0xFFFF8000},
    };
    m_device->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE);
    beginFrame(0xFF000000);
    ASSERT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof v[0]), D3D_OK);
    endFrame();
    const float d = 0.70710678f;  // N = (0,-1,0), L = (0,-1,1)/sqrt(2)
    EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, argbf(d, 128.0f / 255.0f * d, 0)));
}

}  // namespace
}  // namespace devtest
