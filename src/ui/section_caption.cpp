#include "ui/section_caption.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace vantrel::ui {

SectionCaption::SectionCaption(int index, const QString& text, QWidget* parent) : QLabel(text, parent), index_(index) {
    setObjectName(QStringLiteral("section%1").arg(index));
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignCenter);
    setFocusPolicy(Qt::StrongFocus);
    QFont f = font();
    f.setBold(true);
    setFont(f);
    applyStyle();
}

void SectionCaption::setHighlighted(bool highlighted) {
    if (highlighted_ == highlighted) return;
    highlighted_ = highlighted;
    applyStyle();
}

void SectionCaption::setBordered(bool bordered) {
    if (bordered_ == bordered) return;
    bordered_ = bordered;
    applyStyle();
}

void SectionCaption::applyStyle() {
    // Palette index 10 (light green) under the mouse, 15 (white) otherwise.
    const char* colour = highlighted_ ? "#00ff00" : "#ffffff";
    const char* border = bordered_ ? "1px solid #ffffff" : "1px solid transparent";
    setStyleSheet(QStringLiteral("QLabel { color: %1; border: %2; padding: 2px 8px; }"
                                 "QLabel:focus { background-color: #34485c; }")
                      .arg(QLatin1String(colour), QLatin1String(border)));
}

void SectionCaption::mousePressEvent(QMouseEvent* event) { event->accept(); }

void SectionCaption::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (rect().contains(event->position().toPoint())) emit clicked(index_);
}

void SectionCaption::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
        case Qt::Key_Down: emit clicked(index_); break;
        case Qt::Key_Left: focusPreviousChild(); break;
        case Qt::Key_Right: focusNextChild(); break;
        default: QLabel::keyPressEvent(event); return;
    }
    event->accept();
}

void SectionCaption::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit hovered(index_);
}

}  // namespace vantrel::ui
