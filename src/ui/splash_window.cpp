#include "ui/splash_window.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vantrel::ui {

SplashWindow::SplashWindow(const ProgramState& state, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), state_(state) {
    setObjectName("frmsplash");
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

    Label1_ = new QLabel(this);
    Label1_->setObjectName("Label1");
    Label1_->setAlignment(Qt::AlignCenter);

    auto* marks = new QHBoxLayout;
    marks->addStretch();
    for (std::size_t i = 0; i < Shape1_.size(); ++i) {
        auto* mark = new QFrame(this);
        mark->setObjectName(QString("Shape1_%1").arg(i + 1));
        mark->setFixedSize(24, 8);
        mark->setStyleSheet("background-color: rgb(0, 200, 0);");
        marks->addWidget(mark);
        Shape1_[i] = mark;
    }
    marks->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(title);
    layout->addWidget(Label1_);
    layout->addLayout(marks);
    layout->addStretch();
    sync();
}

void SplashWindow::sync() {
    Label1_->setText(QString::fromStdString(state_.splash.progressText));
    for (std::size_t i = 0; i < Shape1_.size(); ++i) {
        // Hidden marks keep their place so the row does not jump.
        QSizePolicy sp = Shape1_[i]->sizePolicy();
        sp.setRetainSizeWhenHidden(true);
        Shape1_[i]->setSizePolicy(sp);
        Shape1_[i]->setVisible(state_.splash.marks[i]);
    }
    if (state_.splash.visible != isVisible()) setVisible(state_.splash.visible);
}

QString SplashWindow::progressText() const { return Label1_->text(); }

bool SplashWindow::markShown(int mark) const {
    return state_.splash.marks.at(static_cast<std::size_t>(mark - 1)) && !Shape1_.at(static_cast<std::size_t>(mark - 1))->isHidden();
}

}  // namespace vantrel::ui
