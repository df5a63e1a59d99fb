#pragma once
// The main window: network tree, hardware tree, the current node's labels and
// the place of the 3D view. It shows the core's state and forwards events to
// the core's commands.

#include <QMainWindow>
#include <QString>
#include <functional>
#include <map>
#include <string>

#include "core/menus.h"
#include "core/program_state.h"

class QLabel;
class QMenu;
class QAction;

namespace vantrel::ui {

class QtUiServices;
class TreeControlWidget;
class LoginDialog;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(ProgramState& state, QtUiServices& ui, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Brings the window and its dialogs up to date with the core.
    void syncFromCore();
    // Start-up has finished: an exit asked for meanwhile runs now.
    void startupFinished();
    // The close button, "Exit" and termination signals end up here.
    void requestExit();

    // What a popup menu item runs; the layers above the core plug in the
    // commands they own (scans, ...). Items without one are disabled.
    void setMenuCommand(MenuCommand item, std::function<void()> command);

    TreeControlWidget* networkTree() const { return networkTree_; }
    TreeControlWidget* hardwareTree() const { return hardwareTree_; }
    QWidget* sceneView() const { return sceneView_; }  // where the 3D view is drawn
    QMenu* nodePopupMenu() const { return nodeMenu_; }
    QAction* menuAction(MenuCommand item) const;
    LoginDialog* loginDialog() const { return loginDialog_; }
    // The current node's labels as shown.
    QString currentNodeDisplayName() const;
    QString currentNodeAddress() const;
    QString currentNodeName() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildNodePopupMenu();
    void runCommand(const std::function<void()>& command);
    void applyLayout();

    ProgramState& state_;
    QtUiServices& ui_;
    TreeControlWidget* networkTree_;
    TreeControlWidget* hardwareTree_;
    QWidget* sceneView_;
    QLabel* displayNameLabel_;
    QLabel* addressLabel_;
    QLabel* nameLabel_;
    QMenu* nodeMenu_;
    LoginDialog* loginDialog_;
    std::map<MenuCommand, QAction*> actions_;
    bool startupDone_ = false;
    bool exitPending_ = false;
    bool compactApplied_ = false;
};

}  // namespace vantrel::ui
