#pragma once
// A section caption along the top of the main window ("Main", "Network", ...):
// white text that turns light green under the mouse, with a one-line border
// while its panel set is the one shown. It takes the keyboard focus: Enter,
// Space or Down open it, Left and Right move to the neighbouring caption.

#include <QLabel>

namespace vantrel::ui {

class SectionCaption : public QLabel {
    Q_OBJECT
public:
    SectionCaption(int index, const QString& text, QWidget* parent = nullptr);

    int index() const { return index_; }
    void setHighlighted(bool highlighted);
    bool highlighted() const { return highlighted_; }
    void setBordered(bool bordered);
    bool bordered() const { return bordered_; }

signals:
    void clicked(int index);
    void hovered(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyStyle();

    int index_;
    bool highlighted_ = false;
    bool bordered_ = false;
};

}  // namespace vantrel::ui
