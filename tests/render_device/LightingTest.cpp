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

Vec3 unit(Vec3 v) {
    float n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / n, v.y / n, v.z / n};
}

class Lighting : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        setEngineState();
        setMatrix(D3DTS_PROJECTION, orthoRH(800, 600, 0, 1));
    }
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
    void setMaterial(D3DCOLORVALUE diffuse, D3DCOLORVALUE ambient, D3DCOLORVALUE emissive) {
        D3DMATERIAL9 material{};
        material.Diffuse = diffuse;
        material.Ambient = ambient;
        material.Emissive = emissive;
        m_device->SetMaterial(&material);
    }
};

TEST_F(Lighting, DirectionalLightAmbientAndMaterialFollowTheFormula) {
    const D3DCOLORVALUE none = {0, 0, 0, 0};
    const D3DCOLORVALUE orange = {1.0f, 0.5f, 0.25f, 1.0f};
    const D3DCOLORVALUE teal = {0.1f, 0.6f, 0.7f, 1.0f};
    const struct {
        const char* name;
        Vec3 normal;
        D3DCOLORVALUE diffuse, ambient, emissive, lightAmbient;
        float viewAngle;  // view rotation about y; the quad is drawn in view space regardless
        bool normalize, lightOn;
    } rows[] = {
        {"facing the eye, diffuse only", {0, 0, 1}, orange, none, none, none, 0, false, true},
        {"ambient material as diffuse (the engine's meshes)", {0, 0, 1}, orange, orange, none, none, 0, false, true},
        {"normal away from the light: ambient only", {0, 1, 0}, teal, teal, none, none, 0, false, true},
        {"emissive adds unlit", {0, 0, 1}, {0, 0, 0, 1}, none, {0, 0, 1, 1}, none, 0, false, true},
        {"light ambient times material ambient", {0, 1, 0}, teal, {1, 1, 1, 1}, none, {0.2f, 0.3f, 0.1f, 0}, 0, false, true},
        {"light direction taken into view space", {0, 0, 1}, orange, none, none, none, 1.5707963f, false, true},
        {"long normal, not renormalised", {0, 0, 2}, teal, none, none, none, 0, false, true},
        {"long normal, D3DRS_NORMALIZENORMALS", {0, 0, 2}, teal, none, none, none, 0, true, true},
        {"light disabled", {0, 0, 1}, orange, orange, {0, 0.2f, 0, 1}, none, 0, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        setMatrix(D3DTS_VIEW, rotationY(row.viewAngle));
        setMatrix(D3DTS_WORLD, rotationY(-row.viewAngle));  // world x view = identity
        setMaterial(row.diffuse, row.ambient, row.emissive);
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

        // L is the reversed light direction (0, -1, 1), turned by the view.
        const D3DMATRIX view = rotationY(row.viewAngle);
        const Vec3 L = unit({view._21 * -1 + view._31, view._22 * -1 + view._32, view._23 * -1 + view._33});
        const Vec3 N = row.normalize ? unit(row.normal) : row.normal;
        const float d = std::fmin(1.0f, std::fmax(0.0f, N.x * L.x + N.y * L.y + N.z * L.z));
        const float Ga = 100.0f / 255.0f, on = row.lightOn ? 1.0f : 0.0f;
        const D3DCOLORVALUE &Cd = row.diffuse, &Ca = row.ambient, &Ce = row.emissive, &La = row.lightAmbient;
        const uint32_t expected = argbf(Ce.r + Ca.r * Ga + on * (Ca.r * La.r + Cd.r * d),
                                        Ce.g + Ca.g * Ga + on * (Ca.g * La.g + Cd.g * d),
                                        Ce.b + Ca.b * Ga + on * (Ca.b * La.b + Cd.b * d));
        EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, expected));
    }
}

TEST_F(Lighting, LitAlphaIsTheMaterialDiffuseAlpha) {
    // With the alpha test (GREATER 0) on, a zero diffuse alpha discards the
    // pixels however bright the lit colour is; 0.25 keeps them.
    for (float alpha : {0.0f, 0.25f}) {
        SCOPED_TRACE(alpha);
        setMaterial({0, 0, 0, alpha}, {1, 1, 1, 1}, {1, 1, 1, 1});
        beginFrame(0xFF203040);
        drawQuad({0, 0, 1});
        endFrame();
        EXPECT_TRUE(areaIs(readBack(), 220, 170, 580, 430, alpha > 0 ? 0xFFFFFFFF : 0xFF203040));
    }
}

}  // namespace
}  // namespace devtest
