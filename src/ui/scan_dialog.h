#pragma once
// The scan dialog ("Scan List"): the node grid, the status text and the
// progress bar of the scan under way, with OK and Cancel. It shows the core's
// scan dialog state; its buttons and close request go to the core's commands.

#include <QDialog>
#include <functional>

#include "core/program_state.h"

class QLabel;
class QFrame;
class QPushButton;

namespace vantrel::ui {

class GridControlWidget;

class ScanDialog : public QDialog {
    Q_OBJECT
public:
    ScanDialog(ProgramState& state, QWidget* parent = nullptr);
    void sync();

    GridControlWidget* grid() const { return grid_; }
    QString statusText() const;
    // The bar's share of the frame, 0 to 1, as drawn.
    double progressShare() const;
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    // Runs after OK, Cancel or a close request (the windows refresh themselves).
    void setAfterCommand(std::function<void()> f) { afterCommand_ = std::move(f); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;  // Escape: as Cancel
    void resizeEvent(QResizeEvent* event) override;

private:
    void run(void (*command)(ProgramState&));
    void placeBar();

    ProgramState& state_;
    GridControlWidget* grid_;
    QLabel* status_;
    QFrame* barFrame_;
    QFrame* bar_;
    QPushButton* ok_;
    QPushButton* cancel_;
    std::function<void()> afterCommand_;
};

}  // namespace vantrel::ui
