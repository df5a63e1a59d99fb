#include "ui/image_list.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace vantrel::ui {

namespace {

void drawMonitor(QPainter& p, const QColor& screen) {
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(1, 2, 13, 9);
    p.setBrush(screen);
    p.drawRect(3, 4, 9, 5);
    p.setBrush(QColor(120, 120, 120));
    p.drawRect(5, 12, 5, 2);
}

QPixmap drawIcon(ImageKey image) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    if (image == ImageKey::Network) {
        p.setPen(QPen(QColor(20, 60, 140), 1));
        p.setBrush(QColor(70, 130, 220));
        p.drawEllipse(1, 1, 13, 13);
        p.setPen(QPen(QColor(230, 240, 255), 1));
        p.drawLine(1, 8, 14, 8);
        p.drawEllipse(5, 1, 5, 13);
    } else if (image == ImageKey::Computer) {
        drawMonitor(p, QColor(60, 120, 200));
    } else if (image == ImageKey::ComputerWithLogin) {
        drawMonitor(p, QColor(60, 120, 200));
        p.setPen(QPen(QColor(120, 90, 0), 1));
        p.setBrush(QColor(240, 200, 40));
        p.drawEllipse(9, 9, 6, 6);
    } else if (image == ImageKey::ThisComputer) {
        p.setPen(QPen(QColor(20, 90, 20), 1));
        p.setBrush(QColor(70, 170, 70));
        const QPointF roof[] = {{8, 1}, {15, 8}, {1, 8}};
        p.drawPolygon(roof, 3);
        p.drawRect(3, 8, 10, 6);
    } else if (image == ImageKey::JumpNode) {
        drawMonitor(p, QColor(150, 150, 150));
        p.setPen(QPen(QColor(200, 90, 0), 2));
        p.drawLine(2, 14, 14, 2);
    }
    return pm;
}

// A hardware key's picture, drawn like the button pictures (tree/<key>.svg).
QIcon hardwareIcon(ImageKey image) {
    const std::string key(imageKeyName(image));
    return QIcon(QStringLiteral(":/vantrel/tree/%1.svg").arg(QString::fromStdString(key)));
}

bool isNetworkKey(ImageKey image) {
    return image == ImageKey::Network || image == ImageKey::Computer || image == ImageKey::ComputerWithLogin ||
           image == ImageKey::ThisComputer || image == ImageKey::JumpNode;
}

}  // namespace

QIcon imageListIcon(ImageKey key) {
    static QHash<int, QIcon> cache;
    const int k = static_cast<int>(key);
    auto it = cache.find(k);
    // An item without a picture shows none, not an empty chip.
    if (key == ImageKey::None) return {};
    if (it == cache.end()) it = cache.insert(k, isNetworkKey(key) ? QIcon(drawIcon(key)) : hardwareIcon(key));
    return *it;
}

}  // namespace vantrel::ui
