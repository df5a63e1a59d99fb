#pragma once
// The 3D view of the main window without its window: drawing on demand, the
// camera and its commands, the trackball, and the mouse in the view (click to
// pick, left drag to turn, any drag redraws). The window forwards its events
// here; the model hands over what to draw with setScene.

#include <cstdint>
#include <functional>
#include <string>

#include "engine3d/device/d3d_util.h"
#include "engine3d/scene/cd3d_frame.h"

namespace vantrel::view {

using engine3d::FramePtr;

// The settings values the view reads and moves: they live with the other
// settings, which write them at exit.
struct CameraSettings {
    float& CameraX;
    float& CameraY;
    float& CameraZ;
    std::int32_t& BackgroundColor;  // 0x00RRGGBB, cleared as A8R8G8B8
};

enum class CameraCommand { Up, Down, Left, Right, In, Out };

// "In" stops with the eye this far in front of the origin, outside the case.
inline constexpr float kNearestEyeZ = -6.0f;

// The colour the picked part is mixed towards, and how far (A8R8G8B8).
inline constexpr std::uint32_t kPickedPartTint = 0x70ffc800;

// Mouse buttons as the view's events report them.
enum MouseButtons : int { NoButton = 0, LeftButton = 1, RightButton = 2, MiddleButton = 4 };

class SceneView {
public:
    SceneView(engine3d::D3DUtil& util, CameraSettings settings);

    // What to draw (SceneRoot), what the trackball turns (ModelFrame) and where
    // a click looks for parts (PcRoot); then the view is ready and redraws.
    void setScene(FramePtr sceneRoot, FramePtr modelFrame, FramePtr pickRoot);

    // Draws one picture; nothing before a scene is set, nothing while the
    // device is lost and not yet resettable.
    void RenderScene();
    // Scene defaults, bright ambient light, the eye at the camera values.
    void zoom_in();
    void runCameraCommand(CameraCommand command);
    // Turns the model by the angle the pointer sweeps: a drag across the
    // whole width of the view is half a turn.
    void RotateTrackBall(std::int16_t x, std::int16_t y);
    // The front view: the start camera and the model as it was before the
    // trackball turned it. Redraws.
    void resetView();
    // Turns the model as a drag of (dx, dy) pixels would, and redraws.
    void turnBy(int dx, int dy);

    // The picked part is drawn tinted until another is marked; null unmarks.
    void markPart(const FramePtr& frame);
    const FramePtr& markedPart() const { return marked_; }

    // The view got a new size: the projection follows it (width over height)
    // and nothing else of the device state changes, the camera included.
    void resizeView(std::int32_t width, std::int32_t height);

    void mouseDown(float x, float y);
    void mouseMove(float x, float y, int buttons);
    void mouseUp();
    // A double click on empty space brings the front view back.
    void mouseDoubleClick(float x, float y);
    void paint();

    // Rounds a view coordinate to a 16-bit integer, halves to the even neighbour.
    static std::int16_t toViewInteger(float v);

    FramePtr SceneRoot, ModelFrame, PcRoot;
    bool ModelReady = false;
    bool TrackballActive = false;
    std::int16_t LastMouseX = 0, LastMouseY = 0;
    std::string PickedFrameName;

    // Names the part of the frame a click hit (null: nothing was hit) and
    // gives back the frame to mark as picked (null: none).
    std::function<FramePtr(const FramePtr& hit)> find_part;
    // Lets pending window events run (after a device reset).
    std::function<void()> letEventsRun;

    engine3d::D3DUtil& util() { return util_; }
    CameraSettings& camera() { return settings_; }

private:
    // The frame under the pointer, or null.
    FramePtr frameAt(float x, float y);

    engine3d::D3DUtil& util_;
    CameraSettings settings_;
    FramePtr marked_;
    // The model frame's matrix before the trackball first turned it.
    FramePtr frontFrame_;
    engine3d::D3DMATRIX frontMatrix_;
};

}  // namespace vantrel::view
