#pragma once
// How the program shows itself: every window, dialog and control the commands
// touch, held as plain state. The Qt windows show this state and forward
// events; tests read it directly.

#include <array>
#include <string>
#include <string_view>

#include "core/button_hover.h"
#include "core/dialog_states.h"
#include "core/grid_control.h"
#include "core/node_connections.h"
#include "core/scan_listener.h"
#include "core/tree_control.h"

namespace vantrel {

struct SplashState {
    bool visible = false;
    std::string progressText;
    std::array<bool, 4> marks{};   // the four progress marks
};

struct MainWindowState {
    bool visible = false;
    bool compactLayout = false;    // large-font screens
    bool busyPointer = false;      // the mouse pointer is the hourglass
    TreeControl networkTree;
    TreeControl hardwareTree;
    // The current node's labels.
    std::string currentNodeDisplayName;
    std::string currentNodeAddress;
    std::string currentNodeName;
    bool networkScanEnabled = true;  // menu item "Network Scan"
    bool rescanEnabled = true;       // menu item "Re-Scan"
    bool supportPanelShown = false;  // the Support panel instead of the six Home panels
    HoverState hover;
};

// The Settings dialog: the controls the settings file fills.
struct SettingsDialogState {
    bool created = false;
    bool visible = false;
    bool ipLabelChecked = false;      // "IP"
    bool nameLabelChecked = false;    // "Name"
    bool ipNameLabelChecked = false;  // "IP/Name"
    std::string namespaceField;       // the management namespace being edited
    std::string storeField;           // the shared store being edited ("Inventory")
    SettingsPage page = SettingsPage::IpName;
};

// The Administrator Password dialog: the default login being edited.
struct AdminDialogState {
    bool created = false;
    bool visible = false;
    std::string userField;
    std::string passwordField;
};

// The Login dialog: the current node's own login.
struct LoginDialogState {
    bool created = false;
    bool visible = false;
    TreeControl nodeTree;
    std::string userField;        // "User Name"
    std::string passwordField;    // "Password"
    std::string trustFileField;   // "Trusted certificate"
    NodeTransport transportChoice = NodeTransport::Https;  // "Transport"
};

inline constexpr int kProgressStep = 250;    // twips per collected category
inline constexpr int kProgressFull = 8460;   // the progress bar's full width, twips

// The scan dialog's grid columns.
inline constexpr int kGridNameColumn = 0;
inline constexpr int kGridAddressColumn = 2;
inline constexpr int kGridStatusColumn = 3;
inline constexpr int kGridResultColumn = 5;
inline constexpr int kGridColumns = 6;

// The scan dialog: node list, status text, progress bar.
struct ScanDialogState {
    ScanDialogState() { resetNodeGrid(); }

    bool visible = false;
    GridControl nodeGrid{1, kGridColumns};
    std::string statusText;
    int progressWidth = 0;  // twips

    // Empties the node grid down to its header row, makes that row current and
    // titles the 1600-twip columns "Name", "Node", "IP", "Scanned", "Enabled"
    // and the wider "Last result", which says why a scan ended as it did.
    void resetNodeGrid() {
        nodeGrid.clear();
        nodeGrid.setRows(1);
        nodeGrid.setRow(0);
        int col = 0;
        for (const char* title : {"Name", "Node", "IP", "Scanned", "Enabled", "Last result"}) {
            nodeGrid.setColWidth(col, col == kGridResultColumn ? 3200 : 1600);
            nodeGrid.setCell(0, col++, title);
        }
    }

    // Appends a row under the last one and makes it current.
    void appendNodeRow(std::string_view name, std::string_view displayName, std::string_view address,
                       std::string_view status, std::string_view enabled, std::string_view lastResult) {
        nodeGrid.setRows(nodeGrid.rows() + 1);
        nodeGrid.setRow(nodeGrid.rows() - 1);
        int col = 0;
        for (std::string_view text : {name, displayName, address, status, enabled, lastResult})
            nodeGrid.setCell(nodeGrid.row(), col++, std::string(text));
    }

    // Step `step` of `steps`: 250 twips a step, the full width at the last.
    void showProgress(int step, int steps) { progressWidth = step == steps ? kProgressFull : kProgressStep * step; }
};

struct PresentationState {
    SplashState splash;
    MainWindowState main;
    SettingsDialogState settingsDialog;
    AdminDialogState adminDialog;
    LoginDialogState loginDialog;
    ScanDialogState scanDialog;
    LoginsDialogState loginsDialog;
    StatisticsDialogState statisticsDialog;
    AboutDialogState aboutDialog;
    ExportDialogState exportDialog;
    HostKeyDialogState hostKeyDialog;
};

// Shows a scan in the scan dialog and the main window's pointer.
class ScanDialogPresenter : public ScanListener {
public:
    explicit ScanDialogPresenter(PresentationState& windows) : windows_(windows) {}
    void categoryStarted(int step, int steps) override { windows_.scanDialog.showProgress(step, steps); }
    void statusChanged(const std::string& text) override { windows_.scanDialog.statusText = text; }
    void connectionRefused() override { windows_.main.busyPointer = false; }
    void scanFailed() override { windows_.scanDialog.progressWidth = 0; }

private:
    PresentationState& windows_;
};

}  // namespace vantrel
