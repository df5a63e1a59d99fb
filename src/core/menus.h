#pragma once
// The items of the program's popup menus: what each does, its caption and
// whether it is shown. Items that are not shown still exist with their commands.

#include <string>
#include <vector>

namespace vantrel {

// The popup menus the core can ask the user interface to open.
enum class PopupMenu {
    Node,  // the network tree's right-button menu
};

// What a menu item does; Separator items do nothing.
enum class MenuCommand {
    Separator, SetNodeLogin, ResetNodeLogin, JumpNode, NetworkScan, ScanNode, ScanLocal, RenameNode, DeleteNode,
};

struct MenuItemDef {
    MenuCommand command;
    std::string caption;  // "-" for a separator
    bool shown;
};

// The network tree's right-button menu.
const std::vector<MenuItemDef>& nodePopupMenu();

}  // namespace vantrel
