#pragma once
// The 3D view PicGR with the controls around it: the picked part's name, the
// pan pad with its bar head, and the zoom, background colour and light buttons.

#include <QWidget>

#include "view/view_side_controls.h"

class QLabel;
class QToolButton;

namespace vantrel::ui {

class SceneViewWidget;

// The view widget and the controls around it.
class ViewPanel : public QWidget {
    Q_OBJECT
public:
    explicit ViewPanel(QWidget* parent = nullptr);
    // Null where the platform offers no OpenGL: a black picture box stands in
    // and the start-up reports that there is no 3D device.
    SceneViewWidget* view() const { return view_; }
    QLabel* partLabel() const { return partLabel_; }
    QToolButton* button(const QString& objectName) const;
    QWidget* panPad() const { return panPad_; }
    // The pan pad, tree tabs and side bars of the main window.
    view::ViewSideControls& sideControls() { return sideControls_; }

protected:
    // Hover over a pan arrow highlights it; leaving puts back the plain pad.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static bool openGlAvailable();

    SceneViewWidget* view_ = nullptr;
    QLabel* partLabel_;
    QWidget* panPad_;
    view::ViewSideControls sideControls_;
};

}  // namespace vantrel::ui
