#pragma once
// The image list: the small pictures of the trees, one per image key. Drawn in
// code so the program needs no image files.

#include <QIcon>
#include <string>

#include "core/image_key.h"

namespace vantrel::ui {

QIcon imageListIcon(ImageKey key);

}  // namespace vantrel::ui
