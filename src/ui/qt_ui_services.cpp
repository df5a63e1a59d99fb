#include "ui/qt_ui_services.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace vantrel::ui {

MsgAnswer QtUiServices::messageBox(const std::string& text, const std::string& title, MsgIcon icon,
                                   MsgButtons buttons) {
    sync();
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
        case MsgIcon::None: qicon = QMessageBox::NoIcon; break;
        case MsgIcon::Critical: qicon = QMessageBox::Critical; break;
        case MsgIcon::Question: qicon = QMessageBox::Question; break;
        case MsgIcon::Exclamation: qicon = QMessageBox::Warning; break;
        case MsgIcon::Information: qicon = QMessageBox::Information; break;
    }
    const auto qbuttons = buttons == MsgButtons::YesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok;
    QMessageBox box(qicon, QString::fromStdString(title), QString::fromStdString(text), qbuttons, parent_);
    const int answer = box.exec();
    if (buttons == MsgButtons::YesNo) return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
    return MsgAnswer::Ok;
}

void QtUiServices::beep() { QApplication::beep(); }

void QtUiServices::doEvents() {
    if (ended_) return;
    sync();
    QCoreApplication::processEvents();
}

void QtUiServices::endProgram() {
    ended_ = true;
    for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
    QCoreApplication::exit(0);
}

int QtUiServices::logicalDpiX() {
    if (parent_) return parent_->logicalDpiX();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchX())) : 96;
}

void QtUiServices::popupMenu(PopupMenu menu) {
    if (popup_) popup_(menu);
}

}  // namespace vantrel::ui
