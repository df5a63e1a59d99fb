#pragma once
// The Background Color dialog: shows the dialog state of the view's
// core and forwards the user's clicks, scrolls and typing to it. Modeless,
// created on first use and afterwards only hidden and shown.

#include <QDialog>
#include <functional>

#include "view/background_color_dialog.h"

class QLabel;
class QLineEdit;
class QScrollBar;
class QFrame;

namespace vantrel::ui {

class ColorFieldWidget;

class BackgroundColorWindow : public QDialog {
    Q_OBJECT
public:
    // ok runs the OK command of the core (it hides the dialog when it takes the colour).
    BackgroundColorWindow(view::BackgroundColorDialog& dialog, std::function<void()> ok, QWidget* parent = nullptr);

    // Shows the dialog as the core says (first showing paints the field).
    void open();
    // Brings every control up to date with the core.
    void syncFromCore();

    ColorFieldWidget* colors() const { return colors_; }
    QLineEdit* hexField() const { return thehex_; }
    QScrollBar* greyLevel() const { return greyLevel_; }
    QLabel* complementLabel(int channel) const { return complements_[channel]; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    view::BackgroundColorDialog& dialog_;
    std::function<void()> ok_;
    ColorFieldWidget* colors_;
    QFrame* hoverSwatch_;
    QFrame* chosenSwatch_;
    QLineEdit* thehex_;
    QScrollBar* greyLevel_;
    QLabel* greyLevelText_;
    QLabel* complements_[3];
};

// The colour field: the core's pixels, hover and click picks, the pointer kept
// in the field while the left button is held.
class ColorFieldWidget : public QWidget {
    Q_OBJECT
public:
    ColorFieldWidget(view::BackgroundColorDialog& dialog, QWidget* parent);
    std::function<void()> changed;

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    view::BackgroundColorDialog& dialog_;
};

}  // namespace vantrel::ui
