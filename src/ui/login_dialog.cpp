#include "ui/login_dialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/node_registry.h"
#include "ui/tree_control_widget.h"

namespace vantrel::ui {

namespace {

// The transports in the order the choice lists them.
constexpr std::pair<NodeTransport, const char*> kTransports[] = {
    {NodeTransport::Https, "HTTPS"},
    {NodeTransport::NegotiateHttps, "HTTPS with Negotiate"},
    {NodeTransport::NegotiateHttp, "HTTP with Negotiate (5985)"},
    {NodeTransport::PlainHttp, "Plain HTTP (unencrypted)"},
    {NodeTransport::Ssh, "SSH (Linux, 22)"},
};

int transportIndex(NodeTransport transport) {
    for (int i = 0; i < static_cast<int>(std::size(kTransports)); ++i)
        if (kTransports[i].first == transport) return i;
    return 0;
}

}  // namespace

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
    trustFileField_ = new QLineEdit(this);
    trustFileField_->setObjectName("trustFileField");
    trustFileField_->setPlaceholderText("PEM certificate or CA file");
    transportChoice_ = new QComboBox(this);
    transportChoice_->setObjectName("transportChoice");
    for (const auto& [transport, text] : kTransports) transportChoice_->addItem(text);
    LoginDialogState& dialog = state_.windows.loginDialog;
    connect(trustFileField_, &QLineEdit::textEdited, this,
            [&dialog](const QString& t) { dialog.trustFileField = t.toStdString(); });
    connect(transportChoice_, &QComboBox::activated, this, [&dialog](int index) {
        if (index >= 0 && index < static_cast<int>(std::size(kTransports))) dialog.transportChoice = kTransports[index].first;
    });
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
    form->addRow("Trusted certificate", trustFileField_);
    form->addRow("Transport", transportChoice_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_, 1);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(340, 440);
}

void LoginDialog::sync() {
    const LoginDialogState& dialog = state_.windows.loginDialog;
    if (userField_->text().toStdString() != dialog.userField) userField_->setText(QString::fromStdString(dialog.userField));
    if (passwordField_->text().toStdString() != dialog.passwordField)
        passwordField_->setText(QString::fromStdString(dialog.passwordField));
    if (trustFileField_->text().toStdString() != dialog.trustFileField)
        trustFileField_->setText(QString::fromStdString(dialog.trustFileField));
    if (transportChoice_->currentIndex() != transportIndex(dialog.transportChoice))
        transportChoice_->setCurrentIndex(transportIndex(dialog.transportChoice));
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
