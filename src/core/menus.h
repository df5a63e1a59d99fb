#pragma once
// The items of the program's popup menus: their names, captions and whether
// they are shown. Items that are not shown still exist with their handlers.

#include <string>
#include <vector>

namespace vantrel {

struct MenuItemDef {
    std::string name;     // "mnuaddlogin", "mnuhyp1", ...
    std::string caption;  // "-" for a separator
    bool shown;
};

// mnunw: the network tree's right-button menu.
const std::vector<MenuItemDef>& networkPopupMenu();

}  // namespace vantrel
