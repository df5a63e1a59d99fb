#include "ui/logins_dialog.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/logins_dialog.h"
#include "ui/grid_control_widget.h"

namespace vantrel::ui {

namespace {

void showText(QLineEdit* field, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (field->text() != value) field->setText(value);
}

}  // namespace

LoginsDialog::LoginsDialog(ProgramState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName("loginsDialog");
    setWindowTitle("Logins");
    setModal(false);

    LoginsDialogState& dialog = state_.windows.loginsDialog;
    grid_ = new GridControlWidget(dialog.loginGrid, this);
    grid_->setObjectName("loginGrid");
    connect(grid_, &GridControlWidget::mouseDown, this, [this](MouseButton) {
        loginsGridMouseDown(state_, state_.windows.loginsDialog.loginGrid.selectedRow());
        if (afterCommand_) afterCommand_();
    });

    userField_ = new QLineEdit(this);
    userField_->setObjectName("userField");
    passwordField_ = new QLineEdit(this);
    passwordField_->setObjectName("passwordField");
    passwordField_->setEchoMode(QLineEdit::Password);
    nameField_ = new QLineEdit(this);
    nameField_->setObjectName("nameField");
    nameField_->setReadOnly(true);
    connect(userField_, &QLineEdit::textEdited, this,
            [this](const QString& t) { state_.windows.loginsDialog.userField = t.toStdString(); });
    connect(passwordField_, &QLineEdit::textEdited, this,
            [this](const QString& t) { state_.windows.loginsDialog.passwordField = t.toStdString(); });

    auto* update = new QPushButton("Update", this);
    update->setObjectName("updateButton");
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("okButton");
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cancelButton");
    connect(update, &QPushButton::clicked, this, [this] { run(loginsDialogUpdate); });
    connect(ok, &QPushButton::clicked, this, [this] { run(loginsDialogOk); });
    connect(cancel, &QPushButton::clicked, this, [this] { run(loginsDialogCancel); });

    auto* form = new QFormLayout;
    form->addRow("User Name", userField_);
    form->addRow("Password", passwordField_);
    form->addRow("Name", nameField_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(update);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(form);
    layout->addLayout(buttons);
    // Five columns of 1800 twips.
    resize(twipsToPixels(5 * 1800 + 600, logicalDpiX()), twipsToPixels(5200, logicalDpiY()));
}

void LoginsDialog::run(void (*command)(ProgramState&)) {
    command(state_);
    if (afterCommand_) afterCommand_();
}

void LoginsDialog::sync() {
    const LoginsDialogState& dialog = state_.windows.loginsDialog;
    showText(userField_, dialog.userField);
    showText(passwordField_, dialog.passwordField);
    showText(nameField_, dialog.nameField);
    if (dialog.visible != isVisible()) setVisible(dialog.visible);
}

void LoginsDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    run(loginsDialogClose);
}

void LoginsDialog::reject() { run(loginsDialogCancel); }

}  // namespace vantrel::ui
