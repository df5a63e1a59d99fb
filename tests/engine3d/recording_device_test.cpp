// The headless device keeps state like a real one: scenes pair up, a lost device
// reports itself until it is reset, state survives in getters.

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

}  // namespace
}  // namespace vantrel::engine3d
