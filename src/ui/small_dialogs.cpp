#include "ui/small_dialogs.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/admin_dialogs.h"

namespace vantrel::ui {

namespace {

void showText(QLineEdit* field, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (field->text() != value) field->setText(value);
}

void showVisible(QWidget* window, bool visible) {
    if (window->isVisible() != visible) window->setVisible(visible);
}

}  // namespace

AdminPasswordDialog::AdminPasswordDialog(ProgramState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName("adminPasswordDialog");
    setWindowTitle("Administrator Password");
    setModal(false);
    userField_ = new QLineEdit(this);
    userField_->setObjectName("userField");
    passwordField_ = new QLineEdit(this);
    passwordField_->setObjectName("passwordField");
    passwordField_->setEchoMode(QLineEdit::Password);
    connect(userField_, &QLineEdit::textEdited, this,
            [this](const QString& t) { state_.windows.adminDialog.userField = t.toStdString(); });
    connect(passwordField_, &QLineEdit::textEdited, this,
            [this](const QString& t) { state_.windows.adminDialog.passwordField = t.toStdString(); });
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("okButton");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cancelButton");
    connect(ok, &QPushButton::clicked, this, [this] { run(adminDialogOk); });
    connect(cancel, &QPushButton::clicked, this, [this] { run(adminDialogCancel); });

    auto* form = new QFormLayout;
    form->addRow("User Name", userField_);
    form->addRow("Password", passwordField_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void AdminPasswordDialog::run(void (*command)(ProgramState&)) {
    command(state_);
    if (afterCommand_) afterCommand_();
}

void AdminPasswordDialog::sync() {
    showText(userField_, state_.windows.adminDialog.userField);
    showText(passwordField_, state_.windows.adminDialog.passwordField);
    showVisible(this, state_.windows.adminDialog.visible);
}

void AdminPasswordDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    run(adminDialogClose);
}

void AdminPasswordDialog::reject() { run(adminDialogCancel); }

StatisticsDialog::StatisticsDialog(ProgramState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName("statisticsDialog");
    setWindowTitle("Statistics");
    setModal(false);
    nodeCount_ = new QLabel("0", this);
    nodeCount_->setObjectName("nodeCount");
    scannedCount_ = new QLabel("0", this);
    scannedCount_->setObjectName("scannedCount");
    auto* form = new QFormLayout(this);
    form->addRow("Nodes:", nodeCount_);
    form->addRow("Scanned:", scannedCount_);
    setMinimumWidth(220);
}

QString StatisticsDialog::nodeCountText() const { return nodeCount_->text(); }
QString StatisticsDialog::scannedCountText() const { return scannedCount_->text(); }

void StatisticsDialog::sync() {
    const StatisticsDialogState& dialog = state_.windows.statisticsDialog;
    nodeCount_->setText(QString::fromStdString(dialog.nodeCountText));
    scannedCount_->setText(QString::fromStdString(dialog.scannedCountText));
    showVisible(this, dialog.visible);
}

void StatisticsDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    statisticsDialogClose(state_);
    if (afterCommand_) afterCommand_();
}

void StatisticsDialog::reject() {
    statisticsDialogClose(state_);
    if (afterCommand_) afterCommand_();
}

AboutDialog::AboutDialog(ProgramState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName("aboutDialog");
    setWindowTitle("About Vantrel 2");
    setModal(false);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(64, 64, 64));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    auto* title = new QLabel("Vantrel", this);
    QFont f = title->font();
    f.setPointSize(20);
    f.setBold(true);
    title->setFont(f);
    auto* version = new QLabel(kAboutVersionText, this);
    version->setObjectName("versionLabel");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title, 0, Qt::AlignCenter);
    layout->addWidget(version, 0, Qt::AlignCenter);
    setMinimumSize(260, 140);
}

void AboutDialog::sync() { showVisible(this, state_.windows.aboutDialog.visible); }

void AboutDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    aboutDialogClose(state_);
    if (afterCommand_) afterCommand_();
}

void AboutDialog::reject() {
    aboutDialogClose(state_);
    if (afterCommand_) afterCommand_();
}

}  // namespace vantrel::ui
