#pragma once
// The main window: network tree, hardware tree, the current node's labels and
// the place of the 3D view. It shows the core's state and forwards events to
// the core's commands.

#include <QMainWindow>
#include <QString>
#include <functional>
#include <map>
#include <string>

#include "core/program_state.h"

class QLabel;
class QMenu;
class QAction;

namespace vantrel::ui {

class QtUiServices;
class TreeControlWidget;
class frmlgin;

class Frmmain : public QMainWindow {
    Q_OBJECT
public:
    Frmmain(ProgramState& state, QtUiServices& ui, QWidget* parent = nullptr);
    ~Frmmain() override;

    // Brings the window and its dialogs up to date with the core.
    void syncFromCore();
    // Start-up has finished: an exit asked for meanwhile runs now.
    void startupFinished();
    // The close button, "Exit" and termination signals end up here.
    void requestExit();

    // A command of a popup menu by item name; the layers above the core plug
    // in the commands they own (scans, ...). Items without one are disabled.
    void setMenuCommand(const std::string& itemName, std::function<void()> command);

    TreeControlWidget* TreeView1() const { return TreeView1_; }
    TreeControlWidget* TrView1() const { return TrView1_; }
    QWidget* PicGR() const { return PicGR_; }
    QMenu* mnunw() const { return mnunw_; }
    QAction* menuAction(const std::string& itemName) const;
    frmlgin* loginDialog() const { return frmlgin_; }
    QString nodeLabelText(int which) const;  // 2, 3 or 4

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildNetworkPopup();
    void runCommand(const std::function<void()>& command);
    void applyLayout();

    ProgramState& state_;
    QtUiServices& ui_;
    TreeControlWidget* TreeView1_;
    TreeControlWidget* TrView1_;
    QWidget* PicGR_;
    QLabel* Label2_;
    QLabel* Label3_;
    QLabel* Label4_;
    QMenu* mnunw_;
    frmlgin* frmlgin_;
    std::map<std::string, QAction*> actions_;
    bool startupDone_ = false;
    bool exitPending_ = false;
    bool compactApplied_ = false;
};

}  // namespace vantrel::ui
