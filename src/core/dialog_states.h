#pragma once
// What the Settings, Logins, Statistics and About dialogs show, as plain state
// (the Login and Administrator Password dialogs live beside the other windows).

#include <string>
#include <vector>

#include "core/grid_control.h"

namespace vantrel {

// The pages of the Settings dialog, in the order of its tab column.
enum class SettingsPage { IpName, Passwords, Clear, Nodes, Location, Network, Scans, Inventory };
inline constexpr int kSettingsPageCount = 8;

// The Logins dialog: every node with its login.
struct LoginsDialogState {
    bool loaded = false;   // the close button unloads it; the next opening loads it again
    bool visible = false;
    GridControl loginGrid{1, 5};
    int selectedNode = 0;  // the node chosen in the grid, 0 for none
    std::string userField;      // "User Name"
    std::string passwordField;  // "Password"
    std::string nameField;      // "Name": the selected node's display name
};

// The Statistics dialog: the counts taken when it was loaded.
struct StatisticsDialogState {
    bool loaded = false;
    bool visible = false;
    std::string nodeCountText = "0";
    std::string scannedCountText = "0";
};

// One node of the Export dialog's list.
struct ExportNodeChoice {
    std::string name;
    std::string label;  // as the network tree shows it
    bool checked = true;
};

// The Export dialog: where to, what, which nodes; the progress while the
// pictures are drawn.
struct ExportDialogState {
    bool visible = false;
    std::string folderField;
    bool htmlChecked = true;  // "HTML pages with pictures"
    bool csvChecked = true;   // "CSV (one row per component)"
    bool jsonChecked = true;  // "JSON"
    std::vector<ExportNodeChoice> nodes;
    bool running = false;
    int picturesDone = 0;
    int picturesToDraw = 0;
    std::string statusText;
};

// A node whose SSH host key is not known yet, as the user is asked about it.
struct HostKeyQuestion {
    std::string server;       // as the scan reached it ("10.0.0.7", "10.0.0.7:2222")
    std::string host;
    int port = 22;
    std::string keyType;      // "ssh-ed25519"
    std::string fingerprint;  // "SHA256:..."
};

// The question whether to trust a node's unknown host key; the nodes asked
// about meanwhile wait their turn.
struct HostKeyDialogState {
    bool visible = false;
    HostKeyQuestion question;
    std::vector<HostKeyQuestion> waiting;
};

struct AboutDialogState {
    bool visible = false;
};

}  // namespace vantrel
