// Scene defaults, camera, clearing, presenting, the second light, the texture
// cache and new child frames, checked against the recording device.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "engine3d/scene/cd3d_frame.h"
#include "engine3d/math/d3d_math.h"
#include "engine3d/device/d3d_util.h"
#include "engine3d/engine3d_error.h"
#include "engine3d/device/light_levels.h"
#include "engine3d/device/recording_device.h"
#include "test_support.h"

namespace vantrel::engine3d {
namespace {

using namespace test;

TEST(D3DUtil, SceneDefaultsSetTransformsLightMaterialAndStatesInOrder) {
    RecordingDevice dev;
    D3DUtil util(dev);
    util.ApplySceneDefaults();
    EXPECT_FLOAT_EQ(util.FieldOfView, 0.785375f);
    EXPECT_EQ(util.AspectRatio, 1.0f);
    EXPECT_EQ(util.NearPlane, 1.0f);
    EXPECT_EQ(util.FarPlane, 3000.0f);
    EXPECT_EQ(util.IdentityMatrix, D3DXMatrixIdentity());

    const auto& calls = dev.calls();
    const DeviceCallKind kinds[] = {
        DeviceCallKind::SetTransform,   DeviceCallKind::SetTransform,   DeviceCallKind::SetTransform,
        DeviceCallKind::SetLight,       DeviceCallKind::LightEnable,    DeviceCallKind::SetMaterial,
        DeviceCallKind::SetRenderState, DeviceCallKind::SetRenderState, DeviceCallKind::SetRenderState,
        DeviceCallKind::SetRenderState, DeviceCallKind::SetRenderState,
    };
    ASSERT_EQ(calls.size(), std::size(kinds));
    for (std::size_t i = 0; i < calls.size(); ++i) EXPECT_EQ(calls[i].kind, kinds[i]) << i;
    EXPECT_EQ(calls[0].a, DWORD{D3DTS_PROJECTION});
    EXPECT_EQ(calls[0].matrix, util.ProjectionMatrix);
    EXPECT_EQ(calls[1].a, DWORD{D3DTS_VIEW});
    EXPECT_TRUE(near(calls[1].matrix, D3DXMatrixTranslation(0, 0, 20)));
    EXPECT_EQ(calls[2].a, DWORD{D3DTS_WORLD});
    EXPECT_EQ(calls[2].matrix, D3DXMatrixIdentity());
    const std::pair<DWORD, DWORD> states[] = {
        {D3DRS_AMBIENT, 0x10101010}, {D3DRS_CLIPPING, 1}, {D3DRS_LIGHTING, 1}, {D3DRS_ZENABLE, D3DZB_TRUE},
        {D3DRS_SHADEMODE, D3DSHADE_GOURAUD}};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(std::make_pair(calls[6 + i].a, calls[6 + i].b), states[i]) << i;

    const D3DLIGHT8* light = dev.light(0);
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light->Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(light->Diffuse, (D3DCOLORVALUE{kMainLightDiffuse, kMainLightDiffuse, kMainLightDiffuse, 1}));
    EXPECT_EQ(light->Ambient, (D3DCOLORVALUE{kMainLightAmbient, kMainLightAmbient, kMainLightAmbient, 1}));
    EXPECT_EQ(light->Specular, D3DCOLORVALUE{});
    EXPECT_EQ(light->Range, 10000.0f);
    EXPECT_TRUE(near(light->Direction, D3DXVec3Normalize({-1, -1, -1})));
    EXPECT_TRUE(dev.lightEnabled(0));
    EXPECT_EQ(dev.light(1), nullptr);  // the second light is only stored
    EXPECT_TRUE(near(util.SecondLight.Direction, D3DXVec3Normalize({1, -1, -1})));
    EXPECT_EQ(util.SecondLight.Ambient, (D3DCOLORVALUE{kSecondLightAmbient, kSecondLightAmbient, kSecondLightAmbient, 1}));
    EXPECT_EQ(dev.material().Diffuse, (D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 1}));
    EXPECT_EQ(dev.material().Ambient, (D3DCOLORVALUE{0.2f, 0.2f, 0.2f, 1}));
    EXPECT_EQ(dev.material().Power, 10.0f);
}

// Direct3D's lit colour of a white material, before the clamp, for a face
// pointing along every direction of a fine sphere: with the bright ambient of
// the placed camera it stays below 1 with both lights on, and it is not dull
// with the main light alone.
TEST(D3DUtil, WhiteStaysBelowSaturationUnderTheDefaultLights) {
    RecordingDevice dev;
    D3DUtil util(dev);
    util.ApplySceneDefaults();
    const float ambient = (kBrightAmbient & 0xFF) / 255.0f;
    auto brightest = [&](bool second) {
        float most = 0;
        for (int i = 0; i <= 90; ++i)
            for (int j = 0; j < 180; ++j) {
                const float theta = 3.14159265f * i / 90, phi = 2 * 3.14159265f * j / 180;
                const D3DVECTOR n{std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi)};
                float lit = ambient + util.MainLight.Ambient.r +
                            util.MainLight.Diffuse.r * std::max(0.0f, D3DXVec3Dot(n, D3DVECTOR{} - util.MainLight.Direction));
                if (second)
                    lit += util.SecondLight.Ambient.r +
                           util.SecondLight.Diffuse.r * std::max(0.0f, D3DXVec3Dot(n, D3DVECTOR{} - util.SecondLight.Direction));
                most = std::max(most, lit);
            }
        return most;
    };
    EXPECT_LT(brightest(true), 0.99f);
    EXPECT_GT(brightest(false), 0.8f);
}

TEST(D3DUtil, AspectIsWidthOverHeightOnlyWhenBothAreKnown) {
    struct Case {
        std::int32_t w, h;
        float aspect;
    };
    const Case cases[] = {{600, 450, 600.0f / 450.0f}, {0, 450, 1.0f}, {600, 0, 1.0f}, {800, 600, 800.0f / 600.0f},
                          {100, 300, 100.0f / 300.0f}};
    for (const auto& c : cases) {
        RecordingDevice dev;
        D3DUtil util(dev);
        util.ViewWidth = c.w;
        util.ViewHeight = c.h;
        util.ApplySceneDefaults();
        EXPECT_FLOAT_EQ(util.AspectRatio, c.aspect) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(dev.GetTransform(D3DTS_PROJECTION)(0, 0), (1.0f / std::tan(0.3926875f)) / c.aspect);
    }
}

TEST(D3DUtil, CameraClearAndPresent) {
    RecordingDevice dev;
    D3DUtil util(dev);
    util.ApplySceneDefaults();
    util.SetCameraView({0, 10, 0}, {0, 0, 0}, {0, 0, 1});
    EXPECT_EQ(dev.GetTransform(D3DTS_VIEW), util.ViewMatrix);
    EXPECT_TRUE(near(D3DXVec3TransformCoord({0, 0, 0}, util.ViewMatrix), {0, 0, 10}));
    // The defaults bring the camera and the ambient level back.
    dev.SetRenderState(D3DRS_AMBIENT, 0x90909090);
    util.ApplySceneDefaults();
    EXPECT_TRUE(near(dev.GetTransform(D3DTS_VIEW), D3DXMatrixTranslation(0, 0, 20)));
    EXPECT_EQ(dev.GetRenderState(D3DRS_AMBIENT), 0x10101010u);

    dev.clearCalls();
    util.ClearView(0xFF336699);
    ASSERT_EQ(dev.calls().size(), 1u);
    EXPECT_EQ(dev.calls()[0].a, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
    EXPECT_EQ(dev.calls()[0].b, 0xFF336699u);
    EXPECT_EQ(dev.calls()[0].depth, 1.0f);
    EXPECT_EQ(dev.calls()[0].stencil, 0u);

    dev.loseDevice(D3DERR_DEVICELOST);
    EXPECT_NO_THROW(util.PresentView());
    dev.failCallsOf(DeviceCallKind::Present);
    EXPECT_NO_THROW(util.PresentView());
    dev.failCallsOf(DeviceCallKind::Clear);
    EXPECT_THROW(util.ClearView(0), Engine3dError);
    dev.failCallsOf(DeviceCallKind::SetLight);
    EXPECT_THROW(util.ApplySceneDefaults(), Engine3dError);
}

TEST(D3DUtil, SecondLightTogglesDeviceAndIndicatorBackAndForth) {
    RecordingDevice dev;
    D3DUtil util(dev);
    util.ApplySceneDefaults();
    // The caller's indicator follows SecondLightOn after each toggle.
    std::vector<bool> indicator;
    util.ToggleSecondLight();
    indicator.push_back(util.SecondLightOn);
    ASSERT_NE(dev.light(1), nullptr);
    EXPECT_EQ(*dev.light(1), util.SecondLight);
    EXPECT_TRUE(dev.lightEnabled(1));
    EXPECT_TRUE(util.SecondLightOn);
    util.ToggleSecondLight();
    indicator.push_back(util.SecondLightOn);
    EXPECT_FALSE(dev.lightEnabled(1));
    EXPECT_FALSE(util.SecondLightOn);
    EXPECT_EQ(indicator, (std::vector<bool>{true, false}));
}

TEST(D3DUtil, TextureCacheLoadsEachExactNameOnceAndRetriesFailures) {
    const auto dir = std::filesystem::temp_directory_path() / "e3d_cache";
    std::filesystem::create_directories(dir);
    const std::string lower = (dir / "wood.bmp").string(), upper = (dir / "WOOD.bmp").string();
    std::ofstream(lower) << "image";
    std::ofstream(upper) << "image";
    const std::string later = (dir / "later.bmp").string();
    std::filesystem::remove(later);

    RecordingDevice dev;
    EXPECT_EQ(LoadTextureCached(dev, ""), nullptr);
    const TexturePtr a = LoadTextureCached(dev, lower);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(LoadTextureCached(dev, lower), a);
    EXPECT_EQ(dev.textureLoads(), 1);
    EXPECT_NE(LoadTextureCached(dev, upper), a);
    EXPECT_EQ(dev.textureLoads(), 2);
    EXPECT_EQ(LoadTextureCached(dev, later), nullptr);
    std::ofstream(later) << "image";
    EXPECT_NE(LoadTextureCached(dev, later), nullptr);
    EXPECT_EQ(dev.textureCache().size(), 3u);
    std::filesystem::remove_all(dir);
}

TEST(D3DUtil, NewChildFrameLinksUnderTheParentWhenGiven) {
    auto parent = CD3DFrame::Create();
    auto child = NewChildFrame(parent);
    ASSERT_EQ(parent->GetChildFrameCount(), 1u);
    EXPECT_EQ(parent->GetChildFrame(0), child);
    EXPECT_NE(NewChildFrame(nullptr), nullptr);
}

}  // namespace
}  // namespace vantrel::engine3d
