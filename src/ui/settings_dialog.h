#pragma once
// The Settings dialog: a column of tabs on the left, one page of controls per
// tab, and OK. It shows the core's settings dialog state and hands every
// click to the core's settings commands.

#include <QDialog>
#include <array>
#include <functional>

#include "core/program_state.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;

namespace vantrel::ui {

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    SettingsDialog(ProgramState& state, QWidget* parent = nullptr);
    void sync();

    QLabel* tab(SettingsPage page) const { return tabs_[static_cast<std::size_t>(page)]; }
    QCheckBox* labelModeBox(int which) const { return labelBoxes_[static_cast<std::size_t>(which)]; }  // 0 IP, 1 Name, 2 IP/Name
    QCheckBox* showPasswordsBox() const { return showPasswords_; }
    QLineEdit* namespaceField() const { return namespaceField_; }
    QLineEdit* storeField() const { return storeField_; }
    QLineEdit* changeCommandField() const { return changeCommandField_; }
    QSpinBox* parallelScansField() const { return parallelScans_; }
    QWidget* currentPage() const;

    void setAfterCommand(std::function<void()> f) { afterCommand_ = std::move(f); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makePage(SettingsPage page);
    QPushButton* makeButton(const char* objectName, const char* text, QWidget* parent, void (*command)(ProgramState&));
    void run(const std::function<void()>& command);

    ProgramState& state_;
    std::array<QLabel*, kSettingsPageCount> tabs_{};
    int styledPage_ = -1;  // the page the tabs were last styled for
    QStackedWidget* pages_;
    std::array<QCheckBox*, 3> labelBoxes_{};
    QCheckBox* showPasswords_ = nullptr;
    QLineEdit* namespaceField_ = nullptr;
    QLineEdit* storeField_ = nullptr;
    // Kept by the dialog and its file alone: the scans read the file.
    QLineEdit* changeCommandField_ = nullptr;
    QSpinBox* parallelScans_ = nullptr;
    std::function<void()> afterCommand_;
};

}  // namespace vantrel::ui
