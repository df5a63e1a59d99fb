#include "ui/login_dialog.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/node_registry.h"
#include "ui/tree_control_widget.h"

namespace vantrel::ui {

LoginDialog::LoginDialog(ProgramState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName("loginDialog");
    setWindowTitle("Login");
    setModal(false);

    tree_ = new TreeControlWidget(state_.windows.loginDialog.nodeTree, true, this);
    tree_->setObjectName("nodeTree");
    userField_ = new QLineEdit(this);
    userField_->setObjectName("userField");
    passwordField_ = new QLineEdit(this);
    passwordField_->setObjectName("passwordField");
    passwordField_->setEchoMode(QLineEdit::Password);
    LoginDialogState& dialog = state_.windows.loginDialog;
    connect(userField_, &QLineEdit::textEdited, this, [&dialog](const QString& t) { dialog.userField = t.toStdString(); });
    connect(passwordField_, &QLineEdit::textEdited, this,
            [&dialog](const QString& t) { dialog.passwordField = t.toStdString(); });

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("okButton");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cancelButton");
    connect(ok, &QPushButton::clicked, this, [this] {
        loginDialogOk(state_);
        if (afterCommand_) afterCommand_();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        loginDialogCancel(state_);
        if (afterCommand_) afterCommand_();
    });

    auto* form = new QFormLayout;
    form->addRow("User Name", userField_);
    form->addRow("Password", passwordField_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_, 1);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(320, 380);
}

void LoginDialog::sync() {
    const LoginDialogState& dialog = state_.windows.loginDialog;
    if (userField_->text().toStdString() != dialog.userField) userField_->setText(QString::fromStdString(dialog.userField));
    if (passwordField_->text().toStdString() != dialog.passwordField)
        passwordField_->setText(QString::fromStdString(dialog.passwordField));
    if (dialog.visible != isVisible()) setVisible(dialog.visible);
}

void LoginDialog::closeEvent(QCloseEvent* event) {
    // Closing only hides the dialog; it lives until the program ends.
    event->ignore();
    loginDialogClose(state_);
    if (afterCommand_) afterCommand_();
}

void LoginDialog::reject() {
    loginDialogCancel(state_);
    if (afterCommand_) afterCommand_();
}

}  // namespace vantrel::ui
