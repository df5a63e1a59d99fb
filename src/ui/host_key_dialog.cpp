#include "ui/host_key_dialog.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "core/host_key_dialog.h"

namespace vantrel::ui {

HostKeyDialog::HostKeyDialog(ProgramState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName("hostKeyDialog");
    setWindowTitle("Unknown SSH host key");
    setModal(false);

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(48, 48));
    question_ = new QLabel(this);
    question_->setObjectName("questionLabel");
    question_->setWordWrap(true);
    question_->setTextFormat(Qt::PlainText);
    question_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The fingerprint alone, large and selectable, to be read out and compared.
    fingerprint_ = new QLabel(this);
    fingerprint_->setObjectName("fingerprintLabel");
    fingerprint_->setTextFormat(Qt::PlainText);
    fingerprint_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(fixed.pointSizeF() * 1.15);
    fingerprint_->setFont(fixed);
    fingerprint_->setFrameShape(QFrame::StyledPanel);
    fingerprint_->setMargin(6);

    accept_ = new QPushButton("Accept and scan again", this);
    accept_->setObjectName("acceptButton");
    refuse_ = new QPushButton("Refuse", this);
    refuse_->setObjectName("refuseButton");
    // Refusing is the safe answer, and the one Enter gives.
    refuse_->setDefault(true);
    connect(accept_, &QPushButton::clicked, this, [this] { answer(true); });
    connect(refuse_, &QPushButton::clicked, this, [this] { answer(false); });

    auto* text = new QVBoxLayout;
    text->addWidget(question_);
    text->addWidget(fingerprint_);
    auto* advice = new QLabel(QString::fromStdString(hostKeyAdvice()), this);
    advice->setWordWrap(true);
    text->addWidget(advice);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(accept_);
    buttons->addWidget(refuse_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    resize(520, 240);
}

void HostKeyDialog::answer(bool accept) {
    const auto accepted = answerHostKeyQuestion(state_, accept);
    if (accepted && acceptCommand_) acceptCommand_(*accepted);
    if (afterCommand_) afterCommand_();
    else sync();
}

void HostKeyDialog::sync() {
    const HostKeyDialogState& dialog = state_.windows.hostKeyDialog;
    if (dialog.visible) {
        question_->setText(QString::fromStdString(hostKeyQuestionText(dialog.question)));
        fingerprint_->setText(QString::fromStdString(dialog.question.fingerprint));
    }
    if (dialog.visible != isVisible()) setVisible(dialog.visible);
}

void HostKeyDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    answer(false);
}

void HostKeyDialog::reject() { answer(false); }

}  // namespace vantrel::ui
