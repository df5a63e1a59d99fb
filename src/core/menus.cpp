#include "core/menus.h"

namespace vantrel {

namespace {

MenuItemDef separator(bool shown = true) { return {MenuCommand::Separator, "-", shown, {}}; }

}  // namespace

const std::vector<MenuItemDef>& nodePopupMenu() { return menuItems(PopupMenu::Node); }

const std::vector<MenuItemDef>& menuItems(PopupMenu menu) {
    using C = MenuCommand;
    static const std::vector<MenuItemDef> node{
        {C::SetNodeLogin, "Set Current Node Login", true, {}},
        {C::ResetNodeLogin, "Reset Current Node Login", true, {}},
        separator(),
        {C::JumpNode, "Jump Current Node", true, {}},
        separator(),
        {C::NetworkScan, "Network Scan", false, {}},
        {C::ScanNode, "Scan Current Node", true, {}},
        {C::ScanLocal, "Scan Local PC", true, {}},
        separator(),
        {C::History, "History", true, {}},
        {C::CompareWithPrevious, "Compare with previous", true, {}},
        // Shown: without them a computer that left the network cannot be removed.
        separator(),
        {C::RenameNode, "Rename Node", true, {}},
        {C::DeleteNode, "Delete Node", true, {}},
    };
    static const std::vector<MenuItemDef> main{
        {C::Support, "Support", true, {}},
        separator(),
        {C::Export, "Export...", true, {}},
        separator(),
        {C::About, "About Vantrel", true, {}},
        separator(),
        {C::Exit, "Exit", true, {}},
    };
    static const std::vector<MenuItemDef> network{
        {C::NetworkScan, "Network Scan", true, {}},
        {C::Rescan, "Re-Scan", true, {}},
    };
    // "Scan all PCs" is shown: without it the whole network cannot be inventoried.
    static const std::vector<MenuItemDef> nodes{
        {C::ScanLocal, "Scan Local PC", true, {}},
        {C::ScanSelected, "Scan selected PC", true, {}},
        {C::ScanAll, "Scan all PCs", true, {}},
        {C::ScanList, "Scan List", true, {}},
    };
    static const std::vector<MenuItemDef> pc{
        {C::ResetModel, "Reset", true, {}},
        {C::TestView, "Test View", true, {}},
        {C::History, "History", true, {}},
        {C::CompareWithPrevious, "Compare with previous", true, {}},
        {C::Submenu, "Move", true,
         {{C::MoveUp, "Up", true, {}}, {C::MoveLeft, "Left", true, {}}, {C::MoveRight, "Right", true, {}},
          {C::MoveDown, "Down", true, {}}}},
        {C::Submenu, "Zoom", false, {{C::ZoomIn, "In", true, {}}, {C::ZoomOut, "Out", true, {}}}},
    };
    static const std::vector<MenuItemDef> administrator{
        {C::SetAdminPassword, "Set Administrator Password", true, {}},
        {C::Logins, "Logins", true, {}},
        {C::Statistics, "Statistics", true, {}},
    };
    static const std::vector<MenuItemDef> configure{
        {C::Settings, "Settings", true, {}},
        {C::BackgroundColor, "Backcolor", true, {}},
    };
    switch (menu) {
        case PopupMenu::Node: return node;
        case PopupMenu::Main: return main;
        case PopupMenu::Network: return network;
        case PopupMenu::Nodes: return nodes;
        case PopupMenu::Pc: return pc;
        case PopupMenu::Administrator: return administrator;
        case PopupMenu::Configure: return configure;
    }
    return node;
}

}  // namespace vantrel
