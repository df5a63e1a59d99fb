// The view's commands on a recording device: drawing on demand, the camera
// commands, the trackball, the mouse and picking, and a lost device.

#include <gtest/gtest.h>

#include <cmath>

#include "core/start_camera.h"
#include "engine3d/device/highlight_state.h"
#include "engine3d/device/recording_device.h"
#include "engine3d/engine3d_error.h"
#include "engine3d/device/light_levels.h"
#include "engine3d/math/d3d_math.h"
#include "support/scene_geometry.h"
#include "view/scene_view.h"

namespace vantrel::test {
namespace {

using view::CameraCommand;
using view::SceneView;

constexpr float kPi = 3.14159265f;

bool near(const D3DMATRIX& a, const D3DMATRIX& b, float tol = 1e-5f) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (std::fabs(a(r, c) - b(r, c)) > tol) return false;
    return true;
}

// The main window's view: camera at the start-up position, a 640 x 480 view.
struct ViewFixture : ::testing::Test {
    RecordingDevice dev;
    D3DUtil util{dev};
    float cameraX = 0, cameraY = 0, cameraZ = -10;
    std::int32_t background = 0x00336699;
    SceneView view{util, {cameraX, cameraY, cameraZ, background}};
    FramePtr root = CD3DFrame::Create();
    FramePtr model = frameWith(nullptr, root, "model");
    int partsNamed = 0;

    ViewFixture() {
        dev.SetViewport({0, 0, 640, 480, 0, 1});
        util.ViewWidth = 640;
        util.ViewHeight = 480;
        util.ApplySceneDefaults();
        view.zoom_in();
        view.find_part = [this](const FramePtr& hit) {
            ++partsNamed;
            return hit && !hit->ObjectName.empty() ? hit : nullptr;
        };
    }
    // A square part facing the camera at depth z, named name.
    FramePtr part(const char* name, float z, const FramePtr& parent) {
        return frameWith(meshOf(quadFacingCamera(z, 2), plainMaterial({1, 0, 0, 1})), parent, name);
    }
    std::size_t pictures() const { return dev.callsOf(DeviceCallKind::BeginScene).size(); }
    void ready() {
        view.setScene(root, model, model);
        dev.clearCalls();
    }
};

TEST_F(ViewFixture, NothingIsDrawnBeforeTheModelIsThere) {
    dev.clearCalls();
    view.RenderScene();
    view.paint();
    view.mouseDown(320, 240);
    view.mouseMove(330, 240, view::LeftButton);
    EXPECT_TRUE(dev.calls().empty());
    EXPECT_TRUE(view.TrackballActive);  // a click only arms the trackball
}

TEST_F(ViewFixture, APictureClearsToTheBackgroundDrawsAndPresents) {
    part("front", 0, model);
    ready();
    view.RenderScene();
    const auto clears = dev.callsOf(DeviceCallKind::Clear);
    ASSERT_EQ(clears.size(), 1u);
    EXPECT_EQ(clears[0].b, 0x00336699u);
    EXPECT_EQ(dev.callsOf(DeviceCallKind::DrawSubset).size(), 1u);
    EXPECT_EQ(dev.callsOf(DeviceCallKind::EndScene).size(), 1u);
    EXPECT_EQ(dev.callsOf(DeviceCallKind::Present).size(), 1u);
}

TEST_F(ViewFixture, CameraCommandsMoveTheEyeAndRedraw) {
    struct Step {
        std::vector<CameraCommand> commands;
        D3DVECTOR eye;
    };
    const Step steps[] = {
        {{CameraCommand::In}, {0, 0, -9}},
        {{CameraCommand::In, CameraCommand::Out, CameraCommand::Out}, {0, 0, -11}},
        {{CameraCommand::Up, CameraCommand::Down}, {0, 0, -10}},
        {{CameraCommand::Up}, {0, -1, -10}},
        {{CameraCommand::Left}, {1, 0, -10}},
        {{CameraCommand::Right, CameraCommand::Right}, {-2, 0, -10}},
        // "In" stops short of the model.
        {std::vector<CameraCommand>(6, CameraCommand::In), {0, 0, view::kNearestEyeZ}},
    };
    for (const auto& s : steps) {
        cameraX = 0, cameraY = 0, cameraZ = -10;
        ready();
        for (auto c : s.commands) view.runCameraCommand(c);
        EXPECT_EQ((D3DVECTOR{cameraX, cameraY, cameraZ}), s.eye);
        EXPECT_TRUE(near(dev.GetTransform(D3DTS_VIEW), D3DXMatrixLookAtLH(s.eye, {0, 0, 0}, {0, 1, 0})));
        EXPECT_EQ(dev.GetRenderState(D3DRS_AMBIENT), engine3d::kBrightAmbient);
        EXPECT_EQ(pictures(), s.commands.size());
    }
}

// The model turns by the angle the pointer sweeps: the whole 640-pixel width is half a turn.
TEST_F(ViewFixture, APointerStepTurnsTheModelByTheSweptAngle) {
    struct Case {
        int dx;
        float angle;
    };
    for (const Case c : {Case{640, kPi}, Case{320, kPi / 2}, Case{80, kPi / 8}}) {
        model->SetMatrix(D3DXMatrixIdentity());
        ready();
        view.LastMouseX = 0;
        view.LastMouseY = 100;
        view.RotateTrackBall(static_cast<std::int16_t>(c.dx), 100);
        EXPECT_TRUE(near(model->GetMatrix(), D3DXMatrixRotationAxis({0, -1, 0}, c.angle), 1e-4f)) << c.dx;
        EXPECT_EQ(view.LastMouseX, c.dx);
    }
    // A quarter turn to the right brings the side that faced the camera to the right.
    EXPECT_GT(D3DXVec3TransformCoord({0, 0, -1}, D3DXMatrixRotationAxis({0, -1, 0}, kPi / 2)).x, 0.99f);
}

TEST_F(ViewFixture, TrackballAccumulatesAndIgnoresAStepWithoutMovement) {
    ready();
    view.LastMouseX = 10;
    view.LastMouseY = 10;
    view.RotateTrackBall(10, 10);
    EXPECT_TRUE(near(model->GetMatrix(), D3DXMatrixIdentity()));
    const float step = kPi * 50.0f / 640.0f;
    view.RotateTrackBall(10, 60);  // down: about -x
    const D3DMATRIX first = D3DXMatrixRotationAxis({-1, 0, 0}, step);
    EXPECT_TRUE(near(model->GetMatrix(), first));
    view.RotateTrackBall(60, 60);  // then right, about the screen's -y carried into the turned model
    const D3DVECTOR axis = D3DXVec3TransformNormal({0, -1, 0}, D3DXMatrixInverse(first));
    EXPECT_TRUE(near(model->GetMatrix(), D3DXMatrixRotationAxis(axis, step) * first, 1e-4f));
}

TEST_F(ViewFixture, LeftDragTurnsAndRedrawsRightDragOnlyRedraws) {
    struct Case {
        int buttons;
        bool turns;
    };
    for (const Case c : {Case{view::LeftButton, true}, Case{view::RightButton, false},
                         Case{view::LeftButton | view::RightButton, false}}) {
        model->SetMatrix(D3DXMatrixIdentity());
        ready();
        view.mouseDown(300, 200);
        for (int i = 1; i <= 10; ++i) view.mouseMove(300.0f + i, 200, c.buttons);
        view.mouseUp();
        view.mouseMove(400, 200, c.buttons);  // after the button is up: nothing
        EXPECT_EQ(pictures(), 10u) << c.buttons;
        EXPECT_EQ(!near(model->GetMatrix(), D3DXMatrixIdentity()), c.turns) << c.buttons;
        EXPECT_FALSE(view.TrackballActive);
    }
}

TEST_F(ViewFixture, ClickNamesTheNearestVisiblePartAndMarksIt) {
    auto hidden = part("hidden", -2, model);
    hidden->Enabled = false;
    auto front = part("front", -1, model);
    part("back", 1, model);
    ready();
    view.mouseDown(320, 240);
    EXPECT_EQ(view.PickedFrameName, "front");
    EXPECT_EQ(partsNamed, 1);
    EXPECT_EQ(view.markedPart(), front);
    // The click redraws once, to show the mark: the picked part is drawn
    // tinted, and only it.
    EXPECT_EQ(pictures(), 1u);
    DWORD tint = 0;
    int tintedDraws = 0, plainDraws = 0;
    for (const auto& call : dev.calls()) {
        if (call.kind == DeviceCallKind::SetRenderState && call.a == kHighlightColour) tint = call.b;
        if (call.kind != DeviceCallKind::DrawSubset) continue;
        const bool ofFront = call.mesh == front->GetChildMesh(0)->mesh.get();
        EXPECT_EQ(tint, ofFront ? view::kPickedPartTint : 0u);
        ++(ofFront ? tintedDraws : plainDraws);
    }
    EXPECT_EQ(tintedDraws, 1);
    EXPECT_EQ(plainDraws, 1);
    view.mouseUp();
    dev.clearCalls();
    view.mouseDown(320, 240);  // the same part again: nothing changes, no picture
    EXPECT_EQ(pictures(), 0u);
}

TEST_F(ViewFixture, ClickOnTheBackgroundOrAnUnnamedPartClearsTheNameAndTheMark) {
    part("front", 0, model);
    frameWith(meshOf(quadFacingCamera(0, 2, {0, 0, -1}, true, 5, 0), plainMaterial({1, 0, 0, 1})), model, "");
    ready();
    const D3DVECTOR ndc =
        D3DXVec3TransformCoord({5, 0, 0}, dev.GetTransform(D3DTS_VIEW) * dev.GetTransform(D3DTS_PROJECTION));
    const D3DVECTOR unnamed{(ndc.x + 1) / 2 * 640, (1 - ndc.y) / 2 * 480, 0};
    struct Case {
        const char* what;
        float x, y;
    };
    for (const Case c : {Case{"background", 5, 5}, Case{"unnamed part", unnamed.x, unnamed.y}}) {
        view.mouseDown(320, 240);
        ASSERT_EQ(view.PickedFrameName, "front");
        ASSERT_NE(view.markedPart(), nullptr);
        view.mouseUp();
        dev.clearCalls();
        view.mouseDown(c.x, c.y);
        view.mouseUp();
        EXPECT_EQ(view.PickedFrameName, "") << c.what;
        EXPECT_EQ(view.markedPart(), nullptr) << c.what;
        EXPECT_EQ(pictures(), 1u) << c.what;  // the mark goes at once
    }
}

TEST_F(ViewFixture, ResetAndADoubleClickOnEmptySpaceBringTheFrontViewBack) {
    auto front = part("front", 0, model);
    ready();
    for (int way = 0; way < 2; ++way) {
        view.runCameraCommand(CameraCommand::Left);
        view.runCameraCommand(CameraCommand::Out);
        view.mouseDown(300, 200);
        view.mouseMove(400, 260, view::LeftButton);
        view.mouseUp();
        ASSERT_FALSE(near(model->GetMatrix(), D3DXMatrixIdentity()));
        if (way == 0) {
            view.mouseDoubleClick(320, 240);  // on the part: no reset
            EXPECT_FALSE(near(model->GetMatrix(), D3DXMatrixIdentity()));
            view.mouseDoubleClick(5, 5);
        } else {
            view.resetView();
        }
        EXPECT_TRUE(near(model->GetMatrix(), D3DXMatrixIdentity())) << way;
        EXPECT_EQ((D3DVECTOR{cameraX, cameraY, cameraZ}), (D3DVECTOR{kStartCamera.x, kStartCamera.y, kStartCamera.z}));
        EXPECT_TRUE(near(dev.GetTransform(D3DTS_VIEW),
                         D3DXMatrixLookAtLH({kStartCamera.x, kStartCamera.y, kStartCamera.z}, {0, 0, 0}, {0, 1, 0})));
    }
}

TEST_F(ViewFixture, MousePositionsRoundHalvesToEven) {
    struct Case {
        float in;
        std::int16_t out;
    };
    for (const Case c : {Case{2.5f, 2}, Case{3.5f, 4}, Case{-0.5f, 0}, Case{7.49f, 7}, Case{1e6f, 32767},
                         Case{-1e6f, -32768}}) {
        view.mouseDown(c.in, c.in);
        EXPECT_EQ(view.LastMouseX, c.out) << c.in;
    }
}

TEST_F(ViewFixture, LostDeviceIsResetWithTheSceneDefaultsOrSkipped) {
    part("front", 0, model);
    ready();
    int eventRuns = 0;
    view.letEventsRun = [&] { ++eventRuns; };

    dev.loseDevice(D3DERR_DEVICELOST);  // not resettable yet: no picture
    view.RenderScene();
    EXPECT_EQ(pictures(), 0u);

    dev.loseDevice(D3DERR_DEVICENOTRESET);
    view.RenderScene();
    EXPECT_EQ(dev.callsOf(DeviceCallKind::Reset).size(), 1u);
    EXPECT_EQ(eventRuns, 1);
    EXPECT_EQ(pictures(), 1u);
    EXPECT_TRUE(near(dev.GetTransform(D3DTS_VIEW), D3DXMatrixTranslation(0, 0, 20)));
    EXPECT_EQ(dev.GetRenderState(D3DRS_AMBIENT), 0x10101010u);
    view.runCameraCommand(CameraCommand::In);
    EXPECT_TRUE(near(dev.GetTransform(D3DTS_VIEW), D3DXMatrixTranslation(0, 0, 9)));
}

TEST_F(ViewFixture, AFailingDrawReachesTheCallerAndLeavesTheSceneClosed) {
    part("front", 0, model);
    ready();
    dev.failCallsOf(DeviceCallKind::DrawSubset);
    EXPECT_THROW(view.RenderScene(), Engine3dError);
    EXPECT_EQ(dev.callsOf(DeviceCallKind::EndScene).size(), 1u);
}

TEST_F(ViewFixture, PaintDrawsOnlyOnceTheModelIsReady) {
    part("front", 0, model);
    view.paint();
    EXPECT_EQ(pictures(), 0u);
    view.setScene(root, model, model);  // handing over the scene draws it once
    EXPECT_EQ(pictures(), 1u);
    view.paint();
    EXPECT_EQ(pictures(), 2u);
}

}  // namespace
}  // namespace vantrel::test

namespace vantrel::test {
namespace {

TEST_F(ViewFixture, ResizeKeepsTheCameraAndFollowsTheNewAspect) {
    view.runCameraCommand(CameraCommand::Up);
    const D3DMATRIX viewBefore = dev.GetTransform(D3DTS_VIEW);
    view.resizeView(300, 600);
    EXPECT_EQ(dev.GetTransform(D3DTS_VIEW), viewBefore);
    EXPECT_FLOAT_EQ(util.AspectRatio, 0.5f);
    EXPECT_TRUE(near(dev.GetTransform(D3DTS_PROJECTION), D3DXMatrixPerspectiveFovLH(util.FieldOfView, 0.5f, 1, 3000)));
    EXPECT_EQ(dev.GetRenderState(D3DRS_AMBIENT), engine3d::kBrightAmbient);
}

}  // namespace
}  // namespace vantrel::test
