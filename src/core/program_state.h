#pragma once
// Everything the program holds for its whole run: the node table, the
// settings values, the flags of discovery and scanning, and the state of every
// window and control the commands touch. The Qt windows only show this state
// and forward events to the commands.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/grid_control.h"
#include "core/node_table.h"
#include "core/program_folder.h"
#include "core/tree_control.h"
#include "core/ui_services.h"

namespace vantrel {

inline constexpr const char* kDefaultNamespace = "root\\cimv2";

struct SplashState {
    bool visible = false;
    std::string progressText;           // Label1
    std::array<bool, 4> marks{};        // Shape1(1..4)
};

// Settings dialog (FrmConf): the controls the settings file fills.
struct SettingsDialogState {
    bool created = false;
    bool visible = false;
    int Check1 = 0;  // "IP"
    int Check2 = 0;  // "Name"
    int Check3 = 0;  // "IP/Name"
    int Check4 = 0;  // "Show Passwords"
    std::string Text1;  // the management namespace being edited
};

// Administrator Password dialog (Frmadmin): the default login being edited.
struct AdminDialogState {
    bool created = false;
    bool visible = false;
    std::string Text1;  // user
    std::string Text2;  // password
};

// Login dialog (frmlgin): the login of the current node.
struct LoginDialogState {
    bool created = false;
    bool visible = false;
    TreeControl tree;
    std::string Text1;  // "User Name"
    std::string Text2;  // "Password"
};

// Scan dialog (FrmCon): node list, status text, progress bar.
struct ScanDialogState {
    bool visible = false;
    GridControl Grid1{1, 5};
    std::string lblstatus;
    int picbarWidth = 0;  // twips
};

// Steps of the start-up and exit that belong to the 3D view. Until a view is
// plugged in, the start-up runs without them.
class ViewLifecycle {
public:
    virtual ~ViewLifecycle() = default;
    virtual bool createSimpleDevice() = 0;   // false: no 3D device
    virtual void findMediaFolder() = 0;
    virtual void initDevice() = 0;
    virtual void applySceneDefaults() = 0;   // also takes the view's size
    virtual void assembleModel() = 0;        // builds the virtual PC and draws it once
    virtual void releaseModel() = 0;
};

struct ProgramState {
    ProgramState(ProgramFolder folder, UiServices& ui) : folder(std::move(folder)), ui(&ui) {}

    ProgramFolder folder;
    UiServices* ui;

    // Node registry and logins.
    NodeTable nodes;
    std::string defaultUser;
    std::string defaultPassword;
    CurrentLogin currentLogin;

    // Settings.
    std::string NodeLabelMode;
    std::string WmiNamespace = kDefaultNamespace;
    float CameraX = 0, CameraY = 0, CameraZ = 0;
    std::int32_t BackgroundColor = 0;

    // Discovery and scanning.
    bool RescanMode = false;
    bool NewNodesFound = false;
    bool NetworkScanDone = false;
    bool AccessDeniedFlag = false;
    bool ScanRanFlag = false;

    // Model display switches.
    bool showBase = false;
    bool showAxes = false;

    // Main window (Frmmain).
    bool mainVisible = false;
    bool compactLayout = false;
    bool busyPointer = false;            // the main window's mouse pointer: hourglass while true
    TreeControl TreeView1;  // network tree
    TreeControl TrView1;    // hardware tree
    std::string Label2, Label3, Label4;  // current node: display name, address, name
    bool mnunwscanEnabled = true;        // "Network Scan"
    bool mnuRescanEnabled = true;        // "Re-Scan"

    SplashState splash;
    SettingsDialogState settingsDialog;
    AdminDialogState adminDialog;
    LoginDialogState loginDialog;
    ScanDialogState scanDialog;

    // Seams filled by the layers above the core.
    ViewLifecycle* view = nullptr;
    // Shows the current node's stored report in the hardware tree and the model.
    std::function<void()> showCurrentNode;
    // This computer's IPv4 address in dotted form (empty when unknown).
    std::function<std::string()> lookupLocalAddress;

    bool ended = false;  // the program has asked to end
};

}  // namespace vantrel
