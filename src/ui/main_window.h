#pragma once
// The main window: node labels, section captions, button panels, the network
// and hardware trees and the place of the 3D view. It shows the core's state
// and forwards every event to a command; the commands of the layers above the
// core (scans, the model, the view) are plugged in with setMenuCommand.

#include <QMainWindow>
#include <QString>
#include <QUrl>
#include <array>
#include <functional>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

#include "core/button_panels.h"
#include "core/menus.h"
#include "core/program_state.h"

class QFrame;
class QHBoxLayout;
class QLabel;
class QMenu;
class QAction;
class QScrollArea;
class QSplitter;

namespace vantrel::ui {

class AboutDialog;
class AdminPasswordDialog;
class ExportDialog;
class HostKeyDialog;
class LoginDialog;
class LoginsDialog;
class PictureButton;
class QtUiServices;
class ScanDialog;
class SectionCaption;
class SettingsDialog;
class StatisticsDialog;
class TreeControlWidget;
class ViewPanel;

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
    // Runs before the exit sequence (the scans stop there).
    void setBeforeExit(std::function<void()> f) { beforeExit_ = std::move(f); }

    // What a menu item and its button run. Items and buttons without a
    // command are there but disabled.
    void setMenuCommand(MenuCommand item, std::function<void()> command);
    bool hasCommand(MenuCommand item) const { return commands_.count(item) != 0; }

    // How the user guide is opened (the system browser unless replaced).
    void setUrlOpener(std::function<void(const QUrl&)> opener) { urlOpener_ = std::move(opener); }

    TreeControlWidget* networkTree() const { return networkTree_; }
    TreeControlWidget* hardwareTree() const { return hardwareTree_; }
    ViewPanel* sceneView() const { return sceneView_; }  // the 3D view and the controls around it
    QMenu* menu(PopupMenu which) const;
    QMenu* nodePopupMenu() const { return menu(PopupMenu::Node); }
    // The item of `item` in menu `which` (the node menu when not given).
    QAction* menuAction(MenuCommand item, PopupMenu which = PopupMenu::Node) const;
    SectionCaption* sectionCaption(Section section) const { return captions_[static_cast<std::size_t>(section)]; }
    PictureButton* button(int index) const { return buttons_[static_cast<std::size_t>(index)]; }
    QWidget* panel(Panel which) const;
    LoginDialog* loginDialog() const { return loginDialog_; }
    ScanDialog* scanDialog() const { return scanDialog_; }
    SettingsDialog* settingsDialog() const { return settingsDialog_; }
    LoginsDialog* loginsDialog() const { return loginsDialog_; }
    AdminPasswordDialog* adminPasswordDialog() const { return adminDialog_; }
    StatisticsDialog* statisticsDialog() const { return statisticsDialog_; }
    AboutDialog* aboutDialog() const { return aboutDialog_; }
    ExportDialog* exportDialog() const { return exportDialog_; }
    HostKeyDialog* hostKeyDialog() const { return hostKeyDialog_; }
    // Sets the window where it was left (or its designed size), fitted into
    // available: never larger than the screen, never outside it.
    void placeWindow(const QRect& available);
    // Where the window's place is kept between runs.
    std::filesystem::path geometryFile() const;

    // The current node's labels as shown.
    QString currentNodeDisplayName() const;
    QString currentNodeAddress() const;
    QString currentNodeName() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildCaptions(QWidget* parent);
    QWidget* buildPanels(QWidget* parent);
    QWidget* buildTrees(QWidget* parent);
    QWidget* buildTreeTabs(QWidget* trees, QWidget* parent);
    void addLabelBarHeads(QHBoxLayout* labels, QWidget* parent);
    QMenu* buildMenu(const std::vector<MenuItemDef>& items, const QString& name);
    void buildDialogs();
    void registerOwnCommands();
    void popup(PopupMenu which);
    void runCommand(const std::function<void()>& command);
    void runMenuCommand(MenuCommand item);
    void openUserGuide(const QString& anchor);
    void applyLayout();
    void placeOnScreen();
    void fitPanelStripHeight();
    void syncHover();
    void syncTreePane();
    void addButtonMnemonics();
    void syncActions();
    // Whether a menu item or button can be used now.
    bool commandEnabled(MenuCommand command) const;

    ProgramState& state_;
    QtUiServices& ui_;
    TreeControlWidget* networkTree_ = nullptr;
    TreeControlWidget* hardwareTree_ = nullptr;
    ViewPanel* sceneView_ = nullptr;
    QScrollArea* panelScroll_ = nullptr;
    QLabel* displayNameLabel_ = nullptr;
    QLabel* addressLabel_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    std::array<SectionCaption*, kSectionCount> captions_{};
    std::array<PictureButton*, kButtonCount> buttons_{};
    std::map<Panel, QWidget*> panels_;
    std::map<PopupMenu, QMenu*> menus_;
    std::multimap<MenuCommand, std::pair<PopupMenu, QAction*>> actions_;
    std::map<MenuCommand, std::function<void()>> commands_;
    LoginDialog* loginDialog_ = nullptr;
    ScanDialog* scanDialog_ = nullptr;
    SettingsDialog* settingsDialog_ = nullptr;
    LoginsDialog* loginsDialog_ = nullptr;
    AdminPasswordDialog* adminDialog_ = nullptr;
    StatisticsDialog* statisticsDialog_ = nullptr;
    AboutDialog* aboutDialog_ = nullptr;
    ExportDialog* exportDialog_ = nullptr;
    HostKeyDialog* hostKeyDialog_ = nullptr;
    std::function<void(const QUrl&)> urlOpener_;
    std::function<void()> beforeExit_;
    bool startupDone_ = false;
    bool exitPending_ = false;
    bool compactApplied_ = false;
    bool placed_ = false;
    std::optional<QRect> savedGeometry_;
};

}  // namespace vantrel::ui
