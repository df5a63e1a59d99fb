#pragma once
// The Logins dialog: every node with its login in a grid, and the fields that
// give the node chosen in the grid its own login.

#include <QDialog>
#include <functional>

#include "core/program_state.h"

class QLineEdit;
class QPushButton;

namespace vantrel::ui {

class GridControlWidget;

class LoginsDialog : public QDialog {
    Q_OBJECT
public:
    LoginsDialog(ProgramState& state, QWidget* parent = nullptr);
    void sync();

    GridControlWidget* grid() const { return grid_; }
    QLineEdit* userField() const { return userField_; }
    QLineEdit* passwordField() const { return passwordField_; }
    QLineEdit* nameField() const { return nameField_; }

    void setAfterCommand(std::function<void()> f) { afterCommand_ = std::move(f); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void run(void (*command)(ProgramState&));

    ProgramState& state_;
    GridControlWidget* grid_;
    QLineEdit* userField_;
    QLineEdit* passwordField_;
    QLineEdit* nameField_;
    std::function<void()> afterCommand_;
};

}  // namespace vantrel::ui
