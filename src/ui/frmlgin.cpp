#include "ui/frmlgin.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/node_registry.h"
#include "ui/tree_control_widget.h"

namespace vantrel::ui {

frmlgin::frmlgin(ProgramState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName("frmlgin");
    setWindowTitle("Login");
    setModal(false);

    tree_ = new TreeControlWidget(state_.loginDialog.tree, true, this);
    tree_->setObjectName("TreeView1");
    Text1_ = new QLineEdit(this);
    Text1_->setObjectName("Text1");
    Text2_ = new QLineEdit(this);
    Text2_->setObjectName("Text2");
    Text2_->setEchoMode(QLineEdit::Password);
    connect(Text1_, &QLineEdit::textEdited, this, [this](const QString& t) { state_.loginDialog.Text1 = t.toStdString(); });
    connect(Text2_, &QLineEdit::textEdited, this, [this](const QString& t) { state_.loginDialog.Text2 = t.toStdString(); });

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("Command1");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("Command2");
    connect(ok, &QPushButton::clicked, this, [this] {
        frmlgin_Command1_Click(state_);
        if (afterCommand_) afterCommand_();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        frmlgin_Command2_Click(state_);
        if (afterCommand_) afterCommand_();
    });

    auto* form = new QFormLayout;
    form->addRow("User Name", Text1_);
    form->addRow("Password", Text2_);
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

void frmlgin::sync() {
    if (Text1_->text().toStdString() != state_.loginDialog.Text1) Text1_->setText(QString::fromStdString(state_.loginDialog.Text1));
    if (Text2_->text().toStdString() != state_.loginDialog.Text2) Text2_->setText(QString::fromStdString(state_.loginDialog.Text2));
    if (state_.loginDialog.visible != isVisible()) setVisible(state_.loginDialog.visible);
}

void frmlgin::closeEvent(QCloseEvent* event) {
    // Closing only hides the dialog; it lives until the program ends.
    event->ignore();
    frmlgin_QueryUnload(state_);
    if (afterCommand_) afterCommand_();
}

void frmlgin::reject() {
    frmlgin_Command2_Click(state_);
    if (afterCommand_) afterCommand_();
}

}  // namespace vantrel::ui
