#include "ui/splash_window.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vantrel::ui {

SplashWindow::SplashWindow(const ProgramState& state, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), state_(state) {
    setObjectName("splashWindow");
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(64, 64, 64));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setFixedSize(420, 200);

    auto* title = new QLabel("Vantrel", this);
    QFont f = title->font();
    f.setPointSize(24);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);

    progressLabel_ = new QLabel(this);
    progressLabel_->setObjectName("progressText");
    progressLabel_->setAlignment(Qt::AlignCenter);

    auto* marks = new QHBoxLayout;
    marks->addStretch();
    for (std::size_t i = 0; i < marks_.size(); ++i) {
        auto* mark = new QFrame(this);
        mark->setObjectName(QString("progressMark%1").arg(i + 1));
        mark->setFixedSize(24, 8);
        mark->setStyleSheet("background-color: rgb(0, 200, 0);");
        marks->addWidget(mark);
        marks_[i] = mark;
    }
    marks->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(title);
    layout->addWidget(progressLabel_);
    layout->addLayout(marks);
    layout->addStretch();
    sync();
}

void SplashWindow::sync() {
    progressLabel_->setText(QString::fromStdString(state_.windows.splash.progressText));
    for (std::size_t i = 0; i < marks_.size(); ++i) {
        // Hidden marks keep their place so the row does not jump.
        QSizePolicy sp = marks_[i]->sizePolicy();
        sp.setRetainSizeWhenHidden(true);
        marks_[i]->setSizePolicy(sp);
        marks_[i]->setVisible(state_.windows.splash.marks[i]);
    }
    if (state_.windows.splash.visible != isVisible()) setVisible(state_.windows.splash.visible);
}

QString SplashWindow::progressText() const { return progressLabel_->text(); }

bool SplashWindow::markShown(int mark) const {
    const auto i = static_cast<std::size_t>(mark - 1);
    return state_.windows.splash.marks.at(i) && !marks_.at(i)->isHidden();
}

}  // namespace vantrel::ui
