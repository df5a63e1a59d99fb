#include "ui/desktop_view.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <iostream>

#include "model/assembly.h"
#include "model/part_table.h"
#include "render_gl/gl_device.h"
#include "ui/background_color_window.h"
#include "ui/scene_view_widget.h"
#include "ui/view_panel.h"
#include "model/media_folder.h"
#include "view/media_folder.h"

namespace vantrel::ui {

namespace {
constexpr qint64 kEventTurnMs = 16;
// Twelve presses of an arrow key turn the model half way round.
constexpr int kKeyTurnsPerHalfTurn = 12;
}  // namespace

DesktopView::DesktopView(ProgramState& state, ViewPanel& panel, model::VirtualPc& pc)
    : state_(state), panel_(panel), pc_(pc) {
    connectPanel();
    // Only a view that can draw needs the model.
    if (panel_.view()) prefetch_ = std::make_unique<model::MeshPrefetch>(locateMediaFolder(), model::modelFiles());
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
    // The keyboard in the view: arrows turn the model, + and - zoom, Home
    // brings the front view back.
    w->onKey = [this](int key) {
        if (!sceneView_) return false;
        // The trackball turns half way round for a drag across the width it knows.
        const int width = util_->ViewWidth > 0 ? util_->ViewWidth : panel_.view()->pixelWidth();
        const int step = std::max(1, width / kKeyTurnsPerHalfTurn);
        switch (key) {
            case Qt::Key_Left: turnByKeys(-step, 0); return true;
            case Qt::Key_Right: turnByKeys(step, 0); return true;
            case Qt::Key_Up: turnByKeys(0, -step); return true;
            case Qt::Key_Down: turnByKeys(0, step); return true;
            case Qt::Key_Plus:
            case Qt::Key_Equal: runCameraCommand(view::CameraCommand::In); return true;
            case Qt::Key_Minus: runCameraCommand(view::CameraCommand::Out); return true;
            case Qt::Key_Home: resetView(); return true;
            default: return false;
        }
    };
    w->onDoubleClick = [this](float x, float y) {
        if (sceneView_)
            panel_.view()->withContext([&] { guarded("drawing the view", [&] { sceneView_->mouseDoubleClick(x, y); }); });
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
        panel_.button("panBar")->setChecked(panel_.sideControls().panPadVisible());
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
        // The part table names the picked frame's part under the view.
        sceneView_->find_part = [this](const engine3d::FramePtr& hit) {
            engine3d::FramePtr part = model::find_part(pc_, hit, sceneView_->PcRoot);
            panel_.partLabel()->setText(QString::fromStdString(pc_.PickedPartLabel));
            return part;
        };
        sceneView_->letEventsRun = [this] { state_.ui->doEvents(); };
    }
    return true;
}

std::string DesktopView::locateMediaFolder() const {
    std::error_code ec;
    // Last of all the folder the build generates the mesh files into.
    return view::FindMediaFolder(model::kMediaMarker, {std::filesystem::current_path(ec).string(),
                                                       state_.folder.root().string(),
                                                       model::findModelMedia(model::kMediaMarker).value_or("")});
}

void DesktopView::findMediaFolder() {
    mediaFolder_ = locateMediaFolder();
    pc_.MediaFolder = mediaFolder_;
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
    // The scene defaults with the camera where the settings say, so that the
    // first picture and the first camera command agree.
    panel_.view()->withContext([this] { guarded("setting up the view", [this] { sceneView_->zoom_in(); }); });
}

void DesktopView::assembleModel() {
    if (!sceneView_) return;
    // The model draws through the view: each picture it asks for shows its
    // scene as it stands at that moment.
    // Letting events run between every two of the 248 files would cost more
    // than the files: the window gets a turn once per frame's worth of time.
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    pc_.hooks.doEvents = [this, sinceEvents]() mutable {
        if (sinceEvents.elapsed() < kEventTurnMs) return;
        state_.ui->doEvents();
        sinceEvents.restart();
    };
    pc_.hooks.setBusyPointer = [this](bool busy) { state_.windows.main.busyPointer = busy; };
    pc_.hooks.renderScene = [this] { redraw(); };
    pc_.hooks.focusView = [this] { panel_.view()->setFocus(); };
    // The prefetch read from where the folder was at start; a folder found
    // elsewhere since is read here.
    model::MeshPrefetch* prefetch = prefetch_ && prefetch_->folder() == pc_.MediaFolder ? prefetch_.get() : nullptr;
    guarded("assembling the model", [&] { model::load_start(pc_, *panel_.view()->device(), prefetch); });
    prefetch_.reset();
    redraw();
}

void DesktopView::releaseModel() {
    pc_.PcRoot.reset();
    pc_.SceneRoot.reset();
    pc_.ModelFrame.reset();
    pc_.ModelReady = false;
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
    if (pc_.SceneRoot) {
        sceneView_->SceneRoot = pc_.SceneRoot;
        sceneView_->ModelFrame = pc_.ModelFrame;
        sceneView_->PcRoot = pc_.PcRoot;
        sceneView_->ModelReady = pc_.ModelReady;
    }
    panel_.view()->withContext([this] { guarded("drawing the view", [this] { sceneView_->RenderScene(); }); });
}

void DesktopView::turnByKeys(int dx, int dy) {
    panel_.view()->withContext([&] { guarded("drawing the view", [&] { sceneView_->turnBy(dx, dy); }); });
}

void DesktopView::resetView() {
    if (!sceneView_) return;
    panel_.view()->withContext([this] { guarded("drawing the view", [this] { sceneView_->resetView(); }); });
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
