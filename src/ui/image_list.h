#pragma once
// The image list: the small pictures of the trees, one per image key and none
// for an item without one. The network's pictures are drawn in code, the
// hardware's are SVG resources drawn like the button pictures.

#include <QIcon>
#include <string>

#include "core/image_key.h"

namespace vantrel::ui {

QIcon imageListIcon(ImageKey key);

}  // namespace vantrel::ui
