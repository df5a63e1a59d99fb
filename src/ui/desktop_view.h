#pragma once
// The 3D view of the desktop program: the start-up steps that create the
// device and apply the scene defaults, the commands of the view panel's
// buttons, the Background Color dialog, and the hand-over of the model's
// scene. Every call into the view's core runs with the widget's
// GL context current; a drawing failure inside an event is written to the
// standard error stream and the picture skipped, so the window stays usable.

#include <functional>
#include <memory>
#include <string>

#include "core/program_state.h"
#include "engine3d/device/d3d_util.h"
#include "model/mesh_prefetch.h"
#include "model/virtual_pc.h"
#include "view/background_color_dialog.h"
#include "view/scene_view.h"

namespace vantrel::ui {

class BackgroundColorWindow;
class SceneViewWidget;
class ViewPanel;

class DesktopView : public ViewLifecycle {
public:
    DesktopView(ProgramState& state, ViewPanel& panel, model::VirtualPc& pc);
    ~DesktopView() override;

    bool createSimpleDevice() override;
    void findMediaFolder() override;
    void initDevice() override;
    void applySceneDefaults() override;
    void assembleModel() override;
    void releaseModel() override;

    // A scene other than the virtual PC's: SceneRoot is drawn, ModelFrame
    // turned by the trackball, PickRoot searched by a click. The view redraws.
    void showScene(engine3d::FramePtr sceneRoot, engine3d::FramePtr modelFrame, engine3d::FramePtr pickRoot);
    // Draws a picture (display-mode and other changes made elsewhere); the
    // virtual PC's scene once it is assembled.
    void redraw();

    void runCameraCommand(view::CameraCommand command);
    // The front view: start camera, model unturned.
    void resetView();
    void toggleSecondLight();
    void showBackgroundColorDialog();


    const std::string& MediaFolder() const { return mediaFolder_; }
    view::SceneView* sceneView() { return sceneView_.get(); }
    engine3d::D3DUtil* util() { return util_.get(); }
    view::BackgroundColorDialog& colorDialog() { return colorDialog_; }
    BackgroundColorWindow* colorWindow() { return colorWindow_; }

private:
    void guarded(const char* what, const std::function<void()>& fn);
    void connectPanel();
    void connectButtons();
    void turnByKeys(int dx, int dy);
    std::string locateMediaFolder() const;

    ProgramState& state_;
    ViewPanel& panel_;
    model::VirtualPc& pc_;
    std::unique_ptr<engine3d::D3DUtil> util_;
    std::unique_ptr<view::SceneView> sceneView_;
    view::BackgroundColorDialog colorDialog_;
    BackgroundColorWindow* colorWindow_ = nullptr;
    std::string mediaFolder_;
    // The model's files, read while the windows come up; gone once assembled.
    std::unique_ptr<model::MeshPrefetch> prefetch_;
};

}  // namespace vantrel::ui
