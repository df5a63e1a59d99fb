#include "view/scene_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/start_camera.h"
#include "engine3d/device/highlight_state.h"
#include "engine3d/device/light_levels.h"
#include "engine3d/math/d3d_math.h"
#include "engine3d/scene/cd3d_pick.h"

namespace vantrel::view {

using namespace engine3d;

namespace {
constexpr float kPi = 3.14159265f;
}

SceneView::SceneView(D3DUtil& util, CameraSettings settings) : util_(util), settings_(settings) {}

void SceneView::setScene(FramePtr sceneRoot, FramePtr modelFrame, FramePtr pickRoot) {
    SceneRoot = std::move(sceneRoot);
    ModelFrame = std::move(modelFrame);
    PcRoot = std::move(pickRoot);
    ModelReady = SceneRoot != nullptr;
    RenderScene();
}

void SceneView::RenderScene() {
    if (!SceneRoot) return;
    RenderDevice& dev = util_.device();
    const HRESULT level = dev.TestCooperativeLevel();
    if (level == D3DERR_DEVICENOTRESET) {
        dev.Reset();
        util_.ApplySceneDefaults();
        if (letEventsRun) letEventsRun();
    } else if (level != D3D_OK) {
        return;
    }
    util_.ClearView(static_cast<DWORD>(settings_.BackgroundColor));
    dev.BeginScene();
    try {
        SceneRoot->Render(dev);
    } catch (...) {
        // Close the scene so that the next picture can begin one.
        try {
            dev.EndScene();
        } catch (...) {
        }
        throw;
    }
    dev.EndScene();
    util_.PresentView();
}

void SceneView::zoom_in() {
    util_.ApplySceneDefaults();
    util_.device().SetRenderState(D3DRS_AMBIENT, kBrightAmbient);
    util_.SetCameraView({settings_.CameraX, settings_.CameraY, settings_.CameraZ}, {0, 0, 0}, {0, 1, 0});
}

void SceneView::runCameraCommand(CameraCommand command) {
    switch (command) {
        case CameraCommand::Up: settings_.CameraY -= 1.0f; break;  // the eye goes down, the model up
        case CameraCommand::Down: settings_.CameraY += 1.0f; break;
        case CameraCommand::Left: settings_.CameraX += 1.0f; break;  // the eye goes right, the model left
        case CameraCommand::Right: settings_.CameraX -= 1.0f; break;
        case CameraCommand::In:
            // Further in the eye would fly into the model.
            if (settings_.CameraZ + 1.0f <= kNearestEyeZ) settings_.CameraZ += 1.0f;
            break;
        case CameraCommand::Out: settings_.CameraZ -= 1.0f; break;
    }
    zoom_in();
    RenderScene();
}

void SceneView::RotateTrackBall(std::int16_t x, std::int16_t y) {
    const int dx = x - LastMouseX;
    LastMouseX = x;
    const int dy = y - LastMouseY;
    LastMouseY = y;
    const float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
    const float width = static_cast<float>(util_.ViewWidth > 0 ? util_.ViewWidth : util_.device().GetViewport().Width);
    if (d == 0.0f || width <= 0.0f || !SceneRoot || !ModelFrame) return;
    if (ModelFrame != frontFrame_) {
        frontFrame_ = ModelFrame;
        frontMatrix_ = ModelFrame->GetMatrix();
    }
    const float angle = kPi * d / width;
    // The screen axis perpendicular to the movement, carried into the model.
    const D3DVECTOR screenAxis{-dy / d, -dx / d, 0};
    util_.ViewMatrix = util_.device().GetTransform(D3DTS_VIEW);
    const D3DVECTOR p = D3DXVec3TransformCoord(screenAxis, util_.ViewMatrix);
    const D3DVECTOR o = D3DXVec3TransformCoord({0, 0, 0}, util_.ViewMatrix);
    SceneRoot->UpdateFrames();
    const D3DVECTOR axis = ModelFrame->InverseTransformCoord(p) - ModelFrame->InverseTransformCoord(o);
    ModelFrame->AddRotation(ApplyBefore, axis.x, axis.y, axis.z, angle);
}

void SceneView::resetView() {
    settings_.CameraX = kStartCamera.x;
    settings_.CameraY = kStartCamera.y;
    settings_.CameraZ = kStartCamera.z;
    if (ModelFrame && ModelFrame == frontFrame_) ModelFrame->SetMatrix(frontMatrix_);
    zoom_in();
    RenderScene();
}

void SceneView::turnBy(int dx, int dy) {
    LastMouseX = 0;
    LastMouseY = 0;
    RotateTrackBall(toViewInteger(static_cast<float>(dx)), toViewInteger(static_cast<float>(dy)));
    RenderScene();
}

void SceneView::markPart(const FramePtr& frame) {
    if (frame == marked_) return;
    if (marked_) {
        marked_->SetPreRenderCallback({}, 0);
        marked_->SetPostRenderCallback({}, 0);
    }
    marked_ = frame;
    if (!marked_) return;
    RenderDevice& dev = util_.device();
    marked_->SetPreRenderCallback([&dev](std::int32_t) { dev.SetRenderState(kHighlightColour, kPickedPartTint); }, 0);
    marked_->SetPostRenderCallback([&dev](std::int32_t) { dev.SetRenderState(kHighlightColour, 0); }, 0);
}

void SceneView::resizeView(std::int32_t width, std::int32_t height) {
    util_.ViewWidth = width;
    util_.ViewHeight = height;
    if (util_.FieldOfView == 0) return;  // no scene defaults yet: they will take the size
    util_.AspectRatio = width != 0 && height != 0
                            ? static_cast<float>(static_cast<double>(width) / static_cast<double>(height))
                            : 1.0f;
    util_.ProjectionMatrix =
        D3DXMatrixPerspectiveFovLH(util_.FieldOfView, util_.AspectRatio, util_.NearPlane, util_.FarPlane);
    util_.device().SetTransform(D3DTS_PROJECTION, util_.ProjectionMatrix);
}

std::int16_t SceneView::toViewInteger(float v) {
    const float rounded = std::nearbyint(v);  // the default rounding mode sends halves to even
    constexpr float lo = std::numeric_limits<std::int16_t>::min();
    constexpr float hi = std::numeric_limits<std::int16_t>::max();
    if (!(rounded >= lo)) return static_cast<std::int16_t>(lo);  // also NaN
    return static_cast<std::int16_t>(std::min(rounded, hi));
}

FramePtr SceneView::frameAt(float x, float y) {
    CD3DPick pick(util_.device());
    if (!pick.ViewportPick(PcRoot, x, y)) return nullptr;
    const std::int32_t nearest = pick.FindNearest();
    return nearest < 0 ? nullptr : pick.GetFrame(static_cast<DWORD>(nearest));
}

void SceneView::mouseDown(float x, float y) {
    TrackballActive = true;
    LastMouseX = toViewInteger(x);
    LastMouseY = toViewInteger(y);
    if (!ModelReady || !PcRoot) return;
    // Every click names what it hit, or nothing: a label or mark left from an
    // earlier click would name the wrong part.
    const FramePtr hit = frameAt(x, y);
    PickedFrameName = hit ? hit->ObjectName : std::string();
    const FramePtr part = find_part ? find_part(hit) : nullptr;
    if (part == marked_) return;
    markPart(part);
    RenderScene();
}

void SceneView::mouseDoubleClick(float x, float y) {
    if (!ModelReady || !PcRoot || frameAt(x, y)) return;
    resetView();
}

void SceneView::mouseMove(float x, float y, int buttons) {
    if (!TrackballActive) return;
    if (buttons == LeftButton) RotateTrackBall(toViewInteger(x), toViewInteger(y));
    RenderScene();
}

void SceneView::mouseUp() { TrackballActive = false; }

void SceneView::paint() {
    if (ModelReady) RenderScene();
}

}  // namespace vantrel::view
