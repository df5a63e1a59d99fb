#pragma once
// A button of the main window's panels: its picture (resting, or hover while
// the mouse is over it) with its caption underneath. It reacts to a press of
// any mouse button, and to Enter or Space when it has the keyboard focus
// (arrow keys move the focus along the buttons), and says when the mouse
// moves over it.

#include <QIcon>
#include <QString>
#include <QWidget>

namespace vantrel::ui {

// A lamp in the picture's corner for a button that switches something on
// and off (the base, the axes, the second light): lit while it is on.
enum class Lamp { None, On, Off };

class PictureButton : public QWidget {
    Q_OBJECT
public:
    // `pictureName` names the pair "<name>_rest.svg" / "<name>_hover.svg" in
    // the program's resources.
    PictureButton(int index, const QString& pictureName, const QString& caption, const QString& toolTip,
                  QWidget* parent = nullptr);

    int index() const { return index_; }
    QString caption() const { return caption_; }
    // Logical pixels of the picture's side (48 designed, 36 compact).
    void setPictureSize(int side);
    void setCaptionPointSize(qreal points);
    void showHoverPicture(bool hover);
    bool showsHoverPicture() const { return hover_; }
    // The caption's letter drawn underlined for its Alt mnemonic (-1: none).
    void setMnemonicPosition(int position);
    int mnemonicPosition() const { return mnemonic_; }
    void setLamp(Lamp lamp);
    Lamp lamp() const { return lamp_; }
    // Both pictures can be drawn (a missing resource or SVG support leaves the button blank).
    bool picturesLoaded() const;

    QSize sizeHint() const override;

signals:
    void pressed(int index);
    void hovered(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int index_;
    QString caption_;
    int side_ = 48;
    bool hover_ = false;
    Lamp lamp_ = Lamp::None;
    int mnemonic_ = -1;
    QIcon resting_;
    QIcon hoverPicture_;
};

}  // namespace vantrel::ui
