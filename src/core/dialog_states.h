#pragma once
// What the Settings, Logins, Statistics and About dialogs show, as plain state
// (the Login and Administrator Password dialogs live beside the other windows).

#include <string>

#include "core/grid_control.h"

namespace vantrel {

// The pages of the Settings dialog, in the order of its tab column.
enum class SettingsPage { IpName, Passwords, Clear, Nodes, Location, Network, Scans };

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

struct AboutDialogState {
    bool visible = false;
};

}  // namespace vantrel
