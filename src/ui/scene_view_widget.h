#pragma once
// The 3D view PicGR: a QOpenGLWidget hosting the GL render device. It draws
// nothing by itself and runs no timer: the view's core decides when to draw,
// and a picture drawn outside a paint event is shown by the next one, which
// then does not draw it again.

#include <QOpenGLWidget>
#include <functional>
#include <memory>

#include "render_gl/gl_device.h"

namespace vantrel::ui {

class SceneViewWidget : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit SceneViewWidget(QWidget* parent = nullptr);
    ~SceneViewWidget() override;

    // The device, once the widget has its GL context; null before, or when
    // the context does not offer OpenGL 3.3.
    render_gl::GlDevice* device() const { return device_.get(); }
    // Runs fn with the widget's context current (no-op without a device).
    void withContext(const std::function<void()>& fn);
    // The view's size in device pixels.
    int pixelWidth() const;
    int pixelHeight() const;

    // Forwarded events, in device pixels; buttons as 1 left, 2 right, 4 middle.
    std::function<void()> onPaint;
    std::function<void(int width, int height)> onResize;
    std::function<void(float x, float y)> onMouseDown;
    std::function<void(float x, float y, int buttons)> onMouseMove;
    std::function<void()> onMouseUp;
    std::function<void(float x, float y)> onDoubleClick;
    // A key pressed while the view has the focus; true when it was used.
    std::function<bool(int key)> onKey;
    // Why the device could not be made (empty when it was).
    const QString& deviceError() const { return deviceError_; }
    int paintedPictures() const { return paintedPictures_; }

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static int buttonState(Qt::MouseButtons buttons);

    std::unique_ptr<render_gl::GlDevice> device_;
    QString deviceError_;
    bool presentPending_ = false;
    bool painting_ = false;
    int paintedPictures_ = 0;
};

}  // namespace vantrel::ui
