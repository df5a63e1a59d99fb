#include "ui/window_geometry.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <algorithm>

namespace vantrel::ui {

namespace {
constexpr qint64 kLargestFile = 256;  // one short line; anything longer is not ours
}

std::optional<QRect> readWindowGeometry(const std::filesystem::path& file) {
    QFile in(QString::fromStdString(file.string()));
    if (!in.open(QIODevice::ReadOnly) || in.size() > kLargestFile) return std::nullopt;
    const QStringList fields = QString::fromUtf8(in.read(kLargestFile)).simplified().split(' ');
    if (fields.size() != 4) return std::nullopt;
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = fields[i].toInt(&ok);
        if (!ok) return std::nullopt;
    }
    if (v[2] <= 0 || v[3] <= 0) return std::nullopt;
    return QRect(v[0], v[1], v[2], v[3]);
}

bool writeWindowGeometry(const std::filesystem::path& file, const QRect& geometry) {
    QSaveFile out(QString::fromStdString(file.string()));
    if (!out.open(QIODevice::WriteOnly)) return false;
    const QByteArray line = QStringLiteral("%1 %2 %3 %4\r\n")
                                .arg(geometry.x())
                                .arg(geometry.y())
                                .arg(geometry.width())
                                .arg(geometry.height())
                                .toUtf8();
    return out.write(line) == line.size() && out.commit();
}

QRect fitToAvailable(const QRect& wanted, const QRect& available) {
    const int width = std::min(wanted.width(), available.width());
    const int height = std::min(wanted.height(), available.height());
    const int left = std::clamp(wanted.x(), available.left(), available.left() + available.width() - width);
    const int top = std::clamp(wanted.y(), available.top(), available.top() + available.height() - height);
    return {left, top, width, height};
}

}  // namespace vantrel::ui
