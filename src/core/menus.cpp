#include "core/menus.h"

namespace vantrel {

const std::vector<MenuItemDef>& networkPopupMenu() {
    static const std::vector<MenuItemDef> items{
        {"mnuaddlogin", "Set Current Node Login", true},
        {"mnureset", "Reset Current Node Login", true},
        {"mnuhyp1", "-", false},
        {"mnujump", "Jump Current Node", false},
        {"mnuhyp2", "-", true},
        {"mnuNS", "Network Scan", false},
        {"mnuScannode", "Scan Current Node", true},
        {"mnuscanlocal", "Scan Local PC", true},
        {"mnuhyp5", "-", false},
        {"mnuRename", "Rename Node", false},
        {"mnudelnode", "Delete Node", false},
    };
    return items;
}

}  // namespace vantrel
