// The headless device keeps state like a real one: scenes pair up, a lost device
// reports itself until it is reset, state survives in getters.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "engine3d/math/d3d_math.h"
#include "engine3d/engine3d_error.h"
#include "engine3d/device/recording_device.h"
#include "test_support.h"

namespace vantrel::engine3d {
namespace {

TEST(RecordingDevice, LostDeviceReportsUntilResetAndCannotResetWhileStillLost) {
    RecordingDevice dev;
    EXPECT_EQ(dev.TestCooperativeLevel(), D3D_OK);
    dev.loseDevice(D3DERR_DEVICELOST);
    EXPECT_EQ(dev.TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(dev.Present(), D3DERR_DEVICELOST);
    EXPECT_THROW(dev.Reset(), Engine3dError);
    dev.loseDevice(D3DERR_DEVICENOTRESET);
    EXPECT_EQ(dev.TestCooperativeLevel(), static_cast<HRESULT>(0x88760869u));
    dev.Reset();
    EXPECT_EQ(dev.TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(dev.Present(), D3D_OK);
}

TEST(RecordingDevice, ScenesPairUpAndStateIsKept) {
    RecordingDevice dev;
    EXPECT_THROW(dev.EndScene(), Engine3dError);
    dev.BeginScene();
    EXPECT_THROW(dev.BeginScene(), Engine3dError);
    dev.EndScene();
    dev.SetTransform(D3DTS_VIEW, D3DXMatrixTranslation(1, 2, 3));
    EXPECT_EQ(dev.GetTransform(D3DTS_VIEW), D3DXMatrixTranslation(1, 2, 3));
    EXPECT_EQ(dev.GetTransform(D3DTS_WORLD), D3DXMatrixIdentity());
    EXPECT_THROW(dev.SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(17), D3DMATRIX{}), Engine3dError);
    const D3DVIEWPORT8 vp{1, 2, 300, 200, 0, 1};
    dev.SetViewport(vp);
    EXPECT_EQ(dev.GetViewport(), vp);
    EXPECT_THROW(dev.SetTexture(8, nullptr), Engine3dError);
    EXPECT_EQ(dev.GetRenderState(D3DRS_LIGHTING), 0u);
    EXPECT_EQ(dev.callsOf(DeviceCallKind::BeginScene).size(), 1u);
}

// A texture name from a .x file is found as given, else in the texture folder
// (written either way round), and the texture is named by where it was found.
TEST(RecordingDevice, TextureNamesAreLookedForInTheTextureFolder) {
    const auto folder = std::filesystem::temp_directory_path() / ("vantrel_rec_textures_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "sub");
    std::ofstream(folder / "sub" / "wood.png") << "not checked here";
    RecordingDevice dev;
    EXPECT_EQ(dev.CreateTextureFromFile("sub/wood.png"), nullptr);
    dev.setTextureFolder(folder.string());
    struct Case {
        std::string name;
        bool found;
    };
    for (const Case& c : {Case{"sub/wood.png", true}, Case{"sub\\wood.png", true}, Case{(folder / "sub" / "wood.png").string(), true},
                          Case{"sub/missing.png", false}, Case{"/sub/wood.png", false}, Case{"", false}}) {
        const TexturePtr t = dev.CreateTextureFromFile(c.name);
        EXPECT_EQ(t != nullptr, c.found) << c.name;
        if (t) {
            EXPECT_TRUE(std::filesystem::equivalent(t->sourceName(), folder / "sub" / "wood.png")) << c.name;
        }
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vantrel::engine3d
