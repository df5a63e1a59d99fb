#pragma once
// The mouse buttons as the program's events name them.

namespace vantrel {

enum class MouseButton { None = 0, Left = 1, Right = 2, Middle = 4 };

}  // namespace vantrel
