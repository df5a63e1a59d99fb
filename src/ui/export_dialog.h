#pragma once
// The Export dialog: the folder, what to export and which nodes, and a
// progress bar while the pictures are drawn. It shows the core's state; the
// "Export" button runs the command plugged in with setExportCommand.

#include <QDialog>
#include <functional>

#include "core/program_state.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace vantrel::ui {

class ExportDialog : public QDialog {
    Q_OBJECT
public:
    ExportDialog(ProgramState& state, QWidget* parent = nullptr);
    void sync();

    QLineEdit* folderField() const { return folderField_; }
    QCheckBox* htmlCheck() const { return htmlCheck_; }
    QCheckBox* csvCheck() const { return csvCheck_; }
    QCheckBox* jsonCheck() const { return jsonCheck_; }
    QListWidget* nodeList() const { return nodeList_; }
    QProgressBar* progressBar() const { return progressBar_; }
    QLabel* statusLabel() const { return statusLabel_; }
    QPushButton* exportButton() const { return exportButton_; }

    void setAfterCommand(std::function<void()> f) { afterCommand_ = std::move(f); }
    void setExportCommand(std::function<void()> f) { exportCommand_ = std::move(f); }
    // How the folder is chosen with "Browse..." (a folder dialog unless replaced).
    void setFolderChooser(std::function<QString(const QString&)> f) { chooseFolder_ = std::move(f); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void afterCommand();
    void syncNodeList();

    ProgramState& state_;
    QLineEdit* folderField_;
    QCheckBox* htmlCheck_;
    QCheckBox* csvCheck_;
    QCheckBox* jsonCheck_;
    QListWidget* nodeList_;
    QProgressBar* progressBar_;
    QLabel* statusLabel_;
    QPushButton* exportButton_;
    QPushButton* browseButton_;
    std::function<void()> afterCommand_;
    std::function<void()> exportCommand_;
    std::function<QString(const QString&)> chooseFolder_;
};

}  // namespace vantrel::ui
