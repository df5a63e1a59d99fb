#include "ui/scene_view_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QSurfaceFormat>

#include "engine3d/engine3d_error.h"

namespace vantrel::ui {

SceneViewWidget::SceneViewWidget(QWidget* parent) : QOpenGLWidget(parent) {
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    setFormat(format);
    // Keep the last picture between paint events: pictures are drawn on demand.
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

SceneViewWidget::~SceneViewWidget() {
    if (device_ && context()) {
        makeCurrent();
        device_.reset();
        doneCurrent();
    }
}

int SceneViewWidget::pixelWidth() const { return static_cast<int>(width() * devicePixelRatioF() + 0.5); }
int SceneViewWidget::pixelHeight() const { return static_cast<int>(height() * devicePixelRatioF() + 0.5); }

void SceneViewWidget::initializeGL() {
    auto target = [this] {
        return render_gl::GlTarget{defaultFramebufferObject(), pixelWidth(), pixelHeight(), context() != nullptr};
    };
    auto present = [this] {
        // Inside paintGL the picture is shown when it returns; outside, ask for a paint.
        if (!painting_) {
            presentPending_ = true;
            update();
        }
    };
    // Moving the widget to another window gives it a new context: the device
    // then rebuilds its objects on its next reset.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] {
        if (device_) device_->markContextLost();
    });
    if (device_) {
        device_->markContextLost();
        return;
    }
    try {
        device_ = std::make_unique<render_gl::GlDevice>(target, present);
    } catch (const engine3d::Engine3dError& e) {
        deviceError_ = QString::fromStdString(e.what());
    }
}

void SceneViewWidget::resizeGL(int, int) {
    if (onResize) onResize(pixelWidth(), pixelHeight());
}

void SceneViewWidget::paintGL() {
    if (presentPending_) {
        // The picture was drawn by a command since the last paint: show it as it is.
        presentPending_ = false;
        return;
    }
    if (!device_ || !onPaint) return;
    painting_ = true;
    onPaint();  // never throws: the owner catches what drawing raises
    ++paintedPictures_;
    painting_ = false;
}

void SceneViewWidget::withContext(const std::function<void()>& fn) {
    if (!device_) return;
    makeCurrent();
    fn();
    doneCurrent();
}

int SceneViewWidget::buttonState(Qt::MouseButtons buttons) {
    int state = 0;
    if (buttons & Qt::LeftButton) state |= 1;
    if (buttons & Qt::RightButton) state |= 2;
    if (buttons & Qt::MiddleButton) state |= 4;
    return state;
}

void SceneViewWidget::mousePressEvent(QMouseEvent* event) {
    const qreal ratio = devicePixelRatioF();
    if (onMouseDown)
        onMouseDown(static_cast<float>(event->position().x() * ratio), static_cast<float>(event->position().y() * ratio));
}

void SceneViewWidget::mouseMoveEvent(QMouseEvent* event) {
    const qreal ratio = devicePixelRatioF();
    if (onMouseMove)
        onMouseMove(static_cast<float>(event->position().x() * ratio), static_cast<float>(event->position().y() * ratio),
                    buttonState(event->buttons()));
}

void SceneViewWidget::mouseReleaseEvent(QMouseEvent*) {
    if (onMouseUp) onMouseUp();
}

void SceneViewWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click still counts as a press (a pick).
    mousePressEvent(event);
    const qreal ratio = devicePixelRatioF();
    if (onDoubleClick)
        onDoubleClick(static_cast<float>(event->position().x() * ratio), static_cast<float>(event->position().y() * ratio));
}

void SceneViewWidget::keyPressEvent(QKeyEvent* event) {
    if (onKey && onKey(event->key())) {
        event->accept();
        return;
    }
    QOpenGLWidget::keyPressEvent(event);
}

}  // namespace vantrel::ui
