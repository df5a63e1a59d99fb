#pragma once
// The question whether to trust an SSH node's unknown host key: its
// fingerprint to compare, "Accept" and "Refuse". It shows the core's state;
// what accepting does is plugged in with setAcceptCommand.

#include <QDialog>
#include <functional>

#include "core/program_state.h"

class QLabel;
class QPushButton;

namespace vantrel::ui {

class HostKeyDialog : public QDialog {
    Q_OBJECT
public:
    HostKeyDialog(ProgramState& state, QWidget* parent = nullptr);
    void sync();

    QLabel* questionLabel() const { return question_; }
    QLabel* fingerprintLabel() const { return fingerprint_; }
    QPushButton* acceptButton() const { return accept_; }
    QPushButton* refuseButton() const { return refuse_; }

    void setAfterCommand(std::function<void()> f) { afterCommand_ = std::move(f); }
    // Runs with the accepted question.
    void setAcceptCommand(std::function<void(const HostKeyQuestion&)> f) { acceptCommand_ = std::move(f); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void answer(bool accept);

    ProgramState& state_;
    QLabel* question_;
    QLabel* fingerprint_;
    QPushButton* accept_;
    QPushButton* refuse_;
    std::function<void()> afterCommand_;
    std::function<void(const HostKeyQuestion&)> acceptCommand_;
};

}  // namespace vantrel::ui
