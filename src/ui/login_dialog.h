#pragma once
// The Login dialog: the current node's own login and how the node is reached
// (its trusted certificate and transport), with a tree of the nodes.

#include <QDialog>

#include "core/program_state.h"

class QComboBox;
class QLineEdit;

namespace vantrel::ui {

class TreeControlWidget;

class LoginDialog : public QDialog {
    Q_OBJECT
public:
    LoginDialog(ProgramState& state, QWidget* parent = nullptr);
    void sync();

    TreeControlWidget* tree() const { return tree_; }
    QLineEdit* userField() const { return userField_; }
    QLineEdit* passwordField() const { return passwordField_; }
    QLineEdit* trustFileField() const { return trustFileField_; }
    QComboBox* transportChoice() const { return transportChoice_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;  // Escape: as Cancel

private:
    ProgramState& state_;
    TreeControlWidget* tree_;
    QLineEdit* userField_;
    QLineEdit* passwordField_;
    QLineEdit* trustFileField_;
    QComboBox* transportChoice_;
    std::function<void()> afterCommand_;

public:
    // Runs after OK or Cancel (the main window refreshes itself).
    void setAfterCommand(std::function<void()> f) { afterCommand_ = std::move(f); }
};

}  // namespace vantrel::ui
