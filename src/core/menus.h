#pragma once
// The program's menus: every item's command, caption and whether it is shown.
// The window has no menu bar; each menu pops up from a section caption or,
// for the node menu, from the network tree's right button. Items that are not
// shown still exist with their commands.

#include <string>
#include <vector>

namespace vantrel {

// The popup menus the core can ask the user interface to open.
enum class PopupMenu {
    Node,           // the network tree's right-button menu
    Main,           // section "Main"
    Network,        // section "Network"
    Nodes,          // section "Nodes"
    Pc,             // section "PC"
    Administrator,  // section "Administrator"
    Configure,      // section "Configure"
};

// What a menu item (or a panel button) does. Separator and Submenu items do nothing themselves.
enum class MenuCommand {
    Separator, Submenu,
    // Node menu.
    SetNodeLogin, ResetNodeLogin, JumpNode, NetworkScan, ScanNode, ScanLocal, RenameNode, DeleteNode,
    // Node menu and PC: the current node's scans, and its last scan against the one before.
    History, CompareWithPrevious,
    // Main.
    Support, Export, About, Exit,
    // Network.
    Rescan,
    // Nodes.
    ScanSelected, ScanAll, ScanList,
    // PC.
    ResetModel, TestView, MoveUp, MoveLeft, MoveRight, MoveDown, ZoomIn, ZoomOut,
    // Administrator.
    SetAdminPassword, Logins, Statistics,
    // Configure.
    Settings, BackgroundColor,
    // Panel buttons only.
    Lights, Axes, Base, Help, Web,
};

struct MenuItemDef {
    MenuCommand command;
    std::string caption;  // "-" for a separator
    bool shown;
    std::vector<MenuItemDef> submenu;  // the items of a Submenu
};

// The items of a popup menu, in order.
const std::vector<MenuItemDef>& menuItems(PopupMenu menu);

// The network tree's right-button menu.
const std::vector<MenuItemDef>& nodePopupMenu();

}  // namespace vantrel
