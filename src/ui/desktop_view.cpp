#include "ui/desktop_view.h"

#include <QLabel>
#include <QToolButton>
#include <filesystem>
#include <iostream>

#include "engine3d/scene/cd3d_frame.h"
#include "engine3d/scene/xfile_scene_loader.h"
#include "render_gl/gl_device.h"
#include "ui/background_color_window.h"
#include "ui/scene_view_widget.h"
#include "ui/view_panel.h"
#include "view/media_folder.h"

#ifndef VANTREL_MEDIA_DIR
#define VANTREL_MEDIA_DIR "/usr/local/share/vantrel/media"
#endif

namespace vantrel::ui {

namespace {

constexpr const char* kMediaMarker = "vm1.x";

}  // namespace

DesktopView::DesktopView(ProgramState& state, ViewPanel& panel) : state_(state), panel_(panel) {
    connectPanel();
}

DesktopView::~DesktopView() = default;

void DesktopView::guarded(const char* what, const std::function<void()>& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        std::cerr << "vantrel: " << what << ": " << e.what() << "\n";
    }
}

void DesktopView::connectPanel() {
    find_part = [this] { panel_.partLabel()->setText(QString::fromStdString(sceneView_->PickedFrameName)); };
    connectButtons();
    SceneViewWidget* w = panel_.view();
    if (!w) return;
    w->onPaint = [this] {
        if (sceneView_) guarded("drawing the view", [this] { sceneView_->paint(); });
    };
    w->onResize = [this](int width, int height) {
        if (sceneView_) guarded("resizing the view", [&] { sceneView_->resizeView(width, height); });
    };
    w->onMouseDown = [this](float x, float y) {
        if (sceneView_)
            panel_.view()->withContext([&] { guarded("picking", [&] { sceneView_->mouseDown(x, y); }); });
    };
    w->onMouseMove = [this](float x, float y, int buttons) {
        if (sceneView_)
            panel_.view()->withContext([&] { guarded("drawing the view", [&] { sceneView_->mouseMove(x, y, buttons); }); });
    };
    w->onMouseUp = [this] {
        if (sceneView_) sceneView_->mouseUp();
    };
}

void DesktopView::connectButtons() {
    auto on = [this](const char* name, std::function<void()> fn) {
        QObject::connect(panel_.button(name), &QToolButton::clicked, &panel_, [fn = std::move(fn)] { fn(); });
    };
    on("panUp", [this] { runCameraCommand(view::CameraCommand::Up); });
    on("panLeft", [this] { runCameraCommand(view::CameraCommand::Left); });
    on("panDown", [this] { runCameraCommand(view::CameraCommand::Down); });
    on("panRight", [this] { runCameraCommand(view::CameraCommand::Right); });
    on("zoomIn", [this] { runCameraCommand(view::CameraCommand::In); });
    on("zoomOut", [this] { runCameraCommand(view::CameraCommand::Out); });
    on("backcolor", [this] { showBackgroundColorDialog(); });
    on("lights", [this] { toggleSecondLight(); });
    on("panBar", [this] {
        panel_.sideControls().barMouseDown(1);
        panel_.panPad()->setVisible(panel_.sideControls().panPadVisible());
    });
}

bool DesktopView::createSimpleDevice() {
    SceneViewWidget* w = panel_.view();
    if (!w) {
        std::cerr << "vantrel: this display offers no OpenGL for the view\n";
        return false;
    }
    if (!w->device()) state_.ui->doEvents();  // the widget makes its context when first shown
    render_gl::GlDevice* device = w->device();
    if (!device) {
        std::cerr << "vantrel: no OpenGL 3.3 device for the view"
                  << (w->deviceError().isEmpty() ? std::string() : ": " + w->deviceError().toStdString()) << "\n";
        return false;
    }
    if (!sceneView_) {
        util_ = std::make_unique<engine3d::D3DUtil>(*device);
        sceneView_ = std::make_unique<view::SceneView>(
            *util_, view::CameraSettings{state_.domain.settings.cameraX, state_.domain.settings.cameraY, state_.domain.settings.cameraZ,
                              state_.domain.settings.backgroundColor});
        sceneView_->find_part = [this] {
            if (find_part) find_part();
        };
        sceneView_->letEventsRun = [this] { state_.ui->doEvents(); };
    }
    return true;
}

void DesktopView::findMediaFolder() {
    std::error_code ec;
    mediaFolder_ = view::FindMediaFolder(
        kMediaMarker, {std::filesystem::current_path(ec).string(), state_.folder.root().string(), VANTREL_MEDIA_DIR});
    if (panel_.view() && panel_.view()->device()) panel_.view()->device()->setTextureFolder(mediaFolder_);
}

void DesktopView::initDevice() {
    if (!util_) return;
    util_->ViewWidth = panel_.view()->pixelWidth();
    util_->ViewHeight = panel_.view()->pixelHeight();
}

void DesktopView::applySceneDefaults() {
    if (!util_) return;
    util_->ViewWidth = panel_.view()->pixelWidth();
    util_->ViewHeight = panel_.view()->pixelHeight();
    panel_.view()->withContext([this] { guarded("setting up the view", [this] { util_->ApplySceneDefaults(); }); });
}

void DesktopView::assembleModel() {
    // Until the virtual PC is assembled here, the marker file of the media
    // folder is shown on its own.
    const std::string marker = mediaFolder_ + kMediaMarker;
    std::error_code ec;
    if (!sceneView_ || !std::filesystem::is_regular_file(marker, ec)) return;
    auto root = engine3d::CD3DFrame::Create();
    auto model = engine3d::NewChildFrame(root);
    panel_.view()->withContext([&] {
        guarded("loading the model", [&] {
            engine3d::loadXFileScene(panel_.view()->device(), marker, model);
            sceneView_->zoom_in();
        });
    });
    showScene(root, model, model);
}

void DesktopView::releaseModel() {
    if (!sceneView_) return;
    sceneView_->SceneRoot.reset();
    sceneView_->ModelFrame.reset();
    sceneView_->PcRoot.reset();
    sceneView_->ModelReady = false;
}

void DesktopView::showScene(engine3d::FramePtr sceneRoot, engine3d::FramePtr modelFrame, engine3d::FramePtr pickRoot) {
    if (!sceneView_) return;
    panel_.view()->withContext([&] {
        guarded("drawing the view", [&] { sceneView_->setScene(sceneRoot, modelFrame, pickRoot); });
    });
}

void DesktopView::redraw() {
    if (!sceneView_) return;
    panel_.view()->withContext([this] { guarded("drawing the view", [this] { sceneView_->RenderScene(); }); });
}

void DesktopView::runCameraCommand(view::CameraCommand command) {
    if (!sceneView_) return;
    panel_.view()->withContext(
        [&] { guarded("moving the camera", [&] { sceneView_->runCameraCommand(command); }); });
}

void DesktopView::toggleSecondLight() {
    if (!sceneView_) return;
    panel_.view()->withContext([this] {
        guarded("switching the light", [this] {
            util_->ToggleSecondLight();
            sceneView_->RenderScene();
        });
    });
    panel_.button("lights")->setChecked(util_->SecondLightOn);
}

void DesktopView::showBackgroundColorDialog() {
    if (!colorWindow_) {
        colorWindow_ = new BackgroundColorWindow(colorDialog_, [this] {
            if (!sceneView_) return;
            panel_.view()->withContext([this] {
                guarded("drawing the view", [this] {
                    view::confirmBackgroundColor(colorDialog_, *sceneView_, [this](const std::string& text) {
                        state_.ui->messageBox(text, kMessageTitle, MsgIcon::Exclamation, MsgButtons::Ok);
                    });
                });
            });
        }, panel_.window());
    }
    colorWindow_->open();
}

}  // namespace vantrel::ui
