#include "core/menus.h"

namespace vantrel {

const std::vector<MenuItemDef>& nodePopupMenu() {
    using C = MenuCommand;
    static const std::vector<MenuItemDef> items{
        {C::SetNodeLogin, "Set Current Node Login", true},
        {C::ResetNodeLogin, "Reset Current Node Login", true},
        {C::Separator, "-", false},
        {C::JumpNode, "Jump Current Node", false},
        {C::Separator, "-", true},
        {C::NetworkScan, "Network Scan", false},
        {C::ScanNode, "Scan Current Node", true},
        {C::ScanLocal, "Scan Local PC", true},
        {C::Separator, "-", false},
        {C::RenameNode, "Rename Node", false},
        {C::DeleteNode, "Delete Node", false},
    };
    return items;
}

}  // namespace vantrel
