#include "ui/section_caption.h"

#include <QMouseEvent>

namespace vantrel::ui {

SectionCaption::SectionCaption(int index, const QString& text, QWidget* parent) : QLabel(text, parent), index_(index) {
    setObjectName(QStringLiteral("section%1").arg(index));
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignCenter);
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
    setStyleSheet(QStringLiteral("QLabel { color: %1; border: %2; padding: 2px 8px; }")
                      .arg(QLatin1String(colour), QLatin1String(border)));
}

void SectionCaption::mousePressEvent(QMouseEvent* event) { event->accept(); }

void SectionCaption::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (rect().contains(event->position().toPoint())) emit clicked(index_);
}

void SectionCaption::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit hovered(index_);
}

}  // namespace vantrel::ui
