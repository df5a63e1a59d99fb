#pragma once
// ImageList1: the small pictures of the trees, addressed by key ("nw", "pc",
// "pw", "hm", "jp", "nd", ...). Drawn in code so the program needs no image files.

#include <QIcon>
#include <string>

namespace vantrel::ui {

QIcon imageListIcon(const std::string& key);

}  // namespace vantrel::ui
