#pragma once
// The three small windows of the Administrator and Main menus: the default
// login ("Administrator Password"), the node counts ("Statistics") and the
// version ("About Vantrel 2").

#include <QDialog>
#include <functional>

#include "core/program_state.h"

class QLabel;
class QLineEdit;

namespace vantrel::ui {

class AdminPasswordDialog : public QDialog {
    Q_OBJECT
public:
    AdminPasswordDialog(ProgramState& state, QWidget* parent = nullptr);
    void sync();
    QLineEdit* userField() const { return userField_; }
    QLineEdit* passwordField() const { return passwordField_; }
    void setAfterCommand(std::function<void()> f) { afterCommand_ = std::move(f); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void run(void (*command)(ProgramState&));
    ProgramState& state_;
    QLineEdit* userField_;
    QLineEdit* passwordField_;
    std::function<void()> afterCommand_;
};

class StatisticsDialog : public QDialog {
    Q_OBJECT
public:
    StatisticsDialog(ProgramState& state, QWidget* parent = nullptr);
    void sync();
    QString nodeCountText() const;
    QString scannedCountText() const;
    void setAfterCommand(std::function<void()> f) { afterCommand_ = std::move(f); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    ProgramState& state_;
    QLabel* nodeCount_;
    QLabel* scannedCount_;
    std::function<void()> afterCommand_;
};

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(ProgramState& state, QWidget* parent = nullptr);
    void sync();
    void setAfterCommand(std::function<void()> f) { afterCommand_ = std::move(f); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    ProgramState& state_;
    std::function<void()> afterCommand_;
};

}  // namespace vantrel::ui
