#include "ui/picture_button.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace vantrel::ui {

namespace {

constexpr int kCaptionGap = 2;

QString picturePath(const QString& name, const char* state) {
    return QStringLiteral(":/vantrel/buttons/%1_%2.svg").arg(name, QLatin1String(state));
}

}  // namespace

PictureButton::PictureButton(int index, const QString& pictureName, const QString& caption, const QString& toolTip,
                             QWidget* parent)
    : QWidget(parent),
      index_(index),
      caption_(caption),
      resting_(picturePath(pictureName, "rest")),
      hoverPicture_(picturePath(pictureName, "hover")) {
    setObjectName(QStringLiteral("button%1").arg(index));
    setToolTip(toolTip);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    QFont f = font();
    f.setPointSizeF(8);
    setFont(f);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

bool PictureButton::picturesLoaded() const {
    return !resting_.pixmap(QSize(16, 16)).isNull() && !hoverPicture_.pixmap(QSize(16, 16)).isNull();
}

void PictureButton::setPictureSize(int side) {
    side_ = side;
    updateGeometry();
    update();
}

void PictureButton::setCaptionPointSize(qreal points) {
    QFont f = font();
    f.setPointSizeF(points);
    setFont(f);
    updateGeometry();
    update();
}

void PictureButton::showHoverPicture(bool hover) {
    if (hover_ == hover) return;
    hover_ = hover;
    update();
}

void PictureButton::setMnemonicPosition(int position) {
    mnemonic_ = position;
    update();
}

void PictureButton::setLamp(Lamp lamp) {
    if (lamp_ == lamp) return;
    lamp_ = lamp;
    update();
}

QSize PictureButton::sizeHint() const {
    const QFontMetrics fm(font());
    const int captionHeight = caption_.isEmpty() ? 0 : fm.height() + kCaptionGap;
    const int width = std::max(side_, caption_.isEmpty() ? 0 : fm.horizontalAdvance(caption_) + 4);
    return {width, side_ + captionHeight};
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // A button whose command the program does not have yet is drawn faint.
    if (!isEnabled()) p.setOpacity(0.35);
    // The icon engine draws the SVG at the screen's scale factor, so it stays sharp.
    const QRect pictureRect((width() - side_) / 2, 0, side_, side_);
    (hover_ ? hoverPicture_ : resting_).paint(&p, pictureRect);
    if (lamp_ != Lamp::None) {
        const int d = std::max(6, side_ / 5);
        const QRectF lampRect(pictureRect.right() - d, pictureRect.top() + 1, d - 1, d - 1);
        p.setPen(QPen(QColor(0x10, 0x15, 0x1b), 1.5));
        p.setBrush(lamp_ == Lamp::On ? QColor(0x3d, 0xe0, 0x5a) : QColor(0x4a, 0x52, 0x5c));
        p.drawEllipse(lampRect);
    }
    if (hasFocus()) {
        p.setPen(QPen(QColor(0x9d, 0xff, 0x7a), 1.5, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(pictureRect).adjusted(1, 1, -1, -1), 6, 6);
    }
    if (caption_.isEmpty()) return;
    p.setPen(hover_ ? QColor(0, 255, 0) : QColor(Qt::white));
    QString shown = caption_;
    shown.replace('&', QStringLiteral("&&"));
    if (mnemonic_ >= 0 && mnemonic_ < caption_.size()) shown.insert(caption_.left(mnemonic_).count('&') + mnemonic_, '&');
    p.drawText(QRect(0, side_ + kCaptionGap, width(), height() - side_ - kCaptionGap),
               Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic, shown);
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit pressed(index_);
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (isEnabled()) emit pressed(index_);
            break;
        case Qt::Key_Left:
        case Qt::Key_Up: focusPreviousChild(); break;
        case Qt::Key_Right:
        case Qt::Key_Down: focusNextChild(); break;
        default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void PictureButton::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit hovered(index_);
}

}  // namespace vantrel::ui
