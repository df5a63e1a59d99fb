#include "engine3d/device/d3d_util.h"

#include "engine3d/device/light_levels.h"
#include "engine3d/math/d3d_math.h"

namespace vantrel::engine3d {

void D3DUtil::ApplySceneDefaults() {
    // 3.1415, not pi: the view's framing was tuned with this value.
    FieldOfView = static_cast<float>(3.1415 / 4.0);
    AspectRatio = 1.0f;
    NearPlane = 1.0f;
    FarPlane = 3000.0f;
    // Width over height: the projection divides x by it, so a cube seen
    // head-on stays square in any view size.
    if (ViewHeight != 0 && ViewWidth != 0)
        AspectRatio = static_cast<float>(static_cast<double>(ViewWidth) / static_cast<double>(ViewHeight));
    IdentityMatrix = D3DXMatrixIdentity();
    ProjectionMatrix = D3DXMatrixPerspectiveFovLH(FieldOfView, AspectRatio, NearPlane, FarPlane);
    dev_.SetTransform(D3DTS_PROJECTION, ProjectionMatrix);
    ViewMatrix = D3DXMatrixLookAtLH({0, 0, -20}, {0, 0, 0}, {0, 1, 0});
    dev_.SetTransform(D3DTS_VIEW, ViewMatrix);
    dev_.SetTransform(D3DTS_WORLD, IdentityMatrix);

    MainLight = D3DLIGHT8{};
    MainLight.Type = D3DLIGHT_DIRECTIONAL;
    MainLight.Diffuse = {kMainLightDiffuse, kMainLightDiffuse, kMainLightDiffuse, 1};
    MainLight.Ambient = {kMainLightAmbient, kMainLightAmbient, kMainLightAmbient, 1};
    MainLight.Range = 10000.0f;
    MainLight.Direction = D3DXVec3Normalize({-1, -1, -1});
    dev_.SetLight(0, MainLight);
    dev_.LightEnable(0, true);

    SecondLight = D3DLIGHT8{};
    SecondLight.Type = D3DLIGHT_DIRECTIONAL;
    SecondLight.Diffuse = {kSecondLightDiffuse, kSecondLightDiffuse, kSecondLightDiffuse, 1};
    SecondLight.Ambient = {kSecondLightAmbient, kSecondLightAmbient, kSecondLightAmbient, 1};
    SecondLight.Range = 10000.0f;
    SecondLight.Direction = D3DXVec3Normalize({1, -1, -1});

    D3DMATERIAL8 material;
    material.Diffuse = {0.5f, 0.5f, 0.5f, 1};
    material.Ambient = {0.2f, 0.2f, 0.2f, 1};
    material.Power = 10.0f;
    dev_.SetMaterial(material);

    dev_.SetRenderState(D3DRS_AMBIENT, 0x10101010);
    dev_.SetRenderState(D3DRS_CLIPPING, 1);
    dev_.SetRenderState(D3DRS_LIGHTING, 1);
    dev_.SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    dev_.SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
}

void D3DUtil::SetCameraView(const D3DVECTOR& eye, const D3DVECTOR& at, const D3DVECTOR& up) {
    ViewMatrix = D3DXMatrixLookAtLH(eye, at, up);
    dev_.SetTransform(D3DTS_VIEW, ViewMatrix);
}

void D3DUtil::ClearView(DWORD colour) { dev_.Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, colour, 1.0f, 0); }

void D3DUtil::PresentView() {
    try {
        (void)dev_.Present();
    } catch (const std::exception&) {
        // Nothing to show until the device is reset.
    }
}

void D3DUtil::ToggleSecondLight() {
    if (!SecondLightOn) {
        dev_.SetLight(1, SecondLight);
        dev_.LightEnable(1, true);
        SecondLightOn = true;
    } else {
        dev_.LightEnable(1, false);
        SecondLightOn = false;
    }
}

}  // namespace vantrel::engine3d
